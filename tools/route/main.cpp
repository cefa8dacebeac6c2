#include "app/base/SafeFile.h"
#include "app/base/StandardOptions.h"
#include "app/sim/SimOptions.h"
#include "route/RouteScript.h"
#include "route/RouteSearch.h"
#include "world/MapFile.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

using namespace poronpa;
using namespace poronpa::route;

namespace {

constexpr std::string_view Usage =
    "Usage: poronpa-route --map MAP.dat --plan PLAN --out SCRIPT.keys [--resume]\n"
    "                     [--expansions N] [--greed G]\n"
    "                     [--area AX,AY --pos X,Y] [--items LIST] [--switch 0|1]\n"
    "Searches key runs that take a new game through the plan's goals one after the other\n"
    "and writes them as a key script for poronpa-sim. --resume keeps the legs of an\n"
    "existing SCRIPT that still reach their goals and searches on from there. --area, --pos,\n"
    "--items and --switch start the search elsewhere, as poronpa-sim's options do.\n";

int usage()
{
    return refuseArguments(Usage);
}

bool readText(const std::string& path, std::string& text)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (!readWholeFile(path, bytes, &exists).ok() || !exists)
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

std::string where(const GameState& s)
{
    char text[128];
    std::snprintf(text, sizeof text, "area (%d, %d) at (%.1f, %.1f), state %d", s.AreaX, s.AreaY, static_cast<double>(s.HeroX),
                  static_cast<double>(s.HeroY), s.HeroState);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (answerHelpOrVersion(argc, argv, "poronpa-route", Usage))
        return 0;
    std::string mapPath, planPath, outPath;
    bool resume = false;
    SearchLimits limits;
    std::vector<std::string> startArgs; // handed to the simulator's own option reader
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--resume")
            resume = true;
        else if (!hasValue)
            return usage();
        else if (arg == "--map")
            mapPath = argv[++i];
        else if (arg == "--plan")
            planPath = argv[++i];
        else if (arg == "--out")
            outPath = argv[++i];
        else if (arg == "--expansions") {
            const auto n = numberArgument<double>(argv[++i]);
            if (!n || *n < 1 || *n > 1e12 || *n != std::floor(*n))
                return usage();
            limits.maxExpansions = static_cast<std::size_t>(*n);
        } else if (arg == "--greed") {
            const auto g = numberArgument<double>(argv[++i]);
            if (!g || *g <= 0)
                return usage();
            limits.greed = *g;
        }
        else if (arg == "--area" || arg == "--pos" || arg == "--items" || arg == "--switch") {
            startArgs.push_back(arg);
            startArgs.push_back(argv[++i]);
        } else
            return usage();
    }
    sim::SimOptions options;
    if (std::string error; !sim::parseSimOptions(startArgs, options, error)) {
        std::fprintf(stderr, "poronpa-route: %s\n", error.c_str());
        return 2;
    }
    if (mapPath.empty() || planPath.empty() || outPath.empty())
        return usage();

    std::vector<std::uint8_t> mapBytes;
    bool mapExists = false;
    if (!readWholeFile(mapPath, mapBytes, &mapExists).ok() || !mapExists) {
        std::fprintf(stderr, "poronpa-route: cannot read %s\n", mapPath.c_str());
        return 2;
    }
    MapGrid map;
    loadMap(mapPath, map);

    std::string planText, error;
    std::vector<Goal> goals;
    if (!readText(planPath, planText) || !parseRoutePlan(planText, goals, error)) {
        std::fprintf(stderr, "poronpa-route: %s: %s\n", planPath.c_str(), error.empty() ? "cannot read" : error.c_str());
        return 2;
    }

    EngineDriver driver(map);
    driver.startNewGame(options.start);
    Snapshot at = driver.save();

    RouteScript script;
    if (std::string old; resume && readText(outPath, old))
        script = keepReachingLegs(old, goals, driver, at);
    std::fprintf(stderr, "%zu of %zu legs kept, frame %lld\n", script.legs.size(), goals.size(), static_cast<long long>(at.frame));

    int status = 0;
    for (std::size_t k = script.legs.size(); k < goals.size(); ++k) {
        const auto began = std::chrono::steady_clock::now();
        // A greedier search finds its way across a plateau of the guide faster, at the price of
        // a longer path, so it is the second and third try.
        LegResult leg;
        for (const double greed : {limits.greed, limits.greed * 4, limits.greed * 16}) {
            SearchLimits tryLimits = limits;
            tryLimits.greed = greed;
            leg = searchLeg(driver, at, goals[k], tryLimits);
            if (leg.found)
                break;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        driver.restore(leg.end);
        script.legs.push_back({goals[k], leg.runs, leg.found});
        at = leg.end;
        std::fprintf(stderr, "leg %zu %s: %s, %lld frames, %zu expansions, %.1f s; %s\n", k + 1, goals[k].text.c_str(),
                     leg.found ? "found" : "NOT FOUND", static_cast<long long>(at.frame), leg.expansions, seconds,
                     where(driver.state()).c_str());
        if (!leg.found) {
            status = 1;
            break;
        }
    }
    const std::string text = formatRouteScript(script, planPath);
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (const FileStatus written = writeFileAtomically(outPath, bytes); !written.ok()) {
        std::fprintf(stderr, "poronpa-route: %s\n", written.error.c_str());
        return 2;
    }
    std::printf("%s: %lld frames%s\n", outPath.c_str(), static_cast<long long>(at.frame), status ? " (unfinished)" : "");
    return status;
}
