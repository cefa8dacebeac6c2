#pragma once

#include "play/GameState.h"

#include <cstdint>

namespace poronpa::play {

/// No picture: the tile does not animate, or the hero is not drawn.
constexpr int NoFrame = -1;

/// The sprite-sheet cell an animated tile shows at this frame count with the world switch in
/// this position, or NoFrame for a tile that keeps its tile-sheet picture.
int tileAnimationFrame(std::uint8_t tile, int frameClock, int switchOn);

/// True for the tiles whose picture tileAnimationFrame replaces.
bool isAnimatedTile(std::uint8_t tile);

/// The hero's frame number for the state after this frame's tile tests, or NoFrame when the hero
/// has fallen out of the world. Frame d is the image at sheet column d mod 8, row 2 × (d div 8).
int heroAnimationFrame(const GameState& s);

} // namespace poronpa::play
