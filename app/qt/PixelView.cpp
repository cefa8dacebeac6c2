#include "app/qt/PixelView.h"

#include <QBackingStore>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPaintEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QWindow>


namespace poronpa {

namespace {

/// The content in the scene, for the pointer, the focus and the word of what changed; its pixels
/// are drawn by the view.
class ContentProxy : public QGraphicsProxyWidget {
public:
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}
};

/// Whether a control paints every pixel of its own: one that leaves some to what lies under it
/// (a label of text, a transparent picture) cannot be drawn alone.
bool paintsEveryPixel(const QWidget& widget)
{
    return widget.testAttribute(Qt::WA_OpaquePaintEvent) ||
           (widget.autoFillBackground() && widget.palette().brush(widget.backgroundRole()).isOpaque());
}

/// The innermost control that paints every pixel of `rect` (in the coordinates of `outer`) with
/// nothing over it there: drawing it alone draws the rectangle. A frame redraws only the play
/// view, and asking the whole window to draw itself would visit every control.
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
            if (inner->geometry().contains(rect.adjusted(1, 1, -1, -1)) && paintsEveryPixel(*inner)) {
                rect = (rect & inner->geometry()).translated(-inner->pos());
                widget = inner;
                deeper = true;
            }
            break;
        }
    }
    return widget;
}

/// Whether a window's picture holds 32-bit pixels that only its widgets paint. A window with an
/// alpha channel has what is painted cleared first; a window without one may still keep its
/// pixels in a format with alpha, which blends faster.
bool opaque32BitPixels(const QImage& picture, const QWindow* window)
{
    return (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied) &&
           window && !window->format().hasAlpha();
}

} // namespace

PixelView::PixelView(QWidget* content, QWidget* parent)
    : QGraphicsView(parent), content_(content), picture_(content->size(), QImage::Format_RGB32),
      magnifier_(content->width(), content->height())
{
    picture_.fill(Qt::black);
    auto* scene = new QGraphicsScene(this);
    // One item that never moves: no index to keep.
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    proxy_ = new ContentProxy;
    proxy_->setWidget(content_);
    scene->addItem(proxy_);
    // A dialog shown for the first time centres itself on the screen, and the proxy follows the
    // widget there; the view must show the proxy wherever it is, or the word of what changed and
    // the pointer would land beside it. Kept at the origin all the same, so that the content
    // knows no position of its own.
    content_->setAttribute(Qt::WA_Moved);
    content_->move(0, 0);
    connect(proxy_, &QGraphicsWidget::geometryChanged, this,
            [this] { setSceneRect(QRectF(proxy_->pos(), content_->size())); });
    // Shown inside the scene, never as a window of its own.
    content_->show();
    setScene(scene);
    setSceneRect(QRectF(proxy_->pos(), content_->size()));

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
    // The part drawn goes where it lies in the content: a control that holds the part may hold
    // less than the pixel of margin around it.
    const QPoint at = holder->mapTo(content_, inside.topLeft());
    if (scale_ == 1) {
        QPainter painter(viewport());
        holder->render(&painter, at, QRegion(inside));
        return;
    }
    holder->render(&picture_, at, QRegion(inside));
    const PixelRows<const std::uint32_t> picture{reinterpret_cast<const std::uint32_t*>(picture_.constBits()),
                                                 picture_.bytesPerLine() / 4};

    // Straight into the window's own picture when that is where this paint goes (not when the
    // view is grabbed into another) and it is one of opaque 32-bit pixels; or else through a
    // picture of the magnified part.
    QPainter painter(viewport());
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    QBackingStore* store = viewport()->backingStore();
    if (device && store && device == store->paintDevice() && device->devType() == QInternal::Image &&
        painter.deviceTransform().type() <= QTransform::TxTranslate) {
        auto* window = static_cast<QImage*>(device);
        const QPoint origin = painter.deviceTransform().map(QPoint(0, 0));
        if (opaque32BitPixels(*window, viewport()->window()->windowHandle()) && window->devicePixelRatio() == 1.0 &&
            window->rect().contains(QRect(origin, size()))) {
            // When anything about the window's picture changed it may hold other pixels now; and
            // the whole view is painted when the window was shown, exposed or replaced.
            const Target target{window->constBits(), window->size(), origin, scale_};
            if (target != target_ || source == content_->rect())
                magnifier_.forget();
            target_ = target;
            auto* first = reinterpret_cast<std::uint32_t*>(window->bits() + origin.y() * window->bytesPerLine()) +
                          origin.x();
            magnifier_.copy(picture, source.x(), source.y(), source.width(), source.height(),
                            {first, window->bytesPerLine() / 4}, scale_);
            return;
        }
    }
    const QRect target(source.topLeft() * scale_, source.size() * scale_);
    if (magnified_.size() != size())
        magnified_ = QImage(size(), QImage::Format_RGB32);
    magnify(picture, source.x(), source.y(), source.width(), source.height(),
            {reinterpret_cast<std::uint32_t*>(magnified_.bits()), magnified_.bytesPerLine() / 4}, scale_);
    painter.drawImage(target.topLeft(), magnified_, target);
}

} // namespace poronpa
