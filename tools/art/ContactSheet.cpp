// Renders every built-in picture into PNG files for review: both sheets enlarged with their cell
// numbers, every other picture enlarged as it is, and, given a map file, every area of the world
// drawn with the tile sheet as the game draws it, every tile drawn on a background in the places
// it stands (one of each tile with each mix of backgrounds round it), and how light and how busy
// each background is beside the solid tiles next to it.
#include "app/base/StandardOptions.h"
#include "assets/Pictures.h"
#include "world/AreaDrawing.h"
#include "world/MapFile.h"
#include "world/SheetCells.h"
#include "world/TileFacts.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

namespace {

using namespace poronpa;

QImage enlarged(const QImage& image, int scale)
{
    return image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

/// The sheet at the given scale, each cell framed and numbered in a gutter above it.
QImage numberedSheet(const QImage& sheetImage, int scale)
{
    const int cell = sheet::CellSize * scale;
    const int gutter = 14;
    QImage out(sheet::Columns * (cell + 2), sheet::Rows * (cell + gutter + 2), QImage::Format_RGB32);
    out.fill(QColor(60, 60, 70));
    QPainter p(&out);
    QFont font("IPAPGothic");
    font.setPixelSize(11);
    p.setFont(font);
    for (int n = 0; n < sheet::Cells; ++n) {
        const int x = (n % sheet::Columns) * (cell + 2) + 1;
        const int y = (n / sheet::Columns) * (cell + gutter + 2) + 1;
        p.setPen(QColor(230, 230, 230));
        p.drawText(QRect(x, y, cell, gutter), Qt::AlignLeft | Qt::AlignVCenter, QString::number(n));
        const QImage picture = sheetImage.copy(sheet::cellX(n), sheet::cellY(n), sheet::CellSize, sheet::CellSize);
        p.drawImage(QPoint(x, y + gutter), enlarged(picture, scale));
    }
    return out;
}

/// The plain pictures the scenery is drawn on.
constexpr int Backgrounds[] = {0, 1, 6, 8, 9, 14, 20, 49, 86, 63, 64};

bool isBackground(int t)
{
    return std::find(std::begin(Backgrounds), std::end(Backgrounds), t) != std::end(Backgrounds);
}

bool isSolid(int t) { return poronpa::isSolid(static_cast<std::uint8_t>(t)); }

QImage tilePicture(const QImage& tiles, int t)
{
    return tiles.copy(sheet::cellX(t), sheet::cellY(t), sheet::CellSize, sheet::CellSize);
}

/// One example of every tile that is not a plain background in each mix of backgrounds round it:
/// the tile and its eight neighbours as the area shows them, twice the size, named underneath.
QImage placesSheet(const MapGrid& map, const QImage& tiles)
{
    struct Example {
        int tile, ax, ay, c, r;
    };
    std::map<std::pair<int, std::set<int>>, Example> examples;
    for (int ay = 0; ay < MapGrid::Areas; ++ay)
        for (int ax = 0; ax < MapGrid::Areas; ++ax)
            for (int r = 1; r < MapGrid::AreaCells - 1; ++r)
                for (int c = 1; c < MapGrid::AreaCells - 1; ++c) {
                    const int t = map.areaCell(ax, ay, c, r);
                    if (isBackground(t) || (isSolid(t) && t != 117 && t != 189 && t != 190 && t != 107 && t != 108))
                        continue;
                    std::set<int> round;
                    for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                        if (const int n = map.areaCell(ax, ay, c + dc, r + dr); isBackground(n))
                            round.insert(n);
                    if (!round.empty())
                        examples.try_emplace({t, round}, Example{t, ax, ay, c, r});
                }
    const int scale = 2;
    const int side = 3 * sheet::CellSize * scale;
    const int label = 16;
    const int columns = 10;
    const int rows = (static_cast<int>(examples.size()) + columns - 1) / columns;
    QImage out(columns * (side + 8), rows * (side + label + 8), QImage::Format_RGB32);
    out.fill(QColor(60, 60, 70));
    QPainter p(&out);
    QFont font("IPAPGothic");
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(QColor(230, 230, 230));
    int k = 0;
    for (const auto& [key, e] : examples) {
        const int x = (k % columns) * (side + 8) + 4;
        const int y = (k / columns) * (side + label + 8) + 4;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const QImage picture = tilePicture(tiles, map.areaCell(e.ax, e.ay, e.c + dc, e.r + dr));
                p.drawImage(QPoint(x + (dc + 1) * sheet::CellSize * scale, y + (dr + 1) * sheet::CellSize * scale),
                            enlarged(picture, scale));
            }
        p.drawText(QRect(x, y + side, side, label), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1  (%2,%3) %4,%5").arg(e.tile).arg(e.ax).arg(e.ay).arg(e.c).arg(e.r));
        ++k;
    }
    return out;
}

/// Relative luminance of a colour (sRGB made linear, weighted for the eye).
double luminance(QRgb c)
{
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

struct Look {
    double luminance = 0; ///< mean relative luminance
    double busy = 0;      ///< spread of the luminance over the picture
    double saturation = 0;
};

Look lookOf(const QImage& picture)
{
    Look look;
    std::vector<double> values;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y);
            values.push_back(luminance(c));
            look.saturation += QColor(c).hsvSaturationF();
        }
    const double n = static_cast<double>(values.size());
    for (double v : values)
        look.luminance += v;
    look.luminance /= n;
    look.saturation /= n;
    for (double v : values)
        look.busy += (v - look.luminance) * (v - look.luminance);
    look.busy = std::sqrt(look.busy / n);
    return look;
}

double contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

/// For every background, the solid tiles that border it in the world: how much lighter they are
/// (the luminance contrast ratio), and how busy and how saturated each is.
QString contrastReport(const MapGrid& map, const QImage& tiles)
{
    std::map<int, std::map<int, int>> borders; // background -> solid tile -> cells side by side
    for (int ay = 0; ay < MapGrid::Areas; ++ay)
        for (int ax = 0; ax < MapGrid::Areas; ++ax)
            for (int r = 0; r < MapGrid::AreaCells; ++r)
                for (int c = 0; c < MapGrid::AreaCells; ++c) {
                    const int t = map.areaCell(ax, ay, c, r);
                    if (!isBackground(t))
                        continue;
                    for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                        const int nc = c + dc;
                        const int nr = r + dr;
                        if (nc >= 0 && nr >= 0 && nc < MapGrid::AreaCells && nr < MapGrid::AreaCells)
                            if (const int n = map.areaCell(ax, ay, nc, nr); isSolid(n))
                                ++borders[t][n];
                    }
                }
    QString report = QStringLiteral("background  lum  busy  sat | solid beside it: tile lum busy sat contrast (cells)\n");
    for (const auto& [background, solids] : borders) {
        const Look b = lookOf(tilePicture(tiles, background));
        report += QStringLiteral("%1  %2 %3 %4 |").arg(background, 10).arg(b.luminance, 4, 'f', 3).arg(b.busy, 5, 'f', 3).arg(b.saturation, 4, 'f', 2);
        double weighted = 0;
        int cells = 0;
        double lowest = 1e9;
        for (const auto& [solid, count] : solids) {
            const Look s = lookOf(tilePicture(tiles, solid));
            const double ratio = contrast(b.luminance, s.luminance);
            weighted += ratio * count;
            cells += count;
            lowest = std::min(lowest, ratio);
            report += QStringLiteral(" %1:%2/%3/%4 %5 (%6)").arg(solid).arg(s.luminance, 0, 'f', 3).arg(s.busy, 0, 'f', 3)
                          .arg(s.saturation, 0, 'f', 2).arg(ratio, 0, 'f', 2).arg(count);
        }
        report += QStringLiteral("\n%1  contrast: lowest %2, mean over %3 cell sides %4\n")
                      .arg(QString(), 10).arg(lowest, 0, 'f', 2).arg(cells).arg(weighted / cells, 0, 'f', 2);
    }
    return report;
}

} // namespace

