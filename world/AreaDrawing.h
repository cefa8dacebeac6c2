#pragma once

#include "app/base/Surface.h"
#include "world/MapGrid.h"

#include <cstdint>

namespace poronpa {

constexpr int AreaCanvasSize = 1600;
constexpr int ViewSize = 320;
constexpr int ScrollMin = -(AreaCanvasSize - ViewSize);

/// Copies the picture of tile t to (x, y) of the canvas. Tiles 192..255 have no cell on the
/// sheet; they show a marker so that a stray number in a map is plain to see.
void drawTile(Surface& canvas, int x, int y, const Surface& tileSheet, std::uint8_t tile);

/// Paints all 2,500 cells of area (areaX, areaY) into the 1600 × 1600 canvas.
void DrawArea(const MapGrid& map, int areaX, int areaY, const Surface& tileSheet, Surface& canvas);

/// Keeps a pair of scroll offsets (the canvas's left and top inside the 320 × 320 view) within
/// -1280..0.
void ClampScroll(std::int16_t& offX, std::int16_t& offY);
void ClampScroll(int& offX, int& offY);

} // namespace poronpa
