#include "editor/qt/RouteDrawing.h"

#include "world/SheetCells.h"

#include <QPainter>
#include <QPainterPath>

#include <cstdlib>

namespace poronpa {

namespace {

/// Points of the path farther apart than this are not joined: the hero came back at a respawn
/// point or a load, and did not walk between them.
constexpr int JumpPixels = 3 * sheet::CellSize;

/// The path's pieces in one area, each a run of points the hero walked through.
QPainterPath pathIn(const std::vector<route::PathPoint>& points, int areaX, int areaY)
{
    QPainterPath path;
    const route::PathPoint* last = nullptr;
    for (const route::PathPoint& point : points) {
        const bool here = point.areaX == areaX && point.areaY == areaY;
        if (!here) {
            last = nullptr;
            continue;
        }
        const bool joined = last && std::abs(point.x - last->x) <= JumpPixels && std::abs(point.y - last->y) <= JumpPixels;
        if (joined)
            path.lineTo(point.x, point.y);
        else
            path.moveTo(point.x, point.y);
        last = &point;
    }
    return path;
}

} // namespace

void drawRoute(QPainter& painter, const route::CheckReport& route, int areaX, int areaY)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // A dark edge round a bright line: seen on sky, rock and water alike.
    const QPainterPath path = pathIn(route.path, areaX, areaY);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(QColor(255, 220, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(13);
    painter.setFont(font);
    constexpr int Cell = sheet::CellSize;
    for (std::size_t k = 0; k < route.boxes.size(); ++k) {
        const route::Place& place = route.boxes[k].place;
        if (place.areaX != areaX || place.areaY != areaY)
            continue;
        const QRectF badge(Cell * place.column + 4, Cell * place.row + 4, Cell - 8, Cell - 8);
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(QColor(255, 120, 0));
        painter.drawEllipse(badge);
        painter.setPen(Qt::white);
        painter.drawText(badge, Qt::AlignCenter, QString::number(k + 1));
    }
    painter.restore();
}

} // namespace poronpa
