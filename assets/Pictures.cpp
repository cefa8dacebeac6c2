#include "assets/Pictures.h"

#include <QString>

#include <algorithm>
#include <cstdint>

// Q_INIT_RESOURCE must be used outside any namespace. A static library's resource initialiser is
// dropped by the linker unless something refers to it, so the pictures register themselves on
// first use.
static void registerPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace poronpa::pictures {

namespace {

QImage load(const QString& name)
{
    static const bool registered = (registerPictures(), true);
    (void)registered;
    return QImage(QStringLiteral(":/pictures/") + name + QStringLiteral(".png"))
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage tileSheet()
{
    static const QImage image = load(QStringLiteral("tiles"));
    return image;
}

QImage spriteSheet()
{
    static const QImage image = load(QStringLiteral("sprites"));
    return image;
}

QImage gameFrame()
{
    static const QImage image = load(QStringLiteral("frame"));
    return image;
}

QImage titlePicture()
{
    static const QImage image = load(QStringLiteral("title"));
    return image;
}

QImage itemIcon(int item)
{
    static const QImage icons[10] = {
        load(QStringLiteral("item0")), load(QStringLiteral("item1")), load(QStringLiteral("item2")),
        load(QStringLiteral("item3")), load(QStringLiteral("item4")), load(QStringLiteral("item5")),
        load(QStringLiteral("item6")), load(QStringLiteral("item7")), load(QStringLiteral("item8")),
        load(QStringLiteral("item9")),
    };
    return item >= 0 && item < 10 ? icons[item] : QImage();
}

QImage dialogBackground()
{
    static const QImage image = load(QStringLiteral("dialog"));
    return image;
}

QIcon windowIcon()
{
    static const bool registered = (registerPictures(), true);
    (void)registered;
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/icon%1.png").arg(size), QSize(size, size));
    return icon;
}

Surface toSurface(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Surface surface(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::uint32_t* target = surface.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(rgb.width());
        for (int x = 0; x < rgb.width(); ++x)
            target[x] = line[x] | 0xFF000000u;
    }
    return surface;
}

QImage toImage(const Surface& surface)
{
    QImage image(surface.width(), surface.height(), QImage::Format_RGB32);
    for (int y = 0; y < surface.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const std::uint32_t* source =
            surface.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(surface.width());
        std::copy(source, source + surface.width(), line);
    }
    return image;
}

} // namespace poronpa::pictures
