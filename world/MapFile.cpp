#include "world/MapFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace poronpa {

namespace {

void reportProgress(const MapProgress& progress, int x)
{
    if (progress && x % 10 == 0 && x <= 240)
        progress(std::to_string(x) + "/240)");
}

} // namespace

FileStatus loadMap(const std::filesystem::path& path, MapGrid& map, const MapProgress& progress)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (FileStatus status = readWholeFile(path, bytes, &exists); !status.ok())
        return status;
    if (!exists) {
        // The map file is opened for writing as well, so a missing one is created empty; a
        // directory we may not write to simply leaves the world empty.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }

    const std::size_t available = bytes.size();
    for (int x = 0; x < MapGrid::StoredSize; ++x) {
        for (int y = 0; y < MapGrid::StoredSize; ++y) {
            const std::size_t offset = static_cast<std::size_t>(MapGrid::StoredSize * x + y);
            if (offset < available)
                map.setCell(x, y, bytes[offset]);
        }
        reportProgress(progress, x);
    }
    return {};
}

std::array<std::uint8_t, MapGrid::FileBytes> mapFileBytes(const MapGrid& map)
{
    std::array<std::uint8_t, MapGrid::FileBytes> bytes{};
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            bytes[static_cast<std::size_t>(MapGrid::StoredSize * x + y)] = map.cell(x, y);
    return bytes;
}

FileStatus saveMap(const std::filesystem::path& path, const MapGrid& map, const MapProgress& progress)
{
    std::vector<std::uint8_t> bytes;
    if (FileStatus status = readWholeFile(path, bytes); !status.ok())
        return status;
    if (bytes.size() < static_cast<std::size_t>(MapGrid::FileBytes))
        bytes.resize(MapGrid::FileBytes);
    const auto cells = mapFileBytes(map);
    std::copy(cells.begin(), cells.end(), bytes.begin());
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        reportProgress(progress, x);
    return writeFileAtomically(path, bytes);
}

} // namespace poronpa
