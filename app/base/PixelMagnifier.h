#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace poronpa {

/// 32-bit pixels laid out in rows: the first pixel, and how many pixels apart the rows start.
template <typename Pixel>
struct PixelRows {
    Pixel* first = nullptr;
    std::ptrdiff_t stride = 0;

    Pixel* row(int y) const { return first + y * stride; }
};

/// Writes the x, y, w, h rectangle of `picture` onto `target` magnified `scale` times, every pixel
/// a square of pixels, where the picture's own pixel 0, 0 would land at `target.first`.
void magnify(PixelRows<const std::uint32_t> picture, int x, int y, int w, int h, PixelRows<std::uint32_t> target,
             int scale);

/// Enlarges a picture a whole number of times onto a target, every pixel a square of pixels, and
/// remembers what it has written there: a later copy writes only the blocks of pixels that
/// changed since. While the view scrolls most of a frame's pixels are new, but much of a frame
/// stays the colour it was, and writing the magnified pixels is most of the cost of showing one.
class PixelMagnifier {
public:
    /// A picture of width × height pixels, nothing written yet.
    PixelMagnifier(int width, int height);

    /// The target may no longer hold what was written (it was replaced, moved or painted over):
    /// the next copies write every pixel they are asked for.
    void forget();

    /// Makes the target show the x, y, w, h rectangle of `picture` as magnify() would. Returns
    /// how many of the rectangle's pixels it wrote (the rest were already there).
    std::size_t copy(PixelRows<const std::uint32_t> picture, int x, int y, int w, int h,
                     PixelRows<std::uint32_t> target, int scale);

private:
    /// The target now holds pixels left..right - 1 of the picture's row y.
    void remember(const std::uint32_t* row, int y, int left, int right);

    int width_;
    int height_;
    std::vector<std::uint32_t> shown_; ///< what the target holds, at the picture's own size
    /// Per row, the span [first, second) of pixels the target is known to hold.
    std::vector<std::pair<int, int>> known_;
};

} // namespace poronpa
