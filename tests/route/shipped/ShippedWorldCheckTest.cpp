#include "app/base/SafeFile.h"
#include "route/WorldCheck.h"
#include "world/MapFile.h"
#include "world/WorldPlaces.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace poronpa;
using namespace poronpa::route;

// The world the game ships is proved finishable within the default budget: its check takes over
// the route shipped beside it (a search from nothing does not yet get through the volcano's
// springs in a minute), and the route it keeps must play in the simulator to the same end line.
TEST(ShippedWorldCheck, FindsARouteWithinTheDefaultBudgetThatTheSimulatorPlaysToTheEnding)
{
    MapGrid map;
    ASSERT_TRUE(loadWholeWorld(PORONPA_BUILT_MAP, map).ok());
    CheckOptions options;
    options.previousRoute = routeToTakeOver(PORONPA_BUILT_MAP);
    ASSERT_FALSE(options.previousRoute.empty()) << "no route beside " << PORONPA_BUILT_MAP;
    const CheckReport report = checkWorld(map, options);
    ASSERT_EQ(report.outcome, CheckReport::Outcome::Finishable) << reportText(report);
    EXPECT_LE(report.seconds, options.budgetSeconds + 1);

    const std::filesystem::path file = std::filesystem::temp_directory_path() / ("shipped-route-" + std::to_string(::getpid()) + ".replay");
    const std::vector<std::uint8_t> bytes(report.replayText.begin(), report.replayText.end());
    ASSERT_TRUE(writeFileAtomically(file, bytes).ok());
    const std::string command = std::string(PORONPA_SIM) + " --map " + PORONPA_BUILT_MAP + " --replay " + file.string() + " --check > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::filesystem::remove(file);
}
