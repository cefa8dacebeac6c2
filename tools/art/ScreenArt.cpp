#include "ScreenArt.h"

#include "KeyMarks.h"
#include "Palette.h"
#include "Terrain.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <array>
#include <cmath>

namespace poronpa::art {

using namespace palette;

namespace {

constexpr Ramp Teal{colour(0xa8f0e8), colour(0x78d8d0), colour(0x4cb8b0), colour(0x2e8a88), colour(0x1a4e50)};
constexpr Ramp Pink{colour(0xffe0ee), colour(0xffc0dc), colour(0xf098c0), colour(0xc8689a), colour(0x6a2a50)};
constexpr Ramp Meadow{colour(0xd8f8b8), colour(0xb0e890), colour(0x78c858), colour(0x4a9a3a), colour(0x22501c)};
constexpr Ramp Panel{colour(0xffffff), colour(0xfbf7ff), colour(0xeee6f8), colour(0xd0c4e0), colour(0x5a4a7a)};
constexpr Rgb PastelA = colour(0xece4f6);
/// The window's width: the title and the game frame cover it whole.
constexpr int TitleWidth = 518;
constexpr Rgb PastelB = colour(0xf4eefa);

// Title sky, from the top down to the horizon.
constexpr Rgb TitleSky[5] = {colour(0x0e1030), colour(0x141a44), colour(0x1a2252), colour(0x222c62),
                             colour(0x2a3670)};

/// Text as a two-colour mask, unsmoothed: the lettering is then shaded like any pixel art.
QImage letteringMask(const QString& text, int pixelSize, bool bold, bool mincho = false)
{
    QFont font(mincho ? QStringLiteral("IPAPMincho") : QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 8, metrics.height() + 8, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(4, 4 + metrics.ascent(), text);
    painter.end();
    // Crop to the ink.
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) > 127) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return QImage();
    return image.copy(left, top, right - left + 1, bottom - top + 1);
}

bool ink(const QImage& mask, int x, int y)
{
    return x >= 0 && y >= 0 && x < mask.width() && y < mask.height() && qRed(mask.pixel(x, y)) > 127;
}

bool nearInk(const QImage& mask, int x, int y, int radius)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (std::abs(dx) + std::abs(dy) <= radius + 1 && ink(mask, x + dx, y + dy))
                return true;
    return false;
}

/// Lettering with a drop shadow, an outline and a fill shaded from the top down.
void letter(Canvas& c, const QImage& mask, int x0, int y0, const Ramp& fill, Rgb outline, int width, Rgb shadow)
{
    const int pad = width + 3;
    for (int y = -pad; y < mask.height() + pad; ++y)
        for (int x = -pad; x < mask.width() + pad; ++x)
            if (nearInk(mask, x - 2, y - 2, width))
                c.set(x0 + x, y0 + y, shadow);
    for (int y = -pad; y < mask.height() + pad; ++y)
        for (int x = -pad; x < mask.width() + pad; ++x) {
            if (ink(mask, x, y)) {
                const double t = double(y) / std::max(1, mask.height() - 1);
                Rgb colour = t < 0.3 ? fill.light : (t < 0.72 ? fill.base : fill.shadow);
                if (!ink(mask, x, y - 1))
                    colour = fill.highlight;
                c.set(x0 + x, y0 + y, colour);
            } else if (nearInk(mask, x, y, width)) {
                c.set(x0 + x, y0 + y, outline);
            }
        }
}

/// Plain small text, one colour, unsmoothed.
void smallText(Canvas& c, const QString& text, int x, int y, int pixelSize, Rgb colour, bool bold = false)
{
    const QImage mask = letteringMask(text, pixelSize, bold);
    for (int j = 0; j < mask.height(); ++j)
        for (int i = 0; i < mask.width(); ++i)
            if (ink(mask, i, j))
                c.set(x + i, y + j, colour);
}

/// Horizontal bands of colour down a rectangle, each change softened by a two-row checker.
void bandedGradient(Canvas& c, int x, int y, int w, int h, const Rgb* colours, int count)
{
    const int band = h / count;
    for (int j = 0; j < h; ++j) {
        const int index = std::min(count - 1, j / band);
        const int next = std::min(count - 1, index + 1);
        const int intoBand = j - index * band;
        for (int i = 0; i < w; ++i) {
            Rgb colour = colours[index];
            if (intoBand >= band - 2 && ((i + j) % 2 == 0))
                colour = colours[next];
            c.set(x + i, y + j, colour);
        }
    }
}

