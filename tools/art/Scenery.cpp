// Passable scenery: decorations in front of a background, lights, stars, fire and spikes.
#include "TilePainters.h"

#include <array>
#include <cmath>
#include <vector>

namespace poronpa::art::tiles {

using namespace palette;

namespace {

constexpr Ramp DimLeaves{colour(0x5a9a48), colour(0x4a843c), colour(0x3a6c32), colour(0x2c5628), colour(0x1a3418)};

constexpr int CornerRadius = 12;

/// A soft glow round a point: the background lightened in rings.
void glow(Canvas& c, int cx, int cy, int radius, Rgb tint)
{
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x) {
            if (!c.inside(x, y))
                continue;
            const double d = std::sqrt(double((x - cx) * (x - cx) + (y - cy) * (y - cy)));
            if (d <= radius)
                c.set(x, y, mix(c.at(x, y), tint, d < radius * 0.4 ? 0.3 : (d < radius * 0.7 ? 0.18 : 0.08)));
        }
}

/// A flame with its base at (cx, base), `height` tall; `sway` leans its tip.
void flameShape(Canvas& c, int cx, int base, int height, int halfWidth, int sway)
{
    for (int y = base - height; y <= base; ++y) {
        const double t = double(y - (base - height)) / height; // 0 at the tip, 1 at the base
        const double width = halfWidth * std::sqrt(t) * (t > 0.8 ? (1.0 - (t - 0.8) * 1.5) : 1.0);
        const double centre = cx + sway * (1.0 - t) * (1.0 - t);
        for (int x = int(std::floor(centre - width)); x <= int(std::ceil(centre + width)); ++x) {
            const double margin = std::min(width - std::abs(x - centre), (y - (base - height)) * 0.8);
            if (margin < 0)
                continue;
            Rgb colour = Flame.outline;
            if (margin >= 4.0 && t > 0.45)
                colour = Flame.highlight;
            else if (margin >= 3.0)
                colour = Flame.light;
            else if (margin >= 1.8)
                colour = Flame.base;
            else if (margin >= 0.8)
                colour = Flame.shadow;
            c.set(x, y, colour);
        }
    }
}

void cushionTexture(Canvas& c)
{
    // Quilted rubber: buttons on a diagonal grid, the padding between them lit from the top left.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int u = (x + y) % 16;
            const int v = (x - y + 32) % 16;
            Rgb colour = Cushion.base;
            if (u == 0 || v == 0)
                colour = Cushion.shadow;
            else if (u == 1 || v == 1)
                colour = Cushion.light;
            c.set(x, y, colour);
        }
    for (const auto& b : {std::pair{0, 0}, {16, 16}, {16, 0}, {0, 16}}) {
        c.setWrapped(b.first, b.second, Cushion.outline);
        c.setWrapped(b.first - 1, b.second - 1, Cushion.highlight);
    }
}

} // namespace

void flowers(Canvas& c)
{
    paintSky(c);
    // Tufts and flowers growing from the ground below.
    static const int tufts[][2] = {{3, 6}, {12, 5}, {20, 7}, {28, 5}};
    for (const auto& t : tufts) {
        const int x = t[0];
        const int h = t[1];
        c.line(x, 31, x - 2, 31 - h, Grass.shadow);
        c.line(x + 1, 31, x + 1, 31 - h - 2, Grass.base);
        c.line(x + 2, 31, x + 4, 31 - h + 1, Grass.light);
    }
    auto flower = [&](int x, int y, Rgb petal, Rgb dark) {
        c.vline(x, y + 2, 31, Grass.shadow);
        c.set(x + 1, y + 6, Grass.base);
        c.set(x + 2, y + 5, Grass.base);
        c.set(x - 1, y + 1, petal);
        c.set(x + 1, y + 1, petal);
        c.set(x, y, petal);
        c.set(x, y + 2, dark);
        c.set(x - 1, y + 2, dark);
        c.set(x + 1, y + 2, dark);
        c.set(x, y + 1, FlowerYellow == petal ? colour(0xfff8e0) : FlowerYellow);
    };
    flower(8, 19, FlowerPink, FlowerPinkDark);
    flower(17, 22, FlowerYellow, FlowerYellowDark);
    flower(25, 18, FlowerPink, FlowerPinkDark);
}

