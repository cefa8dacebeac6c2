// The world check on the shipped world: the time to the first route found with no hints, the
// same check again with the route the first one kept (a re-check after a small edit), and the
// states searched per second. A check that finds no route within its budget is reported as an
// error, so its time is not taken for a route's.

#include "route/WorldCheck.h"
#include "world/MapFile.h"

#include <benchmark/benchmark.h>

using namespace poronpa;
using namespace poronpa::route;

namespace {

const MapGrid& shippedWorld()
{
    static const MapGrid map = [] {
        MapGrid m;
        loadWholeWorld(PORONPA_BUILT_MAP, m);
        return m;
    }();
    return map;
}

void run(benchmark::State& state, const CheckOptions& options)
{
    CheckReport report;
    for (auto _ : state) {
        report = checkWorld(shippedWorld(), options);
        if (report.outcome != CheckReport::Outcome::Finishable) {
            state.SkipWithError(reportText(report).c_str());
            return;
        }
    }
    state.counters["states"] = static_cast<double>(report.statesSearched);
    state.counters["states/s"] = report.seconds > 0 ? static_cast<double>(report.statesSearched) / report.seconds : 0;
    state.counters["route frames"] = static_cast<double>(report.frames);
}

void FirstRouteWithoutHints(benchmark::State& state) { run(state, CheckOptions{}); }

void RecheckWithTheKeptRoute(benchmark::State& state)
{
    const CheckReport first = checkWorld(shippedWorld(), CheckOptions{});
    if (first.outcome != CheckReport::Outcome::Finishable) {
        state.SkipWithError("no first route to keep");
        for (auto _ : state) {
        }
        return;
    }
    CheckOptions options;
    options.previousRoute = first.replayText;
    run(state, options);
}

} // namespace

BENCHMARK(FirstRouteWithoutHints)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(RecheckWithTheKeptRoute)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
