#include "app/base/PixelMagnifier.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace poronpa {

namespace {

/// Pixels compared and written together: a run of changed pixels is widened to whole blocks,
/// which costs little and keeps the comparison to a few vector instructions per block.
constexpr int Block = 8;
/// Runs of changed blocks this close are written as one: writing a few pixels again costs less
/// than starting another run.
constexpr int GapJoined = 2 * Block;

/// One row of pixels, each written `scale` times; a scale known when compiling lets the compiler
/// unroll and vectorise the copy.
template <int Scale>
void widenRow(const std::uint32_t* in, int count, std::uint32_t* out, int scale = Scale)
{
    for (int x = 0; x < count; ++x) {
        const std::uint32_t pixel = in[x];
        for (int k = 0; k < (Scale > 0 ? Scale : scale); ++k)
            *out++ = pixel;
    }
}

/// `count` pixels from `in` as squares of `scale` × `scale` pixels into `scale` rows `stride`
/// pixels apart.
void widen(const std::uint32_t* in, int count, std::uint32_t* out, std::ptrdiff_t stride, int scale)
{
    switch (scale) {
    case 1:
        std::memcpy(out, in, static_cast<std::size_t>(count) * sizeof *in);
        return;
    case 2:
        widenRow<2>(in, count, out);
        break;
    case 3:
        widenRow<3>(in, count, out);
        break;
    case 4:
        widenRow<4>(in, count, out);
        break;
    default:
        widenRow<0>(in, count, out, scale);
        break;
    }
    const auto bytes = static_cast<std::size_t>(count * scale) * sizeof *out;
    for (int copy = 1; copy < scale; ++copy)
        std::memcpy(out + copy * stride, out, bytes);
}

/// Whether the first `count` pixels of a and b are the same, whole blocks compared at once.
bool samePixels(const std::uint32_t* a, const std::uint32_t* b, int count)
{
#if defined(__SSE2__)
    if (count == Block) {
        const auto load = [](const std::uint32_t* p, int i) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p) + i);
        };
        const __m128i equal = _mm_and_si128(_mm_cmpeq_epi32(load(a, 0), load(b, 0)), _mm_cmpeq_epi32(load(a, 1), load(b, 1)));
        return _mm_movemask_epi8(equal) == 0xFFFF;
    }
#endif
    std::uint32_t difference = 0;
    for (int i = 0; i < count; ++i)
        difference |= a[i] ^ b[i];
    return difference == 0;
}

} // namespace

void magnify(PixelRows<const std::uint32_t> picture, int x, int y, int w, int h, PixelRows<std::uint32_t> target,
             int scale)
{
    for (int row = y; row < y + h; ++row)
        widen(picture.row(row) + x, w, target.row(row * scale) + x * scale, target.stride, scale);
}

PixelMagnifier::PixelMagnifier(int width, int height)
    : width_(width), height_(height),
      shown_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      known_(static_cast<std::size_t>(height))
{
}

void PixelMagnifier::forget()
{
    std::fill(known_.begin(), known_.end(), std::pair{0, 0});
}

void PixelMagnifier::remember(const std::uint32_t* row, int y, int left, int right)
{
    std::memcpy(&shown_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(left)],
                row + left, static_cast<std::size_t>(right - left) * sizeof *row);
}

std::size_t PixelMagnifier::copy(PixelRows<const std::uint32_t> picture, int x, int y, int w, int h,
                                 PixelRows<std::uint32_t> target, int scale)
{
    const int left = std::max(x, 0);
    const int right = std::min(x + w, width_);
    std::size_t written = 0;
    if (left >= right)
        return written;
    for (int row = std::max(y, 0); row < std::min(y + h, height_); ++row) {
        const std::uint32_t* in = picture.row(row);
        auto& [knownFrom, knownTo] = known_[static_cast<std::size_t>(row)];
        if (left < knownFrom || right > knownTo) {
            // Not all of it is known to be there: written whole, and known from now on (joined to
            // what was known when the two touch, else in its place).
            magnify(picture, left, row, right - left, 1, target, scale);
            remember(in, row, left, right);
            written += static_cast<std::size_t>(right - left);
            if (right < knownFrom || left > knownTo || knownFrom == knownTo)
                knownFrom = left, knownTo = right;
            else
                knownFrom = std::min(knownFrom, left), knownTo = std::max(knownTo, right);
            continue;
        }
        const std::uint32_t* shown = &shown_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_)];
        // A row as it was, common under open sky, costs one comparison.
        if (std::memcmp(in + left, shown + left, static_cast<std::size_t>(right - left) * sizeof *in) == 0)
            continue;
        int runStart = -1;
        int runEnd = -1;
        const auto endRun = [&] {
            magnify(picture, runStart, row, runEnd - runStart, 1, target, scale);
            written += static_cast<std::size_t>(runEnd - runStart);
            runStart = -1;
        };
        bool changes = false;
        for (int block = left; block < right; block += Block) {
            const int count = std::min(Block, right - block);
            if (samePixels(in + block, shown + block, count)) {
                if (runStart >= 0 && block - runEnd >= GapJoined)
                    endRun();
                continue;
            }
            if (runStart < 0)
                runStart = block;
            runEnd = block + count;
            changes = true;
        }
        if (runStart >= 0)
            endRun();
        if (changes)
            remember(in, row, left, right);
    }
    return written;
}

} // namespace poronpa
