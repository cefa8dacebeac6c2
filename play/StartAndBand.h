#pragma once

#include <cmath>
#include <cstdint>

namespace poronpa {

/// The band the area edges keep the hero's top-left corner in, on both axes: a box inside it
/// lies wholly within the area's cells, and its test points in cells 1..49.
constexpr float BandLowest = 32;
constexpr float BandHighest = 1536;

/// True for a finite position the area edges could have left the hero at.
inline bool insideBand(float position) { return std::isfinite(position) && position >= BandLowest && position <= BandHighest; }

/// Where a new game begins: the home meadow, six pixels above its floor.
constexpr std::int16_t StartAreaX = 2, StartAreaY = 4;
constexpr float StartX = 160, StartY = 1498;

} // namespace poronpa
