#pragma once

#include "world/MapFile.h"
#include "world/MapGrid.h"

#include <filesystem>
#include <fstream>

namespace poronpa::test {

/// A small world built cell by cell for a test: everything is tile 0 (open air) until set.
class TestMap {
public:
    /// Sets cell (i, j) of area (ax, ay).
    TestMap& set(int ax, int ay, int i, int j, std::uint8_t tile)
    {
        grid_.setCell(MapGrid::AreaCells * ax + i, MapGrid::AreaCells * ay + j, tile);
        return *this;
    }

    /// Sets cells i0..i1 of row j of area (ax, ay).
    TestMap& row(int ax, int ay, int j, int i0, int i1, std::uint8_t tile)
    {
        for (int i = i0; i <= i1; ++i)
            set(ax, ay, i, j, tile);
        return *this;
    }

    const MapGrid& grid() const { return grid_; }

    /// Writes the map file the game reads.
    void write(const std::filesystem::path& path) const
    {
        const auto bytes = mapFileBytes(grid_);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

private:
    MapGrid grid_;
};

} // namespace poronpa::test
