#include "app/base/PixelMagnifier.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace poronpa;

namespace {

/// A picture and the magnified target it is shown on, with room around the target's part so
/// that a write outside it shows.
struct Fixture {
    static constexpr int Width = 21; // not a whole number of blocks
    static constexpr int Height = 5;
    static constexpr int Margin = 3;
    static constexpr std::uint32_t Untouched = 0xDEADBEEF;

    explicit Fixture(int magnification)
        : scale(magnification), targetStride(Width * scale + 2 * Margin),
          target(static_cast<std::size_t>(targetStride * (Height * scale + 2 * Margin)), Untouched)
    {
        std::mt19937 random(7); // 32-bit results
        for (auto& pixel : picture)
            pixel = static_cast<std::uint32_t>(random()) | 0xFF000000u;
    }

    PixelRows<const std::uint32_t> pictureRows() const { return {picture.data(), Width}; }
    PixelRows<std::uint32_t> targetRows() { return {&target[static_cast<std::size_t>(Margin * targetStride + Margin)], targetStride}; }
    std::uint32_t& at(int x, int y) { return picture[static_cast<std::size_t>(y * Width + x)]; }
    std::uint32_t shown(int tx, int ty) const
    {
        return target[static_cast<std::size_t>((ty + Margin) * targetStride + tx + Margin)];
    }

    /// Every target pixel inside the rectangle is its picture pixel; every one outside is untouched.
    void expectShows(int x, int y, int w, int h) const
    {
        for (int ty = -Margin; ty < Height * scale + Margin; ++ty)
            for (int tx = -Margin; tx < Width * scale + Margin; ++tx) {
                const int px = tx >= 0 ? tx / scale : -1;
                const int py = ty >= 0 ? ty / scale : -1;
                const bool inside = px >= x && px < x + w && py >= y && py < y + h;
                const std::uint32_t expected = inside ? picture[static_cast<std::size_t>(py * Width + px)] : Untouched;
                ASSERT_EQ(shown(tx, ty), expected) << "at " << tx << ',' << ty << " scale " << scale;
            }
    }

    int scale;
    int targetStride;
    std::vector<std::uint32_t> picture = std::vector<std::uint32_t>(Width * Height);
    std::vector<std::uint32_t> target;
};

} // namespace

TEST(PixelMagnifier, EveryPixelBecomesASquareInsideTheRectangleOnly)
{
    struct Case {
        int scale, x, y, w, h;
    };
    for (const Case& c : {Case{1, 0, 0, 21, 5}, Case{2, 0, 0, 21, 5}, Case{3, 4, 1, 13, 3}, Case{4, 9, 2, 12, 3},
                          Case{5, 20, 4, 1, 1}}) {
        Fixture f(c.scale);
        magnify(f.pictureRows(), c.x, c.y, c.w, c.h, f.targetRows(), c.scale);
        f.expectShows(c.x, c.y, c.w, c.h);
        Fixture again(c.scale);
        PixelMagnifier magnifier(Fixture::Width, Fixture::Height);
        EXPECT_EQ(magnifier.copy(again.pictureRows(), c.x, c.y, c.w, c.h, again.targetRows(), c.scale),
                  static_cast<std::size_t>(c.w * c.h));
        again.expectShows(c.x, c.y, c.w, c.h);
    }
}

TEST(PixelMagnifier, AgainWritesOnlyTheBlocksThatChanged)
{
    Fixture f(3);
    PixelMagnifier magnifier(Fixture::Width, Fixture::Height);
    magnifier.copy(f.pictureRows(), 0, 0, Fixture::Width, Fixture::Height, f.targetRows(), 3);
    EXPECT_EQ(magnifier.copy(f.pictureRows(), 0, 0, Fixture::Width, Fixture::Height, f.targetRows(), 3), 0u);

    // One pixel in the first block of a row, two in the short last block of another.
    f.at(2, 1) ^= 0x00FFFFFF;
    f.at(17, 4) ^= 0x00010000;
    f.at(20, 4) ^= 0x00000100;
    EXPECT_EQ(magnifier.copy(f.pictureRows(), 0, 0, Fixture::Width, Fixture::Height, f.targetRows(), 3), 8u + 5u);
    f.expectShows(0, 0, Fixture::Width, Fixture::Height);
    // And back as they were.
    f.at(2, 1) ^= 0x00FFFFFF;
    f.at(17, 4) ^= 0x00010000;
    f.at(20, 4) ^= 0x00000100;
    EXPECT_EQ(magnifier.copy(f.pictureRows(), 0, 0, Fixture::Width, Fixture::Height, f.targetRows(), 3), 8u + 5u);
    f.expectShows(0, 0, Fixture::Width, Fixture::Height);
}

TEST(PixelMagnifier, WhatTheTargetMayNoLongerHoldIsWrittenWhole)
{
    Fixture f(2);
    PixelMagnifier magnifier(Fixture::Width, Fixture::Height);
    const auto all = [&] { return magnifier.copy(f.pictureRows(), 0, 0, Fixture::Width, Fixture::Height, f.targetRows(), 2); };

    // Known in pieces: two halves that touch make the row known, so the whole costs nothing more.
    magnifier.copy(f.pictureRows(), 0, 0, 10, Fixture::Height, f.targetRows(), 2);
    magnifier.copy(f.pictureRows(), 10, 0, 11, Fixture::Height, f.targetRows(), 2);
    EXPECT_EQ(all(), 0u);

    // Pieces with a gap between them: the gap was never written, so the rows are written whole.
    magnifier.forget();
    magnifier.copy(f.pictureRows(), 0, 2, 5, 1, f.targetRows(), 2);
    magnifier.copy(f.pictureRows(), 12, 2, 5, 1, f.targetRows(), 2);
    EXPECT_EQ(all(), static_cast<std::size_t>(Fixture::Width * Fixture::Height));

    // Forgotten: the target was painted over, and is painted again whole.
    std::fill(f.target.begin(), f.target.end(), Fixture::Untouched);
    magnifier.forget();
    EXPECT_EQ(all(), static_cast<std::size_t>(Fixture::Width * Fixture::Height));
    f.expectShows(0, 0, Fixture::Width, Fixture::Height);
}
