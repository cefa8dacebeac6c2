#pragma once

#include "app/base/SafeFile.h"
#include "play/script/KeyScript.h"
#include "play/GameState.h"
#include "world/MapGrid.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace poronpa::replay {

// A replay is a key script of the simulator's: `COUNT KEYS` lines, one per run of equal frames.
// The `#` lines the simulator passes over tell a reader of replays everything else the run
// depends on: a header before the keys, a line wherever a save or a load failed, and a closing
// line at the end, either the game's own end line or a note that the recording was still going.

/// The version of the layout written here; a reader refuses any other.
inline constexpr int FormatVersion = 1;

/// The most frames one replay may hold: years of play at any frame rate, and far below what a
/// count or a sum of counts may reach before it overflows.
inline constexpr std::int64_t MaxFrames = 2'147'483'647;

/// The largest replay file read; the recorder stops short of it.
inline constexpr std::size_t MaxFileBytes = std::size_t{64} << 20;

/// The save file as the loader found it when the recording began. Saves made during the run go
/// to this ring, and L may load any of its slots, so the whole ring is kept.
struct SaveImage {
    enum class Kind : std::uint8_t {
        None,       ///< there was no save file
        Unreadable, ///< it could not be read (the game said so when it tried)
        Bytes,      ///< `bytes` reads as the file did
    };
    Kind kind = Kind::None;
    /// The head of the file the loader reads. Only the first four bytes of each record and the
    /// length are ever read, so only those are kept; the rest of each record reads as zeros.
    std::vector<std::uint8_t> bytes;

    bool operator==(const SaveImage&) const = default;
};

/// Reads the save file as the recording begins.
SaveImage captureSaveImage(const std::filesystem::path& saveFile);
/// Writes a save file that every load reads exactly as the captured one; for an unreadable one a
/// folder takes the file's place (a folder is never readable as a save). Nothing for None.
FileStatus restoreSaveImage(const SaveImage& image, const std::filesystem::path& saveFile);

/// What a new game or a load leaves as it was before: the state the previous game of the same
/// session handed on (play/KeptByStart.h). Taken after the start; a player of the replay puts it
/// back after the same start.
struct Carry {
    /// What the start kept; every other field as a state has it when made.
    GameState kept;

    static Carry of(const GameState& state);
    void applyTo(GameState& state) const;
    bool operator==(const Carry&) const = default;
};

/// Where and how the recorded run began.
struct ReplayHeader {
    std::string program;         ///< the version of the game that recorded it
    std::string date;            ///< local date and time, "2025-06-01 14:03:22 +0900"
    bool continued = false;      ///< つづきから instead of はじめから
    std::int32_t frameRate = 0;  ///< the FrameRate setting
    std::uint64_t mapDigest = 0; ///< mapDigest() of the world it was played on
    /// The file name of that world, so that a player of the replay can look for it; empty when
    /// the replay does not say (recorded before replays named their world).
    std::string worldFile;
    Carry carry;
    SaveImage saves;

    bool operator==(const ReplayHeader&) const = default;
};

/// A digest of the map's cells, to tell that a replay was recorded on another map.
std::uint64_t mapDigest(const MapGrid& map);

/// The current local date and time as the header writes it.
std::string localDateNow();

/// The world's file name as a header line can hold it: empty for a name with a byte a line of
/// the file may not hold (a line end, a control character).
std::string worldFileForHeader(const std::filesystem::path& world);

/// The header's lines, each ending in a line end.
std::string headerText(const ReplayHeader& header);

/// What went wrong for the game in a frame, so that a player of the replay fails there as well.
struct Failure {
    enum class Kind : std::uint8_t { Save, Load };
    std::int64_t frame = 0;
    Kind kind = Kind::Save;

    bool operator==(const Failure&) const = default;
};
/// The `#` line for a failure, with its line end.
std::string failureLine(const Failure& failure);

/// The closing line of a replay whose game went on (written every few seconds), with its line end.
std::string unfinishedLine(std::int64_t frames);
/// The closing line of a finished replay: the game's own end line after `# `, with its line end.
std::string endingLine(const std::string& endLine);

/// A replay read and checked whole, or a plain key script (which plays as a new game).
struct Replay {
    /// Absent for a plain key script: a new game on the map as it is, with the caller's frame rate.
    std::optional<ReplayHeader> header;
    /// The whole file; its keys are read as any key script's (sim::KeyScriptReader).
    std::string text;
    std::int64_t frames = 0;
    /// The end line the game saw ("end frame=..."); absent when the recording did not finish.
    std::optional<std::string> endLine;
    std::vector<Failure> failures;
};

/// Checks a replay's text (a byte-order mark at its start is passed over). On a fault returns
/// false with `error` as "line N: reason".
bool parseReplay(std::string text, Replay& replay, std::string& error);

/// Reads and checks a replay file. The error is one line: "FILE:N: reason", or the file's own
/// trouble.
FileStatus readReplay(const std::filesystem::path& path, Replay& replay);

} // namespace poronpa::replay
