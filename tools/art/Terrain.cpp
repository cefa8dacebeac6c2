#include "Terrain.h"

#include <cmath>
#include <limits>
#include <map>
#include <optional>

namespace poronpa::art {

using namespace palette;

namespace {

double wrappedDistance(int a, int b, int size)
{
    const int d = std::abs(a - b) % size;
    return std::min(d, size - d);
}

} // namespace

void stoneTexture(Canvas& c, const std::vector<Seed>& seeds, const Ramp& ramp, Rgb mortar, double gap)
{
    const int w = c.width();
    const int h = c.height();
    std::vector<int> region(static_cast<std::size_t>(w * h), -1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double best = std::numeric_limits<double>::max();
            double second = best;
            int bestIndex = -1;
            for (std::size_t i = 0; i < seeds.size(); ++i) {
                const double dx = wrappedDistance(x, seeds[i].x, w) / seeds[i].sx;
                const double dy = wrappedDistance(y, seeds[i].y, h) / seeds[i].sy;
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d < best) {
                    second = best;
                    best = d;
                    bestIndex = static_cast<int>(i);
                } else if (d < second) {
                    second = d;
                }
            }
            region[static_cast<std::size_t>(y * w + x)] = second - best < gap ? -1 : bestIndex;
        }
    auto at = [&](int x, int y) { return region[static_cast<std::size_t>(((y + h) % h) * w + (x + w) % w)]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int r = at(x, y);
            if (r < 0) {
                c.set(x, y, mortar);
                continue;
            }
            const bool litTop = at(x, y - 1) != r;
            const bool litLeft = at(x - 1, y) != r;
            const bool darkBottom = at(x, y + 1) != r;
            const bool darkRight = at(x + 1, y) != r || at(x + 1, y + 1) != r;
            Rgb colour = seeds[static_cast<std::size_t>(r)].alt ? ramp.light : ramp.base;
            if (litTop && litLeft)
                colour = ramp.highlight;
            else if (litTop || litLeft)
                colour = ramp.light == colour ? ramp.highlight : ramp.light;
            else if (darkBottom || darkRight)
                colour = ramp.shadow;
            c.set(x, y, colour);
        }
}

void brickTexture(Canvas& c, const Ramp& ramp, Rgb mortar, int brickWidth, int brickHeight)
{
    for (int y = 0; y < c.height(); ++y) {
        const int course = y / brickHeight;
        const int inY = y % brickHeight;
        for (int x = 0; x < c.width(); ++x) {
            const int shifted = x + (course % 2) * brickWidth / 2;
            const int inX = shifted % brickWidth;
            // Some bricks a shade darker or lighter, in a pattern that repeats with the cell.
            const int brick = (shifted / brickWidth) % (c.width() / brickWidth) + course * 3;
            Rgb colour = brick % 5 == 1 ? mix(ramp.base, ramp.shadow, 0.5)
                                        : (brick % 5 == 3 ? mix(ramp.base, ramp.light, 0.5) : ramp.base);
            if (inY == brickHeight - 1 || inX == brickWidth - 1)
                colour = mortar;
            else if (inY == 0 || inX == 0)
                colour = ramp.light;
            else if (inY == brickHeight - 2 || inX == brickWidth - 2)
                colour = ramp.shadow;
            c.set(x, y, colour);
        }
    }
}

void earthTexture(Canvas& c, const Ramp& earth)
{
    c.fill(earth.base);
    // Pebbles and specks placed by hand, kept off the edges so that neighbours join.
    static const int pebbles[][4] = {{4, 4, 4, 3},  {20, 3, 3, 2}, {25, 12, 5, 3}, {11, 13, 3, 2},
                                     {3, 20, 3, 2}, {16, 21, 5, 3}, {27, 25, 3, 2}, {8, 27, 4, 2}};
    for (const auto& p : pebbles) {
        c.ellipse(p[0], p[1], p[2], p[3], earth.light);
        c.hline(p[0] + 1, p[0] + p[2] - 1, p[1] + p[3], earth.shadow);
        c.set(p[0] + 1, p[1], earth.highlight);
    }
    static const int specks[][2] = {{14, 7}, {29, 5}, {8, 9}, {21, 16}, {2, 14}, {12, 24}, {24, 20}, {29, 30},
                                    {18, 29}, {6, 31}};
    for (const auto& s : specks)
        c.set(s[0], s[1], earth.shadow);
}

