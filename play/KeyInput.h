#pragma once

#include "play/KeySet.h"

#include <vector>

namespace poronpa {

/// The key events that arrive between two frames, turned into the keys held in the next one. A
/// key changes at most once per frame: a key pressed and released again between two frames is
/// held in the next frame and released in the one after, so a quick tap is never lost; a key
/// released and pressed again before the next frame was never let go.
class KeyInput {
public:
    void press(int virtualKey);
    void release(int virtualKey);
    /// Every key still down is let go, as a key-up each (the window lost the keyboard focus, and
    /// the releases will go elsewhere).
    void releaseAll();
    /// No key counts as held any more: events not yet taken are dropped, and a key held in the
    /// next frame is one pressed after this (the loop begins, a box closed over the game).
    void clear();

    /// The keys held in the next frame: the last frame's, changed by the first event since then
    /// of each key; the rest wait for the frame after.
    KeySet nextFrame();
    /// Whether clear() was called since the last frame was taken: the keys held before must then
    /// be pressed anew, not carried on.
    bool cleared() const { return cleared_; }

    bool isDown(int virtualKey) const { return inRange(virtualKey) && down_.test(static_cast<std::size_t>(virtualKey)); }
    bool pending() const { return !events_.empty(); }

private:
    struct Event {
        int key;
        bool pressed;
    };
    static bool inRange(int key) { return key >= 0 && key < 256; }

    std::vector<Event> events_;
    std::vector<Event> later_;
    KeySet down_;
    KeySet frame_;
    bool cleared_ = false;
};

} // namespace poronpa
