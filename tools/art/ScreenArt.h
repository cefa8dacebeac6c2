#pragma once

#include "PixelArt.h"

#include <QImage>

/// The whole pictures: the game window's frame, the title, the treasure box dialog's
/// background, the item icons and the window icon.
namespace poronpa::art {

QImage paintGameFrame(const Library& library);
QImage paintTitle(const Library& library);
QImage paintDialogBackground(const Library& library);
/// Item 0..9 on its plate: teal for the keys, pink for the tools, green for the offerings.
QImage paintItemIcon(const Library& library, int item);
/// The hero's face at the given size, on a clear background.
QImage paintWindowIcon(const Library& library, int size);

} // namespace poronpa::art
