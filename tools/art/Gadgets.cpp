// Things the hero uses or runs into: springs, ladders, claws, boxes, doors, glass, conveyors,
// ice, the switch and the panel display.
#include "TilePainters.h"

#include "KeyMarks.h"

#include <cmath>

namespace poronpa::art::tiles {

using namespace palette;

namespace {

void bevel(Canvas& c, const Ramp& r, int x, int y, int w, int h)
{
    c.rect(x, y, w, h, r.base);
    c.hline(x + 1, x + w - 2, y + 1, r.highlight);
    c.vline(x + 1, y + 1, y + h - 2, r.light);
    c.hline(x + 1, x + w - 2, y + h - 2, r.shadow);
    c.vline(x + w - 2, y + 2, y + h - 2, r.shadow);
    c.hline(x, x + w - 1, y, r.outline);
    c.hline(x, x + w - 1, y + h - 1, r.outline);
    c.vline(x, y, y + h - 1, r.outline);
    c.vline(x + w - 1, y, y + h - 1, r.outline);
}

/// A coil between two plates: `from` and `to` are its ends along its axis. Each turn is seen
/// edge on, a dark back strand and a lit front strand, with the background between turns.
void coil(Canvas& c, bool horizontal, int from, int to, int centre, int halfWidth)
{
    const int turns = std::max(3, (to - from) / 4);
    const double pitch = double(to - from) / turns;
    auto put = [&](int along, int across, Rgb colour) {
        if (horizontal)
            c.set(along, across, colour);
        else
            c.set(across, along, colour);
    };
    for (int t = 0; t < turns; ++t) {
        const int at = from + int(std::lround(t * pitch + pitch / 2.0)) - 1;
        for (int i = -halfWidth; i <= halfWidth; ++i) {
            const bool end = i == -halfWidth || i == halfWidth;
            put(at, centre + i, end ? Steel.outline : Steel.shadow);
            const bool glint = i < -halfWidth / 3 && i > -halfWidth + 2;
            put(at + 1, centre + i, end ? Steel.outline : (glint ? Steel.highlight : Steel.light));
            put(at + 2, centre + i, Steel.outline);
        }
    }
}

/// A gold plate with a keyhole, its top left at (x, y).
void lockPlate(Canvas& c, int x, int y, int w, int h)
{
    c.rect(x, y, w, h, Gold.outline);
    c.rect(x + 1, y + 1, w - 2, h - 2, Gold.base);
    c.hline(x + 1, x + w - 2, y + 1, Gold.highlight);
    c.vline(x + 1, y + 1, y + h - 2, Gold.light);
    c.vline(x + w - 2, y + 2, y + h - 2, Gold.shadow);
    const int hole = x + w / 2 - 1;
    c.rect(hole, y + 3, 2, 2, Ink);
    c.rect(hole, y + 5, 2, 3, Ink);
}

void sevenSegment(Canvas& c, int x, int y, int digit, Rgb on, Rgb off)
{
    // Segments a..g, each lit or not for the digit.
    static const unsigned char lit[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};
    const unsigned mask = digit < 0 ? 0 : lit[digit];
    auto seg = [&](int bit, int x0, int y0, int x1, int y1) {
        const Rgb colour = (mask >> bit) & 1 ? on : off;
        c.rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, colour);
    };
    seg(0, x + 1, y, x + 5, y + 1);
    seg(1, x + 6, y + 1, x + 7, y + 6);
    seg(2, x + 6, y + 8, x + 7, y + 13);
    seg(3, x + 1, y + 13, x + 5, y + 14);
    seg(4, x, y + 8, x + 1, y + 13);
    seg(5, x, y + 1, x + 1, y + 6);
    seg(6, x + 1, y + 7, x + 5, y + 7);
}

} // namespace

void verticalSpring(Canvas& c, Background background, bool pressed)
{
    background(c);
    const int plate = pressed ? 16 : 8;
    bevel(c, Steel, 5, 27, 22, 5);
    coil(c, false, plate + 4, 27, 16, 8);
    bevel(c, Lacquer, 3, plate, 26, 5);
    c.hline(8, 23, plate + 2, Lacquer.light);
}

