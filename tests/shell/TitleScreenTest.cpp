#include "tests/shell/ShellTestSupport.h"

#include "screens/qt/MouseLabel.h"
#include "app/qt/OverviewSquare.h"
#include "play/GameEngine.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/TitleScreen.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>

using namespace poronpa;
using namespace poronpa::test;

namespace {

const QColor MenuColour(192, 192, 0);
const QColor PointedColour(255, 255, 160);

struct TitleStart {
    const char* name;
    std::function<void(GameWindow&)> choose;
    int entry;
};

} // namespace

// Space and L on the title do what a click on the first two entries does: the click sound, the
// highlight on that entry, and a game in the start area running in the play loop (L without a
// save file to continue from).
TEST(TitleScreen, KeysAndClicksStartTheGameAlike)
{
    const TitleStart starts[] = {
        {"click はじめから",
         [](GameWindow& gw) {
             QTest::mouseMove(&gw.session().title().lblTitle(0));
             QTest::mouseClick(&gw.session().title().lblTitle(0), Qt::LeftButton);
         },
         0},
        {"space", [](GameWindow& gw) { QTest::keyClick(gw.windowHandle(), Qt::Key_Space); }, 0},
        {"L without a save", [](GameWindow& gw) { QTest::keyClick(gw.windowHandle(), Qt::Key_L); }, 1},
        {"l without a save", [](GameWindow& gw) { QTest::keyClick(gw.windowHandle(), 'l'); }, 1},
    };
    for (const TitleStart& start : starts) {
        SCOPED_TRACE(start.name);
        OpenWindow w;
        GameWindow& gw = *w.window;
        struct {
            bool titleHidden = false, waitHidden = false;
            int areaX = -1, areaY = -1;
            float heroX = 0, heroY = 0;
            std::int32_t square = 0;
        } seen;
        // Once the hero has come down on the floor below the start.
        when([&] { return gw.session().engine().state().HeroY >= 1504.0f; },
            [&] {
                seen.titleHidden = !gw.session().screens().picTitle.isVisible();
                seen.waitHidden = !gw.session().title().lblWait(0).isVisible() && !gw.session().title().lblWait(1).isVisible();
                const GameState& s = gw.session().engine().state();
                seen.areaX = s.AreaX;
                seen.areaY = s.AreaY;
                seen.heroX = s.HeroX;
                seen.heroY = s.HeroY;
                seen.square = gw.panel().shpMap(2 + 5 * 4).miniMapColour();
                gw.close();
            },
            5000);
        start.choose(gw);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gw.closing(); }, 10000));

        EXPECT_EQ(w.audio.wavesOf("click5.wav"), 1);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(sameColour(gw.session().title().lblTitle(i).colour(), i == start.entry ? PointedColour : MenuColour)) << i;
        EXPECT_TRUE(seen.titleHidden);
        EXPECT_TRUE(seen.waitHidden);
        EXPECT_EQ(seen.areaX, 2);
        EXPECT_EQ(seen.areaY, 4);
        EXPECT_FLOAT_EQ(seen.heroX, 160.0f);
        EXPECT_FLOAT_EQ(seen.heroY, 1504.0f); // landed on the floor below the start
        EXPECT_EQ(seen.square, 255);
        EXPECT_FALSE(gw.panel().lblDPS().text().isEmpty());
    }
}

// During play the hidden title keeps the keyboard focus: space (jump) and L (load) must reach
// only the game, not the title's shortcuts. Nor do they start a game behind the options screen.
TEST(TitleScreen, ShortcutsActOnlyWhileTheTitleMenuIsShown)
{
    for (const auto key : {Qt::Key_Space, Qt::Key_L}) {
        OpenWindow w;
        GameWindow& gw = *w.window;
        QTest::mouseClick(&gw.session().title().lblTitle(2), Qt::LeftButton);
        // A game started by the key would run its loop inside the key press; the first event
        // it handles ends it.
        bool checked = false, gameStarted = false;
        soon([&] {
            checked = true;
            gameStarted = !gw.session().screens().picTitle.isVisible();
            if (gameStarted)
                gw.close();
        });
        QTest::keyClick(gw.windowHandle(), key);
        while (!checked)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_FALSE(gameStarted) << key;
        EXPECT_TRUE(gw.session().options().lblOption(6).isVisible()) << key;
        EXPECT_FALSE(gw.session().title().lblTitle(0).isVisible()) << key;
        EXPECT_EQ(w.audio.wavesOf("click5.wav"), 1) << key;
    }

    OpenWindow w;
    GameWindow& gw = *w.window;
    int loopsEntered = 0;
    soon(
        [&] {
            ++loopsEntered;
            QTest::keyClick(gw.windowHandle(), Qt::Key_Space);
            QTest::keyClick(gw.windowHandle(), Qt::Key_L);
            soon([&] { gw.close(); }, 50);
        },
        100);
    QTest::keyClick(gw.windowHandle(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gw.closing(); }, 10000));
    EXPECT_EQ(loopsEntered, 1);
    EXPECT_EQ(w.audio.wavesOf("click5.wav"), 1);
}

