#pragma once

#include "app/base/PixelMagnifier.h"

#include <QGraphicsView>
#include <QImage>

class QGraphicsProxyWidget;

namespace poronpa {

/// Shows a widget of a fixed size magnified a whole number of times, every pixel a square of
/// pixels with no smoothing, while the widget and its controls keep working in their own pixels:
/// the pointer is mapped back, tooltips and focus reach them as before. Only what changed is drawn:
/// into a picture of the widget's own size, then enlarged onto the window where its pixels differ
/// from what the window already shows.
class PixelView : public QGraphicsView {
public:
    /// Takes `content` (a widget without a parent) and shows it at 1×.
    PixelView(QWidget* content, QWidget* parent);
    ~PixelView() override;

    QWidget& content() const { return *content_; }
    int scale() const { return scale_; }
    /// Magnifies the content `scale` times; the view takes exactly the magnified size.
    void setScale(int scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* content_;
    QImage picture_;
    QImage magnified_;
    /// Where the last paint into the window's own picture went.
    struct Target {
        const uchar* pixels = nullptr;
        QSize size;
        QPoint origin;
        int scale = 0;
        bool operator==(const Target&) const = default;
    };
    Target target_;
    PixelMagnifier magnifier_;
    QGraphicsProxyWidget* proxy_;
    int scale_ = 1;
};

} // namespace poronpa