void springLauncher(Canvas& c, bool pressed)
{
    // An iron housing open at the top, the spring standing in its dark shaft.
    static const Rgb shaft[4] = {colour(0x3a3444), colour(0x2e2938), colour(0x25212d), colour(0x1c1922)};
    for (int y = 0; y < 32; ++y)
        c.hline(0, 31, y, shaft[std::min(3, y / 8)]);
    const int plate = pressed ? 16 : 6;
    coil(c, false, plate + 4, 26, 16, 8);
    bevel(c, Lacquer, 5, plate, 22, 5);
    c.hline(9, 22, plate + 2, Lacquer.light);
    for (int x : {0, 27}) {
        bevel(c, Steel, x, 0, 5, 32);
        for (int y = 5; y < 32; y += 9) {
            c.set(x + 2, y, Steel.highlight);
            c.set(x + 2, y + 1, Steel.shadow);
        }
    }
    bevel(c, Steel, 0, 26, 32, 6);
    for (int x = 6; x < 28; x += 5)
        c.set(x, 28, Steel.highlight);
}

void sideSpring(Canvas& c, Background background, bool throwsRight, bool pressed)
{
    background(c);
    QImage picture = blankImage(32, 32, PureBlack);
    Canvas s(picture);
    // Drawn throwing right (mounted on the left), mirrored for the other way.
    const int plate = pressed ? 14 : 23;
    bevel(s, Steel, 0, 5, 5, 22);
    coil(s, true, 5, plate, 16, 8);
    bevel(s, Lacquer, plate, 3, 5, 26);
    for (int i = 0; i < 4; ++i) {
        s.set(plate + 1 + (i < 2 ? i : 3 - i), 13 + i, Lacquer.highlight);
        s.set(plate + 1 + (i < 2 ? i : 3 - i), 17 + i, Lacquer.highlight);
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const Rgb p = picture.pixel(throwsRight ? x : 31 - x, y) | 0xFF000000u;
            if (p != PureBlack)
                c.set(x, y, p);
        }
}

void ladder(Canvas& c, Background background, const Ramp& ramp)
{
    background(c);
    for (int y = 0; y < 32; y += 8) {
        c.rect(8, y + 3, 16, 3, ramp.base);
        c.hline(8, 23, y + 3, ramp.highlight);
        c.hline(8, 23, y + 5, ramp.outline);
    }
    for (int x : {5, 23}) {
        c.rect(x, 0, 4, 32, ramp.base);
        c.vline(x, 0, 31, ramp.outline);
        c.vline(x + 1, 0, 31, ramp.light);
        c.vline(x + 3, 0, 31, ramp.outline);
    }
}

void ropeLadder(Canvas& c)
{
    paintNightSky(c);
    for (int y = 0; y < 32; y += 8) {
        c.rect(7, y + 4, 18, 3, Wood.base);
        c.hline(7, 24, y + 4, Wood.light);
        c.hline(7, 24, y + 6, Wood.outline);
    }
    for (int x : {6, 24})
        for (int y = 0; y < 32; ++y) {
            const int twist = (y / 2) % 2;
            c.set(x, y, twist ? Hemp.light : Hemp.base);
            c.set(x + 1, y, twist ? Hemp.shadow : Hemp.light);
        }
}

void net(Canvas& c, Background background)
{
    background(c);
    // Rope mesh: two sets of diagonals, knotted where they cross.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int a = (x + y) % 16;
            const int b = (x - y + 32) % 16;
            if (a <= 1 && b <= 1)
                c.set(x, y, Hemp.shadow);
            else if (a == 0)
                c.set(x, y, Hemp.light);
            else if (a == 1)
                c.set(x, y, Hemp.base);
            else if (b == 0)
                c.set(x, y, Hemp.base);
            else if (b == 1)
                c.set(x, y, Hemp.shadow);
            else if (a == 2 || b == 2)
                c.set(x, y, Hemp.outline);
        }
}

