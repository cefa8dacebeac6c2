#include "play/KeyInput.h"

#include "play/GameEngine.h"

namespace poronpa {

void KeyInput::press(int virtualKey)
{
    if (!inRange(virtualKey))
        return;
    down_.set(static_cast<std::size_t>(virtualKey));
    events_.push_back({virtualKey, true});
}

void KeyInput::release(int virtualKey)
{
    if (!inRange(virtualKey))
        return;
    down_.reset(static_cast<std::size_t>(virtualKey));
    events_.push_back({virtualKey, false});
}

void KeyInput::releaseAll()
{
    for (int key = 0; key < 256; ++key)
        if (down_.test(static_cast<std::size_t>(key)))
            release(key);
}

void KeyInput::clear()
{
    events_.clear();
}

void KeyInput::deliver(GameEngine& engine)
{
    // One change per key and frame: a second event for a key waits for the next frame, with
    // whatever followed it for that key, so every press and every release is seen by a frame.
    std::bitset<256> changed;
    later_.clear();
    for (const Event& event : events_) {
        const auto key = static_cast<std::size_t>(event.key);
        if (changed.test(key)) {
            later_.push_back(event);
            continue;
        }
        changed.set(key);
        if (event.pressed)
            engine.keyDown(event.key);
        else
            engine.keyUp(event.key);
    }
    events_.swap(later_);
}

} // namespace poronpa
