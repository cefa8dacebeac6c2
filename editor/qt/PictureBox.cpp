#include "editor/qt/PictureBox.h"

#include "editor/MapEditor.h"

#include <QMouseEvent>

#include <initializer_list>
#include <utility>

namespace poronpa {

void PictureBox::mousePressEvent(QMouseEvent* event) { emit pressed(event->button(), event->position(), event->modifiers()); }

void PictureBox::mouseMoveEvent(QMouseEvent* event) { emit moved(event->buttons(), event->position()); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event) { emit released(event->buttons(), event->position()); }

namespace {

/// The model's bits for the Qt flags set in `flags`, from pairs of a Qt flag and its bit.
template <typename Flags, typename Flag>
unsigned modelBits(Flags flags, std::initializer_list<std::pair<Flag, unsigned>> bits)
{
    unsigned result = 0;
    for (const auto& [flag, bit] : bits)
        if (flags & flag)
            result |= bit;
    return result;
}

} // namespace

unsigned editorButtons(Qt::MouseButtons buttons)
{
    return modelBits(buttons, {std::pair{Qt::LeftButton, unsigned{LeftButton}}, {Qt::RightButton, unsigned{RightButton}},
                               {Qt::MiddleButton, unsigned{MiddleButton}}});
}

unsigned editorModifiers(Qt::KeyboardModifiers modifiers)
{
    return modelBits(modifiers, {std::pair{Qt::ShiftModifier, unsigned{ShiftModifier}},
                                 {Qt::ControlModifier, unsigned{ControlModifier}}});
}

} // namespace poronpa
