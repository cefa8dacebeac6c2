// Frames per second of the play engine without a window: a hero running and jumping to and fro
// across an area busy with animated tiles, with and without drawing the canvas.

#include "play/GameEngine.h"
#include "world/SheetCells.h"

#include <benchmark/benchmark.h>

namespace {

using namespace poronpa;

/// A host that never waits: its clock jumps to each frame's due time.
class NullHost : public PlayHost {
public:
    std::uint32_t tickCount() override { return clock_; }
    void waitUntilAfter(std::uint32_t tick) override
    {
        if (clock_ <= tick)
            clock_ = tick + 1;
    }
    double secondsSinceMidnight() override { return clock_ / 1000.0; }
    bool processEvents() override { return true; }
    void playSound(int) override {}
    void playMusic(int, bool) override {}
    void stopMusic() override {}
    bool askYesNo(const std::string&) override { return false; }
    void showMessage(const std::string&) override {}
    void showTreasureBox(int) override {}
    void playMissGag(int, int) override {}
    void showTitle() override {}
    void startEnding() override {}
    void presentView(int, int) override {}
    void setRopeLine(int, bool, int, int, int) override {}
    void updateMiniMap(const std::array<std::array<std::int32_t, 5>, 5>&) override {}
    void setItemIconVisible(int, bool) override {}
    void setFpsText(const std::string&) override {}

private:
    std::uint32_t clock_ = 0;
};

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
    NullHost host;
    GameEngine engine(map, tiles, sprites, host);
    engine.setDrawingEnabled(drawing);
    engine.NewGame();
    engine.EnterArea();
    engine.beginLoop();

    constexpr int Left = 37, Right = 39, Space = 32;
    LoopExit exit = LoopExit::Stopped;
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
        benchmark::DoNotOptimize(engine.runFrame(exit));
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
