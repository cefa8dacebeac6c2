#pragma once

#include <bitset>
#include <vector>

namespace poronpa {

class GameEngine;

/// The key events that arrive between two frames, handed to the engine just before the next
/// one. A key changes at most once per frame: a key pressed and released again between two
/// frames is held in the next frame and released in the one after, so a quick tap is never lost;
/// a key released and pressed again before the next frame was never let go.
class KeyInput {
public:
    void press(int virtualKey);
    void release(int virtualKey);
    /// Every key still down is let go, as a key-up each (the window lost the keyboard focus, and
    /// the releases will go elsewhere).
    void releaseAll();
    /// The loop begins with no key held: events not yet delivered are dropped.
    void clear();

    /// Delivers the events since the last frame, in order, one per key; the rest wait for the
    /// next frame.
    void deliver(GameEngine& engine);

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
    std::bitset<256> down_;
};

} // namespace poronpa
