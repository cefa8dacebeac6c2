#include "tools/fuzz/FuzzFile.h"
#include "world/MapFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file("mapdata.dat", data, size);
    poronpa::MapGrid map;
    if (!poronpa::loadMap(file.path(), map).ok())
        std::abort();
    // Whatever the file held, the cells beyond the stored world stay empty and a save keeps
    // every byte the file had.
    for (int i = 0; i < poronpa::MapGrid::Size; ++i)
        if (map.cell(250, i) != 0 || map.cell(i, 250) != 0)
            std::abort();
    std::vector<std::uint8_t> before;
    poronpa::readWholeFile(file.path(), before);
    if (!poronpa::saveMap(file.path(), map).ok())
        std::abort();
    std::vector<std::uint8_t> after;
    poronpa::readWholeFile(file.path(), after);
    if (before.size() >= static_cast<std::size_t>(poronpa::MapGrid::FileBytes) && before != after)
        std::abort();
    return 0;
}
