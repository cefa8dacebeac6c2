#include "tests/shell/ShellTestSupport.h"

#include "app/qt/AreaCanvasView.h"
#include "screens/qt/MouseLabel.h"
#include "app/qt/OverviewSquare.h"
#include "play/GameEngine.h"
#include "screens/MessageTables.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/TreasureBoxDialog.h"
#include "play/KeyCodes.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

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
        {"picTitle", &gw.session().screens().picTitle, {0, 0, 518, 350}},
        {"picFrame", &gw.session().screens().play.frame, {8, 4, 320, 320}},
        {"picGame", &gw.session().screens().play.canvas, {0, 0, 1600, 1600}},
        {"shpMap(0)", &gw.panel().shpMap(0), {342, 113, 18, 18}},
        {"shpMap(7)", &gw.panel().shpMap(7), {390, 137, 18, 18}},
        {"shpMap(24)", &gw.panel().shpMap(24), {438, 209, 18, 18}},
        {"imgItem(0)", &gw.panel().imgItem(0), {340, 262, 32, 32}},
        {"imgItem(6)", &gw.panel().imgItem(6), {372, 294, 32, 32}},
        {"imgItem(9)", &gw.panel().imgItem(9), {468, 294, 32, 32}},
    };
    for (const auto& c : controls)
        EXPECT_EQ(c.control->geometry(), c.geometry) << c.name;
    EXPECT_EQ(gw.panel().lblBeta2().pos(), QPoint(384, 56));
    EXPECT_EQ(gw.panel().lblDPS().pos(), QPoint(12, 329));
    EXPECT_EQ(gw.session().screens().play.canvas.parentWidget(), &gw.session().screens().play.frame);

    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(gw.panel().imgItem(k).isHidden());
        EXPECT_EQ(gw.panel().imgItem(k).toolTip().toStdString(), texts::ItemText[static_cast<std::size_t>(k)]);
    }
    EXPECT_EQ(gw.panel().lblBeta2().text().toStdString(), "ぽぷらん");
    EXPECT_TRUE(sameColour(gw.panel().lblBeta2().colour(), QColor(255, 255, 128)));
    EXPECT_EQ(gw.panel().lblBeta2().font().pixelSize(), 16);
    EXPECT_TRUE(gw.panel().lblBeta2().font().bold());

    // The title is up: its picture over everything, with the focus, the title tune started once.
    EXPECT_TRUE(gw.session().screens().picTitle.isVisible());
    EXPECT_TRUE(gw.session().screens().picTitle.hasFocus());
    EXPECT_EQ(w.audio.opensOf("km2.mid"), 1);
    EXPECT_EQ(w.settingsFile(), "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n");
}

TEST(GameWindow, ClosingDuringTheOptionsScreenKeepsTheValuesClicked)
{
    const std::string settings = "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\nFrameRate=60\n";
    OpenWindow w(&settings);
    GameWindow& gw = *w.window;
    QTest::mouseClick(&gw.session().title().lblTitle(2), Qt::LeftButton);
    QTest::mouseClick(&gw.session().options().lblOption(2), Qt::LeftButton);
    QTest::mouseClick(&gw.session().options().lblOption(5), Qt::LeftButton);

    gw.close();

    EXPECT_FALSE(gw.isVisible());
    EXPECT_EQ(w.settingsFile(),
              "[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=0\nFrameRate=60\n[Window]\nScale=1\nFullScreen=0\n");
    ASSERT_GE(w.audio.commands.size(), 2u);
    EXPECT_EQ(w.audio.commands.back(), "close");
}

namespace {

/// Starts a new game from the title with space, runs `inPlay` from the window's event loop once
/// the game is under way, and returns when the window has closed.
void playThen(OpenWindow& w, std::function<void()> inPlay)
{
    soon(std::move(inPlay), 100);
    QTest::keyClick(w.window->windowHandle(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.window->closing(); }, 10000));
}

