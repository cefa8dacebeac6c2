#include "app/qt/WindowScale.h"

#include "settings/WindowSettings.h"

namespace poronpa {

int firstStartScale(int availableHeight, int clientHeight)
{
    int scale = 1;
    for (int s = 2; s <= WindowSettings::MaxScale; ++s)
        if (3 * clientHeight * s <= 2 * availableHeight)
            scale = s;
    return scale;
}

int fittingScale(QSize area, QSize client, int maxScale)
{
    int scale = 1;
    for (int s = 2; s <= maxScale; ++s)
        if (client.width() * s <= area.width() && client.height() * s <= area.height())
            scale = s;
    return scale;
}

QRect centredIn(QSize area, QSize size)
{
    return {(area.width() - size.width()) / 2, (area.height() - size.height()) / 2, size.width(), size.height()};
}

} // namespace poronpa
