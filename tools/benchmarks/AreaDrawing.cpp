#include "app/base/FileNames.h"
#include "tests/support/TempDir.h"
#include "world/AreaDrawing.h"
#include "world/MapFile.h"
#include "world/SheetCells.h"

#include <benchmark/benchmark.h>

using namespace poronpa;

namespace {

MapGrid busyWorld()
{
    MapGrid map;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            map.setCell(x, y, static_cast<std::uint8_t>((x * 31 + y * 7) % 192));
    return map;
}

/// A whole area painted into the canvas: 2,500 cell copies, done on every area entry.
void DrawWholeArea(benchmark::State& state)
{
    const MapGrid map = busyWorld();
    const Surface tiles(sheet::Width, sheet::Height, rgb(10, 20, 30));
    Surface canvas(AreaCanvasSize, AreaCanvasSize);
    int area = 0;
    for (auto _ : state) {
        DrawArea(map, area % 5, area / 5 % 5, tiles, canvas);
        benchmark::DoNotOptimize(canvas.data());
        ++area;
    }
    state.SetItemsProcessed(state.iterations() * 2500);
}
BENCHMARK(DrawWholeArea)->Unit(benchmark::kMicrosecond);

/// Reading the whole world from its file at start-up.
void LoadMapFile(benchmark::State& state)
{
    test::TempDir dir;
    const MapGrid world = busyWorld();
    saveMap(dir / filenames::World, world);
    MapGrid map;
    for (auto _ : state) {
        loadMap(dir / filenames::World, map);
        benchmark::DoNotOptimize(map);
    }
}
BENCHMARK(LoadMapFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
