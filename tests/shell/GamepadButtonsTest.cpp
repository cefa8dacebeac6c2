#include "tests/shell/ShellTestSupport.h"

#include "app/qt/Gamepads.h"
#include "screens/qt/MouseLabel.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/TreasureBoxDialog.h"

#include <QKeyEvent>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

using namespace poronpa;
using namespace poronpa::test;

namespace {

/// The key a window of the program was sent, caught before it does anything there, so that the
/// context stays as it was for the next button.
class KeyCatcher : public QObject {
public:
    KeyCatcher() { qApp->installEventFilter(this); }
    ~KeyCatcher() override { qApp->removeEventFilter(this); }

    struct Caught {
        QWindow* window;
        QKeyCombination key;
    };
    std::optional<Caught> pressed;

protected:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(target);
        if (!window || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
            return false;
        if (event->type() == QEvent::KeyPress)
            pressed = Caught{window, static_cast<QKeyEvent*>(event)->keyCombination()};
        return true;
    }
};

/// What a button gives: the key it stands for, or nothing (Qt::Key_unknown), and whether the
/// game's window or the box over it gets it.
struct Gives {
    QKeyCombination key;
    bool toTheGame = true;
};

constexpr QKeyCombination Nothing{Qt::Key_unknown};
const QKeyCombination BackTab(Qt::ShiftModifier, Qt::Key_Backtab);

/// Every button in `order`, for one context.
using ButtonTable = std::array<Gives, PadButtonCount>;
constexpr std::array<PadButton, PadButtonCount> order{PadButton::Left, PadButton::Right, PadButton::Up,
                                                      PadButton::Down, PadButton::A,     PadButton::B,
                                                      PadButton::Y,    PadButton::Back,  PadButton::Start};

/// A box's way: A answers, B goes back, the directions move the focus, the rest does nothing.
ButtonTable boxWay(bool toTheGame)
{
    return {Gives{BackTab, toTheGame}, {Qt::Key_Tab, toTheGame},     {BackTab, toTheGame},
            {Qt::Key_Tab, toTheGame},  {Qt::Key_Return, toTheGame},  {Qt::Key_Escape, toTheGame},
            {Nothing, toTheGame},      {Nothing, toTheGame},         {Nothing, toTheGame}};
}

/// Play's way: the action each button stands for, with the game's own keys.
const ButtonTable playWay{Gives{Qt::Key_Left}, {Qt::Key_Right}, {Qt::Key_Up}, {Qt::Key_Down}, {Qt::Key_Space},
                          {Qt::Key_Return},    {Qt::Key_S},     {Qt::Key_L},  {Qt::Key_Q}};

void press(GameWindow& window, PadButton button, bool down)
{
    emit window.gamepads().buttonChanged(button, down);
}

void startPlaying(OpenWindow& w)
{
    QTest::keyClick(w.window->windowHandle(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.window->session().state() == PlaySession::State::Playing; }, 5000));
}

} // namespace

// Every button of a pad, in every place the game can be, gives the key of what it does there: the
// title's own keys on the title, a box's way on the options screen and in every box, the actions of
// play in play and through the ending (where the game has no more use for them).
TEST(GamepadButtons, EveryButtonGivesItsKeyInEveryContext)
{
    const ButtonTable titleWay{Gives{Qt::Key_Left}, {Qt::Key_Right}, {Qt::Key_Up}, {Qt::Key_Down}, {Qt::Key_Return},
                               {Qt::Key_L},         {Qt::Key_S},     {Qt::Key_L},  {Qt::Key_Q}};
    const struct {
        const char* name;
        std::function<void(OpenWindow&)> bringAbout;
        ButtonTable gives;
    } contexts[] = {
        {"the title", [](OpenWindow&) {}, titleWay},
        {"the options screen",
         [](OpenWindow& w) {
             for (int step = 0; step < 3; ++step)
                 QTest::keyClick(w.window->windowHandle(), Qt::Key_Down);
             QTest::keyClick(w.window->windowHandle(), Qt::Key_Return);
             ASSERT_TRUE(QTest::qWaitFor([&] { return w.window->session().options().lblOption(6).isVisible(); }, 5000));
         },
         boxWay(true)},
        {"play", startPlaying, playWay},
        {"the treasure box",
         [](OpenWindow& w) {
             startPlaying(w);
             w.window->openBox(new frmGetItem(w.window.get(), BoxEmpty, w.window->sound()));
             ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() != w.window->windowHandle(); }, 5000));
         },
         boxWay(false)},
        {"the question whether to go back to the title",
         [](OpenWindow& w) {
             startPlaying(w);
             QTest::keyPress(w.window->windowHandle(), Qt::Key_Q);
             ASSERT_TRUE(QTest::qWaitFor([&] { return shownMessageBox() != nullptr; }, 5000));
             ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() != w.window->windowHandle(); }, 5000));
         },
         boxWay(false)},
        {"the ending",
         [](OpenWindow& w) {
             startPlaying(w);
             GameState& s = w.window->session().engine().state();
             s.HeroState = StateArrived;
             s.EventTimer = 3;
             ASSERT_TRUE(QTest::qWaitFor([&] { return w.window->session().state() == PlaySession::State::Ending; }, 5000));
         },
         playWay},
    };
    for (const auto& context : contexts) {
        SCOPED_TRACE(context.name);
        OpenWindow w;
        context.bringAbout(w);
        if (::testing::Test::HasFatalFailure())
            return;
        KeyCatcher catcher;
        for (std::size_t b = 0; b < order.size(); ++b) {
            SCOPED_TRACE(padButtonName(order[b]));
            catcher.pressed.reset();
            press(*w.window, order[b], true);
            press(*w.window, order[b], false);
            const Gives& expected = context.gives[b];
            if (expected.key.key() == Qt::Key_unknown) {
                // A button's key is sent to its window at once; whatever it posted on the way is
                // handled here, so no key by now is no key at all.
                QCoreApplication::processEvents();
                EXPECT_FALSE(catcher.pressed) << "gave " << catcher.pressed->key.key();
                continue;
            }
            ASSERT_TRUE(QTest::qWaitFor([&] { return catcher.pressed.has_value(); }, 5000));
            EXPECT_EQ(catcher.pressed->key, expected.key) << "gave " << catcher.pressed->key.key();
            EXPECT_EQ(catcher.pressed->window == w.window->windowHandle(), expected.toTheGame);
        }
    }
}
