#include "app/qt/PixelView.h"

#include <QBackingStore>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPaintEvent>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace poronpa {

namespace {

/// One row of pixels, each written `scale` times; a scale known when compiling lets the compiler
/// unroll and vectorise the copy, which is most of the work of a magnified frame.
template <int Scale>
void widenRow(const quint32* in, int count, quint32* out, int scale = Scale)
{
    for (int x = 0; x < count; ++x) {
        const quint32 pixel = in[x];
        for (int k = 0; k < (Scale > 0 ? Scale : scale); ++k)
            *out++ = pixel;
    }
}

/// Copies `source` (a rectangle of `from`) into `to` at `at`, every pixel as a square of
/// scale × scale pixels. Both pictures hold 32-bit pixels.
void magnify(const QImage& from, QRect source, uchar* to, qsizetype toStride, QPoint at, int scale)
{
    const auto rowBytes = static_cast<std::size_t>(source.width() * scale) * 4;
    for (int y = source.top(); y <= source.bottom(); ++y) {
        const auto* in = reinterpret_cast<const quint32*>(from.constScanLine(y)) + source.left();
        uchar* first = to + (at.y() + (y - source.top()) * scale) * toStride + at.x() * 4;
        auto* out = reinterpret_cast<quint32*>(first);
        switch (scale) {
        case 2:
            widenRow<2>(in, source.width(), out);
            break;
        case 3:
            widenRow<3>(in, source.width(), out);
            break;
        case 4:
            widenRow<4>(in, source.width(), out);
            break;
        default:
            widenRow<0>(in, source.width(), out, scale);
            break;
        }
        for (int copy = 1; copy < scale; ++copy)
            std::memcpy(first + copy * toStride, first, rowBytes);
    }
}

/// The content in the scene, for the pointer, the focus and the word of what changed; its pixels
/// are drawn by the view.
class ContentProxy : public QGraphicsProxyWidget {
public:
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}
};

/// The innermost control that holds all of `rect` (in the coordinates of `outer`) with nothing
/// over it there: drawing it alone draws the rectangle. A frame redraws only the play view, and
/// asking the whole window to draw itself would visit every control.
QWidget* innermostHolding(QWidget* outer, QRect& rect)
{
    QWidget* widget = outer;
    for (bool deeper = true; deeper;) {
        deeper = false;
        const QObjectList& children = widget->children();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            auto* inner = qobject_cast<QWidget*>(*child);
            if (!inner || inner->isWindow() || !inner->isVisible() || !inner->geometry().intersects(rect))
                continue;
            // The topmost control there either holds the whole rectangle or is one of several. The
            // view asks for a pixel more around what changed; that pixel is still as it was.
            if (inner->geometry().contains(rect.adjusted(1, 1, -1, -1))) {
                rect = (rect & inner->geometry()).translated(-inner->pos());
                widget = inner;
                deeper = true;
            }
            break;
        }
    }
    return widget;
}

bool holds32BitPixels(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied ||
           image.format() == QImage::Format_ARGB32;
}

} // namespace

PixelView::PixelView(QWidget* content, QWidget* parent)
    : QGraphicsView(parent), content_(content), picture_(content->size(), QImage::Format_RGB32)
{
    picture_.fill(Qt::black);
    auto* scene = new QGraphicsScene(this);
    // One item that never moves: no index to keep.
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    proxy_ = new ContentProxy;
    proxy_->setWidget(content_);
    scene->addItem(proxy_);
    // Shown inside the scene, never as a window of its own.
    content_->show();
    setScene(scene);
    setSceneRect(QRectF(QPointF(0, 0), content_->size()));

    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setOptimizationFlags(QGraphicsView::DontAdjustForAntialiasing | QGraphicsView::DontSavePainterState);
    setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFixedSize(content_->size());
}

PixelView::~PixelView() = default; // the scene deletes the proxy, and the proxy the content

void PixelView::setScale(int scale)
{
    scale_ = scale;
    setTransform(QTransform::fromScale(scale, scale));
    setFixedSize(content_->size() * scale);
}

void PixelView::paintEvent(QPaintEvent* event)
{
    // The view's own bookkeeping of what it has shown (the scene draws nothing).
    QGraphicsView::paintEvent(event);
    // Whole pixels of the content under the part to paint:
    const QRect area = event->rect() & viewport()->rect();
    const QRect source = QRect(QPoint(area.left() / scale_, area.top() / scale_),
                               QPoint(area.right() / scale_, area.bottom() / scale_)) &
                         content_->rect();
    if (source.isEmpty())
        return;
    QRect inside = source;
    QWidget* holder = innermostHolding(content_, inside);
    if (scale_ == 1) {
        QPainter painter(viewport());
        holder->render(&painter, source.topLeft(), QRegion(inside));
        return;
    }
    holder->render(&picture_, source.topLeft(), QRegion(inside));
    const QRect target(source.topLeft() * scale_, source.size() * scale_);

    // Straight into the window's own picture when that is where this paint goes (not when the
    // view is grabbed into another) and it is one of plain 32-bit pixels; or else through a
    // picture of the magnified part.
    QPainter painter(viewport());
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    QBackingStore* store = viewport()->backingStore();
    if (device && store && device == store->paintDevice() && device->devType() == QInternal::Image &&
        painter.deviceTransform().type() <= QTransform::TxTranslate) {
        auto* window = static_cast<QImage*>(device);
        const QPoint at = painter.deviceTransform().map(target.topLeft());
        if (holds32BitPixels(*window) && window->devicePixelRatio() == 1.0 &&
            window->rect().contains(QRect(at, target.size()))) {
            magnify(picture_, source, window->bits(), window->bytesPerLine(), at, scale_);
            return;
        }
    }
    if (magnified_.size() != size())
        magnified_ = QImage(size(), QImage::Format_RGB32);
    magnify(picture_, source, magnified_.bits(), magnified_.bytesPerLine(), target.topLeft(), scale_);
    painter.drawImage(target.topLeft(), magnified_, target);
}

} // namespace poronpa
