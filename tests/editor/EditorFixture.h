#pragma once

#include "app/base/Surface.h"
#include "world/SheetCells.h"

#include <cstdint>

namespace poronpa::test {

/// The colour of tile t on the fixture's sheet: every tile a different solid colour, so a pixel
/// of a canvas tells which tile was drawn there.
inline std::uint32_t tileColour(int t) { return rgb(t, 255 - t, (t * 37) & 0xFF); }

/// A 256 × 768 tile sheet with each tile filled with tileColour(t).
inline Surface solidTileSheet()
{
    Surface sheet(sheet::Width, sheet::Height);
    for (int t = 0; t < sheet::Cells; ++t)
        sheet.fillRect(sheet::cellX(t), sheet::cellY(t), sheet::CellSize, sheet::CellSize, tileColour(t));
    return sheet;
}

} // namespace poronpa::test
