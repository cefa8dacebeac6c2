#include "app/base/Surface.h"

#include <algorithm>
#include <cstring>

namespace poronpa {

Surface::Surface(int width, int height, std::uint32_t fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill | 0xFF000000u)
{
}

void Surface::fill(std::uint32_t colour)
{
    std::fill(pixels_.begin(), pixels_.end(), colour | 0xFF000000u);
}

void Surface::fillRect(int x, int y, int w, int h, std::uint32_t colour)
{
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width_);
    const int y1 = std::min(y + h, height_);
    for (int row = y0; row < y1; ++row)
        std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(index(x0, row)),
                  pixels_.begin() + static_cast<std::ptrdiff_t>(index(x0, row)) + std::max(x1 - x0, 0),
                  colour | 0xFF000000u);
}

void Surface::bitBlt(int dx, int dy, int w, int h, const Surface& source, int sx, int sy, RasterOp op)
{
    // Clip against the source, then against the destination, moving both origins together.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, source.width_ - sx, width_ - dx});
    h = std::min({h, source.height_ - sy, height_ - dy});
    if (w <= 0 || h <= 0)
        return;

    // A surface copied onto itself with overlapping rectangles needs a scratch copy.
    const Surface* from = &source;
    Surface scratch;
    if (&source == this) {
        scratch = source;
        from = &scratch;
    }

    const std::size_t sourceStride = static_cast<std::size_t>(from->width_);
    const std::size_t stride = static_cast<std::size_t>(width_);
    const std::uint32_t* s = from->pixels_.data() + from->index(sx, sy);
    std::uint32_t* d = pixels_.data() + index(dx, dy);
    const std::size_t rowBytes = static_cast<std::size_t>(w) * sizeof(std::uint32_t);
    switch (op) {
    case RasterOp::SrcCopy:
        for (int row = 0; row < h; ++row, s += sourceStride, d += stride)
            std::memcpy(d, s, rowBytes);
        break;
    case RasterOp::SrcErase:
        for (int row = 0; row < h; ++row, s += sourceStride, d += stride)
            for (int i = 0; i < w; ++i)
                d[i] = (s[i] & ~d[i]) | 0xFF000000u;
        break;
    case RasterOp::SrcInvert:
        for (int row = 0; row < h; ++row, s += sourceStride, d += stride)
            for (int i = 0; i < w; ++i)
                d[i] = (s[i] ^ d[i]) | 0xFF000000u;
        break;
    }
}

} // namespace poronpa
