#include "app/OverviewSquare.h"

#include <QPainter>

namespace poronpa {

namespace {
// The outline shows on the dark MAP panel whether the square is filled or not.
const QColor OutlineColour(255, 255, 255);
} // namespace

OverviewSquare::OverviewSquare(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OverviewSquare::setMiniMapColour(std::int32_t colour)
{
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void OverviewSquare::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (colour_ != -1)
        painter.fillRect(rect(), QColor(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF));
    painter.setPen(OutlineColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace poronpa
