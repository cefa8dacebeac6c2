#include "app/qt/VirtualKeys.h"

#include "settings/WindowSettings.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMetaEnum>

#include <algorithm>
#include <ostream>

namespace poronpa {

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// Keys beyond letters and digits; the game reads only Enter, Space and the arrows, the rest keep
// the held-key table truthful for keys held together with them.
constexpr KeyCode NamedKeys[] = {
    {Qt::Key_Backspace, 8},        {Qt::Key_Tab, 9},           {Qt::Key_Backtab, 9},
    {Qt::Key_Return, keys::Enter}, {Qt::Key_Enter, keys::Enter}, {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},         {Qt::Key_Alt, 18},          {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},        {Qt::Key_Escape, 27},       {Qt::Key_Space, keys::Space},
    {Qt::Key_PageUp, 33},          {Qt::Key_PageDown, 34},     {Qt::Key_End, 35},
    {Qt::Key_Home, 36},            {Qt::Key_Left, keys::Left}, {Qt::Key_Up, keys::Up},
    {Qt::Key_Right, keys::Right},  {Qt::Key_Down, keys::Down}, {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
};

int plainCode(int key, Qt::KeyboardModifiers modifiers)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        // The number pad's digits have codes of their own, 96..105.
        return (modifiers.testFlag(Qt::KeypadModifier) ? 96 : keys::Digit0) + (key - Qt::Key_0);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 65 + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    for (const KeyCode& named : NamedKeys)
        if (named.qtKey == key)
            return named.virtualKey;
    return 0;
}

/// The keys that do the action until the player gives it another.
std::vector<int> ownKeys(std::size_t action)
{
    std::vector<int> keys;
    for (const int key : KeyActions[action].ownKeys)
        if (key != 0)
            keys.push_back(key);
    return keys;
}

/// Keys with a meaning of their own that no action may take: the digits choose an older save
/// together with L, F1 shows the controls and F11 switches to full screen.
bool keptByTheGame(int key)
{
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_F1 || key == Qt::Key_F11;
}

/// The toolkit key of a key name such as "Z", "Space", "Return", "F5" or "Ctrl"; 0 if unknown.
int keyOfName(const std::string& name)
{
    const QString text = QString::fromStdString(name).trimmed();
    // The toolkit spells the key itself Control; its short form names only the modifier.
    if (text.compare(QStringLiteral("Ctrl"), Qt::CaseInsensitive) == 0)
        return Qt::Key_Control;
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (text.isEmpty() || sequence.count() != 1 || sequence[0].keyboardModifiers() != Qt::NoModifier ||
        sequence[0].key() == Qt::Key_unknown)
        return 0;
    // Any single character reads as a key of that code, even one no key press brings (a
    // full-width Ｚ typed through an input method), which would leave the action without a key;
    // only the keys the toolkit names are taken.
    if (!QMetaEnum::fromType<Qt::Key>().valueToKey(sequence[0].key()))
        return 0;
    return sequence[0].key();
}

/// "left right up ...", for a message.
std::string actionNames()
{
    std::string names;
    for (const KeyAction& action : KeyActions)
        names += (names.empty() ? "" : " ") + std::string(action.name);
    return names;
}

std::size_t actionOfName(const std::string& name)
{
    for (std::size_t a = 0; a < KeyActions.size(); ++a)
        if (QString::fromStdString(name).compare(QLatin1String(KeyActions[a].name), Qt::CaseInsensitive) == 0)
            return a;
    return KeyActions.size();
}

} // namespace

int virtualKeyCode(const QKeyEvent& event)
{
    return plainCode(event.key(), event.modifiers());
}

WindowCommand windowCommand(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier && key == Qt::Key_F1)
        return WindowCommand::Help;
    if ((modifiers == Qt::NoModifier && key == Qt::Key_F11) ||
        (modifiers == Qt::AltModifier && (key == Qt::Key_Return || key == Qt::Key_Enter)))
        return WindowCommand::FullScreen;
    if (!modifiers.testFlag(Qt::ControlModifier) || modifiers.testFlag(Qt::AltModifier))
        return WindowCommand::None;
    // Plus is a shifted key on many keyboards, where the unshifted one reads '='.
    if (key == Qt::Key_Plus || key == Qt::Key_Equal)
        return WindowCommand::Larger;
    if (key == Qt::Key_Minus)
        return WindowCommand::Smaller;
    if (key == Qt::Key_0)
        return WindowCommand::ActualSize;
    return WindowCommand::None;
}

