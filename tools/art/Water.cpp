// Water: still and moving, surfaces with sky above, lake banks, a waterfall and a spout.
#include "TilePainters.h"

#include <cmath>

namespace poronpa::art::tiles {

using namespace palette;

namespace {

/// Height of a surface wave at column x, for the given phase of its motion.
int wave(int x, int phase)
{
    static const int shape[16] = {0, 0, -1, -1, -1, -1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0};
    return shape[((x + phase * 4) % 16 + 16) % 16];
}

constexpr int SurfaceY = 10;

/// Water below the surface line: the background above it, a lit crest along it.
void surfaceLine(Canvas& c, Background above, const Ramp& ramp, int phase, bool foam)
{
    QImage sky = blankImage(32, 32, 0);
    Canvas top(sky);
    above(top);
    for (int x = 0; x < 32; ++x) {
        const int s = SurfaceY + wave(x, phase);
        for (int y = 0; y < s; ++y)
            c.set(x, y, top.at(x, y));
        c.set(x, s, ramp.highlight);
        c.set(x, s + 1, ramp.light);
    }
    if (!foam)
        return;
    static const int caps[] = {2, 13, 22};
    for (int k : caps) {
        const int x0 = (k + phase * 6) % 32;
        for (int i = 0; i < 5; ++i) {
            const int x = (x0 + i) % 32;
            const int s = SurfaceY + wave(x, phase);
            c.set(x, s - 1, i > 0 && i < 4 ? Foam : top.at(x, s - 1));
            c.set(x, s, Foam);
            c.set(x, s + 1, i % 2 ? Foam : ramp.highlight);
        }
        c.set((x0 + 6) % 32, SurfaceY + 4, Foam);
        c.set((x0 + 2) % 32, SurfaceY + 5, ramp.highlight);
    }
}

} // namespace

void water(Canvas& c, const Ramp& ramp, int phase)
{
    c.fill(ramp.base);
    // Glints that move between the two phases of the shimmer.
    static const int glints[][3] = {{2, 4, 6}, {18, 7, 5}, {9, 13, 7}, {25, 16, 5}, {3, 22, 5}, {16, 25, 6},
                                    {26, 29, 4}};
    for (const auto& g : glints) {
        const int x = g[0] + phase * 3;
        c.hline(x, x + g[2] - 1, g[1], ramp.light);
        c.set(x + 1, g[1] - 1, ramp.highlight);
        c.hline(x + 2, x + g[2] + 1, g[1] + 1, ramp.shadow);
    }
}

void waterSurface(Canvas& c, Background above, const Ramp& ramp, int phase, bool foam)
{
    water(c, ramp, phase);
    surfaceLine(c, above, ramp, phase, foam);
}

void reedSurface(Canvas& c, int phase)
{
    waterSurface(c, paintSky, Water, phase, false);
    // A strip of reeds standing in the shallows, with ripples round their stems.
    struct Reed {
        int x, top, lean;
        bool head;
    };
    static const Reed reeds[] = {{4, 2, 1, true}, {8, 5, -1, false}, {15, 0, 1, false}, {19, 3, 0, true},
                                 {26, 4, -1, false}, {29, 1, 1, true}};
    for (const Reed& r : reeds) {
        for (int y = r.top; y < 18; ++y) {
            const int x = r.x + (y < 8 ? r.lean : 0);
            c.set(x, y, y < 11 ? Grass.base : Weed);
            c.set(x + 1, y, y < 11 ? Grass.shadow : WeedDark);
        }
        if (r.head) {
            c.rect(r.x + r.lean, r.top, 2, 5, Timber.base);
            c.set(r.x + r.lean, r.top, Timber.light);
        }
        const int ring = SurfaceY + 1 + phase;
        c.set(r.x - 2, ring, Foam);
        c.set(r.x + 3, ring, Foam);
    }
}

void lakeBank(Canvas& c, bool right, bool surface, int phase)
{
    if (surface)
        waterSurface(c, paintSky, Water, phase, false);
    else
        water(c, Water, phase);
    QImage earth = blankImage(32, 32, 0);
    Canvas e(earth);
    earthTexture(e, Earth);
    // The bank slopes from the left side down into the water (mirrored for a right bank).
    for (int y = 0; y < 32; ++y) {
        const int reach = surface ? (y < 9 ? 10 + y / 3 : 13 + (y - 9) / 3) : 20 + y / 4;
        for (int x = 0; x <= reach; ++x) {
            const int px = right ? 31 - x : x;
            Rgb colour = e.at(px, y);
            if (x == reach)
                colour = Earth.outline;
            else if (x == reach - 1)
                colour = Earth.shadow;
            c.set(px, y, colour);
        }
    }
    if (surface) {
        // The meadow's grass runs down to the waterline.
        for (int x = 0; x < 16; ++x) {
            const int px = right ? 31 - x : x;
            const int top = x < 9 ? 0 : (x - 8);
            const int depth = x < 12 ? 8 : 8 - (x - 12) * 2;
            for (int y = top; y < top + depth; ++y)
                c.set(px, y, y == top + 1 ? Grass.highlight : (y == top + depth - 1 ? Grass.shadow : Grass.base));
            c.set(px, top, Grass.outline);
            if (top > 0)
                for (int y = 0; y < top; ++y)
                    c.set(px, y, Sky);
            c.set(px, top + depth, Grass.outline);
        }
    } else {
        // Water weed on the drowned slope.
        for (int y : {6, 18, 27}) {
            const int x = 20 + y / 4 + 1;
            const int px = right ? 31 - x : x;
            c.set(px, y, Weed);
            c.set(right ? px - 1 : px + 1, y - 1, Weed);
            c.set(right ? px - 1 : px + 1, y - 2, WeedDark);
        }
    }
}

void waterWeed(Canvas& c)
{
    water(c, Water, 0);
    static const int stems[][2] = {{6, 12}, {11, 18}, {22, 9}, {26, 16}};
    for (const auto& s : stems)
        for (int y = s[1]; y < 32; ++y) {
            const int x = s[0] + ((y / 4) % 2 ? 1 : 0);
            c.set(x, y, Weed);
            c.set(x + 1, y, WeedDark);
            if (y % 4 == 1)
                c.set(x - 1, y, Weed);
        }
}

void riverBed(Canvas& c)
{
    water(c, Water, 0);
    const Ramp wet{colour(0x9ab0c8), colour(0x7e96b4), colour(0x647c9c), colour(0x4c6282), colour(0x2a3a5a)};
    static const int stones[][4] = {{0, 24, 9, 8}, {7, 26, 8, 6}, {14, 23, 10, 9}, {23, 25, 9, 7}, {29, 27, 6, 5}};
    for (const auto& s : stones) {
        c.ellipse(s[0], s[1], s[2], s[3] + 2, wet.outline);
        c.ellipse(s[0] + 1, s[1] + 1, s[2] - 2, s[3], wet.base);
        c.ellipse(s[0] + 1, s[1] + 1, s[2] / 2, s[3] / 2, wet.light);
    }
    c.hline(0, 31, 31, wet.shadow);
}

void sandyBottom(Canvas& c)
{
    water(c, Water, 0);
    const Rgb wetSand = colour(0xb8a878);
    const Rgb wetSandDark = colour(0x8c7e58);
    for (int x = 0; x < 32; ++x) {
        const int top = 25 + ((x / 6) % 2);
        for (int y = top; y < 32; ++y)
            c.set(x, y, y == top ? colour(0xd0c090) : wetSand);
        c.set(x, top - 1, wetSandDark);
    }
    c.hline(4, 8, 29, wetSandDark);
    c.hline(18, 23, 28, wetSandDark);
}

void waterfall(Canvas& c, int phase)
{
    // Falling water in streaks; the second phase moves them half their spacing down.
    for (int x = 0; x < 32; ++x) {
        static const int band[32] = {1, 1, 2, 2, 2, 1, 0, 0, 1, 2, 2, 1, 1, 0, 1, 1,
                                     2, 2, 1, 0, 0, 1, 2, 2, 2, 1, 1, 0, 1, 2, 2, 1};
        const Rgb colours[3] = {Water.shadow, Water.base, Water.light};
        for (int y = 0; y < 32; ++y)
            c.set(x, y, colours[band[x]]);
    }
    static const int streaks[][3] = {{3, 2, 7}, {9, 12, 6}, {16, 5, 8}, {22, 18, 6}, {28, 9, 7}, {12, 26, 6},
                                     {25, 28, 5}, {5, 20, 6}};
    for (const auto& s : streaks)
        for (int i = 0; i < s[2]; ++i) {
            const int y = (s[1] + i + phase * 16) % 32;
            c.set(s[0], y, Foam);
            c.set(s[0] + 1, y, Water.highlight);
        }
}

void bambooSpout(Canvas& c, int phase)
{
    paintSky(c);
    // The stream falls from the cut end of the bamboo to the bottom of the cell.
    for (int y = 10; y < 32; ++y) {
        const int shift = (y + phase * 4) % 8;
        c.set(20, y, Water.light);
        c.set(21, y, shift < 4 ? Foam : Water.highlight);
        c.set(22, y, Water.base);
        c.set(23, y, Water.shadow);
    }
    c.set(24, 11, Water.light);
    c.set(19, 30 - phase * 2, Foam);
    c.set(24, 28 - phase * 3, Water.highlight);
    c.rect(0, 5, 23, 6, Bamboo.base);
    c.hline(0, 22, 5, Bamboo.outline);
    c.hline(0, 22, 6, Bamboo.highlight);
    c.hline(0, 22, 7, Bamboo.light);
    c.hline(0, 22, 9, Bamboo.shadow);
    c.hline(0, 22, 10, Bamboo.outline);
    c.vline(9, 5, 10, Bamboo.outline);
    c.vline(10, 6, 9, Bamboo.highlight);
    // The slanted open end.
    c.line(23, 5, 25, 10, Bamboo.outline);
    c.vline(23, 6, 9, Bamboo.light);
    c.vline(24, 7, 9, Water.light);
}

} // namespace poronpa::art::tiles
