// Renders every built-in picture into PNG files for review: both sheets enlarged with their cell
// numbers, every other picture enlarged as it is, and, given a map file, every area of the world
// drawn with the tile sheet as the game draws it.
#include "assets/Pictures.h"
#include "world/AreaDrawing.h"
#include "world/MapFile.h"
#include "world/SheetCells.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

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

} // namespace

int main(int argc, char** argv)
{
    // Works without a display: nothing is shown, only painted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: poronpa-contact <output folder> [mapdata.dat]\n");
        return 2;
    }
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
    }

    if (!ok) {
        std::fprintf(stderr, "poronpa-contact: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
