#include "screens/qt/Fonts.h"

#include <cmath>

namespace poronpa::fonts {

int pixelsForPoints(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

namespace {

QFont make(const QString& family, double points, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixelsForPoints(points));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

QFont gothic(double points, bool bold, bool italic)
{
    return make(QStringLiteral("IPAPGothic"), points, bold, italic);
}

QFont mincho(double points, bool bold)
{
    return make(QStringLiteral("IPAPMincho"), points, bold, false);
}

} // namespace poronpa::fonts