namespace {

/// Records what the title menu asked for and what the screen showed at that moment.
class RecordingActions : public TitleActions {
public:
    explicit RecordingActions(QWidget& picTitle) : picTitle_(picTitle) {}
    void resetGame() override { log.push_back("reset"); }
    void enterStartArea() override { log.push_back(std::string("enter") + (waitShown() ? " with notice" : "")); }
    void continueGame() override { log.push_back(std::string("continue") + (waitShown() ? " with notice" : "")); }
    void runGame() override
    {
        log.push_back(std::string("run") + (picTitle_.isVisible() || waitShown() ? " under the title" : ""));
    }
    const AreaCounters& deathCounts() const override { return counts; }
    void showBox(QDialog* box) override
    {
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }

    std::function<bool()> waitShown;
    std::vector<std::string> log;
    AreaCounters counts{};

private:
    QWidget& picTitle_;
};

struct LoneTitle {
    AudioLog audio;
    std::unique_ptr<AudioSystem> system = recordingAudio(audio);
    QWidget picTitle;
    MouseLabel lblBeta2{QStringLiteral("ぽぷらん"), QFont(), Qt::yellow, nullptr};
    RecordingActions actions{picTitle};
    TitleScreen title{picTitle, lblBeta2, system->sound(), system->music(), actions};

    LoneTitle()
    {
        system->sound().SoundOn = true;
        actions.waitShown = [this] { return title.lblWait(0).isVisible() && title.lblWait(1).isVisible(); };
        picTitle.resize(518, 350);
        picTitle.show();
    }
};

} // namespace

TEST(TitleScreen, PleaseWaitShowsWhileTheGameIsPreparedAndGoesBeforePlay)
{
    for (int entry : {0, 1}) {
        LoneTitle t;
        t.title.lblTitle_Click(entry);
        const std::vector<std::string> expected = {entry == 0 ? "enter with notice" : "continue with notice", "run"};
        EXPECT_EQ(t.actions.log, expected);
    }
}

