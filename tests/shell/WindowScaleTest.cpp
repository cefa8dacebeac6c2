#include "tests/shell/ShellTestSupport.h"

#include "screens/qt/MouseLabel.h"
#include "app/qt/PixelView.h"
#include "app/qt/WindowScale.h"
#include "play/GameEngine.h"
#include "screens/MessageTables.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/TreasureBoxDialog.h"

#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <map>

using namespace poronpa;
using namespace poronpa::test;

namespace {

const QSize Client(GameWindow::ClientWidth, GameWindow::ClientHeight);

QScreen* largeScreen()
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().height() >= 3 * Client.height())
            return screen;
    return nullptr;
}

} // namespace

TEST(WindowScale, FirstStartTakesAtMostTwoThirdsOfTheScreensHeight)
{
    const struct {
        int availableHeight;
        int scale;
    } cases[] = {{400, 1}, {768, 1}, {1024, 1}, {1037, 1}, {1038, 2}, {1080, 2}, {1440, 2}, {1557, 3}, {2160, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(firstStartScale(c.availableHeight, Client.height()), c.scale) << c.availableHeight;
}

TEST(WindowScale, FullScreenCentresTheLargestScaleThatFits)
{
    const struct {
        QSize screen;
        int scale;
        QPoint at;
    } cases[] = {
        {{1920, 1080}, 3, {183, 21}}, {{1366, 768}, 2, {165, 38}}, {{1024, 768}, 1, {253, 211}},
        {{3840, 2160}, 6, {366, 42}}, {{1554, 1038}, 3, {0, 0}},   {{400, 300}, 1, {-59, -23}},
    };
    for (const auto& c : cases) {
        const int scale = fittingScale(c.screen, Client, 16);
        EXPECT_EQ(scale, c.scale) << c.screen.width() << "x" << c.screen.height();
        EXPECT_EQ(centredIn(c.screen, Client * scale), QRect(c.at, Client * scale));
    }

    OpenWindow w;
    GameWindow& gw = *w.window;
    QScreen* large = largeScreen();
    ASSERT_NE(large, nullptr);
    gw.setScreen(large);
    gw.setFullScreen(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gw.size() == large->geometry().size(); }, 5000));
    EXPECT_EQ(gw.scale(), 3);
    EXPECT_EQ(gw.view().geometry(), centredIn(large->geometry().size(), Client * 3));
    EXPECT_FALSE(gw.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    gw.setFullScreen(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.fullScreen(); }, 5000));
    EXPECT_EQ(gw.size(), Client);
    EXPECT_EQ(gw.minimumSize(), gw.maximumSize()) << "the window keeps a fixed size";
}

// Everything on the magnified window answers where it is seen: a click on a label of the options
// screen, the right click that opens the play-count box, the tooltip of an item; and the box's
// text is magnified with the window.
TEST(WindowScale, PointerReachesTheControlsAtEveryScale)
{
    std::map<int, int> boxTextPixels;
    for (const int scale : {1, 3}) {
        SCOPED_TRACE(scale);
        OpenWindow w;
        GameWindow& gw = *w.window;
        gw.setScreen(largeScreen());
        gw.setScale(scale);
        ASSERT_EQ(gw.scale(), scale);
        ASSERT_EQ(gw.size(), Client * scale);
        QWindow* handle = gw.windowHandle();
        const auto at = [scale](int x, int y) { return QPoint(x, y) * scale; };

        QTest::mouseClick(handle, Qt::LeftButton, {}, at(285, 300)); // 設 定
        ASSERT_TRUE(gw.options().lblOption(2).isVisible());
        QTest::mouseClick(handle, Qt::LeftButton, {}, at(440, 220)); // OFF of the music row
        EXPECT_EQ(gw.settings().BGM, 0);

        // The play screen: an item's tooltip, and the edition word beside the view opens the
        // play-count box.
        gw.picTitle().hide();
        gw.imgItem(3).show();
        // What the toolkit sends the widget under a resting pointer.
        const QPoint item = at(340 + 3 * 32 + 16, 262 + 16);
        QTest::mouseMove(handle, item);
        QWidget* under = QApplication::widgetAt(gw.mapToGlobal(item));
        ASSERT_NE(under, nullptr);
        QHelpEvent rest(QEvent::ToolTip, under->mapFrom(&gw, item), gw.mapToGlobal(item));
        QCoreApplication::sendEvent(under, &rest);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text().toStdString(), texts::ItemText[3]);
        QToolTip::hideText();

        // The box is open over the window when the click returns.
        QTest::mouseClick(handle, Qt::RightButton, Qt::ControlModifier, at(395, 62));
        QMessageBox* box = shownMessageBox();
        ASSERT_NE(box, nullptr);
        const std::string counts = box->text().toStdString();
        boxTextPixels[scale] = QFontInfo(box->font()).pixelSize();
        box->accept();
        EXPECT_NE(counts.find("total 0 plays"), std::string::npos) << counts;
    }
    EXPECT_GT(boxTextPixels[1], 0);
    EXPECT_EQ(boxTextPixels[3], 3 * boxTextPixels[1]);
}

// The treasure box, drawn in pixels of its own, opens at the window's magnification with its
// caption, and closes as it does unmagnified.
TEST(WindowScale, TreasureBoxOpensMagnified)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    gw.setScreen(largeScreen());
    gw.setScale(3);
    const QSize own = frmGetItem(nullptr, -1, gw.sound()).size();
    int answered = 0;
    auto* item = new frmGetItem(&gw, -1, gw.sound());
    gw.openBox(item, [&](int) { ++answered; });
    ASSERT_EQ(gw.openBoxes().size(), 1);
    QDialog* box = gw.openBoxes().front();
    EXPECT_EQ(box->size(), own * 3);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("たからばこ"));

    // Enter once the page is typed: the box's OK, reached through the magnified frame.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !item->isTyping(); }, 5000));
    QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered == 1; }, 5000));
    EXPECT_TRUE(gw.openBoxes().isEmpty());
}
