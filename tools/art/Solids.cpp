// Solid tiles: ground, rock, walls, roofs and the blocks of every theme.
#include "TilePainters.h"

#include <array>
#include <cmath>

namespace poronpa::art::tiles {

using namespace palette;

namespace {

constexpr Ramp Granite{colour(0xdcdce4), colour(0xbcbcc8), colour(0x9c9cac), colour(0x7c7c90), colour(0x3a3a50)};
constexpr Ramp FrozenStone{colour(0xf4faff), colour(0xd4e2f4), colour(0xb2c6e2), colour(0x88a0c8), colour(0x2e3e6e)};
constexpr Ramp Sandstone{colour(0xf4dcaa), colour(0xe4c48c), colour(0xcca66e), colour(0xa88252), colour(0x5a4028)};
constexpr Ramp Obsidian{colour(0x8a78a8), colour(0x5a4a78), colour(0x3a2e52), colour(0x2a2040), colour(0x120c1e)};
constexpr Ramp Moss{colour(0xb4dc70), colour(0x88c050), colour(0x5e9a3a), colour(0x3e722a), colour(0x22441a)};
constexpr Ramp Straw{colour(0xfaeaa0), colour(0xecd478), colour(0xd4b658), colour(0xaa8c40), colour(0x5e4a1e)};
constexpr Ramp TatamiRush{colour(0xe8e2a0), colour(0xd4cc84), colour(0xbcb46a), colour(0x9a9250), colour(0x5a5428)};
constexpr Ramp Mushroom{colour(0xff9a88), colour(0xf06450), colour(0xcc3c34), colour(0x9a2428), colour(0x4e1018)};
constexpr Ramp Stem{colour(0xfff8e8), colour(0xf4e8cc), colour(0xe0d0ac), colour(0xbca880), colour(0x6a5a40)};
constexpr Ramp Amethyst{colour(0xf4d0ff), colour(0xd49af0), colour(0xb070d8), colour(0x8048b0), colour(0x3c1c5c)};
constexpr Ramp Snow{colour(0xffffff), colour(0xf0f6fc), colour(0xdce8f4), colour(0xb8cce4), colour(0x6a80a8)};
constexpr Ramp Ruin{colour(0xdcd8c0), colour(0xc0baa0), colour(0xa29c84), colour(0x807a64), colour(0x48442e)};
constexpr Ramp Clay{colour(0xe8c890), colour(0xd4b078), colour(0xbc9862), colour(0x9a7a4c), colour(0x4e3a22)};

/// A full-cell block with a bevel: outlined, lit on the top and left rims, shaded on the others.
void bevelBlock(Canvas& c, const Ramp& r, int x = 0, int y = 0, int w = 32, int h = 32)
{
    c.rect(x, y, w, h, r.base);
    c.hline(x + 1, x + w - 2, y + 1, r.highlight);
    c.vline(x + 1, y + 1, y + h - 2, r.highlight);
    c.hline(x + 2, x + w - 3, y + 2, r.light);
    c.vline(x + 2, y + 2, y + h - 3, r.light);
    c.hline(x + 1, x + w - 2, y + h - 2, r.shadow);
    c.vline(x + w - 2, y + 1, y + h - 2, r.shadow);
    c.hline(x, x + w - 1, y, r.outline);
    c.hline(x, x + w - 1, y + h - 1, r.outline);
    c.vline(x, y, y + h - 1, r.outline);
    c.vline(x + w - 1, y, y + h - 1, r.outline);
}

/// A rough underside in shadow, drawn inside the cell so that it suits whatever lies below:
/// the sky under an overhang, a cave, water.
void roughUnderside(Canvas& c, const Ramp& r)
{
    static const int lift[32] = {0, 1, 1, 2, 1, 0, 0, 1, 3, 4, 3, 1, 0, 0, 1, 1,
                                 0, 0, 2, 3, 2, 1, 0, 0, 1, 2, 4, 5, 3, 1, 0, 0};
    for (int x = 0; x < 32; ++x) {
        const int end = 30 - lift[x];
        c.vline(x, end + 1, 31, r.outline);
        c.set(x, end, r.shadow);
        c.set(x, end - 1, r.shadow);
    }
}

void ground(Canvas& c, unsigned edges, const Ramp& grass, const Ramp& earth, Background background)
{
    earthTexture(c, earth);
    exposeEdges(c, edges & ~Top, earth, background);
    if (edges & Top)
        grassCap(c, edges, grass, background);
}

} // namespace

void meadowGround(Canvas& c, unsigned edges)
{
    ground(c, edges, Grass, Earth, paintSky);
}

void nightGround(Canvas& c, unsigned edges)
{
    ground(c, edges, NightGrass, NightEarth, paintNightSky);
}

void floatingIsland(Canvas& c, bool night)
{
    const Ramp& earth = night ? NightEarth : Earth;
    const Rgb background = night ? Night : Sky;
    earthTexture(c, earth);
    // The island's rock narrows to a point under its grass.
    for (int y = 12; y < 32; ++y) {
        const int inset = (y - 12) * (y - 12) / 28 + (y - 12) / 2;
        for (int x = 0; x < 32; ++x) {
            if (x < inset || x > 31 - inset)
                c.set(x, y, background);
            else if (x == inset || x == 31 - inset || y == 31)
                c.set(x, y, earth.outline);
            else if (x == 31 - inset - 1 || (x > 31 - inset - 3 && y > 20))
                c.set(x, y, earth.shadow);
        }
    }
    for (int x = 0; x < 32; ++x)
        if (c.at(x, 30) != background && c.at(x, 31) == background)
            c.set(x, 30, earth.outline);
    grassCap(c, Left | Right, night ? NightGrass : Grass, night ? paintNightSky : paintSky);
}

void caveRock(Canvas& c, unsigned edges)
{
    stoneTexture(c, {{6, 7, 1.2, 1.0}, {21, 5, 1.4, 1.0, true}, {30, 17, 1.0, 1.2}, {13, 20, 1.3, 1.0},
                     {24, 27, 1.1, 0.9, true}, {4, 28, 1.0, 1.0, true}},
                 Rock, Rock.outline);
    exposeEdges(c, edges & ~Bottom, Rock, paintCaveWall);
    if (edges & Bottom) {
        roughUnderside(c, Rock);
        if (edges & Left)
            c.vline(0, 0, 31, Rock.outline);
        if (edges & Right)
            c.vline(31, 0, 31, Rock.outline);
        if (edges & (Left | Right))
            roundCorner(c, (edges & Right) != 0, true, paintCaveWall, Rock.outline, 3);
    }
}

void volcanicRock(Canvas& c, unsigned edges)
{
    const Rgb hotMortar = colour(0x6a1c12);
    stoneTexture(c, {{8, 6, 1.3, 1.0}, {24, 10, 1.2, 1.1, true}, {4, 21, 1.0, 1.1}, {17, 24, 1.3, 1.0},
                     {29, 28, 1.0, 0.9, true}},
                 Basalt, hotMortar);
    // Embers glowing in the cracks.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (c.at(x, y) == hotMortar && (x * 5 + y * 3) % 23 == 0)
                c.set(x, y, Lava.shadow);
    exposeEdges(c, edges, Basalt, paintVolcanoWall);
    if (edges & Top)
        for (int x = 2; x < 30; x += 7) {
            c.set(x, 1, Lava.base);
            c.set(x + 1, 1, Lava.light);
        }
}

void frozenRock(Canvas& c, unsigned edges)
{
    stoneTexture(c, {{7, 8, 1.3, 1.0}, {22, 6, 1.2, 1.0, true}, {29, 20, 1.0, 1.2}, {12, 22, 1.3, 1.1},
                     {21, 30, 1.1, 0.9, true}},
                 FrozenStone, FrozenStone.outline);
    exposeEdges(c, edges, FrozenStone, paintIceWall);
    if (edges & Top) {
        // A cap of snow with drips down the rock.
        static const int drip[32] = {4, 4, 5, 6, 5, 4, 4, 4, 5, 7, 8, 6, 4, 4, 5, 4,
                                     4, 4, 5, 6, 5, 4, 4, 5, 7, 6, 4, 4, 4, 5, 5, 4};
        for (int x = 0; x < 32; ++x) {
            for (int y = 1; y < drip[x]; ++y)
                c.set(x, y, y == 1 ? Snow.highlight : (y == drip[x] - 1 ? Snow.shadow : Snow.light));
            c.set(x, drip[x], FrozenStone.outline);
            c.set(x, 0, Snow.outline);
        }
        if (edges & Left)
            roundCorner(c, false, false, paintIceWall, Snow.outline);
        if (edges & Right)
            roundCorner(c, true, false, paintIceWall, Snow.outline);
    }
}

void sand(Canvas& c, bool top)
{
    c.fill(Sand.base);
    static const int ripples[][3] = {{3, 6, 7}, {18, 4, 8}, {10, 13, 9}, {24, 15, 6}, {2, 22, 8},
                                     {16, 24, 9}, {26, 28, 5}, {8, 29, 6}};
    for (const auto& r : ripples) {
        c.hline(r[0], r[0] + r[2] - 1, r[1], Sand.shadow);
        c.hline(r[0] + 1, r[0] + r[2] - 2, r[1] - 1, Sand.light);
    }
    static const int shells[][2] = {{13, 8}, {28, 21}, {5, 17}};
    for (const auto& s : shells) {
        c.set(s[0], s[1], Sand.highlight);
        c.set(s[0] + 1, s[1], colour(0xf4a8a0));
        c.set(s[0] + 1, s[1] + 1, Sand.outline);
    }
    if (top) {
        c.hline(0, 31, 1, Sand.highlight);
        c.hline(0, 31, 2, Sand.light);
        c.hline(0, 31, 0, Sand.outline);
    }
}

void stonePlatform(Canvas& c)
{
    brickTexture(c, Granite, Granite.outline, 16, 16);
    c.hline(0, 31, 0, Granite.outline);
    c.hline(0, 31, 1, Granite.highlight);
}

void endingStone(Canvas& c)
{
    bevelBlock(c, Granite);
    c.line(6, 9, 12, 13, Granite.shadow);
    c.line(12, 13, 14, 20, Granite.shadow);
    c.line(22, 22, 26, 25, Granite.shadow);
}

void viewingSpot(Canvas& c)
{
    stonePlatform(c);
    bevelBlock(c, Granite, 2, 2, 28, 28);
    // An inlaid full moon, the place to sit and watch the real one.
    c.ellipse(8, 7, 16, 16, Gold.outline);
    c.ellipse(9, 8, 14, 14, Moon.base);
    c.ellipse(9, 8, 11, 11, Moon.light);
    c.ellipse(10, 9, 6, 6, Moon.highlight);
    c.set(18, 17, Moon.shadow);
    c.set(19, 16, Moon.shadow);
    c.set(15, 19, Moon.shadow);
    // Pampas plumes carved either side.
    for (int x : {5, 26}) {
        c.vline(x, 12, 26, Granite.shadow);
        c.set(x - 1, 13, Granite.highlight);
        c.set(x + 1, 15, Granite.highlight);
        c.set(x - 1, 17, Granite.highlight);
    }
}

void roofTiles(Canvas& c, const Ramp& ramp, int eave)
{
    // Courses of curved tiles seen from the side, each course shifted by half a tile; every tile
    // ends in a round lip along the lower edge of its course.
    c.fill(ramp.base);
    for (int course = 0; course < 4; ++course) {
        const int top = 4 + course * 7;
        for (int x = 0; x < 32; ++x) {
            const int inTile = (x + (course % 2) * 4) % 8;
            for (int y = top; y < top + 7 && y < 32; ++y) {
                const int row = y - top;
                Rgb colour = row < 2 ? ramp.light : ramp.base;
                if (row >= 4) {
                    // The lip: round, lit on its upper left.
                    if (inTile == 0)
                        colour = ramp.outline;
                    else if (row == 4)
                        colour = inTile <= 3 ? ramp.highlight : ramp.light;
                    else if (row == 5)
                        colour = inTile <= 2 ? ramp.light : ramp.base;
                    else
                        colour = ramp.outline;
                } else if (inTile == 0 && row >= 2) {
                    colour = ramp.shadow;
                }
                c.set(x, y, colour);
            }
        }
    }
    // The ridge along the top.
    c.rect(0, 0, 32, 4, ramp.shadow);
    c.hline(0, 31, 1, ramp.light);
    c.hline(0, 31, 2, ramp.base);
    c.hline(0, 31, 0, ramp.outline);
    c.hline(0, 31, 4, ramp.outline);
    if (eave == 0)
        return;
    // The end of the roof: a sloping cut into the sky.
    for (int y = 0; y < 32; ++y) {
        const int edge = (31 - y) / 3;
        for (int x = 0; x < edge; ++x)
            c.set(eave < 0 ? x : 31 - x, y, Sky);
        c.set(eave < 0 ? edge : 31 - edge, y, ramp.outline);
        c.set(eave < 0 ? edge + 1 : 30 - edge, y, eave < 0 ? ramp.highlight : ramp.shadow);
    }
    // A raised end tile on the ridge.
    const int x0 = eave < 0 ? 10 : 16;
    c.rect(x0, 0, 6, 5, ramp.outline);
    c.rect(x0 + 1, 1, 4, 3, ramp.light);
    c.set(x0 + 1, 1, ramp.highlight);
}

void woodenFloor(Canvas& c)
{
    static const int joint[4] = {12, 27, 5, 20};
    for (int board = 0; board < 4; ++board) {
        const int top = board * 8;
        c.rect(0, top, 32, 8, Wood.base);
        c.hline(0, 31, top, Wood.highlight);
        c.hline(0, 31, top + 6, Wood.shadow);
        c.hline(0, 31, top + 7, Wood.outline);
        // Grain.
        c.hline((joint[board] + 4) % 32, (joint[board] + 11) % 32, top + 3, Wood.light);
        c.hline((joint[board] + 16) % 32, std::min(31, (joint[board] + 22) % 32 + 0), top + 4, Wood.shadow);
        const int j = joint[board];
        c.vline(j, top, top + 6, Wood.outline);
        c.vline(j + 1, top + 1, top + 5, Wood.highlight);
        c.set(j - 2, top + 2, Wood.outline);
        c.set(j + 3, top + 4, Wood.outline);
    }
}

void villageStoneWall(Canvas& c)
{
    stoneTexture(c, {{5, 5, 1.4, 1.0}, {18, 4, 1.2, 1.0, true}, {28, 9, 1.0, 1.1}, {10, 15, 1.3, 1.0, true},
                     {24, 19, 1.4, 1.0}, {4, 25, 1.1, 1.0}, {16, 28, 1.3, 0.9, true}, {28, 29, 1.0, 0.9}},
                 WallStone, WallStone.outline, 1.2);
}

void crate(Canvas& c)
{
    bevelBlock(c, Wood);
    c.rect(4, 4, 24, 24, Wood.shadow);
    for (int x = 4; x < 28; x += 6) {
        c.rect(x, 4, 5, 24, Wood.base);
        c.vline(x, 4, 27, Wood.light);
        c.vline(x + 5, 4, 27, Wood.outline);
    }
    c.hline(4, 27, 4, Wood.outline);
    c.hline(4, 27, 27, Wood.outline);
    // The brace across the planks.
    for (int i = 0; i < 24; ++i) {
        c.set(4 + i, 27 - i, Wood.outline);
        c.set(4 + i, 26 - i, Wood.light);
        c.set(5 + i, 27 - i, Wood.shadow);
    }
    for (int x : {2, 29})
        for (int y : {2, 29})
            c.set(x, y, Steel.shadow);
}

void storehouseWall(Canvas& c)
{
    // Square grey tiles set on their corners, with raised white plaster seams.
    const Ramp& tile = RoofTile;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int u = (x + y) % 16;
            const int v = (x - y + 32) % 16;
            Rgb colour = tile.base;
            if (u == 0 || v == 0)
                colour = Plaster.highlight;
            else if (u == 1 || v == 1)
                colour = Plaster.base;
            else if (u == 15 || v == 15)
                colour = tile.shadow;
            else if (u == 2 || v == 2)
                colour = tile.light;
            c.set(x, y, colour);
        }
}

