#include "world/AreaDrawing.h"
#include "world/SheetCells.h"

#include <gtest/gtest.h>

using namespace poronpa;

namespace {

/// A sheet whose every cell is one colour that encodes its cell number.
Surface numberedSheet()
{
    Surface s(sheet::Width, sheet::Height);
    for (int n = 0; n < sheet::Cells; ++n)
        s.fillRect(sheet::cellX(n), sheet::cellY(n), 32, 32, rgb(n, 255 - n, 7));
    return s;
}

} // namespace

TEST(AreaDrawing, CellsGoToTheirPlaceFromTheirSheetCell)
{
    const Surface tiles = numberedSheet();
    MapGrid map;
    map.setCell(0, 0, 0);
    map.setCell(1, 0, 9);
    map.setCell(49, 49, 191);
    map.setCell(200, 249, 17); // area (4, 4), cell (0, 49)
    Surface canvas(AreaCanvasSize, AreaCanvasSize, rgb(1, 2, 3));

    DrawArea(map, 0, 0, tiles, canvas);
    EXPECT_EQ(canvas.pixel(0, 0), rgb(0, 255, 7));
    EXPECT_EQ(canvas.pixel(32, 0), rgb(9, 246, 7));
    EXPECT_EQ(canvas.pixel(1568, 1568), rgb(191, 64, 7));
    EXPECT_EQ(canvas.pixel(1599, 1599), rgb(191, 64, 7));

    DrawArea(map, 4, 4, tiles, canvas);
    EXPECT_EQ(canvas.pixel(0, 1568), rgb(17, 238, 7));
}

TEST(AreaDrawing, TilesWithoutAPictureShowAMarker)
{
    const Surface tiles = numberedSheet();
    Surface canvas(64, 64);
    drawTile(canvas, 32, 32, tiles, 200);
    EXPECT_EQ(canvas.pixel(32, 32), rgb(255, 0, 255));
    EXPECT_EQ(canvas.pixel(40, 32), rgb(0, 0, 0));
}

TEST(AreaDrawing, ClampScrollKeepsTheViewInsideTheArea)
{
    struct Case { int x, y, wantX, wantY; };
    for (const Case c : {Case{5, -2000, 0, -1280}, Case{-640, -100, -640, -100}, Case{-1280, 0, -1280, 0},
                         Case{-32767, 32767, -1280, 0}}) {
        std::int16_t x = static_cast<std::int16_t>(c.x), y = static_cast<std::int16_t>(c.y);
        ClampScroll(x, y);
        EXPECT_EQ(x, c.wantX) << c.x;
        EXPECT_EQ(y, c.wantY) << c.y;
    }
}

TEST(Surface, MaskedDrawShowsTheImageInsideTheSilhouetteOnly)
{
    // Image: red square on white; mask: black square on white (the sheet convention).
    Surface image(32, 32, rgb(255, 255, 255));
    Surface mask(32, 32, rgb(255, 255, 255));
    image.fillRect(8, 8, 16, 16, rgb(200, 10, 20));
    mask.fillRect(8, 8, 16, 16, rgb(0, 0, 0));

    for (const std::uint32_t scene : {rgb(0, 0, 0), rgb(12, 200, 99)}) {
        Surface canvas(64, 64, scene);
        canvas.bitBlt(16, 16, 32, 32, mask, 0, 0, RasterOp::SrcErase);
        canvas.bitBlt(16, 16, 32, 32, image, 0, 0, RasterOp::SrcInvert);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool inside = x >= 24 && x < 40 && y >= 24 && y < 40;
                ASSERT_EQ(canvas.pixel(x, y), inside ? rgb(200, 10, 20) : scene) << x << "," << y;
            }
    }
}

TEST(Surface, TransfersAreClippedAtEveryEdge)
{
    Surface source(32, 32, rgb(9, 9, 9));
    Surface canvas(40, 40, rgb(0, 0, 0));
    canvas.bitBlt(-16, 24, 32, 32, source, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(canvas.pixel(0, 24), rgb(9, 9, 9));
    EXPECT_EQ(canvas.pixel(15, 39), rgb(9, 9, 9));
    EXPECT_EQ(canvas.pixel(16, 39), rgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(0, 23), rgb(0, 0, 0));
}