void claw(Canvas& c, Background background)
{
    background(c);
    // A mounting plate, a short chain and a three-pronged iron claw that the rope can catch.
    bevel(c, Steel, 9, 0, 14, 4);
    for (int y = 4; y < 12; y += 4) {
        c.rect(14, y, 4, 4, Steel.outline);
        for (int j = y + 1; j < y + 3; ++j)
            for (int i = 15; i < 17; ++i)
                c.set(i, j, backgroundAt(background, i, j));
        c.set(15, y, Steel.light);
    }
    c.rect(13, 12, 6, 5, Steel.outline);
    c.rect(14, 13, 4, 3, Steel.base);
    c.set(14, 13, Steel.highlight);
    c.rect(15, 17, 2, 5, Steel.outline);
    c.set(15, 18, Steel.light);
    // Prongs curving up at their points.
    for (int side : {-1, 1}) {
        for (int i = 0; i < 9; ++i) {
            const int x = 16 + side * i - (side < 0 ? 1 : 0);
            const int y = 21 + (i < 6 ? i / 2 : 3 - (i - 6) * 2);
            c.set(x, y, Steel.outline);
            c.set(x, y + 1, Steel.outline);
            c.set(x, y - 1, i < 7 ? Steel.light : Steel.outline);
        }
        c.set(16 + side * 8 - (side < 0 ? 1 : 0), 16, Steel.outline);
        c.set(16 + side * 8 - (side < 0 ? 1 : 0), 17, Steel.highlight);
    }
    c.rect(15, 22, 2, 6, Steel.outline);
    c.set(15, 22, Steel.light);
    c.rect(14, 28, 4, 2, Steel.outline);
    c.set(15, 27, Steel.light);
}

namespace {

/// Soft round shadows inside a cloud, in a pattern that repeats every cell.
bool softShade(int x, int y)
{
    // Each lobe of the cloud casts a crescent on its lower right.
    static const int lobes[][3] = {{10, 18, 11}, {26, 6, 10}};
    auto within = [](int px, int py, int cx, int cy, int r) {
        const int dx = std::min(std::abs(px - cx), 32 - std::abs(px - cx));
        const int dy = std::min(std::abs(py - cy), 32 - std::abs(py - cy));
        return dx * dx + dy * dy <= r * r;
    };
    for (const auto& l : lobes)
        if (within(x, y, l[0], l[1], l[2]) && !within(x, y, l[0] - 2, l[1] - 2, l[2]))
            return true;
    return false;
}

} // namespace

void lowGravityCloud(Canvas& c, int part)
{
    // Soft, airy cloud without outlines, sprinkled with sparkles: something to float in.
    const bool day = part == 4;
    const Ramp& r = day ? Cloud : NightCloud;
    const Rgb sky = day ? Sky : Night;
    c.fill(sky);
    auto inside = [&](int x, int y) {
        switch (part) {
        case 0:
            return true;
        case 1: {
            static const int top[32] = {12, 11, 10, 9, 9, 9, 10, 11, 11, 10, 8, 7, 6, 6, 6, 7,
                                        8, 9, 9, 8, 7, 7, 7, 8, 9, 10, 11, 11, 10, 10, 11, 12};
            return y >= top[x];
        }
        case 2: {
            // Round lobes hanging down, three to a cell.
            const double u = ((x + 2) % 11 - 5.0) / 5.5;
            return y < 20 + int(std::lround(4.0 * std::sqrt(std::max(0.0, 1.0 - u * u))));
        }
        default: {
            const double dx = (x - 15.5) / 13.0;
            const double dy = (y - 16.5) / 10.0;
            return dx * dx + dy * dy <= 1.0;
        }
        }
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!inside(x, y))
                continue;
            const bool edgeAbove = y > 0 && !inside(x, y - 1);
            const bool edgeBelow = y < 31 && !inside(x, y + 1);
            const bool edgeSide = (x > 0 && !inside(x - 1, y)) || (x < 31 && !inside(x + 1, y));
            Rgb colour = r.light;
            if (edgeAbove)
                colour = r.highlight;
            else if (edgeBelow || edgeSide)
                colour = r.base;
            else if (softShade(x, y))
                colour = r.base;
            c.set(x, y, colour);
        }
    static const int sparkles[][2] = {{6, 16}, {19, 13}, {26, 22}, {12, 25}, {23, 4}, {9, 5}};
    for (const auto& s : sparkles)
        if (inside(s[0], s[1]) && inside(s[0] - 1, s[1]) && inside(s[0] + 1, s[1])) {
            c.set(s[0], s[1], Star);
            c.set(s[0] - 1, s[1], r.highlight);
            c.set(s[0] + 1, s[1], r.highlight);
            c.set(s[0], s[1] - 1, r.highlight);
            c.set(s[0], s[1] + 1, r.highlight);
        }
}

