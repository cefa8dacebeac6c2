#pragma once

#include "app/base/SafeFile.h"
#include "replay/ReplayFile.h"
#include "play/SaveFileStore.h"

#include <cstdint>
#include <filesystem>

namespace poronpa::replay {

/// The saves a replay plays with: the ring the recording began with, in a save file of the
/// replay's own folder (the player's saves are never touched), and at the frames where the
/// recorded game failed to save or to load, that failure again.
class ReplaySaveStore final : public SaveStore {
public:
    ReplaySaveStore(const std::filesystem::path& folder, const Replay& replay);

    /// Puts the recorded ring in place; an error names the file and the reason.
    FileStatus prepare();

    /// The frame about to run (counted from 1, frames in order): the failures recorded for it
    /// are met in it.
    void atFrame(std::int64_t frame);

    SaveResult save(const SaveRecord& record) override;
    LoadResult load(int back) override;

private:
    const Replay& replay_;
    SaveFileStore file_;
    std::size_t nextFailure_ = 0;
    bool saveFails_ = false;
    bool loadFails_ = false;
};

} // namespace poronpa::replay
