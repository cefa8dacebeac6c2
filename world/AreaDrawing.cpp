#include "world/AreaDrawing.h"

#include "world/SheetCells.h"

namespace poronpa {

namespace {

void drawMissingTile(Surface& canvas, int x, int y)
{
    // Magenta and black squares of 8 pixels: no real tile looks like this.
    for (int j = 0; j < sheet::CellSize; j += 8)
        for (int i = 0; i < sheet::CellSize; i += 8)
            canvas.fillRect(x + i, y + j, 8, 8, ((i + j) / 8) % 2 == 0 ? rgb(255, 0, 255) : rgb(0, 0, 0));
}

template <typename Offset>
void clamp(Offset& offX, Offset& offY)
{
    if (offX > 0)
        offX = 0;
    if (offY > 0)
        offY = 0;
    if (offX < ScrollMin)
        offX = ScrollMin;
    if (offY < ScrollMin)
        offY = ScrollMin;
}

} // namespace

void drawTile(Surface& canvas, int x, int y, const Surface& tileSheet, std::uint8_t tile)
{
    if (tile >= sheet::Cells) {
        drawMissingTile(canvas, x, y);
        return;
    }
    canvas.bitBlt(x, y, sheet::CellSize, sheet::CellSize, tileSheet, sheet::cellX(tile), sheet::cellY(tile),
                  RasterOp::SrcCopy);
}

void DrawArea(const MapGrid& map, int areaX, int areaY, const Surface& tileSheet, Surface& canvas)
{
    // Row by row: the cells do not overlap, so the order only matters to the memory cache.
    for (int j = 0; j < MapGrid::AreaCells; ++j)
        for (int i = 0; i < MapGrid::AreaCells; ++i)
            drawTile(canvas, sheet::CellSize * i, sheet::CellSize * j, tileSheet, map.areaCell(areaX, areaY, i, j));
}

void ClampScroll(std::int16_t& offX, std::int16_t& offY) { clamp(offX, offY); }
void ClampScroll(int& offX, int& offY) { clamp(offX, offY); }

} // namespace poronpa
