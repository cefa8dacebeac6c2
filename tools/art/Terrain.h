#pragma once

#include "Palette.h"
#include "PixelArt.h"

#include <vector>

/// Textures that tile seamlessly, and the edges that terrain shows where it meets the air.
namespace poronpa::art {

using Background = void (*)(Canvas&);

/// Sides of a terrain cell that face open space.
enum Edge : unsigned { Top = 1, Left = 2, Right = 4, Bottom = 8 };

/// The centre of one stone of a stone texture; sx and sy stretch the stone, alt gives it the
/// ramp's second tone.
struct Seed {
    int x;
    int y;
    double sx = 1.0;
    double sy = 1.0;
    bool alt = false;
};

/// Irregular stones around the seeds, wrapping at the cell's edges so that cells join, each lit
/// on its top-left rim and shaded on its bottom-right rim, with mortar between.
void stoneTexture(Canvas& c, const std::vector<Seed>& seeds, const palette::Ramp& ramp, Rgb mortar,
                  double gap = 1.1);
/// Courses of bricks, each course shifted by half a brick.
void brickTexture(Canvas& c, const palette::Ramp& ramp, Rgb mortar, int brickWidth, int brickHeight);
/// Earth with a few pebbles, for under grass.
void earthTexture(Canvas& c, const palette::Ramp& earth);
/// Round clusters of leaves, each lit from the top left, overlapping and wrapping round the cell.
void leafTexture(Canvas& c, const palette::Ramp& leaves);
/// The colour a fraction of the way from one colour to another: glows and tints.
Rgb mix(Rgb from, Rgb to, double amount);
/// Outlines and rim light on the exposed sides; a corner where two exposed sides meet is
/// rounded off into the background.
void exposeEdges(Canvas& c, unsigned edges, const palette::Ramp& ramp, Background background);
/// A grass cap on the top side, wrapping round an exposed left or right side.
void grassCap(Canvas& c, unsigned edges, const palette::Ramp& grass, Background background);
/// Rounds off the corners of a cell into the background, `radius` pixels deep.
void roundCorner(Canvas& c, bool right, bool bottom, Background background, Rgb outline, int radius = 2);

// The backgrounds of the themes: passable scenery that the hero walks in front of.
void paintSky(Canvas& c);
void paintNightSky(Canvas& c);
void paintCaveWall(Canvas& c);
void paintCliffFace(Canvas& c);
void paintCastleInside(Canvas& c);
void paintHouseWall(Canvas& c);
void paintIceWall(Canvas& c);
void paintVolcanoWall(Canvas& c);

/// The pixel at (x, y) of a background's picture. Where a solid cell is cut away (a rounded
/// corner, a ragged edge) the background shows through exactly as in the cells beside it.
Rgb backgroundAt(Background background, int x, int y);

} // namespace poronpa::art