/// Lets the window's event loop run until at least `frames` more frames have run (a test's own
/// wait would sleep across several of them).
void runFrames(GameWindow& window, int frames)
{
    const GameState& s = window.session().engine().state();
    const int from = s.FrameClock;
    const auto done = [&] { return (s.FrameClock - from + 1000) % 1000 >= frames; };
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(done()) << "the frames did not run";
}

/// A game under way in the window, the hero standing on the floor.
struct Playing : OpenWindow {
    Playing()
    {
        QTest::keyClick(window->windowHandle(), Qt::Key_Space);
        runFrames(*window, 20);
    }
    const GameState& state() const { return window->session().engine().state(); }
    QWindow* handle() const { return window->windowHandle(); }
};

/// A generator whose next draw is below 0.05: the mishap that ends next shows the scene.
play::PseudoRandom drawsTheScene()
{
    for (std::uint32_t state = 0;; ++state)
        if (play::PseudoRandom(state).next() < 0.05)
            return play::PseudoRandom(state);
}

} // namespace

TEST(GameWindow, ClosingDuringPlayEndsTheFramesAndWritesTheSettings)
{
    OpenWindow w;
    bool played = false;
    playThen(w, [&] {
        played = w.window->session().state() == PlaySession::State::Playing && w.window->session().host().playing();
        w.window->close();
    });
    EXPECT_TRUE(played);
    EXPECT_FALSE(w.window->session().host().playing());
    EXPECT_EQ(w.audio.commands.back(), "close");
    EXPECT_FALSE(w.settingsFile().empty());
}

// Closing ends the program at once whatever holds the game up: a prompt, the treasure box
// dialog, the mishap scene. The window's own event loop returns as soon as it is closed.
TEST(GameWindow, ClosingEndsTheProgramAtOnceFromAnyMoment)
{
    const struct {
        const char* name;
        std::function<void(Playing&)> bringAbout;
        std::function<bool(Playing&)> isUp;
    } moments[] = {
        {"the Q prompt", [](Playing& p) { QTest::keyPress(p.handle(), Qt::Key_Q); },
         [](Playing&) { return shownMessageBox() != nullptr; }},
        {"the treasure box dialog",
         [](Playing& p) { p.window->openBox(new frmGetItem(p.window.get(), BoxEmpty, p.window->sound())); },
         [](Playing& p) { return !p.window->openBoxes().isEmpty(); }},
        {"the mishap scene",
         [](Playing& p) {
             GameState& s = p.window->session().engine().state();
             s.Random = drawsTheScene();
             s.HeroState = StateImpaled;
             s.EventTimer = 3;
         },
         [](Playing& p) { return p.window->session().screens().play.canvas.isHidden(); }},
    };
    for (const auto& moment : moments) {
        SCOPED_TRACE(moment.name);
        Playing p;
        moment.bringAbout(p);
        ASSERT_TRUE(QTest::qWaitFor([&] { return moment.isUp(p); }, 5000));
        ASSERT_TRUE(p.window->session().host().holding() || !p.window->openBoxes().isEmpty());

        QElapsedTimer clock;
        QTimer::singleShot(0, [&] {
            clock.start();
            p.window->close();
        });
        QTimer::singleShot(10000, qApp, &QCoreApplication::quit); // a deadline, should it hang
        QApplication::exec();
        EXPECT_LT(clock.elapsed(), 300);
        EXPECT_TRUE(p.window->closing());
        EXPECT_FALSE(p.window->session().host().holding());
        EXPECT_EQ(shownMessageBox(), nullptr);
        EXPECT_FALSE(p.window->session().screens().play.canvas.isHidden()) << "the scene is gone";
    }
}