void foliage(Canvas& c)
{
    leafTexture(c, DimLeaves);
}

void thinTrunk(Canvas& c)
{
    paintSky(c);
    c.rect(10, 0, 12, 32, Bark.base);
    c.vline(10, 0, 31, Bark.outline);
    c.vline(21, 0, 31, Bark.outline);
    c.vline(11, 0, 31, Bark.highlight);
    c.vline(12, 0, 31, Bark.light);
    c.vline(19, 0, 31, Bark.shadow);
    c.vline(20, 0, 31, Bark.shadow);
    c.vline(15, 3, 12, Bark.shadow);
    c.vline(16, 18, 28, Bark.shadow);
    c.vline(14, 22, 26, Bark.light);
}

void houseWindow(Canvas& c)
{
    paintHouseWall(c);
    c.rect(7, 5, 20, 18, Timber.outline);
    c.rect(8, 6, 18, 16, GlowWarm);
    c.rect(8, 6, 18, 5, Glow);
    for (int x = 11; x < 26; x += 4)
        c.vline(x, 6, 21, Timber.base);
    c.hline(8, 25, 13, Timber.base);
    c.rect(6, 22, 22, 2, Timber.base);
    c.hline(6, 27, 22, Timber.light);
    c.hline(6, 27, 24, Plaster.base);
}

void houseLantern(Canvas& c)
{
    paintHouseWall(c);
    glow(c, 16, 17, 12, Glow);
    c.vline(16, 0, 4, Ink);
    c.rect(11, 5, 10, 2, Ink);
    c.ellipse(8, 7, 16, 18, LanternDark);
    c.ellipse(9, 8, 14, 16, LanternRed);
    c.ellipse(10, 9, 6, 10, colour(0xf4806c));
    for (int y = 10; y < 24; y += 3)
        c.hline(9, 22, y, LanternDark);
    c.rect(11, 24, 10, 2, Ink);
    c.vline(16, 26, 28, Ink);
    c.set(13, 12, Glow);
    c.set(13, 13, Glow);
}

void fence(Canvas& c)
{
    paintSky(c);
    for (int x : {4, 20}) {
        c.rect(x, 6, 7, 26, Wood.base);
        c.vline(x, 6, 31, Wood.outline);
        c.vline(x + 6, 6, 31, Wood.outline);
        c.vline(x + 1, 6, 31, Wood.light);
        c.vline(x + 5, 6, 31, Wood.shadow);
        // Pointed top.
        c.set(x + 1, 5, Wood.outline);
        c.set(x + 5, 5, Wood.outline);
        c.hline(x + 2, x + 4, 4, Wood.outline);
        c.hline(x + 2, x + 4, 5, Wood.light);
        c.set(x + 3, 3, Wood.outline);
        c.hline(x + 1, x + 5, 6, Wood.base);
    }
    for (int y : {12, 23}) {
        c.rect(0, y, 32, 4, Wood.base);
        c.hline(0, 31, y, Wood.outline);
        c.hline(0, 31, y + 1, Wood.light);
        c.hline(0, 31, y + 3, Wood.outline);
        c.hline(0, 31, y + 2, Wood.shadow);
    }
}

