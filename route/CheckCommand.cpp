#include "route/CheckCommand.h"

#include "app/base/SafeFile.h"
#include "app/base/StandardOptions.h"
#include "route/WorldCheck.h"
#include "world/MapFile.h"
#include "world/WorldPlaces.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace poronpa::route {

const char* const CheckUsage =
    "Usage: mapdesign --check WORLD [--budget SECONDS] [--json] [--plan FILE] [--fresh]\n"
    "Checks, with the game's own engine, whether a new game on WORLD can reach the ending: the\n"
    "search picks its own goals (the boxes holding what a locked door, deep water, a high ledge\n"
    "or the viewing spot needs, then the viewing spot) within the budget (60 seconds unless\n"
    "--budget says otherwise), prints the report (--json: as JSON) and keeps a route found as a\n"
    "replay among the world's files, which `poronpa --replay` shows. The next check of the world\n"
    "takes over the legs of that route that still reach their goals, unless --fresh; --plan\n"
    "names a route plan in poronpa-route's format whose goals are tried first.\n"
    "Exit status: 0 when the ending was reached, 1 when it was not, 2 for a world file that is\n"
    "not a whole world or a command line the check cannot take.\n";

namespace {

int usage()
{
    return refuseArguments(CheckUsage);
}

std::string readText(const std::filesystem::path& path, bool& ok)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    ok = readWholeFile(path, bytes, &exists).ok() && exists;
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

bool asksForCheck(int argc, char** argv) { return argc > 1 && std::string_view(argv[1]) == "--check"; }

int checkCommand(int argc, char** argv)
{
    std::string world, planPath;
    bool json = false, fresh = false;
    CheckOptions options;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            std::fputs(CheckUsage, stdout);
            return 0;
        }
        if (arg == "--json")
            json = true;
        else if (arg == "--fresh")
            fresh = true;
        else if (arg == "--budget" && i + 1 < argc) {
            const auto seconds = numberArgument<double>(argv[++i]);
            if (!seconds || !std::isfinite(*seconds) || *seconds <= 0 || *seconds > 86400)
                return usage();
            options.budgetSeconds = *seconds;
        } else if (arg == "--plan" && i + 1 < argc)
            planPath = argv[++i];
        else if (arg.starts_with("-") || !world.empty())
            return usage();
        else
            world = arg;
    }
    if (world.empty())
        return usage();

    MapGrid map;
    if (const FileStatus loaded = loadWholeWorld(world, map); !loaded.ok()) {
        std::fprintf(stderr, "mapdesign: %s\n", loaded.error.c_str());
        return 2;
    }
    if (!planPath.empty()) {
        bool ok = false;
        options.planText = readText(planPath, ok);
        if (!ok) {
            std::fprintf(stderr, "mapdesign: %s: cannot read the plan\n", planPath.c_str());
            return 2;
        }
    }
    const std::filesystem::path routeFile = checkedRouteFile(world);
    const std::filesystem::path folder = routeFile.parent_path();
    if (!fresh)
        options.previousRoute = routeToTakeOver(world);
    options.program = "mapdesign " + std::string(programVersion());

    // Someone watching at a terminal sees the stages go by; a tool reading the report does not.
    const bool watched = isatty(STDERR_FILENO) != 0;
    std::string lastStage;
    CheckReport report = checkWorld(map, options, [&](const CheckProgress& p) {
        if (!watched || p.stage == lastStage)
            return;
        lastStage = p.stage;
        std::fprintf(stderr, "\r%3.0f%%  %-60.60s", 100 * p.fraction, p.stage.c_str());
    });
    if (watched)
        std::fprintf(stderr, "\r%70s\r", "");

    if (report.outcome == CheckReport::Outcome::Finishable && !routeFile.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::vector<std::uint8_t> bytes(report.replayText.begin(), report.replayText.end());
        if (const FileStatus written = writeFileAtomically(routeFile, bytes); written.ok())
            report.replayFile = routeFile.string();
        else
            std::fprintf(stderr, "mapdesign: the route was not kept: %s\n", written.error.c_str());
    }
    const std::string text = json ? reportJson(report) : reportText(report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return report.outcome == CheckReport::Outcome::Finishable ? 0 : 1;
}

} // namespace poronpa::route
