#include "app/base/FileNames.h"
#include "tools/fuzz/FuzzFile.h"
#include "world/MapFile.h"

#include <algorithm>

using namespace poronpa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file(filenames::World, data, size);
    MapGrid map;
    require(loadMap(file.path(), map).ok());
    // Whatever the file held, the cells beyond the stored world stay empty and every stored cell
    // holds its byte, or 0 past the end of a short file.
    for (int i = 0; i < MapGrid::Size; ++i)
        require(map.cell(MapGrid::StoredSize, i) == 0 && map.cell(i, MapGrid::StoredSize) == 0);
    const auto cells = mapFileBytes(map);
    const std::size_t read = std::min(size, cells.size());
    require(std::equal(data, data + read, cells.begin()));
    require(std::all_of(cells.begin() + static_cast<std::ptrdiff_t>(read), cells.end(), [](std::uint8_t b) { return b == 0; }));

    // Saving what was loaded gives the file back byte for byte; a short file is completed with
    // empty cells, a long one keeps its tail.
    require(saveMap(file.path(), map).ok());
    std::vector<std::uint8_t> after;
    require(readWholeFile(file.path(), after).ok());
    require(after.size() == std::max(size, cells.size()));
    require(std::equal(data, data + size, after.begin()));
    require(std::all_of(after.begin() + static_cast<std::ptrdiff_t>(size), after.end(), [](std::uint8_t b) { return b == 0; }));
    return 0;
}
