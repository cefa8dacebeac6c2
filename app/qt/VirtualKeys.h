#pragma once

#include "app/qt/Gamepads.h"
#include "play/KeyCodes.h"

#include <QKeyCombination>
#include <QtGlobal>
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

enum class Action { Left, Right, Up, Down, Jump, Rope, Save, Load, Title };

/// What a player does with a key in play: everything known of it, in one place.
struct KeyAction {
    Action action;
    /// Its name in the [Keys] section of the settings file.
    const char* name;
    /// The virtual key code the play engine reads for it.
    int virtualKey;
    /// The toolkit keys that do it until the player gives it another (Enter on both keyboards);
    /// 0 for none.
    std::array<int, 2> ownKeys;
    /// The gamepad button that does it in play.
    PadButton padButton;
    /// What it does, as the controls window says it (marked for the catalogue, translated where
    /// shown); actions listed one after the other with the same words share a line there.
    const char* help;
    /// What its gamepad button does, as the controls window says it; none for the directions,
    /// which share one line of their own.
    const char* padHelp;
};

inline constexpr std::array<KeyAction, 9> KeyActions{{
    {Action::Left, "left", keys::Left, {Qt::Key_Left}, PadButton::Left,
     QT_TRANSLATE_NOOP("Controls", "歩く・泳ぐ（はしごやロープでは左右へ）"), nullptr},
    {Action::Right, "right", keys::Right, {Qt::Key_Right}, PadButton::Right,
     QT_TRANSLATE_NOOP("Controls", "歩く・泳ぐ（はしごやロープでは左右へ）"), nullptr},
    {Action::Up, "up", keys::Up, {Qt::Key_Up}, PadButton::Up, QT_TRANSLATE_NOOP("Controls", "はしご・ロープを上り下りする"),
     nullptr},
    {Action::Down, "down", keys::Down, {Qt::Key_Down}, PadButton::Down,
     QT_TRANSLATE_NOOP("Controls", "はしご・ロープを上り下りする"), nullptr},
    {Action::Jump, "jump", keys::Space, {Qt::Key_Space}, PadButton::A,
     QT_TRANSLATE_NOOP("Controls", "ジャンプ（水の中では泳ぎ上がる）"),
     QT_TRANSLATE_NOOP("Controls", "ジャンプ（タイトル画面では 選んだ項目へ）")},
    {Action::Rope, "rope", keys::Enter, {Qt::Key_Return, Qt::Key_Enter}, PadButton::B,
     QT_TRANSLATE_NOOP("Controls", "ロープを上に投げる（ロープを持っているとき）"),
     QT_TRANSLATE_NOOP("Controls", "ロープ（タイトル画面では つづきから、設定では戻る）")},
    {Action::Save, "save", keys::S, {Qt::Key_S}, PadButton::Y, QT_TRANSLATE_NOOP("Controls", "セーブ（日記を持っているとき）"),
     QT_TRANSLATE_NOOP("Controls", "セーブ")},
    {Action::Load, "load", keys::L, {Qt::Key_L}, PadButton::Back,
     QT_TRANSLATE_NOOP("Controls", "ロード（数字キーと一緒に押すと、その数だけ前のセーブ）"),
     QT_TRANSLATE_NOOP("Controls", "ロード")},
    {Action::Title, "title", keys::Q, {Qt::Key_Q}, PadButton::Start, QT_TRANSLATE_NOOP("Controls", "タイトルに戻る"),
     QT_TRANSLATE_NOOP("Controls", "タイトルに戻る")},
}};

/// Where an action stands in KeyActions; KeyActions.size() for an action it lacks.
constexpr std::size_t indexOf(Action action)
{
    std::size_t a = 0;
    while (a < KeyActions.size() && KeyActions[a].action != action)
        ++a;
    return a;
}

/// Where the action a gamepad button does in play stands in KeyActions; KeyActions.size() for a
/// button that does none.
constexpr std::size_t indexOf(PadButton button)
{
    std::size_t a = 0;
    while (a < KeyActions.size() && KeyActions[a].padButton != button)
        ++a;
    return a;
}

namespace detail {
constexpr bool eachActionAndButtonOnce()
{
    for (std::size_t a = 0; a < KeyActions.size(); ++a)
        if (indexOf(KeyActions[a].action) != a || indexOf(KeyActions[a].padButton) != a)
            return false;
    return true;
}
} // namespace detail
static_assert(detail::eachActionAndButtonOnce(), "an action or a gamepad button listed twice in KeyActions");

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