constexpr std::string_view Usage =
    "Usage: poronpa-contact <output folder> [mapdata.dat]\n"
    "Renders every built-in picture into PNG files for review, both sheets with their cell numbers;\n"
    "given a map file, also every area as the game draws it, every tile on the backgrounds it\n"
    "stands on, and how light and how busy each background is beside the solid tiles.\n";

int main(int argc, char** argv)
{
    if (answerHelpOrVersion(argc, argv, "poronpa-contact", Usage))
        return 0;
    // Works without a display: nothing is shown, only painted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if ((argc != 2 && argc != 3) || anyOption(argc, argv))
        return refuseArguments(Usage);
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    bool ok = numberedSheet(pictures::tileSheet(), 3).save(out + "/tiles.png");
    ok = numberedSheet(pictures::spriteSheet(), 3).save(out + "/sprites.png") && ok;
    ok = enlarged(pictures::gameFrame(), 2).save(out + "/frame.png") && ok;
    ok = enlarged(pictures::titlePicture(), 2).save(out + "/title.png") && ok;
    ok = enlarged(pictures::dialogBackground(), 3).save(out + "/dialog.png") && ok;

    QImage icons(10 * 32 * 4 + 9 * 8, 32 * 4, QImage::Format_RGB32);
    icons.fill(QColor(60, 60, 70));
    QPainter p(&icons);
    for (int k = 0; k < 10; ++k)
        p.drawImage(k * (32 * 4 + 8), 0, enlarged(pictures::itemIcon(k), 4));
    p.end();
    ok = icons.save(out + "/items.png") && ok;
    ok = enlarged(pictures::windowIcon().pixmap(32).toImage(), 4).save(out + "/icon.png") && ok;

    if (argc == 3) {
        MapGrid map;
        if (!loadMap(argv[2], map).ok()) {
            std::fprintf(stderr, "poronpa-contact: cannot read %s\n", argv[2]);
            return 1;
        }
        const Surface tiles = pictures::toSurface(pictures::tileSheet());
        Surface canvas(AreaCanvasSize, AreaCanvasSize);
        for (int ay = 0; ay < 5; ++ay)
            for (int ax = 0; ax < 5; ++ax) {
                DrawArea(map, ax, ay, tiles, canvas);
                ok = pictures::toImage(canvas).save(out + QStringLiteral("/area_%1_%2.png").arg(ax).arg(ay)) && ok;
            }
        ok = placesSheet(map, pictures::tileSheet()).save(out + "/places.png") && ok;
        QFile report(out + "/contrast.txt");
        ok = report.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
             report.write(contrastReport(map, pictures::tileSheet()).toUtf8()) > 0 && ok;
    }

    if (!ok) {
        std::fprintf(stderr, "poronpa-contact: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
