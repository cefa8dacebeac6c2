#pragma once

#include "app/base/SafeFile.h"
#include "play/GameState.h"
#include "world/MapGrid.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace poronpa {

/// The save file is a file of 128-byte records; the ring of ten slots ends with the 696th, and
/// the loader reads no further.
inline constexpr std::size_t SaveRecordBytes = 128;
inline constexpr std::size_t SaveFileUsedBytes = 696 * SaveRecordBytes;

/// What one save slot keeps.
struct SaveRecord {
    std::int16_t AreaX = 0;
    std::int16_t AreaY = 0;
    float RespawnX = 0;
    float RespawnY = 0;
    std::int16_t SwitchOn = 0;
    std::array<std::int16_t, 10> ItemHeld{};
    AreaNumbers MiniMapColor{};
    AreaNumbers DeathCount{};
    /// The run's frames at the save (GameState::RunFrames). Not in the save file, whose bytes stay
    /// as they always were, but beside it (runFramesFile), with a check of the slot it belongs to.
    std::int32_t RunFrames = UnknownRunFrames;

    bool operator==(const SaveRecord&) const = default;
};

/// The file beside a save file that keeps the run's frames of each slot: the save file's name
/// with ".run" after it. Each slot's entry holds the frames and a check of what the slot held when
/// they were written, so that a slot written without them (by an older game, or when this file
/// could not be written) reads as a run of unknown length, never as another save's time.
std::filesystem::path runFramesFile(const std::filesystem::path& saveFile);

/// Writes the record into the slot the file's counter names and advances the counter (the ring
/// of ten saves in 128-byte records). The file is rewritten beside the old one and renamed over
/// it, so a failure leaves the saves already made untouched; another game saving into the same
/// file meanwhile waits its turn, so neither save is lost. The run's frames go beside it after;
/// when they cannot, the save stands and its run reads as unknown.
FileStatus SaveGame(const std::filesystem::path& file, const SaveRecord& record);

enum class LoadOutcome {
    Loaded,       ///< `record` holds the save
    NoFile,       ///< there is no save file: the caller starts a new game
    NeverWritten, ///< that slot was never written: nothing to load
    Unreadable,   ///< the file exists but cannot be read (`error` says why)
};

/// Reads the save made `back` (0..9) saves before the latest. Values a damaged file holds are
/// made safe: a counter outside 0..9 reads as 0, an area outside 0..4 or a position that is not a
/// finite number fall back to the start, a finite position beyond the band the area edges keep
/// is brought to its nearest point inside, item flags other than 0 and 1 read as 1.
LoadOutcome LoadGameRecord(const std::filesystem::path& file, int back, SaveRecord& record, std::string* error = nullptr);

} // namespace poronpa
