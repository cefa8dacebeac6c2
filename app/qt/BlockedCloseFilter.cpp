#include "app/qt/BlockedCloseFilter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace poronpa {

namespace {

std::uint32_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

BlockedCloseFilter::BlockedCloseFilter(QWidget& window) : window_(window)
{
    // The interface exists on every platform of a toolkit built for X11; only under X11 does it
    // have a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr) {
        wmProtocols_ = internAtom(connection, "WM_PROTOCOLS");
        wmDeleteWindow_ = internAtom(connection, "WM_DELETE_WINDOW");
    }
}

bool BlockedCloseFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (wmDeleteWindow_ == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* request = static_cast<const xcb_client_message_event_t*>(message);
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == &window_ || request->window != window_.winId() || request->format != 32 ||
        request->type != wmProtocols_ || request->data.data32[0] != wmDeleteWindow_)
        return false;
    // Closed from the event loop of the box, as if the box were not there.
    QMetaObject::invokeMethod(&window_, [this] { window_.close(); }, Qt::QueuedConnection);
    return true;
}

} // namespace poronpa
