#include "replay/ReplaySaves.h"

#include <sys/stat.h>

namespace poronpa::replay {

ReplaySaves::ReplaySaves(std::filesystem::path folder, const Replay& replay)
    : replay_(replay), file_(folder / "savedata.dat"), readOnlyCopy_(folder / "read-only-savedata.dat"),
      inMissingFolder_(folder / "no-such-folder" / "savedata.dat"), folderInstead_(folder / "unreadable-savedata.dat")
{
}

FileStatus ReplaySaves::prepare()
{
    const SaveImage none;
    return restoreSaveImage(replay_.header ? replay_.header->saves : none, file_);
}

const std::filesystem::path& ReplaySaves::fileFor(std::int64_t frame)
{
    const auto& failures = replay_.failures;
    while (nextFailure_ < failures.size() && failures[nextFailure_].frame < frame)
        ++nextFailure_;
    if (nextFailure_ == failures.size() || failures[nextFailure_].frame != frame)
        return file_;

    bool save = false, load = false;
    for (std::size_t i = nextFailure_; i < failures.size() && failures[i].frame == frame; ++i)
        (failures[i].kind == Failure::Kind::Save ? save : load) = true;
    std::error_code error;
    if (load) {
        // A folder in the file's place: nothing reads as a save, and nothing is written.
        std::filesystem::create_directories(folderInstead_, error);
        return folderInstead_;
    }
    // A copy of the saves as they are, which its owner made read-only: it loads as the ring does
    // and refuses every save. Without saves, a file in a folder that is not there does the same.
    if (!std::filesystem::exists(file_, error))
        return inMissingFolder_;
    std::filesystem::remove(readOnlyCopy_, error);
    std::filesystem::copy_file(file_, readOnlyCopy_, error);
    ::chmod(readOnlyCopy_.c_str(), 0444);
    return readOnlyCopy_;
}

} // namespace poronpa::replay
