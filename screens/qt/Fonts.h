#pragma once

#include <QFont>

namespace poronpa::fonts {

/// A point size of the game's design, made for a 96 dpi screen, as pixels (21.75 pt is 29 px),
/// so that text keeps its size and place whatever the screen's dpi.
int pixelsForPoints(double points);

/// The proportional gothic face of the design (menus' small print, labels, the closing text).
QFont gothic(double points, bool bold = false, bool italic = false);
/// The proportional mincho face of the design (the menu entries).
QFont mincho(double points, bool bold = false);

} // namespace poronpa::fonts
