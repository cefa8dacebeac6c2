#pragma once

#include "app/base/SafeFile.h"
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

    bool operator==(const SaveRecord&) const = default;
};

/// Writes the record into the slot the file's counter names and advances the counter (the ring
/// of ten saves in 128-byte records). The file is rewritten beside the old one and renamed over
/// it, so a failure leaves the saves already made untouched; another game saving into the same
/// file meanwhile waits its turn, so neither save is lost.
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
