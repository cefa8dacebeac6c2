#include "route/RouteScript.h"

#include "route/RouteSearch.h"

#include <functional>
#include <optional>
#include <sstream>

namespace poronpa::route {

namespace {

constexpr const char* LegMark = "# leg ";
constexpr const char* NoteMark = " -- ";

/// The goal text of a leg's heading line, or "" when the line is no heading.
std::string headingGoal(const std::string& line)
{
    if (line.rfind(LegMark, 0) != 0)
        return "";
    const auto colon = line.find(": ");
    if (colon == std::string::npos)
        return "";
    const std::string rest = line.substr(colon + 2);
    return rest.substr(0, rest.find(NoteMark));
}

} // namespace

std::string formatRouteScript(const RouteScript& script, const std::string& planName)
{
    std::ostringstream out;
    std::int64_t frames = 0;
    for (const auto& leg : script.legs)
        for (const auto& run : leg.runs)
            frames += run.frames;
    out << "# Key script for poronpa-sim, found by poronpa-route from " << planName << ": " << frames << " frames.\n";
    return out.str() + formatLegs(script);
}

std::string formatLegs(const RouteScript& script)
{
    std::ostringstream out;
    for (std::size_t k = 0; k < script.legs.size(); ++k) {
        const ScriptLeg& leg = script.legs[k];
        out << LegMark << k + 1 << (leg.complete ? "" : " (unfinished)") << ": " << leg.goal.text;
        if (!leg.goal.note.empty())
            out << NoteMark << leg.goal.note;
        out << "\n";
        for (const auto& run : leg.runs)
            out << run.frames << " " << sim::keysText(run.keys) << "\n";
    }
    return out.str();
}

namespace {

/// Keeps the legs of `oldScript` while `goalOf` (leg number, heading's goal) gives each a goal
/// and its runs still reach it.
RouteScript keepLegs(const std::string& oldScript, const std::function<std::optional<Goal>(std::size_t, const std::string&)>& goalOf,
                     EngineDriver& driver, Snapshot& at)
{
    // Split the old script into legs by their headings.
    struct OldLeg {
        std::string goal;
        bool complete = true;
        std::vector<sim::KeyRun> runs;
    };
    std::vector<OldLeg> old;
    std::istringstream lines(oldScript);
    for (std::string line; std::getline(lines, line);) {
        if (const std::string goal = headingGoal(line); !goal.empty()) {
            old.push_back({goal, line.find("(unfinished)") == std::string::npos, {}});
            continue;
        }
        sim::KeyScript one;
        std::string error;
        if (old.empty() || !sim::parseKeyScript(line, one, error))
            continue;
        old.back().runs.insert(old.back().runs.end(), one.runs.begin(), one.runs.end());
    }

    RouteScript kept;
    for (std::size_t k = 0; k < old.size(); ++k) {
        const std::optional<Goal> goal = old[k].complete ? goalOf(k, old[k].goal) : std::nullopt;
        if (!goal)
            break;
        bool reached = false;
        for (const auto& run : old[k].runs)
            for (std::int64_t f = 0; f < run.frames; ++f) {
                driver.step(run.keys);
                reached = goalReached(*goal, driver);
            }
        if (!reached)
            break;
        kept.legs.push_back({*goal, old[k].runs, true});
        at = driver.save();
    }
    driver.restore(at);
    return kept;
}

} // namespace

RouteScript keepReachingLegs(const std::string& oldScript, const std::vector<Goal>& goals, EngineDriver& driver, Snapshot& at)
{
    return keepLegs(
        oldScript,
        [&](std::size_t k, const std::string& text) -> std::optional<Goal> {
            if (k < goals.size() && goals[k].text == text)
                return goals[k];
            return std::nullopt;
        },
        driver, at);
}

RouteScript keepReachingLegs(const std::string& oldScript, EngineDriver& driver, Snapshot& at)
{
    return keepLegs(
        oldScript,
        [](std::size_t, const std::string& text) -> std::optional<Goal> {
            std::vector<Goal> goals;
            std::string error;
            if (!parseRoutePlan(text, goals, error) || goals.size() != 1)
                return std::nullopt;
            return goals.front();
        },
        driver, at);
}

} // namespace poronpa::route
