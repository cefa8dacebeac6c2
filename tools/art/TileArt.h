#pragma once

#include <QImage>

/// The tile sheet, and the frames of animated tiles that the sprite sheet carries. An animated
/// tile's picture on the tile sheet is its still frame, so that nothing jumps when the animation
/// starts drawing over it.
namespace poronpa::art {

/// The 256 × 768 tile sheet: cell t is the picture of tile t.
QImage paintTileSheet();
/// The picture of one tile.
QImage paintTile(int tile);
/// Sprite-sheet cell n of the animation rows (88..143): a frame of an animated tile or the
/// ending's stone block; a null image for the cells left blank.
QImage paintAnimationCell(int n);

} // namespace poronpa::art