// The arrows move the highlight the pointer gives, round from one end to the other, and Enter
// chooses the entry highlighted (the first while none is); the pointer and the keys share one
// highlight. Nothing is highlighted until one of them moves.
TEST(TitleScreen, TheArrowsMoveTheHighlightAndEnterChoosesIt)
{
    const struct {
        const char* keys; // 'v' down, '^' up, '0'..'2' the pointer over that entry
        int highlighted;
        const char* chosen; // by Enter next
    } cases[] = {
        {"", -1, "enter with notice"},    {"v", 0, "enter with notice"},   {"vv", 1, "continue with notice"},
        {"vvv", 2, "options"},            {"vvvv", 0, "enter with notice"}, {"^", 2, "options"},
        {"^^", 1, "continue with notice"}, {"2v", 0, "enter with notice"},  {"1^", 0, "enter with notice"},
        {"0v", 1, "continue with notice"}, {"v2", 2, "options"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        LoneTitle t;
        for (const char* k = c.keys; *k; ++k) {
            if (*k == 'v' || *k == '^')
                QTest::keyClick(&t.picTitle, *k == 'v' ? Qt::Key_Down : Qt::Key_Up);
            else
                QTest::mouseMove(&t.title.lblTitle(*k - '0'));
        }
        EXPECT_EQ(t.title.highlighted(), c.highlighted);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(sameColour(t.title.lblTitle(i).colour(), i == c.highlighted ? PointedColour : MenuColour)) << i;
        EXPECT_TRUE(t.actions.log.empty()) << "moving chose something";

        QTest::keyClick(&t.picTitle, Qt::Key_Return);
        const std::string chosen = t.title.lblTitle(0).isHidden() ? "options" : t.actions.log.at(0);
        EXPECT_EQ(chosen, c.chosen);
    }
}

// A player with only the keyboard, or only a pad, reaches every entry of the title and comes back
// from the options screen: Escape, or the pad's B, goes back as "戻 る" does.
TEST(TitleScreen, TheKeyboardOrAPadAloneReachEveryEntry)
{
    const struct {
        const char* name;
        std::function<void(GameWindow&)> down, choose, back;
    } ways[] = {
        {"keyboard", [](GameWindow& gw) { QTest::keyClick(gw.windowHandle(), Qt::Key_Down); },
         [](GameWindow& gw) { QTest::keyClick(gw.windowHandle(), Qt::Key_Return); },
         [](GameWindow& gw) { QTest::keyClick(gw.windowHandle(), Qt::Key_Escape); }},
        {"pad",
         [](GameWindow& gw) {
             emit gw.gamepads().buttonChanged(PadButton::Down, true);
             emit gw.gamepads().buttonChanged(PadButton::Down, false);
         },
         [](GameWindow& gw) {
             emit gw.gamepads().buttonChanged(PadButton::A, true);
             emit gw.gamepads().buttonChanged(PadButton::A, false);
         },
         [](GameWindow& gw) {
             emit gw.gamepads().buttonChanged(PadButton::B, true);
             emit gw.gamepads().buttonChanged(PadButton::B, false);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        OpenWindow w;
        GameWindow& gw = *w.window;
        ASSERT_EQ(QGuiApplication::focusWindow(), gw.windowHandle());
        // Round to 設 定 from はじめから, the last entry.
        for (int step = 0; step < 3; ++step)
            way.down(gw);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gw.session().title().highlighted() == 2; }, 5000));
        way.choose(gw);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gw.session().options().lblOption(6).isVisible(); }, 5000));
        way.back(gw);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gw.session().title().lblTitle(0).isVisible(); }, 5000));
        EXPECT_FALSE(gw.session().options().lblOption(6).isVisible());

        // On to つづきから: a game continues (from the start, with no save).
        way.down(gw);
        way.down(gw);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gw.session().title().highlighted() == 1; }, 5000));
        way.choose(gw);
        EXPECT_TRUE(QTest::qWaitFor([&] { return gw.session().state() == PlaySession::State::Playing; }, 5000));
        EXPECT_EQ(w.audio.wavesOf("click5.wav"), 3);
        gw.close();
    }
}

TEST(TitleScreen, PlayCountBoxOpensOnlyForTheRightButtonWithAModifier)
{
    const struct {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        bool opens;
    } cases[] = {
        {Qt::RightButton, Qt::ControlModifier, true}, {Qt::RightButton, Qt::ShiftModifier, true},
        {Qt::RightButton, Qt::AltModifier, true},     {Qt::RightButton, Qt::NoModifier, false},
        {Qt::LeftButton, Qt::ControlModifier, false}, {Qt::MiddleButton, Qt::ShiftModifier, false},
    };
    for (const auto& c : cases) {
        LoneTitle t;
        t.actions.counts[2][4] = 3;
        t.lblBeta2.show();
        // The box is open over the window when the release returns; the window keeps running.
        QTest::mouseRelease(&t.lblBeta2, c.button, c.modifiers);
        QMessageBox* box = shownMessageBox();
        EXPECT_EQ(box != nullptr, c.opens) << c.button << " " << c.modifiers;
        if (box) {
            EXPECT_EQ(box->buttons().size(), 1) << "no cancel";
            EXPECT_TRUE(box->text().endsWith(QStringLiteral("total 3 plays")));
            box->accept();
        }
    }
}

TEST(TitleScreen, PlayCountText)
{
    AreaCounters counts{};
    counts[2][4] = 3;
    EXPECT_EQ(playCountText(counts), "プレイ回数 : \r\n"
                                     "0000 0000 0000 0000 0000 \r\n"
                                     "0000 0000 0000 0000 0000 \r\n"
                                     "0000 0000 0000 0000 0003 \r\n"
                                     "0000 0000 0000 0000 0000 \r\n"
                                     "0000 0000 0000 0000 0000 \r\n"
                                     "total 3 plays");

    counts[1][0] = 12345;
    EXPECT_NE(playCountText(counts).find("\r\n12345 0000 0000 0000 0000 \r\n"), std::string::npos);
    EXPECT_NE(playCountText(counts).find("total 12348 plays"), std::string::npos);

    // Counters restored from a damaged save may be anything; the total must still be right.
    counts[0][0] = INT32_MAX;
    counts[4][4] = INT32_MAX;
    EXPECT_NE(playCountText(counts).find("total 4294979642 plays"), std::string::npos);
}
