#include "app/qt/SurfaceView.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

namespace poronpa {

SurfaceView::SurfaceView(const Surface* surface, QWidget* parent) : QWidget(parent), surface_(surface)
{
    // Every pixel is painted by paintEvent; nothing behind it needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (surface_)
        resize(surface_->width(), surface_->height());
}

void SurfaceView::setSurface(const Surface* surface)
{
    surface_ = surface;
    update();
}

void SurfaceView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (surface_ && !surface_->empty()) {
        // A view of the surface's own pixels: no copy, so a 1600 × 1600 canvas costs only the
        // visible part each frame.
        const QImage pixels(reinterpret_cast<const uchar*>(surface_->data()), surface_->width(),
                            surface_->height(), surface_->width() * 4, QImage::Format_RGB32);
        const QRect area = event->rect();
        painter.drawImage(area, pixels, area);
    } else {
        painter.fillRect(event->rect(), Qt::black);
    }
    paintOver(painter);
}

void SurfaceView::paintOver(QPainter&) {}

} // namespace poronpa
