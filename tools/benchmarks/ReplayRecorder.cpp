// Frames recorded per second: what recording a replay costs each frame of the game. The keys of
// a player change every few frames; the worst case changes them every frame.

#include "replay/ReplayRecorder.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace poronpa;

/// Keys a player might hold: runs of `runLength` frames of walking, jumping and climbing.
std::vector<sim::KeySet> playerKeys(int runLength)
{
    const int codes[][2] = {{39, 0}, {39, 32}, {0, 0}, {37, 0}, {38, 0}, {37, 32}, {40, 0}, {13, 0}};
    std::vector<sim::KeySet> frames;
    for (int run = 0; run < 4096 / runLength; ++run)
        for (int i = 0; i < runLength; ++i) {
            sim::KeySet keys;
            for (const int code : codes[run % 8])
                if (code != 0)
                    keys.set(static_cast<std::size_t>(code));
            frames.push_back(keys);
        }
    return frames;
}

/// One recording of a game of about 100,000 frames (a little over twenty minutes of play), made
/// afresh each time so that the text it grows is always that of a real game's length.
void recordFrames(benchmark::State& state)
{
    const auto frames = playerKeys(static_cast<int>(state.range(0)));
    constexpr int Passes = 25;
    for (auto _ : state) {
        replay::ReplayRecorder recorder;
        for (int pass = 0; pass < Passes; ++pass)
            for (const sim::KeySet& keys : frames) {
                recorder.beginFrame(keys);
                recorder.endFrame();
            }
        benchmark::DoNotOptimize(recorder.frames());
    }
    state.SetItemsProcessed(state.iterations() * Passes * static_cast<std::int64_t>(frames.size()));
}

} // namespace

// The argument is the frames the keys stay the same: 1 is the worst case, 8 a busy player.
BENCHMARK(recordFrames)->Arg(1)->Arg(8)->Arg(64);

BENCHMARK_MAIN();
