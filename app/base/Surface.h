#pragma once

#include <cstdint>
#include <vector>

namespace poronpa {

/// Raster operations of a block transfer, on the 24-bit colour value of each pixel.
enum class RasterOp {
    SrcCopy,   ///< destination := source
    SrcErase,  ///< destination := source AND NOT destination
    SrcInvert, ///< destination := source XOR destination
};

/// Makes a pixel value from its components; the top byte is always 0xFF so that the pixels
/// can be shown directly as an opaque 32-bit RGB image.
constexpr std::uint32_t rgb(int r, int g, int b)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(r & 0xFF) << 16) |
           (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
}

/// A picture surface with a kept image: every drawing goes into this off-screen image, which is
/// what a window shows when it refreshes.
class Surface {
public:
    Surface() = default;
    Surface(int width, int height, std::uint32_t fill = rgb(0, 0, 0));

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    std::uint32_t pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, std::uint32_t colour) { pixels_[index(x, y)] = colour | 0xFF000000u; }

    /// Fills the whole kept image.
    void fill(std::uint32_t colour);
    /// Fills a rectangle, clipped to the surface.
    void fillRect(int x, int y, int w, int h, std::uint32_t colour);

    /// Block transfer of the w × h rectangle at (sx, sy) of source to (dx, dy) of this surface.
    /// Parts outside either surface are clipped away, as a window system's transfer would.
    void bitBlt(int dx, int dy, int w, int h, const Surface& source, int sx, int sy, RasterOp op);

    /// Row-major pixels, 0xFFRRGGBB, width() per row.
    const std::uint32_t* data() const { return pixels_.data(); }
    std::uint32_t* data() { return pixels_.data(); }

    bool operator==(const Surface& other) const = default;

private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

} // namespace poronpa