void ruinStones(Canvas& c)
{
    // Old blocks, worn at the corners, with moss on some ledges and a crack or two.
    brickTexture(c, Ruin, Ruin.outline, 16, 16);
    for (const auto& m : {std::array<int, 3>{1, 0, 9}, {18, 16, 7}, {9, 16, 4}})
        for (int i = 0; i < m[2]; ++i) {
            c.set(m[0] + i, m[1], Moss.base);
            c.set(m[0] + i, m[1] + 1, i % 3 ? Moss.light : Moss.shadow);
            if (i % 4 == 1)
                c.set(m[0] + i, m[1] + 2, Moss.shadow);
        }
    c.line(22, 3, 25, 9, Ruin.outline);
    c.line(25, 9, 24, 13, Ruin.outline);
    c.line(4, 20, 7, 26, Ruin.outline);
    for (int x : {0, 15, 16, 31})
        for (int y : {0, 15, 16, 31})
            c.set(x, y, Ruin.outline);
    c.set(8, 0, Ruin.outline);
    c.set(24, 16, Ruin.outline);
}

void boulder(Canvas& c)
{
    caveRock(c, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = (x - 15.5) / 16.0;
            const double dy = (y - 15.5) / 16.0;
            const double d = dx * dx * dx * dx + dy * dy * dy * dy;
            if (d > 0.9)
                c.set(x, y, backgroundAt(paintCaveWall, x, y));
            else if (d > 0.62)
                c.set(x, y, Rock.outline);
            else if (d > 0.42 && (x + y > 31))
                c.set(x, y, Rock.shadow);
            else if (d > 0.42)
                c.set(x, y, Rock.light);
        }
    c.ellipse(7, 6, 7, 4, Rock.highlight);
}

