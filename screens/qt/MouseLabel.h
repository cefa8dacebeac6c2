#pragma once

#include <QLabel>

namespace poronpa {

/// A label of the game's screens: transparent, sized to its text, in one colour, and telling
/// which mouse actions happened on it.
class MouseLabel : public QLabel {
    Q_OBJECT
public:
    MouseLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent);

    void setColour(const QColor& colour);
    QColor colour() const;

    /// Shows `source` (marked for the catalogue under `context`) in the player's language, now
    /// and whenever the language changes, sized to it again.
    void showTranslated(const char* context, const char* source);

signals:
    /// The left button was pressed and released over the label.
    void clicked();
    /// The pointer moved over the label.
    void pointerMoved();
    /// A mouse button was released over the label, with the modifier keys held at that moment.
    void released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool leftPressed_ = false;
};

} // namespace poronpa
