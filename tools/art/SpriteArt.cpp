#include "SpriteArt.h"

#include "Palette.h"
#include "Terrain.h"
#include "TileArt.h"
#include "world/SheetCells.h"

#include <cmath>
#include <initializer_list>

namespace poronpa::art {

using namespace palette;

namespace {

constexpr int Cell = sheet::CellSize;

Picture clearCell()
{
    return Picture{Cell, Cell, std::vector<Rgb>(static_cast<std::size_t>(Cell * Cell), Clear)};
}

void put(Picture& p, int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < p.width && y < p.height && qAlpha(c) != 0)
        p.pixels[static_cast<std::size_t>(y * p.width + x)] = c;
}

void lay(Picture& target, const Picture& part, int x, int y)
{
    for (int j = 0; j < part.height; ++j)
        for (int i = 0; i < part.width; ++i)
            put(target, x + i, y + j, part.at(i, j));
}

/// A pose from the hero's parts: heads sit at the top, held things above them, bodies stand on
/// the bottom of the cell.
Picture pose(const Library& library, std::initializer_list<const char*> parts)
{
    Picture out = clearCell();
    for (const char* name : parts) {
        const QString part = QString::fromLatin1(name);
        const Picture& picture = library[QStringLiteral("hero/") + part];
        int top = Cell - picture.height;
        if (part.startsWith(QLatin1String("head")))
            top = 2;
        else if (part.startsWith(QLatin1String("book")) || part.startsWith(QLatin1String("bubbles")))
            top = 0;
        lay(out, picture, 4, top);
    }
    return out;
}

bool inside(const Picture& p, int x, int y)
{
    return x >= 0 && y >= 0 && x < p.width && y < p.height && p.opaque(x, y);
}

/// The hero as a black figure licked by flames; the phase moves the tongues of fire.
Picture burning(const Picture& figure, int phase)
{
    Picture out = clearCell();
    const Rgb charcoal = colour(0x241418);
    const Rgb ember = colour(0x4a2024);
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x) {
            if (inside(figure, x, y)) {
                const Rgb was = figure.at(x, y);
                put(out, x, y, was == colour(0xffffff) ? White : (inside(figure, x - 1, y - 1) ? charcoal : ember));
                continue;
            }
            int near = 99;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (inside(figure, x + dx, y + dy))
                        near = std::min(near, std::max(std::abs(dx), std::abs(dy)));
            if (near == 1)
                put(out, x, y, Flame.shadow);
            else if (near == 2 && (x + y + phase) % 3 != 0)
                put(out, x, y, Flame.base);
        }
    // Tongues of fire rising from the head and shoulders.
    static const int tongues[2][4][3] = {{{9, 8, 6}, {15, 3, 8}, {21, 7, 5}, {26, 18, 4}},
                                         {{7, 10, 5}, {13, 4, 6}, {19, 2, 8}, {5, 18, 4}}};
    for (const auto& t : tongues[phase]) {
        for (int i = 0; i < t[2]; ++i) {
            const int y = t[1] - i;
            const int half = (t[2] - i) / 3;
            for (int x = t[0] - half - 1; x <= t[0] + half + 1; ++x)
                if (y >= 0 && !inside(figure, x, y))
                    put(out, x, y, std::abs(x - t[0]) <= half - 1 ? Flame.light : Flame.base);
        }
    }
    return out;
}

/// The hero sinking into lava: the figure lower by `depth`, hot where it is under, and pink
/// bubbles rising round it.
Picture sinking(const Picture& figure, int depth, int phase)
{
    Picture out = clearCell();
    const int surface = 20 - depth / 2;
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x) {
            const int from = y - depth;
            if (from < 0 || !inside(figure, x, from))
                continue;
            Rgb c = figure.at(x, from);
            if (y >= surface)
                c = (c == colour(0x2a1a2e)) ? Lava.outline : mix(c, Lava.shadow, 0.6);
            put(out, x, y, c);
        }
    const Rgb pink = colour(0xf890c0);
    const Rgb pinkLight = colour(0xffd0e8);
    static const int bubbles[2][4][3] = {{{5, 22, 3}, {26, 16, 4}, {9, 10, 2}, {24, 27, 2}},
                                         {{6, 15, 4}, {25, 22, 3}, {22, 7, 2}, {8, 27, 2}}};
    for (const auto& b : bubbles[phase]) {
        const int r = b[2];
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                const int d2 = x * x + y * y;
                if (d2 > r * r)
                    continue;
                put(out, b[0] + x, b[1] + y, d2 >= (r - 1) * (r - 1) ? colour(0xb04880) : pink);
            }
        put(out, b[0] - r / 2, b[1] - r / 2, pinkLight);
    }
    return out;
}

