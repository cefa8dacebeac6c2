#pragma once

#include "replay/ReplayFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace poronpa::replay {

/// A replay plays true only on the world it was recorded on, which a player who was sent a replay
/// keeps under any name anywhere. The world is known by its cells' digest; the file name the
/// header gives only says where to look first.

/// The most files beside a replay whose cells are read in the search for its world: a replay
/// kept in a crowded folder (downloads) must not hold the game up.
inline constexpr std::size_t MostFilesBesideSearched = 256;

/// The world `header` was recorded on, from the first place that holds a whole world of its
/// digest: the file the header names beside `replayFile`, any other file beside it, the `recent`
/// worlds in their order, and last `defaultWorld`. Empty when none does.
std::filesystem::path findReplayWorld(const ReplayHeader& header, const std::filesystem::path& replayFile,
                                      const std::vector<std::filesystem::path>& recent,
                                      const std::filesystem::path& defaultWorld);

/// The world a replay needs, as a person is told it: "castle.ppw (map digest 0123456789abcdef)",
/// or "a world of map digest 0123456789abcdef" for a replay that does not name its file.
std::string neededWorld(const ReplayHeader& header);

/// The digest of the whole world in `file`, as mapDigest() of its cells; false when the file holds
/// no whole world (see loadWholeWorld).
bool worldFileDigest(const std::filesystem::path& file, std::uint64_t& digest);

} // namespace poronpa::replay
