#pragma once

#include "play/KeySet.h"

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace poronpa::sim {

using poronpa::KeySet;

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

/// The UTF-8 byte-order mark a text file may start with; a script's first line passes over it.
inline constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

/// Reads a key script run by run as it is needed, so that a script of any length takes no more
/// memory than one line: lines of `COUNT KEYS`, KEYS being `-` or key names joined by `+`. Blank
/// lines, text after `#` and a byte-order mark at the start are ignored. A bad line, a line too long to be one, or counts that
/// add up to more frames than any run can have end the script with an error naming the line.
class KeyScriptReader {
public:
    /// More characters before a comment than any line of counts and keys needs.
    static constexpr std::size_t MostLineChars = 4096;

    explicit KeyScriptReader(std::istream& in) : in_(in) {}

    /// The next run; false at the end of the script or at a bad line.
    bool next(KeyRun& run);
    /// Why the script ended early; empty at its proper end.
    const std::string& error() const { return error_; }

private:
    std::istream& in_;
    std::int64_t lineNumber_ = 0;
    std::int64_t totalFrames_ = 0;
    std::string error_;
};

/// Parses a whole script; on a bad line returns false with `error` naming the line.
bool parseKeyScript(std::string_view text, KeyScript& script, std::string& error);

/// What one line of a script holds.
enum class KeyLine {
    Nothing, ///< blank, or a comment alone
    Run,     ///< a run of frames, now in `run`
    Bad,     ///< not a line of the script; `problem` says why
};
/// Reads one line (without its line end) as KeyScriptReader does.
KeyLine parseKeyLine(std::string_view line, KeyRun& run, std::string& problem);

/// KEYS as a script writes them: `-`, or the names of the keys held joined by `+`.
std::string keysText(const KeySet& keys);

/// Every key a script can name.
KeySet namedKeys();

/// Hands out the held keys frame by frame, reading the script as it goes.
class KeyFeed {
public:
    explicit KeyFeed(KeyScriptReader& script) : script_(script) {}

    /// The keys held in the next frame; false, with nothing held, once the script is used up (or
    /// ended at a bad line: see KeyScriptReader::error()).
    bool next(KeySet& keys);

private:
    KeyScriptReader& script_;
    KeyRun run_;
    std::int64_t usedOfRun_ = 0;
    bool ended_ = false;
};

} // namespace poronpa::sim
