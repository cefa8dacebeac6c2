#pragma once

#include <cmath>
#include <cstdint>

namespace poronpa::play {

/// Positions and speeds are kept as 32-bit floats, but every expression on them is worked out in
/// double and rounded once when stored; this is that rounding.
inline float stored(double value) { return static_cast<float>(value); }

/// Rounds to the nearest integer, halves to even.
inline int nearest(double value) { return static_cast<int>(std::nearbyint(value)); }

/// The cell index of a pixel value: rounded, then divided by 32 truncating towards zero.
inline int cellOf(double pixel) { return nearest(pixel) / 32; }

/// Offset of a pixel value inside its cell, with the sign of the value.
inline int inCell(double pixel) { return nearest(pixel) % 32; }

/// A condition as the number 1 or 0, for the speed formulas.
inline double when(bool condition) { return condition ? 1.0 : 0.0; }

/// The mishap scene's comic phrases: how many there are, and the one a random number r in [0, 1)
/// picks (r × 14 rounded, halves to even).
constexpr int MissPhraseCount = 15;
inline int missPhraseIndex(double r) { return nearest(r * (MissPhraseCount - 1)); }

} // namespace poronpa::play
