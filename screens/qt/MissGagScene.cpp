#include "screens/qt/MissGagScene.h"

#include "assets/Pictures.h"
#include "screens/MessageTables.h"
#include "world/SheetCells.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace poronpa {

namespace {

constexpr int RiseStart = 32;  ///< the soul starts one cell above the hero
constexpr int RiseHeight = 40; ///< and rises this many pixels, one per step

void copyCell(QImage& target, int x, int y, const QImage& sheetImage, int cell)
{
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, y), sheetImage,
                      QRect(sheet::cellX(cell), sheet::cellY(cell), sheet::CellSize, sheet::CellSize));
}

void printPhrase(QImage& target, const QFont& font, int phraseIndex)
{
    if (phraseIndex < 0 || phraseIndex >= static_cast<int>(texts::MissPhrases.size()))
        return;
    const QString phrase =
        QCoreApplication::translate("MissPhrases", texts::MissPhrases[static_cast<std::size_t>(phraseIndex)].c_str());
    QPainter painter(&target);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = (target.width() - metrics.horizontalAdvance(phrase)) / 2;
    painter.drawText(x, target.height() / 2 + metrics.ascent(), phrase);
}

} // namespace

/// The frame's picture for the length of the scene: it keeps what is drawn into it, like the
/// frame's own surface with persistent drawing on, and covers the hidden canvas.
class ScenePicture : public QWidget {
public:
    explicit ScenePicture(QWidget* frame) : QWidget(frame), picture_(frame->contentsRect().size(), QImage::Format_RGB32)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(frame->contentsRect());
        picture_.fill(Qt::black);
    }

    QImage& picture() { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_);
    }

private:
    QImage picture_;
};

MissGagScene::MissGagScene(QWidget& frame, QWidget& canvas, int phraseIndex, int frameInterval,
                           std::function<void()> done)
    : scene_(new ScenePicture(&frame)), canvas_(&canvas), done_(std::move(done)),
      stepSpan_(std::max(0, 2 * frameInterval))
{
    canvas.hide();
    scene_->show();
    scene_->raise();

    QImage& picture = scene_->picture();
    x0_ = (picture.width() - sheet::CellSize) / 2;
    y0_ = picture.height() - 2 * sheet::CellSize;
    copyCell(picture, x0_, y0_, pictures::spriteSheet(), sprites::HeroFront);
    printPhrase(picture, frame.font(), phraseIndex);

    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    clock_.start();

    // The first step takes the clock without waiting, and the second follows it at once.
    drawStep();
    lastStep_ = clock_.elapsed();
    rise_ = 1;
    drawStep();
    timer_.start(static_cast<int>(stepSpan_ + 1));
}

MissGagScene::~MissGagScene()
{
    delete scene_.data();
    if (canvas_)
        canvas_->show();
}

void MissGagScene::drawStep()
{
    if (!scene_)
        return;
    copyCell(scene_->picture(), x0_, y0_ - RiseStart - rise_, pictures::spriteSheet(), sprites::Soul);
    scene_->update();
}

void MissGagScene::tick()
{
    const std::int64_t elapsed = clock_.elapsed() - lastStep_;
    if (elapsed <= stepSpan_) {
        timer_.start(static_cast<int>(stepSpan_ - elapsed + 1));
        return;
    }
    lastStep_ = clock_.elapsed();
    advance();
    if (!finished_)
        timer_.start(static_cast<int>(stepSpan_ + 1));
}

void MissGagScene::advance()
{
    if (finished_)
        return;
    if (rise_ < RiseHeight) {
        ++rise_;
        drawStep();
        return;
    }
    finished_ = true;
    timer_.stop();
    delete scene_.data();
    if (canvas_)
        canvas_->show();
    // Called from the event loop, so that whoever is told may destroy the scene.
    QTimer::singleShot(0, this, [this] {
        if (done_)
            done_();
    });
}

} // namespace poronpa