void bevelPlate(Canvas& c, int x, int y, int w, int h, const Ramp& r, bool raised = true)
{
    c.rect(x, y, w, h, r.light);
    c.hline(x, x + w - 1, y, r.outline);
    c.hline(x, x + w - 1, y + h - 1, r.outline);
    c.vline(x, y, y + h - 1, r.outline);
    c.vline(x + w - 1, y, y + h - 1, r.outline);
    const Rgb lit = raised ? r.highlight : r.shadow;
    const Rgb dark = raised ? r.shadow : r.highlight;
    c.hline(x + 1, x + w - 2, y + 1, lit);
    c.vline(x + 1, y + 1, y + h - 2, lit);
    c.hline(x + 1, x + w - 2, y + h - 2, dark);
    c.vline(x + w - 2, y + 2, y + h - 2, dark);
}

/// A plate with rounded corners.
void roundPlate(Canvas& c, int x, int y, int w, int h, const Ramp& r)
{
    bevelPlate(c, x, y, w, h, r);
    for (const auto& corner : {std::pair{0, 0}, {1, 0}, {0, 1}}) {
        c.set(x + corner.first, y + corner.second, PastelA);
        c.set(x + w - 1 - corner.first, y + corner.second, PastelA);
        c.set(x + corner.first, y + h - 1 - corner.second, PastelA);
        c.set(x + w - 1 - corner.first, y + h - 1 - corner.second, PastelA);
    }
    c.set(x + 1, y + 1, r.outline);
    c.set(x + w - 2, y + 1, r.outline);
    c.set(x + 1, y + h - 2, r.outline);
    c.set(x + w - 2, y + h - 2, r.outline);
}

/// A panel's heading: dark letters on a coloured bar.
void heading(Canvas& c, const QString& text, int x, int y, const Ramp& bar)
{
    const QImage mask = letteringMask(text, 14, true);
    const int w = mask.width() + 10;
    const int h = mask.height() + 6;
    c.rect(x, y, w, h, bar.outline);
    c.rect(x + 1, y + 1, w - 2, h - 2, bar.base);
    c.hline(x + 1, x + w - 2, y + 1, bar.light);
    c.hline(x + 1, x + w - 2, y + h - 2, bar.shadow);
    for (int j = 0; j < mask.height(); ++j)
        for (int i = 0; i < mask.width(); ++i)
            if (ink(mask, i, j)) {
                c.set(x + 6 + i, y + 4 + j, bar.outline);
                c.set(x + 5 + i, y + 3 + j, White);
            }
}

void figure(Canvas& c, const Library& library, const char* name, int x, int y)
{
    c.draw(library[QStringLiteral("figures/") + QString::fromLatin1(name)], x, y);
}

/// Pastel ground with a faint diagonal check, as on the game window and the dialog.
void pastelGround(Canvas& c)
{
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            c.set(x, y, ((x + y) / 8 + (x - y + 1024) / 8) % 2 ? PastelA : PastelB);
}

void disc(Canvas& c, double cx, double cy, double r, Rgb colour)
{
    for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
        for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                c.set(x, y, colour);
}

void bigMoon(Canvas& c, int cx, int cy, int r, Rgb sky)
{
    // Two rings of halo, dithered into the sky.
    for (int y = cy - r - 16; y <= cy + r + 16; ++y)
        for (int x = cx - r - 16; x <= cx + r + 16; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d > r && d <= r + 7)
                c.set(x, y, mix(c.inside(x, y) ? c.at(x, y) : sky, Moon.light, 0.2));
            else if (d > r + 7 && d <= r + 15 && (x + y) % 2 == 0)
                c.set(x, y, mix(c.inside(x, y) ? c.at(x, y) : sky, Moon.light, 0.12));
        }
    disc(c, cx, cy, r, Moon.shadow);
    disc(c, cx - 3, cy - 3, r - 3, Moon.base);
    disc(c, cx - 10, cy - 10, r - 16, Moon.light);
    disc(c, cx - r / 2.6, cy - r / 2.6, r / 4.0, Moon.highlight);
    // Soft, flat seas made of overlapping patches, and a few small craters.
    static const int seas[][3] = {{26, -22, 16}, {38, -8, 14}, {14, -30, 10}, {-10, 22, 15}, {8, 34, 12},
                                  {28, 28, 10}, {-30, 4, 9}};
    for (const auto& s : seas)
        disc(c, cx + s[0] * r / 88.0, cy + s[1] * r / 88.0, s[2] * r / 88.0, Moon.base);
    for (const auto& s : seas)
        disc(c, cx + s[0] * r / 88.0 + 2, cy + s[1] * r / 88.0 + 2, s[2] * r / 88.0 - 4,
             mix(Moon.base, Moon.shadow, 0.5));
    static const int craters[][3] = {{-44, 34, 4}, {52, 14, 4}, {-10, -52, 3}, {-54, -24, 3}};
    for (const auto& k : craters) {
        const double x = cx + k[0] * r / 88.0;
        const double y = cy + k[1] * r / 88.0;
        disc(c, x + 1, y + 1, k[2], Moon.shadow);
        disc(c, x, y, k[2] - 1, Moon.base);
        c.set(int(x) - 1, int(y) - 1, Moon.highlight);
    }
}