void castleWall(Canvas& c, bool top, bool slit)
{
    brickTexture(c, Ashlar, Ashlar.shadow, 16, 8);
    if (top) {
        bevelBlock(c, Granite, 0, 0, 32, 8);
        c.rect(0, 8, 32, 2, Ashlar.shadow);
        c.hline(0, 31, 0, Granite.outline);
        c.vline(0, 1, 6, Granite.light);
        c.vline(31, 1, 6, Granite.shadow);
    }
    if (slit) {
        c.rect(13, 6, 6, 20, Ashlar.outline);
        c.rect(14, 7, 4, 18, Ink);
        c.vline(12, 6, 25, Ashlar.shadow);
        c.vline(19, 6, 26, Ashlar.highlight);
        c.hline(13, 19, 26, Ashlar.highlight);
        c.rect(10, 14, 12, 3, Ashlar.outline);
        c.rect(11, 15, 10, 1, Ink);
    }
}

void castleFloor(Canvas& c)
{
    static const int joint[4] = {20, 6, 26, 13};
    for (int board = 0; board < 4; ++board) {
        const int top = board * 8;
        c.rect(0, top, 32, 8, Timber.base);
        c.hline(0, 31, top, Timber.light);
        c.hline(0, 31, top + 6, Timber.shadow);
        c.hline(0, 31, top + 7, Timber.outline);
        c.vline(joint[board], top, top + 6, Timber.outline);
        c.hline((joint[board] + 5) % 32, (joint[board] + 5) % 32 + 6, top + 2, Timber.highlight);
    }
    c.hline(0, 31, 0, Timber.outline);
    c.hline(0, 31, 1, Timber.highlight);
}

