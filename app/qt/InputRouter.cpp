#include "app/qt/InputRouter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace poronpa {

bool PlayerInput::nextFrame(KeySet& keys)
{
    keys = keys_.nextFrame();
    return true;
}

void PlayerInput::key(const QKeyEvent& event)
{
    const int code = keyMap_.virtualKeyCode(event);
    if (code == 0)
        return;
    if (event.type() == QEvent::KeyPress)
        keys_.press(code);
    else
        keys_.release(code);
}

void InputRouter::padButton(PadButton button, bool down, const QWindow* game, KeyMap::PadContext context)
{
    PadKey& pressed = padKeys_[static_cast<std::size_t>(button)];
    const auto send = [](QWindow* target, QEvent::Type type, QKeyCombination key) {
        const Qt::Key k = key.key();
        // The title reads the typed character of its keys.
        const QString text = k == Qt::Key_Space                   ? QStringLiteral(" ")
                             : (k >= Qt::Key_A && k <= Qt::Key_Z) ? QString(QChar(u'a' + (k - Qt::Key_A)))
                                                                  : QString();
        QKeyEvent event(type, k, key.keyboardModifiers(), text);
        QCoreApplication::sendEvent(target, &event);
    };
    if (!down) {
        if (pressed.target && pressed.key.key() != Qt::Key_unknown)
            send(pressed.target, QEvent::KeyRelease, pressed.key);
        pressed = {};
        return;
    }
    // Keys go to the window that has the keyboard: none while another program has it.
    QWindow* target = QGuiApplication::focusWindow();
    if (!target)
        return;
    if (target != game)
        context = KeyMap::PadContext::Dialog;
    const QKeyCombination key = keyMap_.padKey(button, context);
    if (key.key() == Qt::Key_unknown)
        return;
    pressed = {target, key};
    send(target, QEvent::KeyPress, key);
}

} // namespace poronpa
