#pragma once

#include "app/base/Surface.h"

#include <QWidget>

namespace poronpa {

/// Shows a drawing surface of the core pixel for pixel. The surface is read at paint time, not
/// copied, so whoever draws into it only has to ask for a repaint. On a scaled desktop every
/// pixel is enlarged without smoothing, which keeps pixel art crisp.
class SurfaceView : public QWidget {
public:
    /// The surface must outlive the view (or be replaced with setSurface first).
    explicit SurfaceView(const Surface* surface, QWidget* parent = nullptr);

    void setSurface(const Surface* surface);
    const Surface* surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    /// Drawn over the surface's picture on every paint, without touching the surface.
    virtual void paintOver(QPainter& painter);

private:
    const Surface* surface_;
};

} // namespace poronpa