void bush(Canvas& c)
{
    paintSky(c);
    static const int lobes[][3] = {{9, 21, 8}, {17, 15, 9}, {24, 21, 7}, {15, 24, 8}};
    for (const auto& l : lobes)
        c.ellipse(l[0] - l[2] - 1, l[1] - l[2] - 1, 2 * l[2] + 3, 2 * l[2] + 3, Leaves.outline);
    c.rect(3, 24, 27, 8, Leaves.outline);
    for (const auto& l : lobes)
        c.ellipse(l[0] - l[2], l[1] - l[2], 2 * l[2] + 1, 2 * l[2] + 1, Leaves.base);
    c.rect(4, 25, 25, 7, Leaves.shadow);
    for (const auto& l : lobes)
        c.ellipse(l[0] - l[2] + 1, l[1] - l[2] + 1, l[2] + 3, l[2] + 2, Leaves.light);
    for (const auto& l : lobes)
        c.ellipse(l[0] - l[2] + 2, l[1] - l[2] + 2, l[2] / 2 + 1, l[2] / 2, Leaves.highlight);
    // A few berries.
    for (const auto& b : {std::pair{11, 18}, {21, 13}, {19, 24}}) {
        c.set(b.first, b.second, FlowerPink);
        c.set(b.first + 1, b.second + 1, FlowerPinkDark);
    }
}

void cloudPuff(Canvas& c)
{
    paintSky(c);
    // A cloud that fills its cell, so that a row of them reads as one long cloud.
    static const int lobes[][4] = {{2, 14, 13, 12}, {10, 7, 14, 15}, {19, 11, 12, 12}};
    const int bottom = 25;
    for (const auto& l : lobes)
        c.ellipse(l[0] - 1, l[1] - 1, l[2] + 2, l[3] + 2, Cloud.outline);
    c.rect(1, bottom - 6, 30, 7, Cloud.outline);
    for (const auto& l : lobes)
        c.ellipse(l[0], l[1], l[2], l[3], Cloud.light);
    c.rect(2, bottom - 5, 28, 5, Cloud.base);
    c.rect(2, bottom - 2, 28, 2, Cloud.shadow);
    for (const auto& l : lobes)
        c.ellipse(l[0] + 2, l[1] + 2, l[2] / 2, l[3] / 2, Cloud.highlight);
    c.set(1, bottom - 6, Sky);
    c.set(30, bottom - 6, Sky);
    c.set(1, bottom, Sky);
    c.set(30, bottom, Sky);
}

void moon(Canvas& c, int quarter)
{
    QImage big = blankImage(64, 64, Night);
    Canvas m(big);
    // Halo, disc, soft seas, lit from the top left like everything else.
    m.ellipse(1, 1, 62, 62, NightHaze);
    m.ellipse(5, 5, 54, 54, Moon.shadow);
    m.ellipse(6, 6, 52, 52, Moon.base);
    m.ellipse(7, 7, 44, 44, Moon.light);
    m.ellipse(10, 10, 28, 26, Moon.highlight);
    static const int seas[][4] = {{30, 18, 12, 9}, {18, 33, 10, 8}, {36, 36, 9, 10}, {26, 46, 7, 5}};
    for (const auto& s : seas) {
        m.ellipse(s[0], s[1], s[2], s[3], Moon.shadow);
        m.ellipse(s[0] + 1, s[1] + 1, s[2] - 3, s[3] - 3, Moon.base);
    }
    c.paste(big.copy((quarter % 2) * 32, (quarter / 2) * 32, 32, 32), 0, 0);
}

void pampasGrass(Canvas& c)
{
    paintNightSky(c);
    struct Stalk {
        int x, top, lean;
    };
    static const Stalk stalks[] = {{8, 4, 5}, {17, 1, 3}, {25, 7, 4}};
    for (const Stalk& s : stalks) {
        c.line(s.x, 31, s.x + s.lean / 2, s.top + 8, NightGrass.shadow);
        // The plume bends over with the wind.
        for (int i = 0; i < 10; ++i) {
            const int x = s.x + s.lean / 2 + (i * s.lean) / 10;
            const int y = s.top + 8 - i;
            c.set(x, y, Pampas.light);
            c.set(x + 1, y + 1, Pampas.base);
            c.set(x - 1, y + 1, Pampas.highlight);
            if (i % 2 == 0)
                c.set(x + 2, y + 2, Pampas.shadow);
        }
    }
    c.line(3, 31, 9, 20, NightGrass.base);
    c.line(12, 31, 20, 22, NightGrass.light);
    c.line(29, 31, 22, 19, NightGrass.base);
}

