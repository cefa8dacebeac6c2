#pragma once

#include "app/base/Surface.h"

#include <QIcon>
#include <QImage>

/// The built-in pictures, built into the executable. Every function returns the same picture on
/// every call; none reads a file at run time.
namespace poronpa::pictures {

QImage tileSheet();        ///< 256 × 768, cell n = tile n
QImage spriteSheet();      ///< 256 × 768, hero sprites with masks, effects, animated-tile frames
QImage gameFrame();        ///< 518 × 346, background of the game window, as wide as it
QImage titlePicture();     ///< 518 × 346, as wide as the window
QImage itemIcon(int item); ///< 32 × 32, item 0..9
QImage dialogBackground(); ///< 256 × 160, background of the treasure box dialog
QIcon windowIcon();        ///< the hero, for every window

/// A picture as a drawing surface of the core.
Surface toSurface(const QImage& image);
/// A drawing surface as a picture (shares nothing with the surface).
QImage toImage(const Surface& surface);

} // namespace poronpa::pictures
