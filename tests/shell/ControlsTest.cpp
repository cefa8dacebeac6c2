#include "tests/shell/ShellTestSupport.h"

#include "app/qt/ControlsHelp.h"
#include "app/qt/VirtualKeys.h"
#include "play/GameEngine.h"

#include <QKeyEvent>
#include <QTest>

#include <SDL.h>

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

using namespace poronpa;
using namespace poronpa::test;

namespace {

int lines(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

bool heroOnTheFloor(const GameEngine& engine)
{
    return engine.state().HeroVY == 0 && engine.state().HeroY == 1504.0f;
}

} // namespace

// The player's [Keys] lines give actions other keys; the action's own key then does nothing. A
// name the toolkit does not know, an action that does not exist, a key the game keeps, or a key
// two actions would have are each reported once, and those actions keep their own keys.
TEST(KeyMap, RebindingGivesActionsTheKeysNamed)
{
    using Entries = std::vector<std::pair<std::string, std::string>>;
    struct Press {
        int key;
        int code;
    };
    const struct {
        const char* name;
        Entries entries;
        int problems;
        std::vector<Press> presses;
    } cases[] = {
        {"the game's own", {}, 0,
         {{Qt::Key_Space, 32}, {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Q, 81}, {Qt::Key_Z, 90}}},
        {"jump on Z", {{"jump", "Z"}}, 0, {{Qt::Key_Z, 32}, {Qt::Key_Space, 0}, {Qt::Key_Left, 37}}},
        {"jump and rope swapped", {{"Jump", "return"}, {"rope", "Space"}}, 0,
         {{Qt::Key_Return, 32}, {Qt::Key_Space, 13}, {Qt::Key_Enter, 0}}},
        {"title on Ctrl", {{"title", "Ctrl"}}, 0, {{Qt::Key_Control, 81}, {Qt::Key_Q, 0}}},
        {"first line counts", {{"jump", "Z"}, {"jump", "X"}}, 0, {{Qt::Key_Z, 32}, {Qt::Key_X, 88}}},
        {"unknown names", {{"jump", "Zedd"}, {"jmup", "Z"}, {"rope", "\x01\xff"}, {"save", "Ctrl+S"}}, 4,
         {{Qt::Key_Space, 32}, {Qt::Key_Z, 90}, {Qt::Key_Return, 13}, {Qt::Key_S, 83}}},
        // Characters the toolkit reads as keys that no key press brings: full-width letters from
        // an input method, a letter of a layout the toolkit does not name.
        {"no key of a keyboard", {{"load", "\xef\xbc\xba"}, {"jump", "\xd0\x99"}}, 2,
         {{Qt::Key_L, 76}, {Qt::Key_Space, 32}}},
        {"keys the game keeps", {{"load", "5"}, {"save", "F1"}, {"title", "F11"}}, 3,
         {{Qt::Key_5, 53}, {Qt::Key_L, 76}, {Qt::Key_S, 83}, {Qt::Key_Q, 81}}},
        {"another action's own key", {{"jump", "Left"}}, 1, {{Qt::Key_Left, 37}, {Qt::Key_Space, 32}}},
        {"one key for two", {{"jump", "Z"}, {"rope", "Z"}}, 2, {{Qt::Key_Z, 90}, {Qt::Key_Space, 32}, {Qt::Key_Return, 13}}},
        // jump goes back to Space, which rope wanted: rope goes back too.
        {"falling back in turn", {{"rope", "Space"}, {"jump", "Down"}}, 2,
         {{Qt::Key_Space, 32}, {Qt::Key_Return, 13}, {Qt::Key_Down, 40}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KeyMap keys;
        std::ostringstream problems;
        keys.rebind(c.entries, problems);
        EXPECT_EQ(lines(problems.str()), c.problems) << problems.str();
        for (const Press& press : c.presses) {
            const QKeyEvent event(QEvent::KeyPress, press.key, Qt::NoModifier);
            EXPECT_EQ(keys.virtualKeyCode(event), press.code) << std::hex << press.key;
        }
    }
}

// A jump key of one's own works in play, the key it replaced no longer jumps, the window's own
// keys never reach the held-key table, and F1 shows the controls with the key in force; keys held
// when it opened count as let go after it. A misspelt action beside it is reported once and
// takes nothing from the others.
TEST(KeyMap, ReboundJumpKeyJumpsInPlayAndIsListed)
{
    const std::string settings =
        "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n[Keys]\njmup=X\njump=Z\nJMUP=Y\n";
    std::ostringstream said;
    std::streambuf* const stderrBuffer = std::cerr.rdbuf(said.rdbuf());
    OpenWindow w(&settings);
    std::cerr.rdbuf(stderrBuffer);
    EXPECT_EQ(lines(said.str()), 1) << said.str();
    EXPECT_NE(said.str().find("[Keys] \"jmup=X\" names no action"), std::string::npos) << said.str();
    GameWindow& gw = *w.window;
    const GameEngine& engine = gw.session().engine();
    QWindow* handle = gw.windowHandle();
    bool spaceJumped = true, zJumped = false, windowKeysHeld = true;
    int pressedAt = 0;
    QString title, listing;
    bool leftHeldAfter = true;

    Steps steps(gw);
    steps.then("title", [] { return true; }, [&] { QTest::keyClick(handle, Qt::Key_Space); })
        .then("standing", [&] { return gw.session().state() == PlaySession::State::Playing && heroOnTheFloor(engine); },
              [&] {
                  pressedAt = engine.state().FrameClock;
                  QTest::keyPress(handle, Qt::Key_Space);
              })
        .then("space held", [&] { return (engine.state().FrameClock + 1000 - pressedAt) % 1000 >= 10; },
              [&] {
                  spaceJumped = engine.state().HeroVY != 0;
                  QTest::keyRelease(handle, Qt::Key_Space);
                  QTest::keyClick(handle, Qt::Key_F11);
                  QTest::keyClick(handle, Qt::Key_Equal, Qt::ControlModifier);
                  QTest::keyPress(handle, Qt::Key_Z);
              })
        .then("jumping", [&] { return engine.state().HeroVY < 0; },
              [&] {
                  zJumped = true;
                  const auto& held = engine.state().KeyHeld;
                  windowKeysHeld = held[122] || held[187] || held[48];
                  QTest::keyRelease(handle, Qt::Key_Z);
                  QTest::keyPress(handle, Qt::Key_Left);
                  QTest::keyClick(handle, Qt::Key_F1);
              })
        .then("controls shown", [&] { return qobject_cast<ControlsHelp*>(shownBox(gw)); },
              [&] {
                  auto* help = qobject_cast<ControlsHelp*>(shownBox(gw));
                  title = help->windowTitle();
                  listing = help->listing();
                  help->reject();
              })
        .then("controls closed", [&] { return shownBox(gw) == nullptr; },
              [&] {
                  leftHeldAfter = engine.state().KeyHeld[37];
                  gw.close();
              });
    steps.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return gw.closing(); }, 30000)) << "the steps did not reach their end";
    EXPECT_EQ(steps.failedAt, "");
    EXPECT_FALSE(spaceJumped);
    EXPECT_TRUE(zJumped);
    EXPECT_FALSE(windowKeysHeld);
    EXPECT_EQ(title, QStringLiteral("操作説明"));
    EXPECT_TRUE(listing.contains(QStringLiteral("Z : ジャンプ"))) << listing.toStdString();
    EXPECT_FALSE(listing.contains(QStringLiteral("Space : ジャンプ")));
    EXPECT_FALSE(leftHeldAfter) << "a key let go while the window was open must not stay held";
}

