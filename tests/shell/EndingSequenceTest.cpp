#include "tests/shell/ShellTestSupport.h"

#include "screens/qt/Fonts.h"
#include "screens/qt/MouseLabel.h"
#include "app/qt/OverviewSquare.h"
#include "play/GameEngine.h"
#include "screens/qt/EndingSequence.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::test;

namespace {

bool whitish(QRgb p)
{
    return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
}

/// Leftmost column with closing-text pixels in rows [top, top + height), or -1.
int leftmostText(const QImage& image, int top, int height)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = top; y < top + height; ++y)
            if (whitish(image.pixel(x, y)))
                return x;
    return -1;
}

} // namespace

TEST(EndingSequence, DarkScreenThenTuneAndClosingTextAtTheFourthTick)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    gw.session().screens().picTitle.hide();
    const std::size_t commandsBefore = w.audio.commands.size();

    std::vector<std::pair<int, int>> tuneAtTick;
    QObject::connect(&gw.session().ending().tmrEnding(), &QTimer::timeout,
                     [&] { tuneAtTick.emplace_back(gw.session().ending().EndingTick(), w.audio.opensOf("org5.mid")); });
    gw.session().ending().StartEnding();

    const std::vector<std::string> stopped(w.audio.commands.begin() + static_cast<std::ptrdiff_t>(commandsBefore),
                                           w.audio.commands.end());
    EXPECT_EQ(stopped, (std::vector<std::string>{"stop", "close"}));
    EXPECT_TRUE(gw.session().screens().play.frame.isVisible());
    for (QWidget* control : {static_cast<QWidget*>(&gw.panel().shpMap(0)), static_cast<QWidget*>(&gw.panel().shpMap(24)),
                             static_cast<QWidget*>(&gw.panel().lblBeta2()), static_cast<QWidget*>(&gw.panel().lblDPS())})
        EXPECT_FALSE(control->isVisible());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.session().ending().tmrEnding().isActive(); }, 2000));
    const std::vector<std::pair<int, int>> expected = {{1, 0}, {2, 0}, {3, 0}, {4, 1}};
    EXPECT_EQ(tuneAtTick, expected);
    EXPECT_FALSE(gw.sound().SoundOn);

    // The window shows what was printed once it has repainted.
    const int line = QFontMetrics(fonts::gothic(9)).height();
    QImage shot;
    EXPECT_TRUE(QTest::qWaitFor([&] { return leftmostText(shot = gw.grab().toImage(), 48, line) != -1; }, 5000))
        << "no text was printed";
    EXPECT_EQ(shot.pixel(420, 10), qRgb(0, 0, 120));
    EXPECT_EQ(leftmostText(shot, 0, 48), -1);
    for (int i = 0; i < 9; ++i) {
        const int x = leftmostText(shot, 48 + i * line, line);
        if (i == 6)
            EXPECT_EQ(x, -1) << "line 7 is empty";
        else
            EXPECT_TRUE(x >= 328 && x < 334) << "line " << i + 1 << " starts at " << x;
    }

    // Covered and shown again, the window still holds its text.
    gw.hide();
    gw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gw));
    EXPECT_EQ(gw.grab().toImage(), shot);
}

// The arrival's countdown running out inside the play loop: the loop hands the window over to
// the ending and returns, the title stays away, and keys no longer reach the game.
TEST(EndingSequence, ArrivalInPlayEndsTheLoopIntoTheEndingAndKeysStopCounting)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    soon(
        [&] {
            GameState& s = gw.session().engine().state();
            s.HeroState = StateArrived;
            s.EventTimer = 3;
        },
        100);
    QTest::keyClick(gw.windowHandle(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gw.session().ending().started(); }, 10000));
    EXPECT_EQ(gw.session().state(), PlaySession::State::Ending);
    EXPECT_FALSE(gw.session().host().playing());
    EXPECT_FALSE(gw.session().screens().picTitle.isVisible());
    EXPECT_FALSE(gw.closing());
    const std::pair<Qt::Key, std::size_t> keys[] = {{Qt::Key_Left, 37}, {Qt::Key_S, 83}, {Qt::Key_L, 76}};
    for (const auto& [key, code] : keys) {
        QTest::keyPress(gw.windowHandle(), key);
        EXPECT_FALSE(gw.session().engine().state().KeyHeld[code]) << code;
    }
}
