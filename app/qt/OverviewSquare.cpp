#include "app/qt/OverviewSquare.h"

#include <QPainter>

namespace poronpa {

namespace {
// Drawn in the window's text colour, so an area never visited shows as an empty frame.
const QColor OutlineColour(0, 0, 0);
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
