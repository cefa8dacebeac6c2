#include "app/VirtualKeys.h"

#include <QKeyEvent>

namespace poronpa {

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// Keys beyond letters and digits; the game reads only Enter, Space and the arrows, the rest keep
// the held-key table truthful for keys held together with them.
constexpr KeyCode NamedKeys[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},     {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},   {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},     {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},    {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},       {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},      {Qt::Key_Up, 38},       {Qt::Key_Right, 39},     {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},    {Qt::Key_Delete, 46},
};

} // namespace

int virtualKeyCode(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        // The number pad's digits have codes of their own, 96..105.
        const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
        return (keypad ? 96 : 48) + (key - Qt::Key_0);
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

} // namespace poronpa
