#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>

class QWidget;

namespace poronpa {

/// Lets a window's close button work while a modal box (a question, the treasure box dialog) is
/// open over it. The toolkit drops a close request to a window that a modal box blocks, but the
/// game window must end the program in any state; under X11 this catches the window manager's
/// request and closes the window itself. Elsewhere it does nothing.
class BlockedCloseFilter : public QAbstractNativeEventFilter {
public:
    explicit BlockedCloseFilter(QWidget& window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& window_;
    std::uint32_t wmProtocols_ = 0;
    std::uint32_t wmDeleteWindow_ = 0;
};

} // namespace poronpa
