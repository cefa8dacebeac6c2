#include "screens/qt/MouseLabel.h"

#include "screens/qt/Translations.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace poronpa {

MouseLabel::MouseLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent)
    : QLabel(text, parent)
{
    setFont(font);
    setColour(colour);
    setMouseTracking(true);
    adjustSize();
}

void MouseLabel::setColour(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

QColor MouseLabel::colour() const
{
    return palette().color(QPalette::WindowText);
}

void MouseLabel::showTranslated(const char* context, const char* source)
{
    keepTranslated(*this, [this, context, source] {
        setText(QCoreApplication::translate(context, source));
        adjustSize();
    });
}

void MouseLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
}

void MouseLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = event->button() == Qt::LeftButton && leftPressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        leftPressed_ = false;
    emit released(event->button(), event->modifiers());
    if (click)
        emit clicked();
}

void MouseLabel::mouseMoveEvent(QMouseEvent*)
{
    emit pointerMoved();
}

} // namespace poronpa
