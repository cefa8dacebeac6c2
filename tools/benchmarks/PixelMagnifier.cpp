#include "app/base/PixelMagnifier.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace poronpa;

namespace {

constexpr int View = 321; // the play view and its border, in the game's pixels
constexpr int Frames = 64;
constexpr int Step = 3;   // pixels the view scrolls per frame at walking speed

/// Frames of a view scrolling sideways over a scene like the game's: open sky above, a leafy
/// crown in it, a brick floor and earth below, all in small patterns of a few colours.
std::vector<std::vector<std::uint32_t>> scrollingFrames()
{
    constexpr int SceneWidth = View + Frames * Step;
    std::vector<std::uint32_t> scene(static_cast<std::size_t>(SceneWidth * View));
    for (int y = 0; y < View; ++y)
        for (int x = 0; x < SceneWidth; ++x) {
            std::uint32_t colour = 0xFF9CD4F0; // sky
            if (y >= 225)
                colour = ((x / 3 + y / 2) % 5 == 0) ? 0xFF6B4A2F : 0xFF85603C; // earth
            else if (y >= 200)
                colour = (y % 8 == 0 || (x + (y / 8) * 16) % 32 == 0) ? 0xFF7A7A80 : 0xFFB4B4BC; // bricks
            else if (y < 100 && x % 400 > 40 && x % 400 < 160)
                colour = ((x * 7 + y * 3) % 11 < 4) ? 0xFF2E7D32 : 0xFF43A047; // leaves
            scene[static_cast<std::size_t>(y * SceneWidth + x)] = colour;
        }
    std::vector<std::vector<std::uint32_t>> frames(Frames);
    for (int f = 0; f < Frames; ++f) {
        frames[static_cast<std::size_t>(f)].resize(View * View);
        for (int y = 0; y < View; ++y)
            for (int x = 0; x < View; ++x)
                frames[static_cast<std::size_t>(f)][static_cast<std::size_t>(y * View + x)] =
                    scene[static_cast<std::size_t>(y * SceneWidth + x + f * Step)];
    }
    return frames;
}

/// One frame of the scrolling view shown at a magnification (the argument), writing what changed.
void ShowScrollingFrame(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    const auto frames = scrollingFrames();
    std::vector<std::uint32_t> window(static_cast<std::size_t>(View * scale * View * scale));
    const PixelRows<std::uint32_t> target{window.data(), View * scale};
    PixelMagnifier magnifier(View, View);
    std::size_t frame = 0;
    std::size_t written = 0;
    for (auto _ : state) {
        written += magnifier.copy({frames[frame % Frames].data(), View}, 0, 0, View, View, target, scale);
        benchmark::DoNotOptimize(window.data());
        ++frame;
    }
    state.counters["written"] = benchmark::Counter(static_cast<double>(written) / static_cast<double>(View * View * frame));
}
BENCHMARK(ShowScrollingFrame)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

/// The same frames magnified whole, as when nothing is known of what the window holds.
void MagnifyWholeFrame(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    const auto frames = scrollingFrames();
    std::vector<std::uint32_t> window(static_cast<std::size_t>(View * scale * View * scale));
    std::size_t frame = 0;
    for (auto _ : state) {
        magnify({frames[frame % Frames].data(), View}, 0, 0, View, View, {window.data(), View * scale}, scale);
        benchmark::DoNotOptimize(window.data());
        ++frame;
    }
}
BENCHMARK(MagnifyWholeFrame)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

/// The floor the magnifier is measured against: the magnified picture, already made, copied whole
/// into the window's picture, as fast as the library copies memory.
void CopyMagnifiedFrame(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    const auto frames = scrollingFrames();
    std::vector<std::vector<std::uint32_t>> magnified(Frames);
    for (int f = 0; f < Frames; ++f) {
        magnified[static_cast<std::size_t>(f)].resize(static_cast<std::size_t>(View * scale * View * scale));
        magnify({frames[static_cast<std::size_t>(f)].data(), View}, 0, 0, View, View,
                {magnified[static_cast<std::size_t>(f)].data(), View * scale}, scale);
    }
    std::vector<std::uint32_t> window(static_cast<std::size_t>(View * scale * View * scale));
    std::size_t frame = 0;
    for (auto _ : state) {
        const auto& picture = magnified[frame % Frames];
        std::memcpy(window.data(), picture.data(), picture.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(window.data());
        ++frame;
    }
}
BENCHMARK(CopyMagnifiedFrame)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
