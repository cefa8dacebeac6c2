#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace poronpa::sim {

/// The keys held in one frame, indexed by virtual key code.
using KeySet = std::bitset<256>;

/// One line of a key script: these keys held for this many frames.
struct KeyRun {
    std::int64_t frames = 0;
    KeySet keys;
};

/// A parsed key script: what is held in each frame, run after run.
struct KeyScript {
    std::vector<KeyRun> runs;

    std::int64_t totalFrames() const;
};

/// Parses lines of `COUNT KEYS`, KEYS being `-` or key names joined by `+`. Blank lines and text
/// after `#` are ignored. On a bad line returns false with `error` naming the line.
bool parseKeyScript(std::string_view text, KeyScript& script, std::string& error);

/// Hands out the held keys frame by frame; once the script is used up nothing is held.
class KeyFeed {
public:
    explicit KeyFeed(const KeyScript& script) : script_(script) {}

    /// The keys held in the next frame.
    KeySet next();

private:
    const KeyScript& script_;
    std::size_t run_ = 0;
    std::int64_t usedOfRun_ = 0;
};

/// The key events a window would deliver between two frames.
struct KeyChanges {
    std::vector<int> released;
    std::vector<int> pressed;
};

KeyChanges keyChanges(const KeySet& before, const KeySet& now);

} // namespace poronpa::sim