void hangingVines(Canvas& c)
{
    paintCaveWall(c);
    struct Vine {
        int x, length;
    };
    static const Vine vines[] = {{5, 26}, {14, 31}, {23, 20}, {28, 29}};
    for (const Vine& v : vines) {
        for (int y = 0; y < v.length; ++y) {
            const int x = v.x + ((y / 5) % 2);
            c.set(x, y, Leaves.shadow);
            if (y % 6 == 3) {
                c.set(x - 1, y, Leaves.light);
                c.set(x - 2, y + 1, Leaves.base);
                c.set(x + 1, y + 1, Leaves.base);
                c.set(x + 2, y + 2, Leaves.shadow);
            }
        }
    }
}

void cliffCushionFillet(Canvas& c, bool right, bool bottom)
{
    paintCliffFace(c);
    QImage pad = blankImage(32, 32, 0);
    Canvas p(pad);
    cushionTexture(p);
    // Where the cushion bends round this cell, its padding fills the corner up to a curve.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int dx = right ? 31 - x : x;
            const int dy = bottom ? 31 - y : y;
            if (dx >= CornerRadius || dy >= CornerRadius)
                continue;
            const double d = std::hypot(dx - CornerRadius + 0.5, dy - CornerRadius + 0.5);
            if (d > CornerRadius)
                c.set(x, y, p.at(x, y));
            else if (d > CornerRadius - 1.0)
                c.set(x, y, Cushion.outline);
        }
}

void hiddenBlock(Canvas& c, Background background)
{
    background(c);
    // Only a glint betrays it to someone who looks closely.
    c.set(26, 5, mix(c.at(26, 5), White, 0.16));
    c.set(27, 4, mix(c.at(27, 4), White, 0.16));
}

void star(Canvas& c, bool big, int phase)
{
    paintNightSky(c);
    const int x = big ? 12 : 21;
    const int y = big ? 11 : 19;
    c.set(x, y, White);
    const int arm = big ? (phase ? 4 : 2) : (phase ? 1 : 2);
    for (int i = 1; i <= arm; ++i) {
        const Rgb colour = i == 1 ? Star : StarDim;
        c.set(x + i, y, colour);
        c.set(x - i, y, colour);
        c.set(x, y + i, colour);
        c.set(x, y - i, colour);
    }
    if (big && phase) {
        c.set(x + 1, y + 1, StarDim);
        c.set(x - 1, y - 1, StarDim);
        c.set(x + 1, y - 1, StarDim);
        c.set(x - 1, y + 1, StarDim);
    }
    if (!big)
        c.set(7, 6, phase ? StarDim : NightHaze);
}

void torch(Canvas& c, Background background, int phase)
{
    background(c);
    glow(c, 16, 10, 13, Flame.light);
    // Iron bracket and wooden handle.
    c.rect(13, 22, 6, 3, Steel.outline);
    c.rect(14, 23, 4, 1, Steel.shadow);
    c.rect(14, 12, 4, 17, Timber.base);
    c.vline(14, 12, 28, Timber.light);
    c.vline(17, 12, 28, Timber.outline);
    c.hline(14, 17, 28, Timber.outline);
    c.rect(12, 11, 8, 3, Steel.shadow);
    c.hline(12, 19, 11, Steel.light);
    c.hline(12, 19, 13, Steel.outline);
    flameShape(c, 16, 11, phase ? 10 : 9, 4, phase ? 2 : -2);
}

