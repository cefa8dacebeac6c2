#pragma once

#include "route/EngineDriver.h"
#include "route/RoutePlan.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <vector>

namespace poronpa::route {

/// How hard one leg of a route is searched.
struct SearchLimits {
    std::size_t maxExpansions = 400'000;
    /// Weight of the estimate against the frames already spent: above 1 the search runs greedily
    /// towards the goal and gives up the shortest path for speed.
    double greed = 2.5;
    /// The guide knows only the items the hero holds (a locked door stops it), instead of
    /// assuming every door open and every item at hand.
    bool guideByItemsHeld = false;
    /// The search gives up when this is set (from any thread) or the deadline has passed.
    const std::atomic<bool>* stop = nullptr;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    /// Counts the states expanded, shared by searches running at once.
    std::atomic<std::size_t>* expanded = nullptr;
};

/// The outcome of searching one leg.
struct LegResult {
    bool found = false;
    std::vector<sim::KeyRun> runs; ///< keys to the goal, or to the state that came closest
    Snapshot end;
    double closest = 0;            ///< estimated frames still to go from `end` (0 when found)
    std::size_t expansions = 0;
    /// Every state the search could reach (told apart as the search tells them apart) was seen.
    bool exhausted = false;
};

/// True when the state (after a frame that opened `dialogs`) satisfies the goal.
bool goalReached(const Goal& goal, const EngineDriver& driver);

/// Searches held-key runs that take the engine from `start` to the goal without a mishap: a
/// best-first search over runs of a few frames of each useful key combination, where states that
/// look alike (same place to two pixels, same speeds to half a pixel, same items and cells)
/// are explored once.
LegResult searchLeg(EngineDriver& driver, const Snapshot& start, const Goal& goal, const SearchLimits& limits);

} // namespace poronpa::route
