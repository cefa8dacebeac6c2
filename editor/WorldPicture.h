#pragma once

#include "app/base/Surface.h"
#include "world/MapGrid.h"

namespace poronpa {

/// Side of one area's square in the whole-world picture: an eighth of the area canvas.
constexpr int WorldPictureAreaSize = 200;

/// The whole world at an eighth of its size, 1000 × 1000 pixels: area (ax, ay) drawn as on the
/// area canvas and shrunk into the square at (200 · ax, 200 · ay), each pixel the average of
/// the 8 × 8 canvas pixels it covers.
Surface wholeWorldPicture(const MapGrid& map, const Surface& tileSheet);

} // namespace poronpa
