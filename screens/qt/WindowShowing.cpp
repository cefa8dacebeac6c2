#include "screens/qt/WindowShowing.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QWidget>

namespace poronpa {

QWidget* windowShowing(const QWidget& widget)
{
    QWidget* window = widget.window();
    if (const QGraphicsProxyWidget* proxy = window->graphicsProxyWidget(); proxy && proxy->scene()) {
        const QList<QGraphicsView*> views = proxy->scene()->views();
        if (!views.isEmpty())
            return views.front()->window();
    }
    return window;
}

} // namespace poronpa