void cloudBank(Canvas& c, const std::vector<std::array<int, 3>>& puffs, int baseY, const Ramp& r)
{
    int left = 1 << 20, right = -(1 << 20);
    for (const auto& p : puffs) {
        left = std::min(left, p[0] - p[2]);
        right = std::max(right, p[0] + p[2]);
    }
    for (const auto& p : puffs)
        disc(c, p[0], p[1], p[2] + 1, r.outline);
    c.rect(left + 2, baseY - 6, right - left - 3, 7, r.outline);
    for (const auto& p : puffs)
        disc(c, p[0], p[1], p[2], r.base);
    c.rect(left + 3, baseY - 6, right - left - 5, 6, r.shadow);
    for (const auto& p : puffs)
        disc(c, p[0] - 2, p[1] - 2, p[2] - 3, r.light);
    for (const auto& p : puffs)
        disc(c, p[0] - p[2] / 3.0, p[1] - p[2] / 3.0, p[2] / 3.0, r.highlight);
    for (int x = left; x <= right; ++x)
        for (int y = baseY - 5; y < baseY; ++y)
            if (c.inside(x, y) && c.at(x, y) == r.light)
                c.set(x, y, r.base);
}

} // namespace

QImage paintTitle(const Library& library)
{
    QImage image = blankImage(TitleWidth, 346, TitleSky[0]);
    Canvas c(image);
    bandedGradient(c, 0, 0, TitleWidth, 346, TitleSky, 5);

    // Stars, none where the menu and the edition word will stand.
    static const int stars[][3] = {
        {22, 18, 1},  {60, 40, 0},  {104, 12, 0}, {198, 22, 1}, {232, 58, 0}, {250, 130, 0}, {300, 118, 1},
        {470, 130, 0}, {500, 112, 1}, {12, 96, 0}, {30, 150, 1}, {262, 176, 0}, {350, 142, 0}, {440, 150, 0},
        {16, 226, 0},  {496, 186, 0}, {226, 12, 0}, {160, 8, 0},  {84, 90, 0},  {282, 18, 0},  {508, 20, 0},
    };
    for (const auto& s : stars) {
        if (s[2]) {
            figure(c, library, "star", s[0] - 2, s[1] - 2);
        } else {
            c.set(s[0], s[1], Star);
            c.set(s[0] + 1, s[1], StarDim);
        }
    }

    bigMoon(c, 150, 146, 86, TitleSky[2]);
    cloudBank(c, {{{196, 176, 10}, {218, 170, 13}, {242, 176, 9}}}, 184, NightCloud);
    cloudBank(c, {{{-6, 60, 12}, {18, 54, 14}, {42, 62, 9}}}, 70, NightCloud);

    // The moon-viewing hill, lit on its rim by the moon behind it; the plain beyond it.
    const Rgb hillRim = colour(0x6aa88a);
    const Rgb hillLit = colour(0x3e6a5c);
    const Rgb hillBody = colour(0x1e3a36);
    const Rgb hillDeep = colour(0x14262a);
    auto hillTop = [](int x) {
        const double t = (x - 146) / 150.0;
        return x < 330 ? std::min(312, int(250 + 46 * t * t)) : 312;
    };
    for (int x = 0; x < TitleWidth; ++x) {
        const int top = hillTop(x);
        for (int y = top; y < 346; ++y) {
            const int depth = y - top;
            Rgb colour = depth < 4 ? hillLit : (depth < 7 && (x + y) % 2 ? hillLit : hillBody);
            if (y > 326 && (x + y) % 2 == 0)
                colour = hillDeep;
            if (y > 330)
                colour = hillDeep;
            c.set(x, y, colour);
        }
        c.set(x, top, Ink);
        c.set(x, top + 1, hillRim);
        // Grass blades along the rim.
        if (x % 5 == 1 || x % 7 == 3) {
            c.set(x, top - 1, hillLit);
            if (x % 7 == 3)
                c.set(x, top - 2, hillLit);
        }
    }
    cloudBank(c, {{{36, 214, 12}, {60, 206, 16}, {92, 212, 11}}}, 222, NightCloud);

    // Pampas on the hill, and the hero on its top with the dumplings, watching the moon.
    struct Stalk {
        int x, height, lean;
    };
    static const Stalk stalks[] = {{44, 38, 6}, {54, 46, 8}, {66, 34, 5}, {206, 40, 7}, {218, 50, 9}, {232, 36, 6}};
    for (const Stalk& s : stalks) {
        const int base = hillTop(s.x) + 2;
        for (int i = 0; i < s.height; ++i) {
            const int x = s.x + (i * i * s.lean) / (s.height * s.height);
            c.set(x, base - i, i < s.height - 14 ? hillLit : Pampas.shadow);
            if (i >= s.height - 14) {
                c.set(x + 1, base - i, (i % 2) ? Pampas.light : Pampas.base);
                c.set(x - 1, base - i + 1, Pampas.highlight);
                if (i % 3 == 0)
                    c.set(x + 2, base - i + 1, Pampas.shadow);
            }
        }
    }
    const Picture& back = library[QStringLiteral("hero/head_back")];
    const Picture& sit = library[QStringLiteral("hero/body_sit_back")];
    c.draw(sit, 134, 244);
    c.draw(back, 134, 226);
    c.draw(library[QStringLiteral("items/dumplings")], 166, 232);

    // The title lettering, and a credit line in the corner.
    const QImage title = letteringMask(QStringLiteral("ポロンパ"), 62, true);
    letter(c, title, TitleWidth - 8 - title.width(), 30, Moon, colour(0x0a0a24), 2, colour(0x060616));
    smallText(c, QStringLiteral("© 2024 ポロンパ工房"), TitleWidth - 122, 330, 11, colour(0x8a94c8));
    return image;
}

