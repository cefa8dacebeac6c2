#include "tests/shell/ShellTestSupport.h"

#include "screens/qt/MouseLabel.h"
#include "app/qt/ControlsHelp.h"
#include "app/qt/PixelView.h"
#include "app/qt/ScreenCheck.h"
#include "app/qt/SurfaceView.h"
#include "app/qt/WindowScale.h"
#include "play/GameEngine.h"
#include "play/GameState.h"
#include "screens/MessageTables.h"
#include "screens/TreasureBoxContent.h"
#include "screens/qt/EndingSequence.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/TreasureBoxDialog.h"

#include <QLabel>
#include <QPushButton>
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

/// Puts the window in full screen on `screen`; true once it fills the screen.
bool fillsInFullScreen(GameWindow& window, QScreen& screen)
{
    window.setScreen(&screen);
    window.setFullScreen(true);
    return QTest::qWaitFor([&] { return window.size() == screen.geometry().size(); }, 5000);
}

/// How many pixels of the window's own picture (what the offscreen platform has been given to show)
/// differ from what the window means to show; -1 when the sizes differ.
int pixelsOffScreen(QWidget& window)
{
    const QImage meant = ScreenCheck::intendedPicture(window).convertToFormat(QImage::Format_RGB32);
    const QImage shown =
        window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    if (shown.size() != meant.size())
        return -1;
    int wrong = 0;
    for (int y = 0; y < meant.height(); ++y)
        for (int x = 0; x < meant.width(); ++x)
            wrong += shown.pixel(x, y) != meant.pixel(x, y);
    return wrong;
}

/// True once the window shows what it means to, within a deadline: a change reaches the window's
/// picture through a few posted events.
bool showsAsMeant(QWidget& window)
{
    return QTest::qWaitFor([&] { return pixelsOffScreen(window) == 0; }, 5000);
}

} // namespace

TEST(WindowScale, FirstStartTakesAtMostTwoThirdsOfTheScreensHeight)
{
    const struct {
        int availableHeight;
        int scale;
    } cases[] = {{400, 1},  {768, 1},  {1024, 1}, {1037, 1}, {1038, 2}, {1080, 2}, {1440, 2}, {1556, 2},
                 {1557, 3}, {1600, 3}, {2075, 3}, {2076, 4}, {2160, 4}, {4320, 4}};
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
    ASSERT_TRUE(fillsInFullScreen(gw, *large));
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
        ASSERT_TRUE(gw.session().options().lblOption(2).isVisible());
        QTest::mouseClick(handle, Qt::LeftButton, {}, at(440, 220)); // OFF of the music row
        EXPECT_EQ(gw.settings().BGM, 0);

        // The play screen: an item's tooltip, and the edition word beside the view opens the
        // play-count box.
        gw.session().screens().picTitle.hide();
        gw.panel().imgItem(3).show();
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

// A magnified window writes only what changed since its last paint: after the content scrolls,
// changes in a corner or changes again, the window's own picture is still the content with every
// pixel a square.
TEST(WindowScale, MagnifiedWindowKeepsUpWithWhatChanged)
{
    int scale = 3;
    Surface surface(90, 70);
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            surface.setPixel(x, y, (x / 5 + y / 3) % 4 == 0 ? rgb(40, 90, 30) : rgb(150, 210, 240));
    auto* content = new QWidget;
    content->setFixedSize(60, 40);
    auto* scrolled = new SurfaceView(&surface, content);
    auto* label = new QLabel(QStringLiteral("0 fps"), content);
    label->setGeometry(0, 30, 60, 10);
    PixelView view(content, nullptr);
    view.setScale(scale);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    // Pixels of the window's own picture that are not those of the content magnified, and the first.
    const auto wrongPixels = [&](QPoint& first) {
        const QImage expected = content->grab().toImage().convertToFormat(QImage::Format_RGB32).scaled(
            content->size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        // The offscreen platform grabs a window from its own picture, which is what the view wrote.
        const QImage window = view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        if (window.size() != expected.size())
            return -1;
        int wrong = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if (window.pixel(x, y) != expected.pixel(x, y) && wrong++ == 0)
                    first = QPoint(x, y);
        return wrong;
    };
    const auto shows = [&](const char* when) {
        QPoint first;
        // The change reaches the window through a few posted events.
        const bool shown = QTest::qWaitFor([&] { return wrongPixels(first) == 0; }, 2000);
        EXPECT_TRUE(shown) << when << ": " << wrongPixels(first) << " pixels wrong, the first at " << first.x() << ','
                           << first.y();
    };
    shows("first shown");

    scrolled->move(-7, -2); // as the play view scrolls
    shows("scrolled");
    const auto paintCorner = [&](std::uint32_t colour) {
        surface.fillRect(55, 5, 3, 2, colour); // in the content's last, short block of pixels
        scrolled->update(QRect(55, 5, 3, 2));
    };
    paintCorner(rgb(255, 0, 0));
    shows("a corner changed");
    paintCorner(surface.pixel(0, 1));
    shows("the corner changed back");
    label->setText(QStringLiteral("77 fps"));
    scrolled->move(-8, -2);
    shows("scrolled on and the label changed");
    for (const int other : {2, 3}) {
        scale = other;
        view.setScale(scale);
        shows("magnified anew");
    }
}

// The question Q asks in play grows with the window, its icon as much as its text.
TEST(WindowScale, QuestionIconGrowsWithTheText)
{
    std::map<int, QSize> iconSizes;
    std::map<int, int> textPixels;
    for (const int scale : {1, 3}) {
        SCOPED_TRACE(scale);
        OpenWindow w;
        GameWindow& gw = *w.window;
        gw.setScreen(largeScreen());
        gw.setScale(scale);
        QTest::keyClick(gw.windowHandle(), Qt::Key_Space);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gw.session().state() == PlaySession::State::Playing; }, 5000));
        // Held until a frame sees it, as a player's press is.
        QTest::keyPress(gw.windowHandle(), Qt::Key_Q);
        ASSERT_TRUE(QTest::qWaitFor([] { return shownMessageBox() != nullptr; }, 5000));
        QMessageBox* box = shownMessageBox();
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        const auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
        ASSERT_NE(icon, nullptr);
        iconSizes[scale] = icon->pixmap().deviceIndependentSize().toSize();
        textPixels[scale] = QFontInfo(box->font()).pixelSize();
        box->button(QMessageBox::No)->click();
    }
    EXPECT_FALSE(iconSizes[1].isEmpty());
    EXPECT_EQ(iconSizes[3], iconSizes[1] * 3);
    EXPECT_EQ(textPixels[3], textPixels[1] * 3);
}

