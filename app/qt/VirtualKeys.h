#pragma once

#include "app/qt/Gamepads.h"
#include "play/KeyCodes.h"

#include <QKeyCombination>
#include <Qt>

#include <array>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

class QKeyEvent;
class QString;

namespace poronpa {

/// The virtual key code (as the classic desktop numbers keys: Enter 13, Space 32, arrows 37..40,
/// digits 48..57, letters 65..90) of a key with the player's keys left as they come, or 0 for a
/// key the game has no code for.
int virtualKeyCode(const QKeyEvent& event);

/// The window's own keys, which never reach the play engine: F1 the controls, F11 or Alt+Enter
/// full screen, Ctrl with plus, minus or 0 the window's size.
enum class WindowCommand { None, Help, FullScreen, Larger, Smaller, ActualSize };
WindowCommand windowCommand(const QKeyEvent& event);

/// What a player does with a key in play, under the name the [Keys] section of the settings
/// file gives it, and the virtual key code the play engine reads for it.
struct KeyAction {
    const char* name;
    int virtualKey;
};

enum class Action { Left, Right, Up, Down, Jump, Rope, Save, Load, Title };
inline constexpr std::array<KeyAction, 9> KeyActions{{
    {"left", keys::Left},
    {"right", keys::Right},
    {"up", keys::Up},
    {"down", keys::Down},
    {"jump", keys::Space},
    {"rope", keys::Enter},
    {"save", keys::S},
    {"load", keys::L},
    {"title", keys::Q},
}};

/// The keys the player uses in play. Every key event of the game window is translated to the
/// play engine's key code here and nowhere else, the gamepad's buttons included.
class KeyMap {
public:
    /// The game's own keys: the arrows, Space, Enter, S, L and Q.
    KeyMap() = default;

    /// Gives actions the keys named in `entries` (action name, the toolkit's key name, as in
    /// "jump=Z"). An unknown action or key name, a key another action has, or a key the game keeps
    /// for itself (the digits, F1, F11) is reported as one line on `problems`, and that action
    /// keeps its own key.
    void rebind(const std::vector<std::pair<std::string, std::string>>& entries, std::ostream& problems);

    /// The play engine's code for a key event, or 0 for none.
    int virtualKeyCode(const QKeyEvent& event) const;

    /// The toolkit key that does `action` now (the first one, when two do).
    Qt::Key key(Action action) const;

    /// The name of that key as a player reads it (arrows as arrows).
    QString keyText(Action action) const;

    /// Where a gamepad button is pressed: in play, on the title (where up and down move over the
    /// menu, A chooses and B continues a game), or in a dialog or question over the game or on the
    /// options screen (A answers with the button that has the focus, B cancels or goes back, the
    /// directions move the focus).
    enum class PadContext { Play, Title, Dialog };
    /// The key a gamepad button stands for, to be sent as the same key events a keyboard sends;
    /// Qt::Key_unknown for none.
    QKeyCombination padKey(PadButton button, PadContext context) const;

private:
    /// The key given to each action by the player; 0 for the game's own.
    std::array<int, KeyActions.size()> bound_{};
};

} // namespace poronpa
