#pragma once

#include <QImage>
#include <QString>

#include <map>
#include <vector>

/// The generator's pixel-art toolkit: pictures drawn as text with a palette, and a canvas with
/// the few drawing operations the art needs.
namespace poronpa::art {

using Rgb = QRgb;

/// An opaque colour from 0xRRGGBB.
constexpr Rgb colour(unsigned value) { return 0xFF000000u | value; }
constexpr Rgb Clear = 0x00000000u;
constexpr Rgb PureWhite = 0xFFFFFFFFu;
constexpr Rgb PureBlack = 0xFF000000u;

/// A small picture with transparent pixels (Clear), as read from an art source file.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool opaque(int x, int y) const { return qAlpha(at(x, y)) != 0; }
    /// The picture seen in a mirror: right-facing sprites become left-facing ones.
    Picture mirrored() const;
    /// The picture with some colours swapped for others.
    Picture recoloured(const std::map<Rgb, Rgb>& swaps) const;
};

/// Every picture of the art sources, by "file/name" (file without its .txt).
class Library {
public:
    /// Reads every .txt source of the folder; throws std::runtime_error on a malformed source.
    explicit Library(const QString& folder);

    const Picture& operator[](const QString& name) const;
    /// A colour of a source file's palette, by its key character.
    Rgb paletteColour(const QString& file, char key) const;

private:
    void read(const QString& path);

    std::map<QString, Picture> pictures_;
    std::map<QString, std::map<char, Rgb>> palettes_;
};

/// Drawing on a picture (a whole sheet or a single cell), clipped to its bounds.
class Canvas {
public:
    explicit Canvas(QImage& image) : image_(image) {}

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

    Rgb at(int x, int y) const { return image_.pixel(x, y); }
    /// The pixel at (x, y) with coordinates taken modulo the size: textures that tile.
    Rgb atWrapped(int x, int y) const;
    void set(int x, int y, Rgb c);
    void setWrapped(int x, int y, Rgb c);

    void fill(Rgb c) { image_.fill(c); }
    void rect(int x, int y, int w, int h, Rgb c);
    void hline(int x0, int x1, int y, Rgb c);
    void vline(int x, int y0, int y1, Rgb c);
    /// Bresenham line, both ends included.
    void line(int x0, int y0, int x1, int y1, Rgb c);
    /// A filled ellipse inside the box (x, y, w, h).
    void ellipse(int x, int y, int w, int h, Rgb c);
    /// Draws the opaque pixels of a picture with its top-left at (x, y).
    void draw(const Picture& picture, int x, int y);
    /// Copies another image's pixels with their top-left at (x, y).
    void paste(const QImage& image, int x, int y);
    /// Every pixel of colour `from` in the rectangle becomes `to`.
    void replace(Rgb from, Rgb to, int x = 0, int y = 0, int w = -1, int h = -1);

private:
    QImage& image_;
};

/// A fresh opaque picture.
QImage blankImage(int w, int h, Rgb fill);

} // namespace poronpa::art
