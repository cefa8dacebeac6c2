#include "records/RunRecords.h"

#include "app/base/FileNames.h"

namespace poronpa::records {

namespace {

/// A recording that plays a whole run on its own: begun with a new game, ended at the ending.
bool holdsWholeRun(const replay::Replay& replay)
{
    return replay.header && !replay.header->continued && replay.endLine && replay.endLine->ends_with(" ending=yes");
}

} // namespace

std::filesystem::path bestTimesFile(const std::filesystem::path& folder) { return folder / filenames::BestTimes; }
std::filesystem::path ghostFile(const std::filesystem::path& folder) { return folder / filenames::Ghost; }

RecordedRun recordFinishedRun(const std::filesystem::path& folder, const BestTime& run, const std::filesystem::path& replay)
{
    RecordedRun recorded;
    recorded.status = recordBestTime(bestTimesFile(folder), run, recorded.place);
    if (!recorded.status.ok() || recorded.place != 0 || replay.empty())
        return recorded;
    std::vector<std::uint8_t> bytes;
    if (recorded.status = readWholeFile(replay, bytes, nullptr, replay::MaxFileBytes); !recorded.status.ok())
        return recorded;
    replay::Replay whole;
    std::string error;
    if (!replay::parseReplay(std::string(bytes.begin(), bytes.end()), whole, error) || !holdsWholeRun(whole))
        return recorded;
    recorded.status = writeFileAtomically(ghostFile(folder), bytes);
    recorded.ghostKept = recorded.status.ok();
    return recorded;
}

std::unique_ptr<Ghost> openGhost(const std::filesystem::path& folder, const MapGrid& map,
                                 const std::filesystem::path& scratch)
{
    replay::Replay best;
    if (!replay::readReplay(ghostFile(folder), best).ok() || !holdsWholeRun(best) ||
        best.header->mapDigest != replay::mapDigest(map))
        return nullptr;
    return std::make_unique<Ghost>(map, std::move(best), scratch);
}

} // namespace poronpa::records