// A message longer than the screen has room for, magnified, is wrapped, every word of it within
// the box and the box on the screen; a short one keeps its one line.
TEST(WindowScale, LongMessagesWrapWithinTheScreen)
{
    // A path longer than the screen is wide, and one run of it without a place to break.
    const QString longText =
        QStringLiteral("/home/player/replays/") + QStringLiteral("a-replay-of-the-long-walk-home/").repeated(6) +
        QStringLiteral("x").repeated(60) + QStringLiteral(".replay: line 12: the embedded save is damaged");
    for (const auto& [text, wraps, scale] :
         {std::tuple{longText, true, 3}, std::tuple{longText, true, 1}, std::tuple{QStringLiteral("短い"), false, 3}}) {
        SCOPED_TRACE(text.toStdString() + " at " + std::to_string(scale) + "x");
        OpenWindow w;
        GameWindow& gw = *w.window;
        gw.setScreen(largeScreen());
        gw.setScale(scale);
        gw.openBox(new QMessageBox(QMessageBox::Warning, QStringLiteral("x"), text, QMessageBox::Ok, &gw));
        QMessageBox* box = shownMessageBox();
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
        const QRect room = label->contentsRect();
        const QRect needed = QFontMetrics(label->font()).boundingRect(room, Qt::TextWordWrap, label->text());
        EXPECT_EQ(label->wordWrap(), wraps);
        EXPECT_LE(needed.width(), room.width());
        EXPECT_LE(box->width(), gw.screen()->availableGeometry().width());
        EXPECT_LE(needed.height(), room.height());
        box->button(QMessageBox::Ok)->click();
    }
}

