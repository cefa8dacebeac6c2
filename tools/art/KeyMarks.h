#pragma once

#include "PixelArt.h"

/// The shapes that tell the four keys apart without their colours. A key and its door carry the
/// same shape, in the same size, light on a dark outline, so that it stands out on any colour and
/// in grey.
namespace poronpa::art {

/// The width and height of every shape.
constexpr int KeyMarkSize = 11;

/// Draws the shape of key `key` (0..3, the keys' item order: blue, green, red, yellow) with its
/// top-left at (x, y).
void drawKeyMark(Canvas& c, int key, int x, int y);

} // namespace poronpa::art