/// The hero in the dark, yellowish colours of the arrival: every colour by its brightness.
Picture darkened(const Picture& figure)
{
    Picture out = figure;
    const Rgb tones[4] = {colour(0x201808), colour(0x4a3c14), colour(0x7a6424), colour(0xa88c3a)};
    for (Rgb& p : out.pixels) {
        if (qAlpha(p) == 0)
            continue;
        const int luma = (qRed(p) * 3 + qGreen(p) * 6 + qBlue(p)) / 10;
        p = tones[std::min(3, luma / 64)];
    }
    return out;
}

Picture heroRight(const Library& library, int d)
{
    switch (d) {
    case 0: return pose(library, {"head", "body_stand"});
    case 1: return pose(library, {"head", "body_jump"});
    case 2: return pose(library, {"head", "body_walk1"});
    case 3: return pose(library, {"head", "body_walk2"});
    case 8: return pose(library, {"head_back", "body_climb"});
    case 9: return pose(library, {"head_helmet", "body_swimup"});
    case 10: return pose(library, {"head_helmet", "body_swim"});
    case 11: return pose(library, {"head_helmet", "body_stroke"});
    case 16: return burning(heroRight(library, 0), 0);
    case 17: return burning(heroRight(library, 1), 1);
    case 18: return pose(library, {"head_shut", "body_drown1", "bubbles1"});
    case 19: return pose(library, {"head_hurt", "body_hurt"});
    case 22: return pose(library, {"head_shut", "body_drown2", "bubbles2"});
    case 24: return pose(library, {"head", "body_float"});
    case 26: return pose(library, {"head", "body_armsup", "book"});
    case 27: return pose(library, {"head_helmet", "body_armsup", "book"});
    case 29: return sinking(heroRight(library, 0), 6, 0);
    case 30: return sinking(heroRight(library, 0), 14, 1);
    case 31: return darkened(heroRight(library, 0));
    default: return {};
    }
}

// Effects, each on a clear cell.

Picture dust(int phase)
{
    Picture p = clearCell();
    const Rgb grain = colour(0xc8a070);
    const Rgb dark = colour(0x6a4a2c);
    static const int grains[][2] = {{6, 18}, {12, 23}, {19, 17}, {25, 22}, {9, 28}, {22, 27}, {15, 30}};
    for (const auto& g : grains) {
        const int y = g[1] - 6 + phase * 5 + (g[0] % 3);
        put(p, g[0], y, grain);
        put(p, g[0] + 1, y, grain);
        put(p, g[0], y + 1, dark);
        put(p, g[0] + 1, y + 1, dark);
    }
    return p;
}

Picture bumpStars(int phase)
{
    Picture p = clearCell();
    auto starAt = [&](int cx, int cy) {
        static const char* shape[] = {"...o...", "..oyo..", "ooyyyoo", "oyyYyyo", ".oyyyo.", ".oyoyo.", ".o...o."};
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x) {
                const char c = shape[y][x];
                if (c == '.')
                    continue;
                put(p, cx - 3 + x, cy - 3 + y, c == 'o' ? Gold.outline : (c == 'Y' ? Gold.highlight : Gold.light));
            }
    };
    if (phase == 0) {
        starAt(8, 10);
        starAt(24, 6);
    } else {
        starAt(10, 5);
        starAt(23, 11);
    }
    return p;
}

/// The splash in its stages, from the last ripples (stage 0) to the first burst (stage 3).
Picture splash(const Library& library, int stage)
{
    Picture p = clearCell();
    const Picture& drawn = library[QStringLiteral("effects/splash%1").arg(stage)];
    lay(p, drawn, 0, Cell - drawn.height);
    return p;
}

/// Writes a picture and its mask into the sheet: the image on pure white, the silhouette in
/// pure black on pure white in the cell below.
void putMasked(Canvas& sheet, const Picture& picture, int column, int imageRow)
{
    const int x0 = column * Cell;
    const int y0 = imageRow * Cell;
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x) {
            const bool opaque = !picture.pixels.empty() && picture.opaque(x, y);
            sheet.set(x0 + x, y0 + y, opaque ? picture.at(x, y) : PureWhite);
            sheet.set(x0 + x, y0 + Cell + y, opaque ? PureBlack : PureWhite);
        }
}

void putOpaque(Canvas& sheet, const QImage& cell, int n)
{
    sheet.paste(cell, sheet::cellX(n), sheet::cellY(n));
}

