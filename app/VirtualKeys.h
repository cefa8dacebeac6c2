#pragma once

class QKeyEvent;

namespace poronpa {

/// The virtual key code (as the classic desktop numbers keys: Enter 13, Space 32, arrows 37..40,
/// digits 48..57, letters 65..90) of a key event, or 0 for a key the game has no code for.
/// Every key event of the game window is translated here and nowhere else.
int virtualKeyCode(const QKeyEvent& event);

} // namespace poronpa