void treasureBox(Canvas& c, Background background)
{
    background(c);
    const Ramp& wood = Wood;
    const int x0 = 5;
    const int y0 = 11;
    const int w = 22;
    // Lid.
    c.rect(x0 + 1, y0, w - 2, 8, wood.base);
    c.hline(x0 + 2, x0 + w - 3, y0 - 1, wood.outline);
    c.set(x0 + 1, y0, wood.outline);
    c.set(x0 + w - 2, y0, wood.outline);
    c.vline(x0, y0 + 1, y0 + 7, wood.outline);
    c.vline(x0 + w - 1, y0 + 1, y0 + 7, wood.outline);
    c.hline(x0 + 2, x0 + w - 3, y0, wood.highlight);
    c.hline(x0 + 1, x0 + w - 2, y0 + 1, wood.light);
    c.hline(x0 + 1, x0 + w - 2, y0 + 6, wood.shadow);
    c.hline(x0, x0 + w - 1, y0 + 7, wood.outline);
    // Body.
    c.rect(x0, y0 + 8, w, 12, wood.base);
    c.hline(x0, x0 + w - 1, y0 + 8, wood.light);
    c.hline(x0, x0 + w - 1, y0 + 18, wood.shadow);
    c.vline(x0, y0 + 7, y0 + 20, wood.outline);
    c.vline(x0 + w - 1, y0 + 7, y0 + 20, wood.outline);
    c.hline(x0, x0 + w - 1, y0 + 20, wood.outline);
    c.hline(x0 + 2, x0 + w - 3, y0 + 13, wood.shadow);
    // Gold bands and the lock.
    for (int bx : {x0 + 3, x0 + w - 6}) {
        c.rect(bx, y0, 3, 20, Gold.base);
        c.vline(bx, y0, y0 + 19, Gold.highlight);
        c.vline(bx + 2, y0, y0 + 19, Gold.shadow);
        c.set(bx + 1, y0 - 1, Gold.outline);
    }
    c.rect(x0 + 8, y0 + 5, 6, 7, Gold.outline);
    c.rect(x0 + 9, y0 + 6, 4, 5, Gold.base);
    c.set(x0 + 9, y0 + 6, Gold.highlight);
    c.rect(x0 + 10, y0 + 8, 2, 2, Ink);
    c.hline(x0, x0 + w - 1, y0 + 7, wood.outline);
    c.rect(x0 + 9, y0 + 7, 4, 1, Gold.shadow);
}

void bigTreasureBox(Canvas& c)
{
    // The whole cell is the chest: a rounded lid over a banded body, so nothing behind it shows.
    const Ramp& wood = Wood;
    c.fill(wood.base);
    // Lid: its planks curve, lit along the top.
    static const Rgb lidRows[12] = {wood.outline, wood.highlight, wood.highlight, wood.light, wood.light, wood.light,
                                    wood.base,    wood.base,      wood.base,      wood.shadow, wood.shadow, wood.outline};
    for (int y = 0; y < 12; ++y)
        c.hline(0, 31, y, lidRows[y]);
    c.hline(1, 30, 6, wood.shadow);
    // Body: boards with a shadow under the lid and along the floor.
    for (int y = 12; y < 32; ++y)
        c.hline(0, 31, y, y == 12 ? wood.shadow : (y > 28 ? wood.shadow : wood.base));
    c.hline(0, 31, 19, wood.shadow);
    c.hline(0, 31, 20, wood.light);
    c.hline(0, 31, 26, wood.shadow);
    c.hline(0, 31, 27, wood.light);
    c.hline(0, 31, 31, wood.outline);
    c.vline(0, 0, 31, wood.outline);
    c.vline(31, 0, 31, wood.outline);
    // Gold bands over lid and body, gold corners, and the lock.
    for (int bx : {4, 24}) {
        c.rect(bx, 0, 4, 31, Gold.base);
        c.vline(bx, 0, 30, Gold.highlight);
        c.vline(bx + 3, 0, 30, Gold.shadow);
        c.hline(bx, bx + 3, 0, Gold.outline);
        c.hline(bx, bx + 3, 11, Gold.outline);
        c.set(bx + 1, 4, White);
    }
    for (int x : {0, 28})
        for (int y : {28}) {
            c.rect(x, y, 4, 4, Gold.base);
            c.set(x + (x ? 0 : 3), y, Gold.highlight);
        }
    lockPlate(c, 11, 7, 10, 12);
    c.set(13, 9, White);
}