QImage soul()
{
    // A white outline on black; its lowest row stays black so that rising leaves no trail.
    static const char* shape[] = {
        "...........oooooo...........", ".........oo......oo.........", "........o..........o........",
        ".......o............o.......", "......o..............o......", "......o...oo....oo...o......",
        ".....o....oo....oo....o.....", ".....o................o.....", ".....o.......oo.......o.....",
        ".....o......o..o......o.....", ".....o.......oo.......o.....", ".....o................o.....",
        ".....o................o.....", "......o...............o.....", "......o................o....",
        ".......o................o...", ".......o.................o..", "........o..o..o..o..oo..o...",
        ".........oo.oo.oo.oo..oo....",
    };
    QImage image = blankImage(Cell, Cell, PureBlack);
    Canvas c(image);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 28; ++x)
            if (shape[y][x] == 'o')
                c.set(2 + x, 6 + y, White);
    return image;
}

QImage heroFront(const Library& library)
{
    QImage image = blankImage(Cell, Cell, PureBlack);
    Canvas c(image);
    const Picture front = pose(library, {"head_front", "body_front"});
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            if (front.opaque(x, y))
                c.set(x, y, front.at(x, y));
    return image;
}

QImage memo()
{
    QImage image = blankImage(Cell, Cell, colour(0xc8e8f0));
    Canvas c(image);
    // A folded sheet with lines of writing, on the light plate the dialog shows it in.
    c.rect(7, 4, 19, 25, Ink);
    c.rect(8, 5, 17, 23, Paper);
    c.hline(8, 24, 5, colour(0xffffff));
    for (int y = 10; y < 26; y += 4)
        c.hline(10, y == 22 ? 17 : 22, y, colour(0x5a6a9c));
    c.rect(20, 4, 6, 6, colour(0xc8e8f0));
    c.line(20, 4, 25, 9, Ink);
    c.rect(20, 5, 1, 5, Ink);
    c.hline(20, 25, 9, Ink);
    c.line(21, 5, 24, 8, colour(0xe8dcc0));
    c.rect(21, 6, 3, 3, colour(0xe8dcc0));
    c.rect(8, 27, 17, 1, colour(0xd8c8a0));
    return image;
}

QImage dudPlate()
{
    QImage image = blankImage(Cell, Cell, colour(0x5a1a22));
    Canvas c(image);
    // A dark red plate with a cross: nothing here.
    c.rect(2, 2, 28, 28, colour(0x8a2a30));
    c.hline(2, 29, 2, colour(0xb04850));
    c.vline(2, 2, 29, colour(0xb04850));
    c.hline(2, 29, 29, colour(0x3e0e14));
    c.vline(29, 2, 29, colour(0x3e0e14));
    for (int i = 0; i < 14; ++i)
        for (int t = 0; t < 3; ++t) {
            c.set(9 + i + t - 1, 9 + i, colour(0xe8c8c8));
            c.set(22 - i + t - 1, 9 + i, colour(0xe8c8c8));
        }
    return image;
}

} // namespace

Picture heroSprite(const Library& library, int d)
{
    if (d == 28)
        return {};
    const bool facingLeft = (d % 8) >= 4 && d < 24;
    if (d == 25)
        return heroRight(library, 24).mirrored();
    if (d == 12)
        return heroRight(library, 8).mirrored();
    if (d == 18 || d == 22 || !facingLeft)
        return heroRight(library, d);
    return heroRight(library, d - 4).mirrored();
}

QImage paintSpriteSheet(const Library& library)
{
    QImage sheetImage = blankImage(sheet::Width, sheet::Height, PureWhite);
    Canvas c(sheetImage);
    for (int d = 0; d < 32; ++d)
        putMasked(c, heroSprite(library, d), d % 8, 2 * (d / 8));
    putMasked(c, dust(0), 0, 8);
    putMasked(c, dust(1), 1, 8);
    putMasked(c, bumpStars(0), 2, 8);
    putMasked(c, bumpStars(1), 3, 8);
    for (int stage = 0; stage < 4; ++stage)
        putMasked(c, splash(library, stage), 4 + stage, 8);
    for (int n = 88; n < 144; ++n) {
        const QImage frame = paintAnimationCell(n);
        if (!frame.isNull())
            putOpaque(c, frame, n);
    }
    // The items, kept on the sheet beside the pictures that are drawn.
    static const std::pair<int, const char*> items[] = {
        {176, "key"},  {177, "diary"},      {179, "shoes"},  {180, "helmet"},
        {181, "rope"}, {182, "dumplings"}, {184, "pampas"},
    };
    for (const auto& [n, name] : items) {
        const Picture& item = library[QStringLiteral("items/") + QString::fromLatin1(name)];
        c.draw(item, sheet::cellX(n) + (Cell - item.width) / 2, sheet::cellY(n) + (Cell - item.height) / 2);
    }
    putOpaque(c, soul(), 178);
    putOpaque(c, memo(), 183);
    putOpaque(c, heroFront(library), 186);
    putOpaque(c, dudPlate(), 191);
    return sheetImage;
}

} // namespace poronpa::art