namespace {

/// A gamepad made by the controller support itself, with every button and axis of a standard
/// controller, plugged in for as long as it lives (or until unplugged).
class VirtualPad {
public:
    VirtualPad()
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
            return;
        device_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                            SDL_CONTROLLER_BUTTON_MAX, 0);
        if (device_ >= 0)
            joystick_ = SDL_JoystickOpen(device_);
    }
    ~VirtualPad()
    {
        unplug();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool plugged() const { return joystick_ != nullptr; }
    void button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0); }
    void stick(int x, int y)
    {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    }
    void unplug()
    {
        if (!joystick_)
            return;
        SDL_JoystickClose(joystick_);
        SDL_JoystickDetachVirtual(device_);
        joystick_ = nullptr;
    }

private:
    int device_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

} // namespace

// A gamepad reaches the game as the keys its buttons stand for: A starts a game on the title and
// jumps in play, Start asks the way back to the title, B answers No, the stick walks only past its
// dead zone, and a pad pulled out while a direction is held lets go of the key.
TEST(Gamepad, ButtonsPlayAsTheirKeys)
{
    VirtualPad pad;
    ASSERT_TRUE(pad.plugged()) << SDL_GetError();
    OpenWindow w;
    GameWindow& gw = *w.window;
    const GameEngine& engine = gw.session().engine();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gw.gamepads().connected() == 1; }, 20000));

    const auto& held = engine.state().KeyHeld;
    float floorY = 0;
    std::string question;
    bool heldInDeadZone = true;
    Steps steps(gw);
    steps.then("title", [] { return true; }, [&] { pad.button(SDL_CONTROLLER_BUTTON_A, true); })
        .then("standing", [&] { return gw.session().state() == PlaySession::State::Playing && heroOnTheFloor(engine); },
              [&] { pad.button(SDL_CONTROLLER_BUTTON_A, false); })
        .then("A let go", [&] { return !gw.gamepads().held().any(); },
              [&] {
                  floorY = engine.state().HeroY;
                  pad.button(SDL_CONTROLLER_BUTTON_A, true);
              })
        .then("jumping", [&] { return engine.state().HeroY < floorY - 8; },
              [&] { pad.button(SDL_CONTROLLER_BUTTON_A, false); })
        .then("landed", [&] { return !held[32] && heroOnTheFloor(engine); },
              [&] { pad.button(SDL_CONTROLLER_BUTTON_START, true); })
        .then("asked", [&] { return qobject_cast<QMessageBox*>(shownBox(gw)) != nullptr; },
              [&] {
                  question = qobject_cast<QMessageBox*>(shownBox(gw))->text().toStdString();
                  pad.button(SDL_CONTROLLER_BUTTON_START, false);
                  pad.button(SDL_CONTROLLER_BUTTON_B, true);
              })
        .then("answered No", [&] { return shownBox(gw) == nullptr; },
              [&] {
                  // What a window manager does when a box closes; pads only play in the active window.
                  gw.activateWindow();
                  pad.button(SDL_CONTROLLER_BUTTON_B, false);
                  pad.stick(12000, 0);
              })
        .then("stick in the dead zone", [&] { return gw.gamepads().held().none(); },
              [&] {
                  heldInDeadZone = held[39];
                  pad.stick(30000, 0);
              })
        .then("walking right", [&] { return held[39] && engine.state().HeroVX > 0; }, [&] { pad.unplug(); })
        .then("unplugged", [&] { return gw.gamepads().connected() == 0 && !held[39]; }, [&] { gw.close(); });
    steps.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return gw.closing(); }, 60000)) << "the steps did not reach their end";
    EXPECT_EQ(steps.failedAt, "");
    EXPECT_EQ(question, "タイトルに戻りますか？");
    EXPECT_FALSE(heldInDeadZone);
    EXPECT_TRUE(gw.closing());
}
