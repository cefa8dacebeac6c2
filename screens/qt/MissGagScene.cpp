#include "screens/qt/MissGagScene.h"

#include "assets/Pictures.h"
#include "screens/MessageTables.h"
#include "world/SheetCells.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <thread>

namespace poronpa {

namespace {

constexpr int RiseStart = 32;  ///< the soul starts one cell above the hero
constexpr int RiseHeight = 40; ///< and rises this many pixels, one per step

/// The frame's picture for the length of the scene: it keeps what is drawn into it, like the
/// frame's own surface with persistent drawing on, and covers the hidden canvas.
class ScenePicture : public QWidget {
public:
    explicit ScenePicture(QWidget* frame)
        : QWidget(frame), picture_(frame->contentsRect().size(), QImage::Format_RGB32)
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

void copyCell(QImage& target, int x, int y, const QImage& sheetImage, int cell)
{
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, y), sheetImage,
                      QRect(sheet::cellX(cell), sheet::cellY(cell), sheet::CellSize, sheet::CellSize));
}

void printPhrase(QImage& target, const QFont& font, int phraseIndex)
{
    if (phraseIndex < 0 || phraseIndex >= static_cast<int>(texts::MissPhrases.size())) {
        return;
    }
    const QString phrase = QString::fromStdString(texts::MissPhrases[phraseIndex]);
    QPainter painter(&target);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = (target.width() - metrics.horizontalAdvance(phrase)) / 2;
    painter.drawText(x, target.height() / 2 + metrics.ascent(), phrase);
}

/// Sleeps until the tick count is more than `span` past `since`; returns the tick that ended the
/// wait. The unsigned difference keeps working when the tick count wraps.
std::uint32_t waitPast(std::uint32_t since, std::uint32_t span,
                       const std::function<std::uint32_t()>& tickCount)
{
    for (;;) {
        const std::uint32_t now = tickCount();
        const std::uint32_t elapsed = now - since;
        if (elapsed > span) {
            return now;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(span - elapsed + 1));
    }
}

} // namespace

void PlayMissGag(QWidget* frame, QWidget* canvas, int phraseIndex, int frameInterval,
                 const std::function<std::uint32_t()>& tickCount,
                 const std::function<void()>& processEvents)
{
    const QImage sprites = pictures::spriteSheet();
    QPointer<ScenePicture> scene = new ScenePicture(frame);
    QPointer<QWidget> hiddenCanvas = canvas;
    if (hiddenCanvas) {
        hiddenCanvas->hide();
    }
    scene->show();
    scene->raise();

    QImage& picture = scene->picture();
    const int x0 = (picture.width() - sheet::CellSize) / 2;
    const int y0 = picture.height() - 2 * sheet::CellSize;
    copyCell(picture, x0, y0, sprites, sprites::HeroFront);
    printPhrase(picture, frame->font(), phraseIndex);

    const auto stepSpan = static_cast<std::uint32_t>(std::max(0, 2 * frameInterval));
    std::uint32_t lastTick = 0;
    for (int rise = 0; rise <= RiseHeight; ++rise) {
        copyCell(picture, x0, y0 - RiseStart - rise, sprites, sprites::Soul);
        scene->repaint();
        processEvents();
        if (!scene) {
            return; // the window went away while its events ran
        }
        lastTick = rise == 0 ? tickCount() : waitPast(lastTick, stepSpan, tickCount);
    }

    delete scene;
    if (hiddenCanvas) {
        hiddenCanvas->show();
    }
}

} // namespace poronpa