void door(Canvas& c, int key)
{
    const Ramp& ramp = *KeyColours[key];
    bevel(c, ramp, 0, 0, 32, 32);
    // Two sunken panels, a band of iron studs, the key's shape at eye height and a gold plate
    // round the keyhole below it.
    for (int px : {4, 17}) {
        c.rect(px, 4, 11, 24, ramp.shadow);
        c.hline(px, px + 10, 4, ramp.outline);
        c.vline(px, 4, 27, ramp.outline);
        c.rect(px + 1, 5, 10, 23, ramp.base);
        c.hline(px + 1, px + 10, 27, ramp.highlight);
        c.vline(px + 10, 5, 27, ramp.light);
        c.hline(px + 2, px + 8, 6, ramp.shadow);
    }
    for (int x = 3; x < 30; x += 5) {
        c.set(x, 2, Steel.highlight);
        c.set(x, 29, Steel.shadow);
    }
    drawKeyMark(c, key, 11, 4);
    lockPlate(c, 12, 17, 8, 10);
}

void glass(Canvas& c, bool broken)
{
    paintCaveWall(c);
    // The cave shows through, lightened by the pane.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            c.set(x, y, mix(c.at(x, y), colour(0x8ee0f0), 0.55));
    for (int i = 0; i < 10; ++i) {
        c.set(6 + i, 16 - i, White);
        c.set(7 + i, 16 - i, Ice.light);
        c.set(14 + i, 25 - i, Ice.light);
    }
    if (broken) {
        // Cracks run from where it was struck; a few shards have dropped out.
        static const int cracks[][4] = {{16, 15, 3, 4}, {16, 15, 29, 6}, {16, 15, 27, 28}, {16, 15, 6, 27},
                                        {16, 15, 17, 2}, {10, 9, 4, 13}, {22, 21, 29, 19}};
        for (const auto& k : cracks)
            c.line(k[0], k[1], k[2], k[3], Ice.outline);
        static const int holes[][4] = {{18, 5, 5, 4}, {7, 19, 5, 5}, {22, 22, 4, 4}};
        for (const auto& h : holes) {
            c.ellipse(h[0], h[1], h[2], h[3], CaveDark);
            c.set(h[0], h[1] + 1, Ice.outline);
        }
        c.rect(15, 14, 3, 3, Ice.outline);
        c.set(16, 15, White);
    }
    c.rect(0, 0, 32, 2, Steel.base);
    c.hline(0, 31, 0, Steel.outline);
    c.hline(0, 31, 1, Steel.highlight);
    c.rect(0, 30, 32, 2, Steel.shadow);
    c.hline(0, 31, 31, Steel.outline);
    c.vline(0, 0, 31, Steel.outline);
    c.vline(31, 0, 31, Steel.outline);
}