void lamp(Canvas& c, Background background, int phase)
{
    background(c);
    glow(c, 16, 16, phase ? 14 : 11, Glow);
    // A paper lamp hung from a bracket.
    c.hline(8, 16, 3, Steel.outline);
    c.vline(8, 1, 5, Steel.outline);
    c.vline(16, 3, 7, Steel.outline);
    c.rect(10, 8, 13, 3, Timber.outline);
    c.rect(11, 11, 11, 13, Paper);
    c.rect(11, 11, 3, 13, Glow);
    c.vline(21, 11, 23, colour(0xe8d4a4));
    c.vline(10, 11, 23, Timber.base);
    c.vline(22, 11, 23, Timber.base);
    c.hline(11, 21, 17, colour(0xe8d4a4));
    c.rect(10, 24, 13, 2, Timber.outline);
    c.rect(15, 14, 3, 5, phase ? GlowWarm : Glow);
}

void flames(Canvas& c, int phase)
{
    paintVolcanoWall(c);
    struct Tongue {
        int x, height, half, sway;
    };
    static const Tongue still[] = {{6, 22, 6, 2}, {16, 30, 8, -2}, {26, 20, 6, 2}};
    static const Tongue moved[] = {{6, 26, 6, -2}, {16, 26, 8, 3}, {26, 25, 6, -1}};
    for (const Tongue& t : phase ? moved : still)
        flameShape(c, t.x, 31, t.height, t.half, t.sway);
    c.hline(0, 31, 31, Flame.base);
    c.hline(0, 31, 30, Flame.light);
}

void flameJet(Canvas& c, int stage)
{
    paintVolcanoWall(c);
    switch (stage) {
    case 0:
        flameShape(c, 16, 26, 26, 7, 0);
        break;
    case 1:
        flameShape(c, 16, 26, 24, 6, 2);
        break;
    case 2:
        flameShape(c, 16, 26, 12, 5, 1);
        break;
    default:
        c.set(14, 20, Lava.shadow);
        c.set(18, 16, Lava.base);
        c.set(16, 12, Lava.shadow);
        break;
    }
    // The vent in the rock the fire bursts from.
    c.rect(7, 25, 18, 7, colour(0x1e1014));
    c.rect(8, 26, 16, 2, colour(0x56393c));
    c.hline(8, 23, 25, colour(0x8a6464));
    c.rect(11, 25, 10, 2, stage < 3 ? Flame.light : Lava.shadow);
}

void lava(Canvas& c)
{
    c.fill(Lava.base);
    for (int x = 0; x < 32; ++x) {
        const double phase = x * 2.0 * 3.14159265 / 32.0;
        const int a = 11 + int(std::lround(2.0 * std::sin(phase)));
        const int b = 23 + int(std::lround(2.0 * std::sin(phase + 2.0)));
        c.set(x, a, Lava.shadow);
        c.set(x, a + 1, Lava.shadow);
        c.set(x, a - 1, Lava.light);
        c.set(x, b, Lava.shadow);
        c.set(x, b - 1, Lava.light);
    }
    c.rect(0, 0, 32, 4, Lava.light);
    c.hline(0, 31, 0, Lava.highlight);
    static const int bubbles[][3] = {{6, 2, 4}, {21, 1, 5}, {13, 16, 3}, {27, 17, 3}, {4, 27, 3}};
    for (const auto& b : bubbles) {
        c.ellipse(b[0], b[1], b[2], b[2], Lava.highlight);
        c.set(b[0] + b[2] - 1, b[1] + b[2] - 1, Lava.shadow);
    }
}

void spikes(Canvas& c, Background background, bool down)
{
    QImage up = blankImage(32, 32, 0);
    background(c);
    Canvas s(up);
    s.fill(PureBlack);
    // Four steel spikes on a striped plate; drawn pointing up, flipped for a ceiling.
    for (int i = 0; i < 4; ++i) {
        const int left = i * 8;
        for (int y = 10; y < 28; ++y) {
            const int half = (y - 10) * 4 / 18;
            for (int x = left + 4 - half - 1; x <= left + 3 + half + 1; ++x) {
                Rgb colour = x < left + 4 ? Steel.light : Steel.shadow;
                if (x == left + 4 - half - 1 || x == left + 3 + half + 1)
                    colour = Steel.outline;
                if (x == left + 3 && y > 12)
                    colour = Steel.highlight;
                s.set(x, y, colour);
            }
        }
        s.set(left + 3, 9, Steel.outline);
        s.set(left + 4, 9, Steel.outline);
    }
    for (int y = 27; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            s.set(x, y, ((x + y) / 3) % 2 ? Hazard.base : Ink);
    s.hline(0, 31, 27, Ink);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const Rgb p = up.pixel(x, down ? 31 - y : y) | 0xFF000000u;
            if (p != PureBlack)
                c.set(x, y, p);
        }
}