void castlePillar(Canvas& c)
{
    paintCastleInside(c);
    c.rect(6, 0, 20, 32, Lacquer.base);
    c.vline(6, 0, 31, Lacquer.outline);
    c.vline(25, 0, 31, Lacquer.outline);
    c.vline(7, 0, 31, Lacquer.light);
    c.vline(8, 0, 31, Lacquer.highlight);
    c.vline(9, 0, 31, Lacquer.light);
    c.vline(22, 0, 31, Lacquer.shadow);
    c.vline(23, 0, 31, Lacquer.shadow);
    c.vline(24, 0, 31, Lacquer.outline);
    // A gilded band.
    c.rect(6, 12, 20, 5, Gold.base);
    c.hline(6, 25, 12, Gold.outline);
    c.hline(6, 25, 16, Gold.outline);
    c.hline(7, 24, 13, Gold.highlight);
    c.hline(7, 24, 15, Gold.shadow);
    for (int x = 9; x < 24; x += 4)
        c.set(x, 14, Gold.outline);
}

void foundationStones(Canvas& c)
{
    stoneTexture(c, {{8, 6, 1.6, 1.0}, {25, 5, 1.3, 1.1, true}, {3, 19, 1.2, 1.2, true}, {18, 19, 1.5, 1.1},
                     {30, 28, 1.2, 1.0}, {11, 30, 1.4, 0.8, true}},
                 Granite, Granite.outline, 1.3);
}