// The controls open whole on the screen: in the window's type where there is room, in the largest
// type there is room for where there is not, and never off the screen's edge.
TEST(WindowScale, ControlsOpenWholeOnTheScreen)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    QScreen* large = largeScreen();
    ASSERT_NE(large, nullptr);
    ASSERT_TRUE(fillsInFullScreen(gw, *large));
    ASSERT_EQ(gw.scale(), 3);

    QTest::keyClick(gw.windowHandle(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.openBoxes().isEmpty(); }, 5000));
    auto* help = qobject_cast<ControlsHelp*>(gw.openBoxes().back());
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(large->availableGeometry().contains(help->geometry()))
        << help->geometry().width() << "x" << help->geometry().height() << " at " << help->geometry().x() << ","
        << help->geometry().y();
    const int own = QFontInfo(ControlsHelp(gw.keyMap(), 1, nullptr).font()).pixelSize();
    EXPECT_GT(QFontInfo(help->font()).pixelSize(), own) << "larger than the game's own type";
    help->reject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gw.openBoxes().isEmpty(); }, 5000));

    // A window in the screen's corner, narrower than the controls centred over it.
    gw.setFullScreen(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.fullScreen(); }, 5000));
    gw.setScale(2);
    gw.move(large->availableGeometry().topLeft());
    QTest::keyClick(gw.windowHandle(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.openBoxes().isEmpty(); }, 5000));
    help = qobject_cast<ControlsHelp*>(gw.openBoxes().back());
    ASSERT_NE(help, nullptr);
    ASSERT_GT(help->width(), gw.width());
    EXPECT_TRUE(large->availableGeometry().contains(help->geometry()))
        << help->geometry().width() << "x" << help->geometry().height() << " at " << help->geometry().x() << ","
        << help->geometry().y();
    help->reject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gw.openBoxes().isEmpty(); }, 5000));

    // A screen narrower than the two columns even in the game's own type: one column.
    QScreen* narrow = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QStringLiteral("Narrow"))
            narrow = screen;
    ASSERT_NE(narrow, nullptr);
    ASSERT_GT(ControlsHelp(gw.keyMap(), 1, nullptr).sizeHint().width(), narrow->availableGeometry().width());
    gw.setScale(1);
    gw.setScreen(narrow);
    gw.move(narrow->availableGeometry().topLeft());
    ASSERT_TRUE(QTest::qWaitFor([&] { return gw.screen() == narrow; }, 5000));
    QTest::keyClick(gw.windowHandle(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.openBoxes().isEmpty(); }, 5000));
    help = qobject_cast<ControlsHelp*>(gw.openBoxes().back());
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(narrow->availableGeometry().contains(help->geometry()))
        << help->geometry().width() << "x" << help->geometry().height() << " at " << help->geometry().x() << ","
        << help->geometry().y();
    EXPECT_EQ(QFontInfo(help->font()).pixelSize(), own);
    help->reject();
}

// Every kind of box, at every scale the test screen has room for, shows each page it typed (not
// just holds it), and the pad's A, standing for Enter in a box, turns the page and closes it.
TEST(WindowScale, EveryKindOfBoxShowsItsPagesAndThePadClosesIt)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    gw.setScreen(largeScreen());
    const auto padA = [&] {
        emit gw.gamepads().buttonChanged(PadButton::A, true);
        emit gw.gamepads().buttonChanged(PadButton::A, false);
    };
    for (const int scale : {1, 2, 3}) {
        gw.setScale(scale);
        for (const int content : {0, 101, -1, static_cast<int>(BoxOfferingsMissing)}) {
            SCOPED_TRACE("box " + std::to_string(content) + " at " + std::to_string(scale) + "x");
            int answered = 0;
            auto* item = new frmGetItem(&gw, content, gw.sound());
            gw.openBox(item, [&](int) { ++answered; });
            ASSERT_EQ(gw.openBoxes().size(), 1);
            QDialog* box = gw.openBoxes().front();
            ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == box->windowHandle(); }, 5000));
            const int pages = treasureBoxContent(content).pages();
            for (int page = 1; page <= pages; ++page) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return !item->isTyping(); }, 5000));
                EXPECT_TRUE(showsAsMeant(*box)) << "page " << page << ": " << pixelsOffScreen(*box) << " pixels differ";
                padA();
                if (page < pages)
                    EXPECT_TRUE(QTest::qWaitFor([&] { return item->isTyping(); }, 5000)) << "A did not turn the page";
            }
            EXPECT_TRUE(QTest::qWaitFor([&] { return answered == 1; }, 5000)) << "A did not close the box";
        }
    }
}

// The ending, magnified, reaches the window's picture as it is drawn.
TEST(WindowScale, TheEndingShowsMagnified)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    gw.setScreen(largeScreen());
    gw.setScale(2);
    gw.session().screens().picTitle.hide();
    gw.session().ending().StartEnding();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.session().ending().tmrEnding().isActive(); }, 5000));
    EXPECT_TRUE(showsAsMeant(gw)) << pixelsOffScreen(gw) << " pixels differ";
}
