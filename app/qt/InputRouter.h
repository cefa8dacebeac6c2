#pragma once

#include "app/qt/Gamepads.h"
#include "app/qt/VirtualKeys.h"
#include "play/KeyInput.h"

#include <QPointer>
#include <QWindow>

#include <array>
#include <optional>

class QKeyEvent;

namespace poronpa {

class frmGetItem;

/// Where the play loop's frames take their keys from: the player, or a replay being watched.
class InputSource {
public:
    virtual ~InputSource() = default;
    /// The keys held in the next frame; false once the source has run out (a replay over, or
    /// stopped).
    virtual bool nextFrame(KeySet& keys) = 0;
    /// Whether the keys held before the next frame were let go of by the window (a box closed
    /// over the game): a key held then must be pressed anew.
    virtual bool keysCleared() const { return false; }
    /// A key of the window's pressed or let go during play, other than the window's own commands.
    virtual void key(const QKeyEvent& event) = 0;
    /// The answer the source gives every question of the game itself, or none: the player is asked.
    virtual std::optional<bool> answersItself() const { return std::nullopt; }
    /// The treasure box dialog has opened: a source that presses its OK itself does so from now on.
    virtual void treasureBoxOpened(frmGetItem&) {}
};

/// The player's keys, from the keyboard and the gamepads alike (a pad's buttons arrive as the
/// keys they stand for), held between two frames for the next.
class PlayerInput : public InputSource {
public:
    explicit PlayerInput(const KeyMap& keyMap) : keyMap_(keyMap) {}

    bool nextFrame(KeySet& keys) override;
    bool keysCleared() const override { return keys_.cleared(); }
    void key(const QKeyEvent& event) override;

    KeyInput& keys() { return keys_; }

private:
    const KeyMap& keyMap_;
    KeyInput keys_;
};

/// Routes the input the window receives: the frames follow one source, the player's by default or
/// a replay being watched, and a gamepad's buttons go as the keys they stand for to the window
/// that has the keyboard, be it the game's, a box over it or another of the program's.
class InputRouter {
public:
    explicit InputRouter(const KeyMap& keyMap) : keyMap_(keyMap), player_(keyMap) {}

    /// The frames follow `source` from now on (a replay, which must outlive its following), or
    /// the player again with null.
    void follow(InputSource* source) { followed_ = source; }
    InputSource& source() { return followed_ ? *followed_ : player_; }
    PlayerInput& player() { return player_; }

    /// A key of the window during play, to the source the frames follow.
    void key(const QKeyEvent& event) { source().key(event); }
    /// A gamepad button pressed or let go: the key it stands for in `context` while the game's
    /// window `game` has the keyboard, in a box's way in any other window of the program.
    void padButton(PadButton button, bool down, const QWindow* game, KeyMap::PadContext context);

private:
    const KeyMap& keyMap_;
    PlayerInput player_;
    InputSource* followed_ = nullptr;
    /// The key each gamepad button pressed, and the window it went to, so that letting go of the
    /// button lets go of that key there, whatever has happened in between.
    struct PadKey {
        QPointer<QWindow> target;
        QKeyCombination key{Qt::Key_unknown};
    };
    std::array<PadKey, PadButtonCount> padKeys_{};
};

} // namespace poronpa