void exposeEdges(Canvas& c, unsigned edges, const Ramp& ramp, Background background)
{
    const int w = c.width() - 1;
    const int h = c.height() - 1;
    if (edges & Top) {
        c.hline(0, w, 1, ramp.light);
        c.hline(0, w, 0, ramp.outline);
    }
    if (edges & Bottom) {
        c.hline(0, w, h - 1, ramp.shadow);
        c.hline(0, w, h, ramp.outline);
    }
    if (edges & Left) {
        c.vline(1, (edges & Top) ? 1 : 0, h, ramp.light);
        c.vline(0, 0, h, ramp.outline);
    }
    if (edges & Right) {
        c.vline(w - 1, (edges & Top) ? 1 : 0, (edges & Bottom) ? h - 1 : h, ramp.shadow);
        c.vline(w, 0, h, ramp.outline);
    }
    if ((edges & Top) && (edges & Left))
        roundCorner(c, false, false, background, ramp.outline);
    if ((edges & Top) && (edges & Right))
        roundCorner(c, true, false, background, ramp.outline);
    if ((edges & Bottom) && (edges & Left))
        roundCorner(c, false, true, background, ramp.outline);
    if ((edges & Bottom) && (edges & Right))
        roundCorner(c, true, true, background, ramp.outline);
}

void roundCorner(Canvas& c, bool right, bool bottom, Background background, Rgb outline, int radius)
{
    const int w = c.width() - 1;
    const int h = c.height() - 1;
    auto px = [&](int x, int y, std::optional<Rgb> colour) {
        const int cx = right ? w - x : x;
        const int cy = bottom ? h - y : y;
        c.set(cx, cy, colour ? *colour : backgroundAt(background, cx, cy));
    };
    // A quarter circle of the given radius: clear what lies outside it, outline its rim.
    for (int y = 0; y <= radius; ++y)
        for (int x = 0; x <= radius; ++x) {
            const int dx = radius - x;
            const int dy = radius - y;
            const int d2 = dx * dx + dy * dy;
            const int r2 = radius * radius;
            if (d2 > r2 + radius)
                px(x, y, std::nullopt);
            else if (d2 >= r2 - radius)
                px(x, y, outline);
        }
}

void grassCap(Canvas& c, unsigned edges, const Ramp& grass, Background background)
{
    // Depth of the grass at each column: an uneven fringe that repeats every cell.
    static const int depth[32] = {7, 8, 8, 9, 8, 7, 7, 8, 9, 10, 9, 8, 7, 7, 8, 8,
                                  9, 8, 7, 8, 9, 9, 10, 9, 8, 7, 7, 8, 9, 8, 8, 7};
    static const bool blade[32] = {0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                                   0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0};
    const int w = c.width();
    for (int x = 0; x < w; ++x) {
        int d = depth[x % 32];
        // Round an exposed side: the grass runs down it a little way.
        if ((edges & Left) && x < 3)
            d = 13 - x * 2;
        if ((edges & Right) && x > w - 4)
            d = 13 - (w - 1 - x) * 2;
        for (int y = 0; y < d; ++y) {
            Rgb colour = grass.base;
            if (y == 1)
                colour = grass.highlight;
            else if (y == 2 || (blade[x % 32] && y < d - 3))
                colour = grass.light;
            else if (y == d - 1)
                colour = grass.shadow;
            c.set(x, y, colour);
        }
        c.set(x, d, grass.outline);
        c.set(x, 0, grass.outline);
    }
    if (edges & Left) {
        c.vline(0, 0, 13, grass.outline);
        c.vline(1, 1, 11, grass.light);
        roundCorner(c, false, false, background, grass.outline);
    }
    if (edges & Right) {
        c.vline(w - 1, 0, 13, grass.outline);
        c.vline(w - 2, 2, 11, grass.shadow);
        roundCorner(c, true, false, background, grass.outline);
    }
}

void leafTexture(Canvas& c, const Ramp& leaves)
{
    c.fill(leaves.shadow);
    // Clusters of different sizes placed by hand, so that the repeat is not obvious.
    static const int clusters[][3] = {{3, 3, 5},   {13, 1, 6},  {24, 4, 6},  {8, 12, 5},  {19, 11, 6}, {30, 14, 5},
                                      {2, 21, 6},  {13, 21, 7}, {25, 23, 5}, {8, 29, 4},  {20, 30, 5}, {30, 29, 4}};
    for (const auto& k : clusters) {
        const int r = k[2];
        for (int y = -r - 1; y <= r + 1; ++y)
            for (int x = -r - 1; x <= r + 1; ++x) {
                const double d = std::sqrt(double(x * x + y * y));
                if (d > r + 0.5)
                    continue;
                const double lit = std::sqrt(double((x + 3) * (x + 3) + (y + 3) * (y + 3)));
                Rgb colour = leaves.base;
                if (d > r - 0.6)
                    colour = leaves.outline;
                else if (lit < 2.5)
                    colour = leaves.highlight;
                else if (lit < r - 1.0)
                    colour = leaves.light;
                else if (x + y > r - 2)
                    colour = leaves.shadow;
                c.setWrapped(k[0] + x, k[1] + y, colour);
            }
    }
}

