#include "app/qt/AreaCanvasView.h"

#include <QPainter>

namespace poronpa {

namespace {
const QColor RopeColour(192, 64, 0);
constexpr int RopeWidth = 2;
constexpr double GhostOpacity = 0.5;
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

void AreaCanvasView::setGhost(const QImage* picture, int x, int y)
{
    if (picture == ghost_ && (!picture || ghostAt_ == QPoint(x, y)))
        return;
    // Both the place it leaves and the one it takes are painted again.
    if (ghost_)
        update(QRect(ghostAt_, ghost_->size()));
    ghost_ = picture;
    ghostAt_ = QPoint(x, y);
    if (ghost_)
        update(QRect(ghostAt_, ghost_->size()));
}

void AreaCanvasView::paintOver(QPainter& painter)
{
    if (ghost_) {
        painter.save();
        painter.setOpacity(GhostOpacity);
        painter.drawImage(ghostAt_, *ghost_);
        painter.restore();
    }
    QPen pen(RopeColour, RopeWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const RopeLine& rope : ropes_)
        if (rope.visible)
            painter.drawLine(QPointF(rope.x, rope.y1), QPointF(rope.x, rope.y2));
}

} // namespace poronpa
