#include "replay/ReplayWorld.h"

#include "world/MapFile.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>

namespace poronpa::replay {

namespace {

/// Files beside the replay that could hold a world, by name, the named one left out: reading each
/// one's cells is the only way to know.
std::vector<std::filesystem::path> filesBeside(const std::filesystem::path& replayFile, const std::string& named)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    const auto folder = replayFile.has_parent_path() ? replayFile.parent_path() : std::filesystem::path(".");
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const auto name = entry.path().filename().string();
        if (name == named || name == replayFile.filename().string() || !entry.is_regular_file(error) ||
            entry.file_size(error) < static_cast<std::uintmax_t>(MapGrid::FileBytes))
            continue;
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    if (files.size() > MostFilesBesideSearched)
        files.resize(MostFilesBesideSearched);
    return files;
}

} // namespace

bool worldFileDigest(const std::filesystem::path& file, std::uint64_t& digest)
{
    const auto map = std::make_unique<MapGrid>();
    if (!loadWholeWorld(file, *map).ok())
        return false;
    digest = mapDigest(*map);
    return true;
}

std::filesystem::path findReplayWorld(const ReplayHeader& header, const std::filesystem::path& replayFile,
                                      const std::vector<std::filesystem::path>& recent,
                                      const std::filesystem::path& defaultWorld)
{
    const auto holds = [&](const std::filesystem::path& file) {
        std::uint64_t digest = 0;
        return !file.empty() && worldFileDigest(file, digest) && digest == header.mapDigest;
    };
    // Only a name: a header from anyone must not send the search into other folders.
    const std::string named = std::filesystem::path(header.worldFile).filename().string();
    std::vector<std::filesystem::path> places;
    if (!named.empty())
        places.push_back(replayFile.parent_path() / named);
    for (auto& file : filesBeside(replayFile, named))
        places.push_back(std::move(file));
    places.insert(places.end(), recent.begin(), recent.end());
    places.push_back(defaultWorld);
    const auto found = std::find_if(places.begin(), places.end(), holds);
    return found == places.end() ? std::filesystem::path() : *found;
}

std::string neededWorld(const ReplayHeader& header)
{
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(header.mapDigest));
    if (header.worldFile.empty())
        return std::string("a world of map digest ") + digest;
    return header.worldFile + " (map digest " + digest + ")";
}

} // namespace poronpa::replay
