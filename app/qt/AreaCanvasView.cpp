#include "app/qt/AreaCanvasView.h"

#include <QPainter>

namespace poronpa {

namespace {
const QColor RopeColour(192, 64, 0);
constexpr int RopeWidth = 2;
} // namespace

void AreaCanvasView::setRopeLine(int index, bool visible, int x, int y1, int y2)
{
    if (index < 0 || index >= static_cast<int>(ropes_.size()))
        return;
    RopeLine& rope = ropes_[static_cast<std::size_t>(index)];
    if (rope.visible == visible && (!visible || (rope.x == x && rope.y1 == y1 && rope.y2 == y2)))
        return;
    rope = {visible, x, y1, y2};
    update();
}

void AreaCanvasView::paintOver(QPainter& painter)
{
    QPen pen(RopeColour, RopeWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const RopeLine& rope : ropes_)
        if (rope.visible)
            painter.drawLine(QPointF(rope.x, rope.y1), QPointF(rope.x, rope.y2));
}

} // namespace poronpa