void obsidian(Canvas& c)
{
    bevelBlock(c, Obsidian);
    for (int i = 0; i < 12; ++i) {
        c.set(6 + i, 20 - i, Obsidian.light);
        c.set(7 + i, 20 - i, Obsidian.highlight);
        c.set(16 + i / 2, 26 - i, Obsidian.light);
    }
    c.line(4, 26, 10, 21, Obsidian.shadow);
}

void gardenBlock(Canvas& c)
{
    bevelBlock(c, Granite);
    // Moss over the top, and a carved flower: the block the garden's secret was hiding.
    static const int moss[32] = {5, 6, 5, 4, 4, 5, 7, 8, 6, 4, 3, 4, 5, 5, 4, 3,
                                 4, 6, 7, 6, 4, 4, 5, 5, 4, 3, 4, 6, 8, 7, 5, 4};
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < moss[x]; ++y)
            c.set(x, y, y == 1 ? Moss.highlight : (y == moss[x] - 1 ? Moss.shadow : Moss.base));
        c.set(x, 0, Moss.outline);
    }
    c.vline(0, 0, 31, Granite.outline);
    c.vline(31, 0, 31, Granite.outline);
    const int cx = 16;
    const int cy = 19;
    for (const auto& d : {std::pair{0, -4}, {4, 0}, {0, 4}, {-4, 0}}) {
        c.ellipse(cx + d.first - 2, cy + d.second - 2, 5, 5, Granite.shadow);
        c.set(cx + d.first - 1, cy + d.second - 1, Granite.highlight);
    }
    c.ellipse(cx - 2, cy - 2, 5, 5, FlowerYellowDark);
    c.set(cx - 1, cy - 1, FlowerYellow);
}

