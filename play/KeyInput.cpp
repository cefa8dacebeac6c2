#include "play/KeyInput.h"

#include <algorithm>
#include <iterator>

namespace poronpa {

void KeyInput::press(int virtualKey)
{
    if (!inRange(virtualKey))
        return;
    down_.set(static_cast<std::size_t>(virtualKey));
    // A key is held from its first press to its last release: a release that no frame has seen
    // yet, followed by a press of the same key, is no release. Under a key repeat the toolkit does
    // not recognise, a held key arrives as such pairs, and each would let go of it for a frame.
    const auto last =
        std::find_if(events_.rbegin(), events_.rend(), [virtualKey](const Event& e) { return e.key == virtualKey; });
    if (last != events_.rend() && !last->pressed) {
        events_.erase(std::next(last).base());
        return;
    }
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
    frame_.reset();
    cleared_ = true;
}

KeySet KeyInput::nextFrame()
{
    // One change per key and frame: a second event for a key waits for the next frame, with
    // whatever followed it for that key, so every press and every release is seen by a frame.
    KeySet changed;
    later_.clear();
    for (const Event& event : events_) {
        const auto key = static_cast<std::size_t>(event.key);
        if (changed.test(key)) {
            later_.push_back(event);
            continue;
        }
        changed.set(key);
        frame_.set(key, event.pressed);
    }
    events_.swap(later_);
    cleared_ = false;
    return frame_;
}

} // namespace poronpa