Rgb mix(Rgb from, Rgb to, double amount)
{
    auto channel = [&](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * amount)); };
    return qRgb(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)), channel(qBlue(from), qBlue(to)));
}

void paintSky(Canvas& c)
{
    c.fill(Sky);
}

void paintNightSky(Canvas& c)
{
    c.fill(Night);
}

void paintCaveWall(Canvas& c)
{
    // Broad, low slabs in tones close together: rock far behind, with none of the lit cobbles of
    // the rock in front.
    stoneTexture(c,
                 {{8, 5, 2.4, 1.0}, {26, 9, 2.0, 1.0, true}, {4, 17, 2.2, 0.9, true}, {20, 21, 2.6, 1.0},
                  {12, 28, 2.2, 0.8, true}, {29, 29, 1.8, 0.8}},
                 CaveWall, CaveWall.outline, 1.0);
}

void paintCliffFace(Canvas& c)
{
    // Layered sandstone: long flat slabs, low in contrast because it stands behind the hero.
    stoneTexture(c,
                 {{6, 3, 2.2, 0.7}, {24, 5, 2.0, 0.7, true}, {14, 12, 2.4, 0.7, true}, {30, 14, 1.8, 0.7},
                  {5, 21, 2.0, 0.7}, {21, 22, 2.2, 0.7, true}, {12, 29, 2.0, 0.7}, {28, 30, 1.8, 0.7, true}},
                 Cliff, Cliff.outline, 1.0);
}

void paintCastleInside(Canvas& c)
{
    // Large dim blocks with thin joints: the hall's far wall, flatter than the walls one stands on.
    for (int y = 0; y < c.height(); ++y) {
        const int course = y / 8;
        for (int x = 0; x < c.width(); ++x) {
            const int shifted = (x + (course % 2) * 8) % 32;
            Rgb colour = (shifted / 16 + course) % 3 == 1 ? CastleInside.light : CastleInside.base;
            if (y % 8 == 7 || shifted % 16 == 15)
                colour = CastleInside.outline;
            else if (y % 8 == 6)
                colour = CastleInside.shadow;
            c.set(x, y, colour);
        }
    }
}

void paintHouseWall(Canvas& c)
{
    c.fill(Plaster.light);
    for (int y = 0; y < 28; ++y)
        for (int x = 4; x < 32; ++x)
            if ((x * 7 + y * 13) % 23 == 0)
                c.set(x, y, Plaster.base);
    c.rect(0, 0, 4, 32, Timber.base);
    c.vline(0, 0, 31, Timber.light);
    c.vline(3, 0, 31, Timber.shadow);
    c.rect(0, 28, 32, 4, Timber.base);
    c.hline(0, 31, 28, Timber.light);
    c.hline(0, 31, 31, Timber.shadow);
    c.hline(4, 31, 0, Plaster.base);
    c.vline(4, 0, 27, Plaster.base);
}

void paintIceWall(Canvas& c)
{
    // Dim blue ice with long frozen streaks running down it, and a few faint glints.
    c.fill(IceWall.base);
    static const int streaks[][3] = {{2, 0, 31}, {9, 4, 20}, {13, 14, 31}, {19, 0, 11}, {23, 8, 27}, {29, 18, 31},
                                     {29, 0, 6}};
    for (const auto& s : streaks) {
        c.vline(s[0], s[1], s[2], IceWall.light);
        c.vline(s[0] + 1, s[1], s[2], IceWall.shadow);
    }
    static const int glints[][2] = {{9, 6}, {23, 10}, {2, 22}, {13, 25}};
    for (const auto& g : glints)
        c.set(g[0], g[1], IceWall.highlight);
}

void paintVolcanoWall(Canvas& c)
{
    // Layers of dark ash and rock, gently bent, that tile from cell to cell.
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const double phase = x * 2.0 * 3.14159265 / 32.0;
            const int bent = (y + static_cast<int>(std::lround(1.5 * std::sin(phase + y / 8)))) & 31;
            const int layer = bent / 8;
            Rgb colour = layer % 2 ? VolcanoWall.light : VolcanoWall.base;
            if (bent % 8 == 7)
                colour = VolcanoWall.outline;
            else if (bent % 8 == 6)
                colour = VolcanoWall.shadow;
            c.set(x, y, colour);
        }
}

Rgb backgroundAt(Background background, int x, int y)
{
    static std::map<Background, QImage> pictures;
    auto found = pictures.find(background);
    if (found == pictures.end()) {
        QImage picture = blankImage(32, 32, PureBlack);
        Canvas canvas(picture);
        background(canvas);
        found = pictures.emplace(background, picture).first;
    }
    return found->second.pixel(x & 31, y & 31) | 0xFF000000u;
}

} // namespace poronpa::art