void cloudPlatform(Canvas& c, int end)
{
    paintNightSky(c);
    const Ramp& r = NightCloud;
    // Puffs along the top; a flat, shaded underside.
    static const int puffs[][3] = {{5, 9, 7}, {16, 7, 8}, {27, 9, 7}};
    c.rect(0, 10, 32, 22, r.base);
    for (const auto& p : puffs) {
        c.ellipse(p[0] - p[2], p[1] - p[2], p[2] * 2 + 1, p[2] * 2 + 1, r.outline);
        c.ellipse(p[0] - p[2] + 1, p[1] - p[2] + 1, p[2] * 2 - 1, p[2] * 2 - 1, r.light);
        c.ellipse(p[0] - p[2] + 2, p[1] - p[2] + 2, p[2], p[2], r.highlight);
    }
    c.rect(0, 12, 32, 14, r.light);
    for (const auto& p : puffs)
        c.ellipse(p[0] - p[2] + 1, p[1] - p[2] + 1, p[2] * 2 - 1, p[2] * 2 - 1, r.light),
            c.ellipse(p[0] - p[2] + 2, p[1] - p[2] + 2, p[2], p[2], r.highlight);
    c.rect(0, 22, 32, 10, r.base);
    c.rect(0, 27, 32, 4, r.shadow);
    c.hline(0, 31, 31, r.outline);
    static const int scallop[32] = {0, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0,
                                    1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0};
    for (int x = 0; x < 32; ++x)
        if (scallop[x])
            c.set(x, 22, r.shadow);
    if (end == 0)
        return;
    const bool right = end > 0;
    for (int y = 0; y < 32; ++y) {
        const double dy = (y - 15.5) / 16.0;
        const int inset = static_cast<int>(std::round(12.0 * (1.0 - std::sqrt(std::max(0.0, 1.0 - dy * dy)))));
        for (int x = 0; x < inset; ++x)
            c.set(right ? 31 - x : x, y, Night);
        if (c.at(right ? 31 - inset : inset, y) != Night)
            c.set(right ? 31 - inset : inset, y, r.outline);
    }
}

void marbleBlock(Canvas& c)
{
    brickTexture(c, Marble, Marble.shadow, 32, 16);
    c.line(4, 6, 11, 9, Marble.base);
    c.line(11, 9, 15, 8, Marble.base);
    c.line(18, 22, 26, 27, Marble.base);
    c.hline(0, 31, 0, Marble.outline);
}

void marbleColumn(Canvas& c, bool top)
{
    paintNightSky(c);
    const Ramp& r = Marble;
    c.rect(7, 0, 18, 32, r.base);
    for (int x : {10, 14, 18, 22})
        c.vline(x, 0, 31, r.shadow);
    for (int x : {8, 11, 15, 19})
        c.vline(x, 0, 31, r.light);
    c.vline(9, 0, 31, r.highlight);
    c.vline(23, 0, 31, r.shadow);
    c.vline(6, 0, 31, r.outline);
    c.vline(25, 0, 31, r.outline);
    if (!top)
        return;
    // The capital, broken off on the right.
    bevelBlock(c, r, 2, 0, 28, 9);
    c.rect(3, 9, 26, 2, r.shadow);
    c.hline(3, 28, 11, r.outline);
    static const int broken[][2] = {{27, 0}, {28, 0}, {29, 0}, {28, 1}, {29, 1}, {29, 2}, {20, 0}, {21, 0}};
    for (const auto& b : broken)
        c.set(b[0], b[1], Night);
    c.set(26, 1, r.outline);
    c.set(27, 2, r.outline);
    c.set(28, 3, r.outline);
    c.set(19, 1, r.outline);
    c.set(22, 1, r.outline);
    c.set(20, 1, r.outline);
    c.set(21, 1, r.outline);
}

void treeTrunk(Canvas& c)
{
    c.fill(Bark.base);
    static const int grain[][3] = {{3, 0, 12}, {3, 18, 31}, {8, 5, 24}, {13, 0, 9}, {13, 14, 31},
                                   {19, 3, 20}, {24, 0, 14}, {24, 22, 31}, {28, 8, 27}};
    for (const auto& g : grain) {
        c.vline(g[0], g[1], g[2], Bark.shadow);
        c.vline(g[0] + 1, g[1] + 1, g[2] - 1, Bark.light);
    }
    c.rect(0, 0, 2, 32, Bark.highlight);
    c.rect(29, 0, 3, 32, Bark.shadow);
    c.vline(31, 0, 31, Bark.outline);
    c.vline(0, 0, 31, Bark.outline);
    // A knot.
    c.ellipse(16, 21, 6, 7, Bark.outline);
    c.ellipse(17, 22, 4, 5, Bark.shadow);
    c.set(17, 22, Bark.light);
}

void leafBlock(Canvas& c)
{
    leafTexture(c, Leaves);
}

