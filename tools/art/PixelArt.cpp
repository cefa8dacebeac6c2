#include "PixelArt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdlib>
#include <stdexcept>

namespace poronpa::art {

Picture Picture::mirrored() const
{
    Picture out = *this;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.pixels[static_cast<std::size_t>(y * width + x)] = at(width - 1 - x, y);
    return out;
}

Picture Picture::recoloured(const std::map<Rgb, Rgb>& swaps) const
{
    Picture out = *this;
    for (Rgb& p : out.pixels)
        if (auto it = swaps.find(p); it != swaps.end())
            p = it->second;
    return out;
}

Library::Library(const QString& folder)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        throw std::runtime_error("no art sources in " + folder.toStdString());
    for (const QString& file : files)
        read(dir.filePath(file));
}

const Picture& Library::operator[](const QString& name) const
{
    const auto it = pictures_.find(name);
    if (it == pictures_.end())
        throw std::runtime_error("no picture named " + name.toStdString());
    return it->second;
}

Rgb Library::paletteColour(const QString& file, char key) const
{
    const auto palette = palettes_.find(file);
    if (palette == palettes_.end() || !palette->second.contains(key))
        throw std::runtime_error("no colour '" + std::string(1, key) + "' in " + file.toStdString());
    return palette->second.at(key);
}

// A source file is a palette and pictures:
//   colours
//     o 1c1426        (a key character and a hex colour; '.' is always transparent)
//   picture name
//     ..oo..          (rows of keys, all of one width, ended by a blank line)
void Library::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + path.toStdString());
    const QString stem = QFileInfo(path).completeBaseName();
    auto& palette = palettes_[stem];
    palette['.'] = Clear;

    enum class Section { None, Colours, Picture } section = Section::None;
    QString pictureName;
    Picture picture;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        throw std::runtime_error(path.toStdString() + ":" + std::to_string(lineNumber) + ": " + why);
    };
    auto finishPicture = [&] {
        if (section == Section::Picture) {
            if (picture.height == 0)
                fail("picture " + pictureName.toStdString() + " has no rows");
            pictures_[stem + "/" + pictureName] = picture;
        }
        section = Section::None;
    };

    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString raw = in.readLine();
        ++lineNumber;
        const QString text = raw.trimmed();
        if (text.startsWith('#'))
            continue;
        if (text.isEmpty()) {
            finishPicture();
            continue;
        }
        if (text == QStringLiteral("colours")) {
            finishPicture();
            section = Section::Colours;
            continue;
        }
        if (text.startsWith(QStringLiteral("picture "))) {
            finishPicture();
            section = Section::Picture;
            pictureName = text.mid(8).trimmed();
            picture = Picture{};
            continue;
        }
        if (section == Section::Colours) {
            const QStringList parts = text.split(' ', Qt::SkipEmptyParts);
            bool ok = false;
            const unsigned value = parts.size() >= 2 ? parts[1].toUInt(&ok, 16) : 0;
            if (parts.size() < 2 || parts[0].size() != 1 || !ok)
                fail("a colour is a key and a hex value");
            palette[parts[0][0].toLatin1()] = colour(value);
        } else if (section == Section::Picture) {
            if (picture.height > 0 && text.size() != picture.width)
                fail("rows of " + pictureName.toStdString() + " differ in width");
            picture.width = static_cast<int>(text.size());
            for (QChar c : text) {
                const auto key = palette.find(c.toLatin1());
                if (key == palette.end())
                    fail(std::string("unknown colour key '") + c.toLatin1() + "'");
                picture.pixels.push_back(key->second);
            }
            ++picture.height;
        } else {
            fail("text outside a colours or picture section");
        }
    }
    finishPicture();
}

Rgb Canvas::atWrapped(int x, int y) const
{
    const int w = width();
    const int h = height();
    return image_.pixel(((x % w) + w) % w, ((y % h) + h) % h);
}

void Canvas::set(int x, int y, Rgb c)
{
    if (inside(x, y) && qAlpha(c) != 0)
        image_.setPixel(x, y, c);
}

void Canvas::setWrapped(int x, int y, Rgb c)
{
    const int w = width();
    const int h = height();
    set(((x % w) + w) % w, ((y % h) + h) % h, c);
}

void Canvas::rect(int x, int y, int w, int h, Rgb c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, c);
}

void Canvas::hline(int x0, int x1, int y, Rgb c)
{
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
        set(x, y, c);
}

void Canvas::vline(int x, int y0, int y1, Rgb c)
{
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
        set(x, y, c);
}

void Canvas::line(int x0, int y0, int x1, int y1, Rgb c)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::ellipse(int x, int y, int w, int h, Rgb c)
{
    const double cx = x + (w - 1) / 2.0;
    const double cy = y + (h - 1) / 2.0;
    const double rx = w / 2.0;
    const double ry = h / 2.0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            const double u = (i - cx) / rx;
            const double v = (j - cy) / ry;
            if (u * u + v * v <= 1.0)
                set(i, j, c);
        }
}

void Canvas::draw(const Picture& picture, int x, int y)
{
    for (int j = 0; j < picture.height; ++j)
        for (int i = 0; i < picture.width; ++i)
            set(x + i, y + j, picture.at(i, j));
}

void Canvas::paste(const QImage& image, int x, int y)
{
    for (int j = 0; j < image.height(); ++j)
        for (int i = 0; i < image.width(); ++i)
            set(x + i, y + j, image.pixel(i, j) | 0xFF000000u);
}

void Canvas::replace(Rgb from, Rgb to, int x, int y, int w, int h)
{
    if (w < 0)
        w = width() - x;
    if (h < 0)
        h = height() - y;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (inside(i, j) && at(i, j) == from)
                image_.setPixel(i, j, to);
}

QImage blankImage(int w, int h, Rgb fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

} // namespace poronpa::art
