#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace poronpa {

/// The band the area edges keep the hero's top-left corner in, on both axes: a box inside it
/// lies wholly within the area's cells, and its test points in cells 1..49.
constexpr float BandLowest = 32;
constexpr float BandHighest = 1536;

/// True for a finite position the area edges could have left the hero at.
inline bool insideBand(float position) { return std::isfinite(position) && position >= BandLowest && position <= BandHighest; }

/// The nearest position inside the band (a position that is not a number stays one).
inline float intoBand(float position) { return std::isnan(position) ? position : std::clamp(position, BandLowest, BandHighest); }

/// Where the hero stands, on the axis it crossed, in the area it has just entered: near the far
/// side after crossing a low edge (left, top), near the near side after a high one (right,
/// bottom).
constexpr float EntryAfterLowEdge = 1528;
constexpr float EntryAfterHighEdge = 40;

/// Where a new game begins: the home meadow, six pixels above its floor.
constexpr std::int16_t StartAreaX = 2, StartAreaY = 4;
constexpr float StartX = 160, StartY = 1498;

} // namespace poronpa
