// The window's share of the ghost: the visible part of the area canvas painted as a frame paints
// it, with and without the half-transparent hero over it. The difference per frame, over the 13 ms
// of a frame at the default frame rate, is the drawing's share of a core.

#include "app/qt/AreaCanvasView.h"
#include "play/FramePainter.h"
#include "world/AreaDrawing.h"
#include "world/SheetCells.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

using namespace poronpa;

void paintFrames(benchmark::State& state, bool ghost)
{
    Surface canvas(AreaCanvasSize, AreaCanvasSize, rgb(30, 60, 90));
    Surface sprites(sheet::Width, sheet::Height, rgb(200, 120, 40));
    const Surface hero = play::heroPicture(sprites, 2);
    const QImage picture = QImage(reinterpret_cast<const uchar*>(hero.data()), 32, 32, 32 * 4, QImage::Format_ARGB32).copy();
    AreaCanvasView view(&canvas);
    QImage shown(320, 320, QImage::Format_RGB32);
    int x = 0;
    for (auto _ : state) {
        // The view scrolls with the hero, the ghost a little behind it.
        x = (x + 3) % 1200;
        if (ghost)
            view.setGhost(&picture, x + 100, 800);
        view.render(&shown, QPoint(), QRegion(x, 700, 320, 320));
        benchmark::DoNotOptimize(shown.constBits());
    }
}

void withoutGhost(benchmark::State& state) { paintFrames(state, false); }
void withGhost(benchmark::State& state) { paintFrames(state, true); }
BENCHMARK(withoutGhost);
BENCHMARK(withGhost);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
