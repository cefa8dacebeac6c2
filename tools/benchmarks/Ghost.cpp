// What the ghost adds to a frame of play: one more engine step, driven by the best run's
// recording, and where its hero is to be drawn. At the default frame rate (a frame every 13 ms)
// the time per frame here, divided by 13 ms, is its share of a core; the window's own drawing of
// the half-transparent picture is measured by bench_ghost_drawing.

#include "app/base/TemporaryFolder.h"
#include "play/FramePainter.h"
#include "records/Ghost.h"
#include "tools/benchmarks/BusyWorld.h"
#include "replay/ReplayFile.h"
#include "world/SheetCells.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace poronpa;

/// A best run of a million frames running and jumping to and fro, as a recording of a whole run.
replay::Replay bestRun(const MapGrid& map)
{
    replay::ReplayHeader header;
    header.program = "bench";
    header.date = "2026-01-01 00:00:00 +0000";
    header.mapDigest = replay::mapDigest(map);
    std::string keys;
    std::int64_t frames = 0;
    while (frames < 1'000'000) {
        keys += "60 right\n20 right+space\n60 left\n20 left+space\n";
        frames += 160;
    }
    replay::Replay run;
    std::string error;
    const std::string text = headerText(header) + keys +
                             replay::endingLine("end frame=" + std::to_string(frames) +
                                                " area=2,4 pos=160,1504 state=100 items=0000000011 deaths=0 ending=yes");
    if (!replay::parseReplay(text, run, error))
        throw std::runtime_error(error);
    return run;
}

void ghostFrames(benchmark::State& state)
{
    const MapGrid map = bench::busyWorld();
    TemporaryFolder folder("bench-ghost");
    records::Ghost ghost(map, bestRun(map), folder.path());
    std::int64_t frame = 0;
    for (auto _ : state) {
        // A run that ended starts again, as it would for the next game.
        if (!ghost.seek(++frame))
            ghost.seek(frame = 1);
        const std::optional<records::GhostSighting> seen = ghost.sighting(2, 4);
        benchmark::DoNotOptimize(seen);
    }
}
BENCHMARK(ghostFrames);

/// The hero's picture made for a frame the ghost shows for the first time (the window keeps each).
void heroPictureMade(benchmark::State& state)
{
    Surface sprites(sheet::Width, sheet::Height, rgb(40, 80, 120));
    int frame = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(play::heroPicture(sprites, frame++ % 32));
}
BENCHMARK(heroPictureMade);

} // namespace

BENCHMARK_MAIN();