TEST(GameWindow, PromptAndDialogOpenCentredOverTheWindowWhileTheFramesWait)
{
    OpenWindow w;
    // A box under the hero's start: the first frame opens it (a memo: two pages).
    w.map.setCell(2 * MapGrid::AreaCells + 5, 4 * MapGrid::AreaCells + 47, 55);
    w.window->move(37, 53);
    QTest::keyClick(w.window->windowHandle(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.window->openBoxes().isEmpty(); }, 5000));
    auto* dialog = qobject_cast<frmGetItem*>(w.window->openBoxes().back());
    ASSERT_NE(dialog, nullptr);

    const QRect window = w.window->geometry();
    const auto centred = [&](const QWidget& box) {
        const QRect g = box.geometry();
        return g.x() == window.x() + (window.width() - g.width()) / 2 &&
               g.y() == window.y() + (window.height() - g.height()) / 2;
    };
    EXPECT_TRUE(centred(*dialog)) << dialog->geometry().x() << "," << dialog->geometry().y();
    const int frameClock = w.window->session().engine().state().FrameClock;
    QTest::qWait(100);
    EXPECT_EQ(w.window->session().engine().state().FrameClock, frameClock) << "frames ran under the dialog";
    QTest::keyPress(w.window->windowHandle(), Qt::Key_Right);
    EXPECT_FALSE(w.window->session().router().player().keys().isDown(keys::Right)) << "the window took a key under its dialog";

    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    ASSERT_TRUE(w.window->openBoxes().isEmpty());
    runFrames(*w.window, 3);

    QTest::keyPress(w.window->windowHandle(), Qt::Key_Q);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownMessageBox() != nullptr; }, 5000));
    EXPECT_TRUE(centred(*shownMessageBox()));
    EXPECT_EQ(shownMessageBox()->text().toStdString(), "タイトルに戻りますか？");
    shownMessageBox()->button(QMessageBox::No)->click();
    runFrames(*w.window, 3);
    w.window->close();
}

