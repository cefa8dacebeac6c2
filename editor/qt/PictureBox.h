#pragma once

#include "app/qt/SurfaceView.h"

#include <QPointF>

namespace poronpa {

/// A picture of the editor that shows a kept image and reports the mouse on it, positions in
/// the picture's pixels. While a button is held, moves and the release keep coming even when
/// the pointer has left the picture.
class PictureBox : public SurfaceView {
    Q_OBJECT
public:
    using SurfaceView::SurfaceView;

signals:
    void pressed(Qt::MouseButton button, QPointF position, Qt::KeyboardModifiers modifiers);
    void moved(Qt::MouseButtons held, QPointF position);
    void released(Qt::MouseButtons stillHeld, QPointF position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

/// The model's name for a set of Qt mouse buttons.
unsigned editorButtons(Qt::MouseButtons buttons);
/// The model's name for the keys held with a click (Shift and Ctrl).
unsigned editorModifiers(Qt::KeyboardModifiers modifiers);

} // namespace poronpa
