#pragma once

#include <array>
#include <cstdint>

namespace poronpa {

/// The world: 251 × 251 tile numbers indexed (x, y), x varying fastest in memory. Cells 0..249
/// in both directions are stored in the map file; column and row 250 stay 0 and serve only as
/// the right-hand and lower neighbours of the last areas.
class MapGrid {
public:
    static constexpr int Size = 251;
    static constexpr int StoredSize = 250;
    static constexpr int AreaCells = 50;
    static constexpr int Areas = 5;
    static constexpr int FileBytes = StoredSize * StoredSize;

    std::uint8_t cell(int x, int y) const { return cells_[static_cast<std::size_t>(x + Size * y)]; }
    void setCell(int x, int y, std::uint8_t tile) { cells_[static_cast<std::size_t>(x + Size * y)] = tile; }

    /// Cell (i, j) of area (ax, ay); i and j may be 50 to reach the neighbours' first column and row.
    std::uint8_t areaCell(int ax, int ay, int i, int j) const { return cell(AreaCells * ax + i, AreaCells * ay + j); }

    static bool isStored(int x, int y) { return x >= 0 && y >= 0 && x < StoredSize && y < StoredSize; }

    void clear() { cells_.fill(0); }

    bool operator==(const MapGrid& other) const = default;

private:
    std::array<std::uint8_t, Size * Size> cells_{};
};

/// A number for each area of the world, [column][row].
using AreaNumbers = std::array<std::array<std::int32_t, MapGrid::Areas>, MapGrid::Areas>;

} // namespace poronpa
