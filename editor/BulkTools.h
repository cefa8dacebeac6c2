#pragma once

#include "editor/EditHistory.h"
#include "editor/Stamp.h"
#include "world/MapGrid.h"

#include <cstdint>

namespace poronpa {

/// Sets every cell of area (ax, ay) to `tile`.
MapEdit fillArea(MapGrid& map, int ax, int ay, std::uint8_t tile);

/// Sets the cells of `rect`, in area-relative cells of area (ax, ay), to `tile`; the part of the
/// rectangle outside the area is left alone.
MapEdit fillCells(MapGrid& map, int ax, int ay, const CellRect& rect, std::uint8_t tile);

/// Sets the cells of area (ax, ay) that hold the tile of cell (column, row) and are joined to it
/// through such cells above, below, left or right to `tile`. The fill stops at the area's edges.
MapEdit fillConnected(MapGrid& map, int ax, int ay, int column, int row, std::uint8_t tile);

/// The tiles of `rect` in area (ax, ay), which must lie inside the area.
Stamp copyCells(const MapGrid& map, int ax, int ay, const CellRect& rect);

/// Writes the stamp with its top-left cell on area cell (column, row) of area (ax, ay), into
/// `edit`; the cells that would fall outside the area are not written.
void putStamp(MapGrid& map, MapEdit& edit, int ax, int ay, int column, int row, const Stamp& stamp);

/// The background of area (ax, ay): of the tiles the hero passes through without anything
/// happening (scenery with a picture), the one the most cells hold, the lower number on a tie;
/// 0, the open air, when the area holds no scenery at all.
std::uint8_t backgroundTile(const MapGrid& map, int ax, int ay);

/// Sets every stored cell holding `from` to `to`, in the whole world.
MapEdit replaceTiles(MapGrid& map, std::uint8_t from, std::uint8_t to);

/// Turns the cells of area (ax, ay) where the cliff face (8) meets the cushion (72) at a corner
/// into the rounded corner tiles. Every test reads a snapshot of the area taken before the first change, so the result
/// does not depend on the order of the loop; the area's first column and row are never changed,
/// its last column and row see the first column and row of the neighbours to the right and below.
MapEdit edgeArea(MapGrid& map, int ax, int ay);

} // namespace poronpa
