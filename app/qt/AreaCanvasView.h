#pragma once

#include "app/qt/SurfaceView.h"

#include <QImage>

#include <array>

namespace poronpa {

/// The area canvas of the play screen, with the two rope lines and the ghost that lie over it.
/// They are the window's, not the canvas's: they are painted above the picture and never enter it.
class AreaCanvasView : public SurfaceView {
public:
    using SurfaceView::SurfaceView;

    /// Shows or hides rope line 0 or 1, a vertical line at x from y1 to y2 in canvas pixels.
    void setRopeLine(int index, bool visible, int x, int y1, int y2);
    bool ropeLineVisible(int index) const { return ropes_.at(static_cast<std::size_t>(index)).visible; }

    /// Shows the ghost's hero, `picture` (its clear pixels let the canvas through) with its top
    /// left at (x, y) in canvas pixels, half transparent; a null picture hides it.
    void setGhost(const QImage* picture, int x, int y);
    bool ghostVisible() const { return ghost_ != nullptr; }

protected:
    void paintOver(QPainter& painter) override;

private:
    struct RopeLine {
        bool visible = false;
        int x = 0, y1 = 0, y2 = 0;
    };
    std::array<RopeLine, 2> ropes_{};
    const QImage* ghost_ = nullptr;
    QPoint ghostAt_;
};

} // namespace poronpa