void spikePit(Canvas& c)
{
    // The pit is darker the deeper it goes; the spikes are the same steel as every other spike.
    static const Rgb pit[4] = {colour(0x2a2430), colour(0x221d28), colour(0x1a1620), colour(0x141018)};
    for (int y = 0; y < 32; ++y)
        c.hline(0, 31, y, pit[std::min(3, y / 6)]);
    QImage up = blankImage(32, 32, PureBlack);
    Canvas s(up);
    spikes(s, [](Canvas& behind) { behind.fill(PureBlack); }, false);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (const Rgb p = up.pixel(x, y) | 0xFF000000u; p != PureBlack)
                c.set(x, y, p);
    // A second, shorter row behind the first, in shadow, so the pit reads as deep.
    for (int i = 0; i < 4; ++i) {
        const int left = i * 8 + 4;
        for (int y = 14; y < 27; ++y) {
            const int half = (y - 14) * 2 / 13;
            for (int x = left + 3 - half; x <= left + 4 + half; ++x)
                if (x < 32 && c.at(x, y) == pit[std::min(3, y / 6)])
                    c.set(x, y, x < left + 4 ? Steel.shadow : Steel.outline);
        }
    }
}

} // namespace poronpa::art::tiles

namespace poronpa::art::tiles {

using namespace palette;

void cushion(Canvas& c, bool throwsRight, bool pressed)
{
    cushionTexture(c);
    // A chevron says which way the cushion throws; pressed, the padding gives way in the middle.
    const int depth = pressed ? 3 : 0;
    if (pressed)
        for (int y = 6; y < 26; ++y)
            for (int x = 6; x < 26; ++x)
                if (c.at(x, y) == Cushion.base)
                    c.set(x, y, Cushion.shadow);
    for (int i = 0; i < 9; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int tip = throwsRight ? 21 - depth + k * -7 : 10 + depth + k * 7;
            const int x = throwsRight ? tip - (8 - i) : tip + (8 - i);
            const int x2 = throwsRight ? tip - i : tip + i;
            c.set(x, 7 + i, Cushion.highlight);
            c.set(x2, 16 + i, Cushion.highlight);
            c.set(x + (throwsRight ? -1 : 1), 7 + i, Cushion.light);
            c.set(x2 + (throwsRight ? -1 : 1), 16 + i, Cushion.light);
            c.set(x, 8 + i, Cushion.outline);
            c.set(x2, 17 + i, Cushion.outline);
        }
    }
}

void cushionCorner(Canvas& c, bool right, bool bottom)
{
    cushionTexture(c);
    QImage cliff = blankImage(32, 32, 0);
    Canvas behind(cliff);
    paintCliffFace(behind);
    // The cushion's corner is rounded off with the same curve the cliff's corner tiles fill.
    for (int i = 0; i < 32; ++i) {
        c.set(right ? 31 : 0, i, Cushion.outline);
        c.set(i, bottom ? 31 : 0, Cushion.outline);
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int dx = right ? 31 - x : x;
            const int dy = bottom ? 31 - y : y;
            if (dx >= CornerRadius || dy >= CornerRadius)
                continue;
            const double d = std::hypot(dx - CornerRadius + 0.5, dy - CornerRadius + 0.5);
            if (d > CornerRadius)
                c.set(x, y, behind.at(x, y));
            else if (d > CornerRadius - 1.0)
                c.set(x, y, Cushion.outline);
        }
}

} // namespace poronpa::art::tiles