QImage paintGameFrame(const Library& library)
{
    QImage image = blankImage(TitleWidth, 346, PastelA);
    Canvas c(image);
    pastelGround(c);

    // The well the view sits in: grey where the view goes, sunk into the frame.
    c.rect(4, 0, 328, 328, Panel.outline);
    c.hline(5, 330, 1, Panel.shadow);
    c.vline(5, 1, 326, Panel.shadow);
    c.hline(5, 330, 326, Panel.highlight);
    c.vline(330, 1, 326, Panel.highlight);
    c.rect(6, 2, 324, 324, colour(0x3a3050));
    c.rect(8, 4, 320, 320, colour(0x808080));

    // The logo plate with room for the edition word under the lettering.
    const Ramp navy{colour(0x4a5a9c), colour(0x2c3470), colour(0x1c2050), colour(0x141840), colour(0x0a0a24)};
    roundPlate(c, 338, 4, 170, 76, navy);
    bandedGradient(c, 340, 6, 166, 72, TitleSky + 1, 4);
    figure(c, library, "crescent", 346, 12);
    figure(c, library, "twinkle", 496, 10);
    figure(c, library, "twinkle", 350, 60);
    figure(c, library, "star", 470, 62);
    const QImage logo = letteringMask(QStringLiteral("ポロンパ"), 30, true);
    letter(c, logo, 364, 12, Moon, navy.outline, 1, navy.outline);

    // The map panel round the twenty-five overview squares.
    roundPlate(c, 334, 86, 132, 150, Panel);
    heading(c, QStringLiteral("MAP"), 342, 91, Pink);
    for (int r = 0; r < 5; ++r)
        for (int col = 0; col < 5; ++col) {
            const int x = 341 + 24 * col;
            const int y = 112 + 24 * r;
            c.rect(x, y, 20, 20, Panel.outline);
            c.rect(x + 1, y + 1, 18, 18, Panel.shadow);
        }

    // The item panel round the ten icon places.
    roundPlate(c, 334, 240, 174, 98, Panel);
    heading(c, QStringLiteral("ITEM"), 342, 244, Teal);
    c.rect(339, 261, 162, 66, Panel.outline);
    for (int k = 0; k < 10; ++k) {
        const int x = 340 + 32 * (k % 5);
        const int y = 262 + 32 * (k / 5);
        c.rect(x, y, 32, 32, Panel.base);
        c.hline(x, x + 31, y, Panel.shadow);
        c.vline(x, y, y + 31, Panel.shadow);
        c.hline(x + 1, x + 31, y + 31, Panel.highlight);
        c.vline(x + 31, y + 1, y + 31, Panel.highlight);
    }

    // Small figures in the margins.
    figure(c, library, "rabbit", 478, 96);
    figure(c, library, "dango", 486, 130);
    figure(c, library, "susuki", 478, 160);
    figure(c, library, "star", 494, 196);
    figure(c, library, "twinkle", 474, 218);
    figure(c, library, "twinkle", 500, 226);
    figure(c, library, "star", 460, 92);
    return image;
}

