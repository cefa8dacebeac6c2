#include "editor/qt/PictureBox.h"

#include "editor/MapEditor.h"

#include <QMouseEvent>

namespace poronpa {

void PictureBox::mousePressEvent(QMouseEvent* event) { emit pressed(event->button(), event->position(), event->modifiers()); }

void PictureBox::mouseMoveEvent(QMouseEvent* event) { emit moved(event->buttons(), event->position()); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event) { emit released(event->buttons(), event->position()); }

unsigned editorButtons(Qt::MouseButtons buttons)
{
    unsigned result = NoButton;
    if (buttons & Qt::LeftButton)
        result |= LeftButton;
    if (buttons & Qt::RightButton)
        result |= RightButton;
    if (buttons & Qt::MiddleButton)
        result |= MiddleButton;
    return result;
}

unsigned editorModifiers(Qt::KeyboardModifiers modifiers)
{
    unsigned result = NoModifier;
    if (modifiers & Qt::ShiftModifier)
        result |= ShiftModifier;
    if (modifiers & Qt::ControlModifier)
        result |= ControlModifier;
    return result;
}

} // namespace poronpa
