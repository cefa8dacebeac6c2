// Frames per second of the play engine without a window: a hero running and jumping to and fro
// across an area busy with animated tiles, with and without drawing the canvas.

#include "play/FramePainter.h"
#include "play/GameEngine.h"
#include "play/KeyCodes.h"
#include "world/SheetCells.h"

#include <benchmark/benchmark.h>

namespace {

using namespace poronpa;

/// The start area: a floor with walls at both ends, waterfalls and flame pictures behind the
/// hero every third cell, a strip of conveyor and a few platforms to jump under.
MapGrid busyWorld()
{
    MapGrid map;
    const int x0 = 100, y0 = 200;
    for (int c = 0; c < 50; ++c) {
        map.setCell(x0 + c, y0 + 48, c >= 20 && c < 26 ? 155 : 96);
        for (int r = 36; r < 48; ++r)
            if ((c + r) % 3 == 0)
                map.setCell(x0 + c, y0 + r, (c % 2) == 0 ? 4 : 7);
        if (c % 7 == 3)
            map.setCell(x0 + c, y0 + 43, 97);
    }
    for (int r = 30; r < 48; ++r) {
        map.setCell(x0 + 1, y0 + r, 96);
        map.setCell(x0 + 48, y0 + r, 96);
    }
    return map;
}

Surface sheetOfColours()
{
    Surface s(sheet::Width, sheet::Height);
    for (int n = 0; n < sheet::Cells; ++n)
        s.fillRect(sheet::cellX(n), sheet::cellY(n), sheet::CellSize, sheet::CellSize, rgb(n, 3 * n, 255 - n));
    return s;
}

void runFrames(benchmark::State& state, bool drawing)
{
    const MapGrid map = busyWorld();
    const Surface tiles = sheetOfColours();
    const Surface sprites = sheetOfColours();
    GameEngine engine(map);
    play::FramePainter painter(map, tiles, sprites);
    engine.setDrawingWanted(drawing);
    engine.NewGame();
    engine.EnterArea();
    engine.beginLoop();
    painter.paint(engine.events(), engine.state());

    using keys::Left, keys::Right, keys::Space;
    std::int64_t frame = 0;
    for (auto _ : state) {
        // 400-frame rounds: run right, then left, a jump every 50 frames.
        const std::int64_t phase = frame % 400;
        if (phase == 0) {
            engine.keyUp(Left);
            engine.keyDown(Right);
        } else if (phase == 200) {
            engine.keyUp(Right);
            engine.keyDown(Left);
        }
        if (phase % 50 == 0)
            engine.keyDown(Space);
        else if (phase % 50 == 20)
            engine.keyUp(Space);
        engine.clearEvents();
        benchmark::DoNotOptimize(engine.step());
        if (drawing)
            benchmark::DoNotOptimize(painter.paint(engine.events(), engine.state()));
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
