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

/// Puts the file's bytes into the stored cells; cells without a byte stay as they are.
void setCells(const std::vector<std::uint8_t>& bytes, MapGrid& map, const MapProgress& progress)
{
    for (int x = 0; x < MapGrid::StoredSize; ++x) {
        for (int y = 0; y < MapGrid::StoredSize; ++y) {
            const std::size_t offset = static_cast<std::size_t>(MapGrid::StoredSize * x + y);
            if (offset < bytes.size())
                map.setCell(x, y, bytes[offset]);
        }
        reportProgress(progress, x);
    }
}

} // namespace

FileStatus readMapFileHead(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes)
{
    return readFileHead(path, MapGrid::FileBytes, bytes);
}

FileStatus loadMap(const std::filesystem::path& path, MapGrid& map, const MapProgress& progress, std::vector<std::uint8_t>* fileHead)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (FileStatus status = readFileHead(path, MapGrid::FileBytes, bytes, &exists); !status.ok())
        return status;
    if (!exists) {
        // The map file is opened for writing as well, so a missing one is created empty; a
        // directory we may not write to simply leaves the world empty. A pipe put there
        // meanwhile must not hold the program.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }

    setCells(bytes, map, progress);
    if (fileHead)
        *fileHead = std::move(bytes);
    return {};
}

FileStatus loadWholeWorld(const std::filesystem::path& path, MapGrid& map)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (FileStatus status = readFileHead(path, MapGrid::FileBytes, bytes, &exists); !status.ok())
        return status;
    if (!exists)
        return {path.string() + ": cannot be opened (no such file)"};
    if (bytes.size() < static_cast<std::size_t>(MapGrid::FileBytes))
        return {path.string() + ": not a whole world (" + std::to_string(bytes.size()) + " bytes, a world holds " +
                std::to_string(MapGrid::FileBytes) + ")"};
    setCells(bytes, map, {});
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
    const auto cells = mapFileBytes(map);
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        reportProgress(progress, x);
    // A longer file's tail stays; it is copied, never loaded.
    return updateFile(path, MapGrid::FileBytes, LongerFile::KeepTail, [&](std::vector<std::uint8_t>& head, bool) {
        head.assign(cells.begin(), cells.end());
    });
}

} // namespace poronpa