// A key held down repeats as pairs of release and press, which the toolkit marks as a repeat only
// when it sees both at once; a pad's button can flicker the same way. Either way the key stays
// held in every frame, and its real release lets go of it at the next one.
TEST(GameWindow, AHeldKeyStaysHeldThroughItsRepeats)
{
    const auto keyPair = [](bool flagged) {
        return [flagged](Playing& p) {
            for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
                QKeyEvent event(type, Qt::Key_Left, Qt::NoModifier, QString(), flagged);
                QCoreApplication::sendEvent(p.handle(), &event);
            }
        };
    };
    const struct {
        const char* name;
        std::function<void(Playing&)> press, repeat, release;
    } cases[] = {
        {"a repeat the toolkit recognised", [](Playing& p) { QTest::keyPress(p.handle(), Qt::Key_Left); },
         keyPair(true), [](Playing& p) { QTest::keyRelease(p.handle(), Qt::Key_Left); }},
        {"a repeat it did not", [](Playing& p) { QTest::keyPress(p.handle(), Qt::Key_Left); }, keyPair(false),
         [](Playing& p) { QTest::keyRelease(p.handle(), Qt::Key_Left); }},
        {"a pad's button flickering", [](Playing& p) { emit p.window->gamepads().buttonChanged(PadButton::Left, true); },
         [](Playing& p) {
             emit p.window->gamepads().buttonChanged(PadButton::Left, false);
             emit p.window->gamepads().buttonChanged(PadButton::Left, true);
         },
         [](Playing& p) { emit p.window->gamepads().buttonChanged(PadButton::Left, false); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Playing p;
        const auto& held = p.state().KeyHeld;
        c.press(p);
        runFrames(*p.window, 2);
        ASSERT_TRUE(held[keys::Left]);
        // Before every frame: what the last frame held, then a repeat.
        std::string seen;
        p.window->session().host().frameStarted = [&](std::int64_t, std::int64_t) {
            seen += held[keys::Left] ? 'H' : '.';
            c.repeat(p);
        };
        runFrames(*p.window, 12);
        p.window->session().host().frameStarted = {};
        EXPECT_EQ(seen.find('.'), std::string::npos) << seen;
        c.release(p);
        runFrames(*p.window, 1);
        EXPECT_FALSE(held[keys::Left]);
        p.window->close();
    }
}

TEST(GameWindow, LosingTheFocusLetsGoOfTheKeysHeld)
{
    Playing p;
    QTest::keyPress(p.handle(), Qt::Key_Right);
    runFrames(*p.window, 2);
    ASSERT_TRUE(p.state().KeyHeld[keys::Right]);

    // Another window takes the focus; the key's release will go there.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    runFrames(*p.window, 2);
    EXPECT_FALSE(p.state().KeyHeld[keys::Right]);
    p.window->close();
}

TEST(GameWindow, ATapBetweenTwoFramesIsHeldForOneFrame)
{
    Playing p;
    ASSERT_EQ(p.state().JumpCount, 0) << "the hero should stand on the floor";
    const float standing = p.state().HeroY;
    float highest = standing;
    p.window->session().host().frameStarted = [&](std::int64_t, std::int64_t) { highest = std::min(highest, p.state().HeroY); };
    // Pressed and released before the next frame.
    QTest::keyPress(p.handle(), Qt::Key_Space);
    QTest::keyRelease(p.handle(), Qt::Key_Space);
    runFrames(*p.window, 12);
    p.window->session().host().frameStarted = {};
    // One frame of thrust: the smallest hop there is (a longer hold rises much higher).
    EXPECT_LT(highest, standing);
    EXPECT_GT(highest, standing - 3);
    p.window->close();
}

// S with the diary says so on the side panel for a few seconds when the save was written, beside
// the item box and clear of its icons; a save that failed says so in its box instead.
TEST(GameWindow, ASaveWrittenIsNotedOnThePanelForAFewSeconds)
{
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "the save failed" : "the save was written");
        Playing p;
        GameWindow& gw = *p.window;
        if (fails) // a folder where the save file would go
            std::filesystem::create_directory(p.dir / "savedata.dat");
        gw.session().engine().state().ItemHeld[Diary] = 1;
        QTest::keyPress(p.handle(), Qt::Key_S);
        ASSERT_TRUE(QTest::qWaitFor([&] { return p.state().SavedHere != 0 || !gw.openBoxes().isEmpty(); }, 5000));
        QElapsedTimer shown;
        shown.start();
        QTest::keyRelease(p.handle(), Qt::Key_S);
        if (fails) {
            EXPECT_FALSE(gw.panel().lblSaved().isVisible());
            ASSERT_NE(shownMessageBox(), nullptr);
            shownMessageBox()->button(QMessageBox::Ok)->click();
            runFrames(gw, 2);
            EXPECT_FALSE(gw.panel().lblSaved().isVisible());
            gw.close();
            continue;
        }
        ASSERT_TRUE(gw.panel().lblSaved().isVisible()) << (shownMessageBox() ? shownMessageBox()->text().toStdString() : "");
        EXPECT_EQ(gw.panel().lblSaved().text().toStdString(), "セーブしました");
        const QRect note = gw.panel().lblSaved().geometry();
        EXPECT_TRUE(gw.client().rect().contains(note));
        EXPECT_GE(note.width(), gw.panel().lblSaved().sizeHint().width()) << "the note is cut off";
        EXPECT_GE(note.height(), gw.panel().lblSaved().sizeHint().height()) << "the note is cut off";
        for (int item = 0; item < 10; ++item)
            EXPECT_FALSE(note.intersects(gw.panel().imgItem(item).geometry())) << item;
        EXPECT_FALSE(note.intersects(gw.session().screens().play.frame.geometry()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !gw.panel().lblSaved().isVisible(); }, 10000));
        EXPECT_GE(shown.elapsed(), 2000) << "gone before it could be read";
        gw.close();
    }
}
