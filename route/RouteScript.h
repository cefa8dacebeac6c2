#pragma once

#include "play/script/KeyScript.h"
#include "route/EngineDriver.h"
#include "route/RoutePlan.h"

#include <string>
#include <vector>

namespace poronpa::route {

/// The key runs found for one goal of a plan.
struct ScriptLeg {
    Goal goal;
    std::vector<sim::KeyRun> runs;
    bool complete = true; ///< false: the runs only come closest to the goal
};

/// A route as a key script: the legs one after the other, each headed by a comment naming its
/// goal, so that the script reads as the plan and can be taken up again.
struct RouteScript {
    std::vector<ScriptLeg> legs;
};

/// The key script's text for poronpa-sim.
std::string formatRouteScript(const RouteScript& script, const std::string& planName);

/// Replays the legs of an earlier script from the driver's current state for as long as each
/// still belongs to the plan and still reaches its goal; returns those legs and leaves the
/// driver, and `at`, at the end of the last one.
RouteScript keepReachingLegs(const std::string& oldScript, const std::vector<Goal>& goals, EngineDriver& driver, Snapshot& at);
/// The same for a script whose legs name their own goals in their headings (the world check's
/// routes): each leg is kept while its heading reads as one goal and its runs still reach it.
RouteScript keepReachingLegs(const std::string& oldScript, EngineDriver& driver, Snapshot& at);

/// The legs' key lines, each leg headed by a comment naming its goal.
std::string formatLegs(const RouteScript& script);

} // namespace poronpa::route
