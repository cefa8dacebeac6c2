#include "app/base/StandardOptions.h"
#include "assets/Pictures.h"
#include "world/AreaDrawing.h"
#include "world/MapFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <optional>

using namespace poronpa;

namespace {

constexpr std::string_view Usage = "Usage: poronpa-worldpng MAP.dat FOLDER [SCALE]\n"
                                   "Writes area_X_Y.png for each of the 25 areas (1600 x 1600) and world.png, the\n"
                                   "whole map shrunk by SCALE (1 to 32, default 4), into FOLDER.\n";

int usage()
{
    return refuseArguments(Usage);
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures only: no window is ever shown.
    if (answerHelpOrVersion(argc, argv, "poronpa-worldpng", Usage))
        return 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3 || argc > 4 || anyOption(argc, argv))
        return usage();
    const std::optional<int> scale = argc == 4 ? numberArgument<int>(argv[3]) : 4;
    if (!scale || *scale < 1 || *scale > 32)
        return usage();

    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (!readWholeFile(argv[1], bytes, &exists).ok() || !exists) {
        std::fprintf(stderr, "poronpa-worldpng: cannot read %s\n", argv[1]);
        return 1;
    }
    MapGrid map;
    loadMap(argv[1], map);

    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "poronpa-worldpng: cannot make %s\n", argv[2]);
        return 1;
    }
    const Surface tiles = pictures::toSurface(pictures::tileSheet());
    const int areaSide = AreaCanvasSize / *scale;
    QImage world(areaSide * MapGrid::Areas, areaSide * MapGrid::Areas, QImage::Format_RGB32);
    QPainter painter(&world);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Surface canvas(AreaCanvasSize, AreaCanvasSize);
    bool ok = true;
    for (int ay = 0; ay < MapGrid::Areas; ++ay) {
        for (int ax = 0; ax < MapGrid::Areas; ++ax) {
            DrawArea(map, ax, ay, tiles, canvas);
            const QImage area = pictures::toImage(canvas);
            ok = area.save(folder + QString("/area_%1_%2.png").arg(ax).arg(ay)) && ok;
            painter.drawImage(QRect(ax * areaSide, ay * areaSide, areaSide, areaSide), area);
        }
    }
    painter.end();
    ok = world.save(folder + "/world.png") && ok;
    if (!ok) {
        std::fprintf(stderr, "poronpa-worldpng: cannot write into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
