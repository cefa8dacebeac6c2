#pragma once

#include "app/SafeFile.h"
#include "replay/ReplayFile.h"

#include <cstdint>
#include <filesystem>

namespace poronpa::replay {

/// The save file a replay plays with, in a folder of its own: the ring the recording began with,
/// and in the frames where the game failed to save or to load, a file that fails the same way.
/// The player's own saves are never touched.
class ReplaySaves {
public:
    ReplaySaves(std::filesystem::path folder, const Replay& replay);

    /// Puts the recorded ring in place; an error names the file and the reason.
    FileStatus prepare();

    /// The save file for the frame `frame` (counted from 1). The same object is returned until
    /// the file to use changes.
    const std::filesystem::path& fileFor(std::int64_t frame);

    /// The save file of the frames that failed nothing.
    const std::filesystem::path& file() const { return file_; }

private:
    const Replay& replay_;
    std::filesystem::path file_;
    std::filesystem::path readOnlyCopy_;
    std::filesystem::path inMissingFolder_;
    std::filesystem::path folderInstead_;
    std::size_t nextFailure_ = 0;
};

} // namespace poronpa::replay