void conveyor(Canvas& c, const Ramp& ramp, int phase)
{
    // The belt moves two pixels a frame; four frames make one tread spacing. Frame k is drawn
    // with the treads shifted k steps to the left.
    const int shift = phase * 2;
    const bool hazard = ramp.base == Hazard.base;
    c.fill(Belt.shadow);
    // Top run of the belt.
    for (int x = 0; x < 32; ++x) {
        const int t = ((x + shift) % 8 + 8) % 8;
        for (int y = 0; y < 7; ++y) {
            Rgb colour = ramp.base;
            if (hazard && ((x + shift + y) % 8) < 3)
                colour = Ink;
            else if (!hazard && t == 0)
                colour = ramp.outline;
            else if (!hazard && t == 1)
                colour = ramp.light;
            if (y == 1 && colour != Ink)
                colour = ramp.highlight;
            c.set(x, y, colour);
        }
        c.set(x, 0, ramp.outline);
        c.set(x, 7, ramp.outline);
    }
    // Housing with rollers that turn with the belt.
    c.rect(0, 8, 32, 18, hazard ? Hazard.shadow : Steel.shadow);
    c.hline(0, 31, 8, hazard ? Hazard.light : Steel.light);
    for (int rx : {5, 16, 27}) {
        c.ellipse(rx - 5, 11, 11, 11, Steel.outline);
        c.ellipse(rx - 4, 12, 9, 9, Steel.base);
        c.ellipse(rx - 4, 12, 5, 5, Steel.light);
        const double angle = -phase * 3.14159265 / 4.0;
        for (int s = 0; s < 2; ++s) {
            const double a = angle + s * 3.14159265 / 2.0;
            const int dx = int(std::lround(std::cos(a) * 3.0));
            const int dy = int(std::lround(std::sin(a) * 3.0));
            c.line(rx - dx, 16 - dy, rx + dx, 16 + dy, Steel.outline);
        }
        c.set(rx, 16, Steel.highlight);
    }
    // Bottom run, moving the other way.
    for (int x = 0; x < 32; ++x) {
        const int t = ((x - shift) % 8 + 8) % 8;
        for (int y = 26; y < 32; ++y)
            c.set(x, y, t == 0 ? Belt.outline : Belt.base);
        c.set(x, 26, Belt.outline);
        c.set(x, 31, Belt.outline);
    }
}

void iceBlock(Canvas& c, bool frosted)
{
    bevel(c, Ice, 0, 0, 32, 32);
    for (int i = 0; i < 14; ++i) {
        c.set(5 + i, 18 - i, White);
        c.set(6 + i, 18 - i, Ice.highlight);
        c.set(12 + i, 26 - i, Ice.light);
    }
    c.line(20, 24, 27, 17, Ice.shadow);
    if (frosted) {
        // A snowflake frozen into the block.
        const int cx = 16;
        const int cy = 16;
        for (int i = -6; i <= 6; ++i) {
            c.set(cx + i, cy, White);
            c.set(cx + i / 2, cy + i, White);
            c.set(cx - i / 2, cy + i, White);
        }
        for (const auto& d : {std::pair{-6, 0}, {6, 0}, {-3, -6}, {3, -6}, {-3, 6}, {3, 6}}) {
            c.set(cx + d.first, cy + d.second - 1, Ice.light);
            c.set(cx + d.first, cy + d.second + 1, Ice.light);
        }
        c.rect(cx - 1, cy - 1, 3, 3, Ice.shadow);
        c.set(cx, cy, White);
    }
}

void switchBlock(Canvas& c, int screen)
{
    bevel(c, Steel, 0, 0, 32, 32);
    // The push button on top, flush with the plate.
    c.rect(7, 1, 18, 5, Lacquer.outline);
    c.rect(8, 2, 16, 3, Lacquer.base);
    c.hline(8, 23, 2, Lacquer.highlight);
    c.hline(8, 23, 4, Lacquer.shadow);
    c.hline(2, 29, 6, Steel.shadow);
    // Its screen shows the state of the world's machines.
    c.rect(7, 9, 18, 19, Steel.outline);
    c.rect(8, 10, 16, 17, ScreenDark);
    if (screen > 0) {
        c.rect(8, 10, 16, 17, colour(0x1e3a2c));
        sevenSegment(c, 12, 11, screen == 1 ? 0 : 1, ScreenGreen, colour(0x24452f));
    } else {
        sevenSegment(c, 12, 11, 8, colour(0x223028), ScreenDark);
    }
    c.hline(8, 23, 10, screen > 0 ? ScreenGlow : colour(0x2a3a32));
    c.hline(7, 24, 28, Steel.highlight);
}

void panelDisplay(Canvas& c, int phase)
{
    bevel(c, Belt, 0, 0, 32, 32);
    c.rect(3, 5, 26, 22, Ink);
    c.hline(3, 28, 27, Belt.light);
    const int digits[3][2] = {{1, 0}, {0, 1}, {-1, -1}};
    for (int k = 0; k < 2; ++k)
        sevenSegment(c, 6 + k * 12, 9, digits[phase][k], LedAmber, LedOff);
    for (int x : {3, 28})
        c.set(x, 2, phase < 2 ? LedAmber : LedOff);
}

} // namespace poronpa::art::tiles