void scaffold(Canvas& c)
{
    paintSky(c);
    const Ramp& r = Wood;
    for (int i = 0; i < 32; ++i) {
        for (int t = -2; t <= 1; ++t) {
            c.set(i, i + t, t == -2 ? r.outline : (t == 1 ? r.outline : r.base));
            c.set(i, 31 - i + t, t == -2 ? r.outline : (t == 1 ? r.outline : r.light));
        }
    }
    auto beam = [&](int x, int y, int w, int h) {
        c.rect(x, y, w, h, r.base);
        c.rect(x, y, w, 1, r.highlight);
        c.rect(x, y, 1, h, r.light);
        c.rect(x, y + h - 1, w, 1, r.outline);
        c.rect(x + w - 1, y, 1, h, r.shadow);
    };
    beam(0, 0, 32, 5);
    beam(0, 0, 5, 32);
    beam(27, 0, 5, 32);
    c.hline(0, 31, 0, r.outline);
    for (int x : {2, 29}) {
        c.set(x, 2, Steel.shadow);
        c.set(x, 16, Steel.shadow);
    }
}

void tatami(Canvas& c)
{
    c.fill(TatamiRush.base);
    for (int y = 6; y < 32; y += 2)
        c.hline(0, 31, y, (y / 2) % 2 ? TatamiRush.light : TatamiRush.shadow);
    c.rect(0, 0, 32, 6, colour(0x2a3a5a));
    c.hline(0, 31, 1, colour(0x4a5a7e));
    for (int x = 1; x < 32; x += 4)
        c.set(x, 3, colour(0x8a9ab8));
    c.hline(0, 31, 0, Ink);
    c.hline(0, 31, 6, TatamiRush.outline);
}

void redBricks(Canvas& c)
{
    brickTexture(c, Brick, Brick.outline, 16, 8);
}

void steelBlock(Canvas& c)
{
    bevelBlock(c, Steel);
    for (int x : {4, 26})
        for (int y : {4, 26}) {
            c.rect(x, y, 2, 2, Steel.shadow);
            c.set(x, y, Steel.highlight);
        }
    c.line(8, 22, 22, 8, Steel.light);
    c.line(9, 22, 22, 9, Steel.highlight);
}

void hayBale(Canvas& c)
{
    bevelBlock(c, Straw);
    static const int strokes[][3] = {{3, 5, 8}, {12, 7, 6}, {20, 4, 9}, {5, 12, 7}, {16, 14, 8}, {24, 11, 5},
                                     {3, 19, 9}, {14, 21, 6}, {22, 18, 7}, {6, 26, 7}, {17, 27, 9}};
    for (const auto& s : strokes) {
        c.hline(s[0], s[0] + s[2], s[1], Straw.shadow);
        c.hline(s[0] + 1, s[0] + s[2] - 1, s[1] - 1, Straw.light);
    }
    for (int x : {9, 22}) {
        c.vline(x, 1, 30, Timber.base);
        c.vline(x + 1, 1, 30, Timber.shadow);
    }
}

void stoneLedge(Canvas& c)
{
    bevelBlock(c, Ashlar);
    c.hline(3, 28, 16, Ashlar.shadow);
    c.hline(3, 28, 17, Ashlar.light);
    c.line(20, 4, 23, 9, Ashlar.shadow);
}

void teaHouseWall(Canvas& c)
{
    // Earthen plaster between a post and a rail: wall after wall makes a row of panels.
    c.fill(Clay.base);
    static const int specks[][2] = {{9, 5}, {15, 11}, {22, 4}, {11, 22}, {20, 26}, {26, 19}, {27, 9}};
    for (const auto& s : specks) {
        c.set(s[0], s[1], Clay.shadow);
        c.set(s[0] + 1, s[1], Clay.light);
    }
    c.rect(0, 0, 5, 32, Timber.base);
    c.vline(0, 0, 31, Timber.light);
    c.vline(4, 0, 31, Timber.outline);
    c.vline(5, 0, 31, Clay.shadow);
    c.rect(5, 14, 27, 4, Timber.base);
    c.hline(5, 31, 14, Timber.light);
    c.hline(5, 31, 17, Timber.outline);
    c.hline(5, 31, 18, Clay.shadow);
    c.hline(0, 31, 0, Timber.outline);
}

void shingles(Canvas& c)
{
    for (int row = 0; row < 4; ++row) {
        const int top = row * 8;
        const int shift = (row % 2) * 4;
        for (int y = top; y < top + 8; ++y)
            for (int x = 0; x < 32; ++x) {
                const int inX = (x + shift) % 8;
                Rgb colour = Wood.shadow;
                if (inX == 0)
                    colour = Wood.outline;
                else if (inX == 1)
                    colour = Wood.base;
                else if (y - top >= 6)
                    colour = Wood.outline;
                else if (y == top)
                    colour = Wood.base;
                c.set(x, y, colour);
            }
        for (int x = (8 - shift) % 8 + 3; x < 32; x += 8)
            c.set(x, top + 2, Wood.base);
    }
    c.hline(0, 31, 0, Wood.outline);
}

