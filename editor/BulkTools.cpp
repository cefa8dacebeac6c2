#include "editor/BulkTools.h"

#include "world/TileFacts.h"

#include <array>
#include <optional>

namespace poronpa {

namespace {

constexpr int SnapshotSize = MapGrid::AreaCells + 1;
using Snapshot = std::array<std::array<std::uint8_t, SnapshotSize>, SnapshotSize>;

/// What Edge makes of snapshot cell (a, b), 1..49 each, or nothing when it stays as it is.
std::optional<std::uint8_t> edgeTile(const Snapshot& d, int a, int b)
{
    const std::uint8_t self = d[a][b];
    const std::uint8_t up = d[a][b - 1];
    const std::uint8_t down = d[a][b + 1];
    const std::uint8_t left = d[a - 1][b];
    const std::uint8_t right = d[a + 1][b];

    // The corners in the order they are tested: up-left, up-right, down-right, down-left.
    const auto corners = [&](std::uint8_t other) {
        return std::array<bool, 4>{up == other && left == other, up == other && right == other,
                                   down == other && right == other, down == other && left == other};
    };

    if (self == tiles::CliffFace) {
        // Every matching corner writes the cell, so the last one tested wins.
        std::optional<std::uint8_t> result;
        const auto found = corners(tiles::Cushion);
        for (std::size_t k = 0; k < found.size(); ++k)
            if (found[k])
                result = tiles::CliffCushionCorners[k];
        return result;
    }
    if (self == tiles::Cushion) {
        // Cushion with two or more cliff corners has no corner tile of its own and stays as it is.
        std::optional<std::uint8_t> result;
        int count = 0;
        const auto found = corners(tiles::CliffFace);
        for (std::size_t k = 0; k < found.size(); ++k)
            if (found[k]) {
                result = tiles::CushionCliffCorners[k];
                ++count;
            }
        return count > 1 ? std::nullopt : result;
    }
    return std::nullopt;
}

} // namespace

MapEdit fillArea(MapGrid& map, int ax, int ay, std::uint8_t tile)
{
    MapEdit edit(AreaPosition{ax, ay});
    for (int i = 0; i < MapGrid::AreaCells; ++i)
        for (int j = 0; j < MapGrid::AreaCells; ++j)
            edit.write(map, MapGrid::AreaCells * ax + i, MapGrid::AreaCells * ay + j, tile);
    return edit;
}

MapEdit replaceTiles(MapGrid& map, std::uint8_t from, std::uint8_t to)
{
    MapEdit edit;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            if (map.cell(x, y) == from)
                edit.write(map, x, y, to);
    return edit;
}

MapEdit edgeArea(MapGrid& map, int ax, int ay)
{
    Snapshot d{};
    for (int i = 0; i < SnapshotSize; ++i)
        for (int j = 0; j < SnapshotSize; ++j)
            d[i][j] = map.areaCell(ax, ay, i, j);

    MapEdit edit(AreaPosition{ax, ay});
    for (int a = 1; a < MapGrid::AreaCells; ++a)
        for (int b = 1; b < MapGrid::AreaCells; ++b)
            if (const auto tile = edgeTile(d, a, b))
                edit.write(map, MapGrid::AreaCells * ax + a, MapGrid::AreaCells * ay + b, *tile);
    return edit;
}

} // namespace poronpa
