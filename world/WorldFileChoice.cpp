#include "world/WorldFileChoice.h"

#include "app/base/FileLocations.h"
#include "app/base/FileNames.h"
#include "app/base/SafeFile.h"
#include "world/MapGrid.h"

#include <cstdint>
#include <vector>

namespace poronpa {

WorldFile worldFileToRead()
{
    const FileLocations where = fileLocations();
    const auto shipped = where.shipped / filenames::World;
    if (!where.apart() || where.player.empty())
        return {shipped, {}};

    const auto own = where.player / filenames::World;
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    // Only the cells are read, as the map loader reads them; a longer file is a whole map.
    const FileStatus status = readFileHead(own, MapGrid::FileBytes, bytes, &exists);
    if (status.ok() && !exists)
        return {shipped, {}};
    std::string reason = status.error;
    if (reason.empty() && bytes.size() < static_cast<std::size_t>(MapGrid::FileBytes))
        reason = own.string() + ": damaged (" + std::to_string(bytes.size()) + " bytes, a map holds " +
                 std::to_string(MapGrid::FileBytes) + ")";
    if (reason.empty())
        return {own, {}};
    return {shipped, reason + "; the shipped world " + shipped.string() + " is loaded instead"};
}

} // namespace poronpa