void KeyMap::rebind(const std::vector<std::pair<std::string, std::string>>& entries, std::ostream& problems)
{
    const auto say = [&problems](const std::string& action, const std::string& name, const std::string& why) {
        problems << "poronpa: zembo.ini: [Keys] " << quotedForMessage(action + "=" + name) << ' ' << why << '\n';
    };
    bound_ = {};
    std::array<bool, KeyActions.size()> named{};
    for (const auto& [action, name] : entries) {
        const std::size_t a = actionOfName(action);
        if (a == KeyActions.size()) {
            say(action, name, "names no action (" + actionNames() + "); ignored");
            continue;
        }
        if (named[a])
            continue; // the first line of an action counts, as for every other setting
        named[a] = true;
        const int key = keyOfName(name);
        if (key == 0)
            say(action, name, "is not a key name the game knows; the action keeps its own key");
        else if (keptByTheGame(key))
            say(action, name, "is a key the game keeps for itself; the action keeps its own key");
        else
            bound_[a] = key;
    }

    // A key may do one action only. Every action whose new key another action also has goes back
    // to its own; that can take a key in turn, so look again until nothing changes.
    const auto keysOf = [this](std::size_t a) { return bound_[a] ? std::vector<int>{bound_[a]} : ownKeys(a); };
    for (bool changed = true; changed;) {
        changed = false;
        std::array<std::size_t, KeyActions.size()> sharedWith{};
        sharedWith.fill(KeyActions.size());
        for (std::size_t a = 0; a < KeyActions.size(); ++a) {
            for (std::size_t other = 0; other < KeyActions.size() && bound_[a]; ++other) {
                const std::vector<int> keys = keysOf(other);
                if (other != a && std::find(keys.begin(), keys.end(), bound_[a]) != keys.end())
                    sharedWith[a] = other;
            }
        }
        for (std::size_t a = 0; a < KeyActions.size(); ++a) {
            if (sharedWith[a] == KeyActions.size())
                continue;
            const auto entry = std::find_if(entries.begin(), entries.end(),
                                            [a](const auto& e) { return actionOfName(e.first) == a; });
            say(entry->first, entry->second,
                std::string("is also the key of ") + KeyActions[sharedWith[a]].name + "; the action keeps its own key");
            bound_[a] = 0;
            changed = true;
        }
    }
}

int KeyMap::virtualKeyCode(const QKeyEvent& event) const
{
    const int key = event.key();
    for (std::size_t a = 0; a < KeyActions.size(); ++a)
        if (bound_[a] != 0 && bound_[a] == key)
            return KeyActions[a].virtualKey;
    const int code = plainCode(key, event.modifiers());
    // The game's own key of an action that now has another does nothing.
    for (std::size_t a = 0; a < KeyActions.size(); ++a)
        if (bound_[a] && code == KeyActions[a].virtualKey)
            return 0;
    return code;
}

Qt::Key KeyMap::key(Action action) const
{
    const std::size_t a = indexOf(action);
    return static_cast<Qt::Key>(bound_[a] ? bound_[a] : ownKeys(a).front());
}

QString KeyMap::keyText(Action action) const
{
    switch (const Qt::Key k = key(action)) {
    case Qt::Key_Left:
        return QStringLiteral("←");
    case Qt::Key_Right:
        return QStringLiteral("→");
    case Qt::Key_Up:
        return QStringLiteral("↑");
    case Qt::Key_Down:
        return QStringLiteral("↓");
    case Qt::Key_Return:
        return QStringLiteral("Enter");
    default:
        return QKeySequence(k).toString(QKeySequence::NativeText);
    }
}

QKeyCombination KeyMap::padKey(PadButton button, PadContext context) const
{
    if (context == PadContext::Dialog) {
        switch (button) {
        case PadButton::A:
            return Qt::Key_Return;
        case PadButton::B:
            return Qt::Key_Escape;
        case PadButton::Left:
        case PadButton::Up:
            return QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab);
        case PadButton::Right:
        case PadButton::Down:
            return Qt::Key_Tab;
        default:
            return Qt::Key_unknown;
        }
    }
    // The title's own keys, whatever the player's are: the d-pad moves over the menu, A chooses
    // (the first entry while none is highlighted), B continues.
    if (context == PadContext::Title) {
        switch (button) {
        case PadButton::Up:
            return Qt::Key_Up;
        case PadButton::Down:
            return Qt::Key_Down;
        case PadButton::A:
            return Qt::Key_Return;
        case PadButton::B:
            return Qt::Key_L;
        default:
            break;
        }
    }
    const std::size_t a = indexOf(button);
    return a < KeyActions.size() ? key(KeyActions[a].action) : QKeyCombination(Qt::Key_unknown);
}

} // namespace poronpa
