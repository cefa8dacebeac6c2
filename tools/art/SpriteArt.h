#pragma once

#include "PixelArt.h"

#include <QImage>

namespace poronpa::art {

/// The 256 × 768 sprite sheet: the hero's poses and the effects, each image on pure white with
/// its mask in the cell below; the frames of animated tiles; the single pictures.
QImage paintSpriteSheet(const Library& library);

/// Hero sprite d (0..31) on a clear background, as it is laid into the sheet; null for the
/// blank sprite 28.
Picture heroSprite(const Library& library, int d);

} // namespace poronpa::art
