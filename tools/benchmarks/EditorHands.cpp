#include "editor/MapEditor.h"
#include "world/SheetCells.h"

#include <benchmark/benchmark.h>

using namespace poronpa;

namespace {

constexpr double Centre = 16;

/// An editor on a blank world with area (2, 2) shown; the tile sheet is one colour, as the time
/// goes into copying cells, not into what they show.
struct Editor {
    MapGrid map;
    MapEditor editor{map, Surface(sheet::Width, sheet::Height, rgb(10, 20, 30))};
    Editor() { editor.overviewRelease(25, 25); }

    /// Times `edit`, which changes the whole area; the undo that brings the area back for the
    /// next round is not timed.
    template <typename Edit>
    void timeUndone(benchmark::State& state, Edit edit)
    {
        for (auto _ : state) {
            edit();
            state.PauseTiming();
            editor.undo();
            state.ResumeTiming();
        }
        state.SetItemsProcessed(state.iterations() * MapGrid::AreaCells * MapGrid::AreaCells);
    }
};

/// Ctrl+click on an area of one tile: all 2,500 cells change, in the map and on the canvas, as
/// one undo step.
void FillWholeArea(benchmark::State& state)
{
    Editor e;
    e.editor.paletteRelease(32 * 5 + Centre, Centre);
    e.timeUndone(state, [&] {
        e.editor.canvasPress(LeftButton, Centre, Centre, ControlModifier);
        e.editor.canvasRelease(NoButton);
    });
}
BENCHMARK(FillWholeArea)->Unit(benchmark::kMicrosecond);

/// A lifted 50 × 50 stamp put down over the whole area by a click.
void PasteWholeAreaStamp(benchmark::State& state)
{
    Editor e;
    Stamp stamp{MapGrid::AreaCells, MapGrid::AreaCells, {}};
    for (int k = 0; k < MapGrid::AreaCells * MapGrid::AreaCells; ++k)
        stamp.tiles.push_back(static_cast<std::uint8_t>(1 + k % 191));
    e.editor.canvasMove(NoButton, Centre, Centre);
    e.timeUndone(state, [&] {
        e.editor.liftStamp(stamp);
        e.editor.canvasPress(LeftButton, Centre, Centre);
        e.editor.canvasRelease(NoButton);
    });
}
BENCHMARK(PasteWholeAreaStamp)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