void mushroomCap(Canvas& c)
{
    c.fill(Mushroom.base);
    c.hline(0, 31, 0, Mushroom.outline);
    c.hline(0, 31, 1, Mushroom.highlight);
    c.hline(0, 31, 2, Mushroom.light);
    c.rect(0, 22, 32, 3, Mushroom.shadow);
    c.hline(0, 31, 25, Mushroom.outline);
    c.rect(0, 26, 32, 6, Stem.light);
    for (int x = 1; x < 32; x += 3)
        c.vline(x, 27, 31, Stem.shadow);
    c.hline(0, 31, 26, Stem.base);
    static const int spots[][3] = {{3, 5, 6}, {16, 9, 8}, {26, 4, 5}, {8, 15, 5}, {25, 14, 6}};
    for (const auto& s : spots) {
        c.ellipse(s[0], s[1], s[2], s[2] - 1, Stem.highlight);
        c.hline(s[0] + 1, s[0] + s[2] - 2, s[1] + s[2] - 2, Stem.base);
    }
}

void mushroomStem(Canvas& c)
{
    paintCaveWall(c);
    c.rect(9, 0, 14, 32, Stem.base);
    c.vline(9, 0, 31, Stem.outline);
    c.vline(22, 0, 31, Stem.outline);
    c.vline(10, 0, 31, Stem.highlight);
    c.vline(11, 0, 31, Stem.light);
    c.vline(20, 0, 31, Stem.shadow);
    c.vline(21, 0, 31, Stem.shadow);
    c.vline(15, 4, 12, Stem.shadow);
    c.vline(17, 18, 27, Stem.shadow);
}

void crystalBlock(Canvas& c)
{
    caveRock(c, 0);
    struct Shard {
        int x, top, bottom, w;
    };
    static const Shard shards[] = {{5, 6, 24, 5}, {12, 2, 22, 6}, {20, 8, 26, 5}, {26, 13, 28, 4}};
    for (const Shard& s : shards) {
        for (int y = s.top; y <= s.bottom; ++y) {
            const int half = std::min(s.w / 2, (y - s.top) / 2 + 1);
            const int mid = s.x + s.w / 2;
            for (int x = mid - half; x <= mid + half; ++x) {
                Rgb colour = x < mid ? Amethyst.light : (x == mid ? Amethyst.base : Amethyst.shadow);
                if (x == mid - half || x == mid + half)
                    colour = Amethyst.outline;
                c.set(x, y, colour);
            }
        }
        c.set(s.x + s.w / 2 - 1, s.top + 4, Amethyst.highlight);
        c.set(s.x + s.w / 2 - 1, s.top + 5, Amethyst.highlight);
    }
}

void snowBlock(Canvas& c)
{
    brickTexture(c, Snow, Snow.shadow, 16, 16);
    c.hline(0, 31, 0, Snow.outline);
    c.set(6, 6, Ice.light);
    c.set(22, 22, Ice.light);
}

void crumblingBlock(Canvas& c, bool marble, int wear)
{
    const Ramp& r = marble ? Marble : Sandstone;
    bevelBlock(c, r);
    c.hline(2, 29, 15, r.shadow);
    c.hline(2, 29, 16, r.light);
    // Cracks that spread with every step of wear, then chunks that fall away.
    struct Crack {
        int x0, y0, x1, y1, from;
    };
    static const Crack cracks[] = {
        {20, 1, 17, 7, 0},  {17, 7, 19, 14, 1}, {8, 17, 12, 23, 1}, {12, 23, 9, 30, 2},  {3, 9, 10, 11, 2},
        {19, 14, 26, 19, 2}, {26, 19, 30, 18, 3}, {12, 23, 20, 26, 3}, {10, 11, 13, 4, 3}, {4, 24, 9, 30, 3},
    };
    for (const Crack& k : cracks)
        if (k.from <= wear) {
            c.line(k.x0, k.y0, k.x1, k.y1, r.outline);
            c.line(k.x0 + 1, k.y0, k.x1 + 1, k.y1, r.highlight);
        }
    if (wear >= 2) {
        // The top right corner has broken off.
        for (int y = 0; y < 6; ++y)
            for (int x = 26 + y; x < 32; ++x)
                c.set(x, y, r.outline);
        c.line(25, 0, 31, 6, r.outline);
        c.line(25, 1, 30, 6, r.shadow);
    }
    if (wear >= 3) {
        // Holes where pieces fell out.
        c.ellipse(4, 3, 6, 5, r.outline);
        c.ellipse(5, 4, 4, 3, Ink);
        c.ellipse(21, 21, 7, 6, r.outline);
        c.ellipse(22, 22, 5, 4, Ink);
        for (int y = 26; y < 32; ++y)
            for (int x = 0; x < 32 - y; ++x)
                c.set(x, y, r.outline);
        c.line(0, 25, 6, 31, r.outline);
    }
}

} // namespace poronpa::art::tiles
