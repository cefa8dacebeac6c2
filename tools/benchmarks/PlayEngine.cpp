// Frames per second of the play engine without a window: a hero running and jumping to and fro
// across an area busy with animated tiles, with and without drawing the canvas.

#include "play/FramePainter.h"
#include "play/FrameRunner.h"
#include "play/GameEngine.h"
#include "play/KeyCodes.h"
#include "tools/benchmarks/BusyWorld.h"
#include "world/SheetCells.h"

#include <benchmark/benchmark.h>

namespace {

using namespace poronpa;

Surface sheetOfColours()
{
    Surface s(sheet::Width, sheet::Height);
    for (int n = 0; n < sheet::Cells; ++n)
        s.fillRect(sheet::cellX(n), sheet::cellY(n), sheet::CellSize, sheet::CellSize, rgb(n, 3 * n, 255 - n));
    return s;
}

/// Answers every question Yes and paints the frames when asked to.
class Painting : public play::FrameHost {
public:
    Painting(const MapGrid& map, const Surface& tiles, const Surface& sprites, bool drawing)
        : painter_(map, tiles, sprites), drawing_(drawing)
    {
    }
    std::optional<bool> ask(Question) override { return true; }
    void show(const play::FrameEvents& events, const GameState& state) override
    {
        if (drawing_)
            benchmark::DoNotOptimize(painter_.paint(events, state));
    }

private:
    play::FramePainter painter_;
    bool drawing_;
};

void runFrames(benchmark::State& state, bool drawing)
{
    const MapGrid map = bench::busyWorld();
    const Surface tiles = sheetOfColours();
    const Surface sprites = sheetOfColours();
    GameEngine engine(map);
    Painting host(map, tiles, sprites, drawing);
    play::FrameRunner runner(engine, host);
    engine.setDrawingWanted(drawing);
    engine.startFromTitle(TitleChoice::NewGame);
    runner.beginLoop();
    runner.takeEvents();

    using keys::Left, keys::Right, keys::Space;
    std::int64_t frame = 0;
    KeySet held;
    for (auto _ : state) {
        // 400-frame rounds: run right, then left, a jump every 50 frames.
        const std::int64_t phase = frame % 400;
        held[Right] = phase < 200;
        held[Left] = phase >= 200;
        held[Space] = phase % 50 < 20;
        benchmark::DoNotOptimize(runner.runFrame(held));
        ++frame;
    }
    state.SetItemsProcessed(frame);
}

void FramesWithoutDrawing(benchmark::State& state) { runFrames(state, false); }
void FramesWithDrawing(benchmark::State& state) { runFrames(state, true); }

BENCHMARK(FramesWithoutDrawing);
BENCHMARK(FramesWithDrawing);

} // namespace

BENCHMARK_MAIN();
