#include "tests/shell/ShellTestSupport.h"

#include "app/qt/AreaCanvasView.h"
#include "screens/qt/MouseLabel.h"
#include "app/qt/OverviewSquare.h"
#include "play/GameEngine.h"
#include "screens/MessageTables.h"
#include "screens/qt/OptionsScreen.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::test;

TEST(GameWindow, LoadsWithTheLayoutCaptionAndAFreshSettingsFile)
{
    OpenWindow w;
    GameWindow& gw = *w.window;

    EXPECT_EQ(gw.size(), QSize(518, 346));
    EXPECT_EQ(gw.windowTitle().toStdString(), "ポロンパ　ぽぷらん Ver 0.94");
    EXPECT_FALSE(gw.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    const struct {
        const char* name;
        QWidget* control;
        QRect geometry;
    } controls[] = {
        {"picTitle", &gw.picTitle(), {0, 0, 518, 350}},
        {"picFrame", &gw.picFrame(), {8, 4, 320, 320}},
        {"picGame", &gw.picGame(), {0, 0, 1600, 1600}},
        {"shpMap(0)", &gw.shpMap(0), {342, 113, 18, 18}},
        {"shpMap(7)", &gw.shpMap(7), {390, 137, 18, 18}},
        {"shpMap(24)", &gw.shpMap(24), {438, 209, 18, 18}},
        {"imgItem(0)", &gw.imgItem(0), {340, 262, 32, 32}},
        {"imgItem(6)", &gw.imgItem(6), {372, 294, 32, 32}},
        {"imgItem(9)", &gw.imgItem(9), {468, 294, 32, 32}},
    };
    for (const auto& c : controls)
        EXPECT_EQ(c.control->geometry(), c.geometry) << c.name;
    EXPECT_EQ(gw.lblBeta2().pos(), QPoint(384, 56));
    EXPECT_EQ(gw.lblDPS().pos(), QPoint(12, 329));
    EXPECT_EQ(gw.picGame().parentWidget(), &gw.picFrame());

    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(gw.imgItem(k).isHidden());
        EXPECT_EQ(gw.imgItem(k).toolTip().toStdString(), texts::ItemText[static_cast<std::size_t>(k)]);
    }
    EXPECT_EQ(gw.lblBeta2().text().toStdString(), "ぽぷらん");
    EXPECT_TRUE(sameColour(gw.lblBeta2().colour(), QColor(255, 255, 128)));
    EXPECT_EQ(gw.lblBeta2().font().pixelSize(), 16);
    EXPECT_TRUE(gw.lblBeta2().font().bold());

    // The title is up: its picture over everything, with the focus, the title tune started once.
    EXPECT_TRUE(gw.picTitle().isVisible());
    EXPECT_TRUE(gw.picTitle().hasFocus());
    EXPECT_EQ(w.audio.opensOf("km2.mid"), 1);
    EXPECT_EQ(w.settingsFile(), "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n");
}

TEST(GameWindow, ClosingDuringTheOptionsScreenKeepsTheValuesClicked)
{
    const std::string settings = "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\nFrameRate=60\n";
    OpenWindow w(&settings);
    GameWindow& gw = *w.window;
    QTest::mouseClick(&gw.title().lblTitle(2), Qt::LeftButton);
    QTest::mouseClick(&gw.options().lblOption(2), Qt::LeftButton);
    QTest::mouseClick(&gw.options().lblOption(5), Qt::LeftButton);

    gw.close();

    EXPECT_FALSE(gw.isVisible());
    EXPECT_EQ(w.settingsFile(),
              "[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=0\nFrameRate=60\n[Window]\nScale=1\nFullScreen=0\n");
    ASSERT_GE(w.audio.commands.size(), 2u);
    EXPECT_EQ(w.audio.commands.back(), "close bgm");
}

namespace {

/// Starts a new game from the title with space, runs `inPlay` from inside the game loop, and
/// returns when the loop has ended.
void playThen(OpenWindow& w, std::function<void()> inPlay)
{
    soon(std::move(inPlay), 100);
    QTest::keyClick(w.window->windowHandle(), Qt::Key_Space);
}

} // namespace

TEST(GameWindow, ClosingDuringPlayUnwindsTheLoopAndWritesTheSettings)
{
    OpenWindow w;
    bool played = false;
    playThen(w, [&] {
        played = !w.window->picTitle().isVisible();
        w.window->close();
    });
    EXPECT_TRUE(played);
    EXPECT_TRUE(w.window->closing());
    EXPECT_EQ(w.audio.commands.back(), "close bgm");
    EXPECT_FALSE(w.settingsFile().empty());
}

TEST(GameWindow, ClosingWhileAPromptIsOpenUnwindsTheLoop)
{
    OpenWindow w;
    std::string question;
    WhenMessageBoxOpens watch([&](QMessageBox& box) {
        question = box.text().toStdString();
        w.window->close();
    });
    playThen(w, [&] { QTest::keyPress(w.window->windowHandle(), Qt::Key_Q); });
    EXPECT_EQ(question, "タイトルに戻りますか？");
    EXPECT_TRUE(w.window->closing());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(GameWindow, HeldKeysIgnoreAutoRepeat)
{
    OpenWindow w;
    QWindow* handle = w.window->windowHandle();
    const auto& held = w.window->engine().state().KeyHeld;

    QTest::keyPress(handle, Qt::Key_Left);
    EXPECT_TRUE(held[37]);
    // Auto-repeat arrives as release and press pairs while the key stays down.
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(handle, &repeatRelease);
    EXPECT_TRUE(held[37]);
    QTest::keyRelease(handle, Qt::Key_Left);
    EXPECT_FALSE(held[37]);
}