QImage paintDialogBackground(const Library& library)
{
    QImage image = blankImage(256, 160, PastelA);
    Canvas c(image);
    const Rgb wash[5] = {colour(0xeef6ff), colour(0xf0f0fc), colour(0xf4ecfa), colour(0xf8e8f6), colour(0xfce6f2)};
    bandedGradient(c, 0, 0, 256, 160, wash, 5);
    // The plate under the item's picture.
    bevelPlate(c, 3, 3, 42, 42, Panel);
    c.rect(7, 7, 34, 34, Panel.outline);
    c.rect(8, 8, 32, 32, colour(0x808080));
    figure(c, library, "rabbit", 10, 84);
    figure(c, library, "star", 30, 60);
    figure(c, library, "twinkle", 46, 96);
    figure(c, library, "dango", 130, 78);
    figure(c, library, "twinkle", 152, 92);
    figure(c, library, "crescent", 112, 96);
    figure(c, library, "star", 230, 130);
    figure(c, library, "susuki", 240, 112);
    return image;
}

QImage paintItemIcon(const Library& library, int item)
{
    const Ramp& plate = item < 4 ? Teal : (item < 8 ? Pink : Meadow);
    QImage image = blankImage(32, 32, plate.base);
    Canvas c(image);
    bevelPlate(c, 0, 0, 32, 32, plate);
    c.rect(2, 2, 28, 28, plate.base);
    for (int i = 0; i < 8; ++i)
        c.set(3 + i, 10 - i, plate.light);
    static const char* names[10] = {"key",   "key",    "key",  "key",       "diary",
                                    "shoes", "helmet", "rope",   "dumplings", "pampas"};
    Picture picture = library[QStringLiteral("items/") + QString::fromLatin1(names[item])];
    if (item > 0 && item < 4) {
        const Ramp& to = *KeyColours[item];
        picture = picture.recoloured({{KeyBlue.highlight, to.highlight}, {KeyBlue.light, to.light},
                                      {KeyBlue.base, to.base}, {KeyBlue.shadow, to.shadow},
                                      {KeyBlue.outline, to.outline}});
    }
    if (item >= 4) {
        c.draw(picture, (32 - picture.width) / 2, (32 - picture.height) / 2);
        return image;
    }
    // A key lies low on its plate with its shape above the blade, clear of the key's outline,
    // where it reads whole at the icon's own size.
    c.draw(picture, (32 - picture.width) / 2, 29 - picture.height);
    drawKeyMark(c, item, 18, 2);
    return image;
}

QImage paintWindowIcon(const Library& library, int size)
{
    QImage base(32, 32, QImage::Format_ARGB32);
    base.fill(Qt::transparent);
    {
        const Picture& face = library[QStringLiteral("hero/head_front")];
        const Picture& body = library[QStringLiteral("hero/body_front")];
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                Rgb p = Clear;
                if (y >= 20 && y - 20 < 6 && y - 20 < body.height && x >= 4 && x - 4 < body.width &&
                    body.opaque(x - 4, y - 20))
                    p = body.at(x - 4, y - 20);
                if (y >= 3 && y - 3 < face.height && x >= 4 && x - 4 < face.width && face.opaque(x - 4, y - 3))
                    p = face.at(x - 4, y - 3);
                if (qAlpha(p) != 0)
                    base.setPixel(x, y, p);
            }
    }
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(Qt::transparent);
    const Picture& face = library[QStringLiteral("figures/icon_small")];
    for (int y = 0; y < face.height; ++y)
        for (int x = 0; x < face.width; ++x)
            if (face.opaque(x, y))
                small.setPixel(x, y + 2, face.at(x, y));
    // Whole multiples keep the pixels square; only the odd size in between is smoothed.
    if (size % 32 == 0)
        return base.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (size % 16 == 0)
        return small.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return base.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace poronpa::art
