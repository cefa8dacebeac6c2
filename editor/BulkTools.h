#pragma once

#include "editor/EditHistory.h"
#include "world/MapGrid.h"

#include <cstdint>

namespace poronpa {

/// Sets every cell of area (ax, ay) to `tile`.
MapEdit fillArea(MapGrid& map, int ax, int ay, std::uint8_t tile);

/// Sets every stored cell holding `from` to `to`, in the whole world.
MapEdit replaceTiles(MapGrid& map, std::uint8_t from, std::uint8_t to);

/// Turns the cells of area (ax, ay) where the cliff face (8) meets the cushion (72) at a corner
/// into the rounded corner tiles. Every test reads a snapshot of the area taken before the first change, so the result
/// does not depend on the order of the loop; the area's first column and row are never changed,
/// its last column and row see the first column and row of the neighbours to the right and below.
MapEdit edgeArea(MapGrid& map, int ax, int ay);

} // namespace poronpa
