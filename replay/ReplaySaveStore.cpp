#include "replay/ReplaySaveStore.h"

#include "app/base/FileNames.h"

namespace poronpa::replay {

ReplaySaveStore::ReplaySaveStore(const std::filesystem::path& folder, const Replay& replay)
    : replay_(replay), file_(folder / filenames::Saves)
{
}

FileStatus ReplaySaveStore::prepare()
{
    const SaveImage none;
    return restoreSaveImage(replay_.header ? replay_.header->saves : none, file_.file());
}

void ReplaySaveStore::atFrame(std::int64_t frame)
{
    const auto& failures = replay_.failures;
    while (nextFailure_ < failures.size() && failures[nextFailure_].frame < frame)
        ++nextFailure_;
    saveFails_ = loadFails_ = false;
    for (std::size_t i = nextFailure_; i < failures.size() && failures[i].frame == frame; ++i)
        (failures[i].kind == Failure::Kind::Save ? saveFails_ : loadFails_) = true;
}

SaveResult ReplaySaveStore::save(const SaveRecord& record)
{
    if (saveFails_)
        return {false, "the recorded game could not save here"};
    return file_.save(record);
}

LoadResult ReplaySaveStore::load(int back)
{
    if (loadFails_) {
        LoadResult failed;
        failed.outcome = LoadOutcome::Unreadable;
        failed.reason = "the recorded game could not load here";
        return failed;
    }
    return file_.load(back);
}

} // namespace poronpa::replay
