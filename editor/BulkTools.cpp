#include "editor/BulkTools.h"

#include "world/TileFacts.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

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
    return fillCells(map, ax, ay, CellRect{0, 0, MapGrid::AreaCells, MapGrid::AreaCells}, tile);
}

MapEdit fillCells(MapGrid& map, int ax, int ay, const CellRect& rect, std::uint8_t tile)
{
    MapEdit edit(AreaPosition{ax, ay});
    const int right = std::min(rect.column + rect.width, MapGrid::AreaCells);
    const int bottom = std::min(rect.row + rect.height, MapGrid::AreaCells);
    for (int i = std::max(rect.column, 0); i < right; ++i)
        for (int j = std::max(rect.row, 0); j < bottom; ++j)
            edit.write(map, MapGrid::AreaCells * ax + i, MapGrid::AreaCells * ay + j, tile);
    return edit;
}

MapEdit fillConnected(MapGrid& map, int ax, int ay, int column, int row, std::uint8_t tile)
{
    MapEdit edit(AreaPosition{ax, ay});
    constexpr int Side = MapGrid::AreaCells;
    if (column < 0 || row < 0 || column >= Side || row >= Side)
        return edit;
    const std::uint8_t from = map.areaCell(ax, ay, column, row);
    if (from == tile)
        return edit;
    // Every cell written no longer holds `from`, so none is visited twice; the stack never holds
    // more than four cells for each cell of the area.
    std::vector<std::pair<int, int>> pending{{column, row}};
    while (!pending.empty()) {
        const auto [c, r] = pending.back();
        pending.pop_back();
        if (c < 0 || r < 0 || c >= Side || r >= Side || map.areaCell(ax, ay, c, r) != from)
            continue;
        edit.write(map, Side * ax + c, Side * ay + r, tile);
        pending.insert(pending.end(), {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}});
    }
    return edit;
}

Stamp copyCells(const MapGrid& map, int ax, int ay, const CellRect& rect)
{
    Stamp stamp{rect.width, rect.height, {}};
    stamp.tiles.reserve(static_cast<std::size_t>(rect.width * rect.height));
    for (int j = 0; j < rect.height; ++j)
        for (int i = 0; i < rect.width; ++i)
            stamp.tiles.push_back(map.areaCell(ax, ay, rect.column + i, rect.row + j));
    return stamp;
}

void putStamp(MapGrid& map, MapEdit& edit, int ax, int ay, int column, int row, const Stamp& stamp)
{
    // The area's edge, not the grid's: a stamp hanging over it would reach into the neighbour.
    for (int j = std::max(0, -row); j < stamp.height && row + j < MapGrid::AreaCells; ++j)
        for (int i = std::max(0, -column); i < stamp.width && column + i < MapGrid::AreaCells; ++i)
            edit.write(map, MapGrid::AreaCells * ax + column + i, MapGrid::AreaCells * ay + row + j, stamp.at(i, j));
}

std::uint8_t backgroundTile(const MapGrid& map, int ax, int ay)
{
    std::array<int, 256> count{};
    for (int i = 0; i < MapGrid::AreaCells; ++i)
        for (int j = 0; j < MapGrid::AreaCells; ++j)
            ++count[map.areaCell(ax, ay, i, j)];
    std::uint8_t best = 0;
    int most = 0;
    for (int tile = 0; tile < 256; ++tile) {
        const auto t = static_cast<std::uint8_t>(tile);
        if (tile < tiles::WithPicture && tileKind(t) == TileKind::Scenery && count[t] > most) {
            best = t;
            most = count[t];
        }
    }
    return best;
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
