#pragma once

#include "route/WorldCheck.h"

class QPainter;

namespace poronpa {

/// Draws over one area's canvas the part of a route found by the world check that lies in it:
/// the hero's path as a line, and the boxes it opened, numbered in the order it opened them
/// through the whole route.
void drawRoute(QPainter& painter, const route::CheckReport& route, int areaX, int areaY);

} // namespace poronpa
