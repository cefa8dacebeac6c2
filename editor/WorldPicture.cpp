#include "editor/WorldPicture.h"

#include "world/AreaDrawing.h"

namespace poronpa {

namespace {

constexpr int Shrink = AreaCanvasSize / WorldPictureAreaSize;

/// The average colour of the Shrink × Shrink block of `canvas` at (x, y).
std::uint32_t blockAverage(const Surface& canvas, int x, int y)
{
    unsigned red = 0, green = 0, blue = 0;
    for (int j = 0; j < Shrink; ++j)
        for (int i = 0; i < Shrink; ++i) {
            const std::uint32_t p = canvas.pixel(x + i, y + j);
            red += (p >> 16) & 0xFFu;
            green += (p >> 8) & 0xFFu;
            blue += p & 0xFFu;
        }
    constexpr unsigned n = Shrink * Shrink;
    return rgb(static_cast<int>((red + n / 2) / n), static_cast<int>((green + n / 2) / n),
               static_cast<int>((blue + n / 2) / n));
}

} // namespace

Surface wholeWorldPicture(const MapGrid& map, const Surface& tileSheet)
{
    Surface picture(MapGrid::Areas * WorldPictureAreaSize, MapGrid::Areas * WorldPictureAreaSize);
    Surface canvas(AreaCanvasSize, AreaCanvasSize);
    for (int ax = 0; ax < MapGrid::Areas; ++ax)
        for (int ay = 0; ay < MapGrid::Areas; ++ay) {
            DrawArea(map, ax, ay, tileSheet, canvas);
            for (int y = 0; y < WorldPictureAreaSize; ++y)
                for (int x = 0; x < WorldPictureAreaSize; ++x)
                    picture.setPixel(WorldPictureAreaSize * ax + x, WorldPictureAreaSize * ay + y,
                                     blockAverage(canvas, Shrink * x, Shrink * y));
        }
    return picture;
}

} // namespace poronpa
