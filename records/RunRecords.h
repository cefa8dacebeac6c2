#pragma once

#include "records/BestTimes.h"
#include "records/Ghost.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace poronpa::records {

/// The files of a world's records, in the folder its save file lies in.
std::filesystem::path bestTimesFile(const std::filesystem::path& folder);
std::filesystem::path ghostFile(const std::filesystem::path& folder);

/// What became of a run handed to recordFinishedRun.
struct RecordedRun {
    std::optional<std::size_t> place; ///< its place in the best times, 0 for the best
    bool ghostKept = false;           ///< its recording is the world's ghost now
    FileStatus status;                ///< why the list or the ghost could not be written
};

/// Records a run that reached the ending in the best times of the world whose files lie in
/// `folder`. When it is the best of them and `replay`, its finished recording, holds the whole run
/// (it began with a new game and saw the ending), a copy of it becomes the world's ghost: kept
/// under a name of its own, which the replay folder never prunes. A run continued from a save
/// counts in the list but leaves the ghost as it was.
RecordedRun recordFinishedRun(const std::filesystem::path& folder, const BestTime& run,
                              const std::filesystem::path& replay);

/// The world's ghost, ready to run beside a new game on `map`, with `scratch` its own folder;
/// null when there is none, it cannot be read, it is no whole run, or it was recorded on another
/// map (the world has been changed since).
std::unique_ptr<Ghost> openGhost(const std::filesystem::path& folder, const MapGrid& map,
                                 const std::filesystem::path& scratch);

} // namespace poronpa::records
