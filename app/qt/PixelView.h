#pragma once

#include <QGraphicsView>
#include <QImage>

class QGraphicsProxyWidget;

namespace poronpa {

/// Shows a widget of a fixed size magnified a whole number of times, every pixel a square of
/// pixels with no smoothing, while the widget and its controls keep working in their own pixels:
/// the pointer is mapped back, tooltips and focus reach them as before. Only what changed is drawn:
/// into a picture of the widget's own size, then enlarged once onto the window.
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
    QGraphicsProxyWidget* proxy_;
    int scale_ = 1;
};

} // namespace poronpa
