// A damaged save played on: whatever counts it brings in, the game must not overflow them.
#include "play/SavedGame.h"
#include "tests/hardening/FaultSupport.h"

#include <gtest/gtest.h>

#include <limits>

using namespace poronpa;
using namespace poronpa::test;

TEST(DamagedSave, AMishapCountAtItsLargestValueStaysThere)
{
    TempDir dir;
    // In an empty world the hero falls out of the bottom of the start area again and again.
    writeBytes(dir / "mapdata.dat", {});
    SaveRecord damaged;
    damaged.AreaX = 2;
    damaged.AreaY = 4;
    damaged.RespawnX = 160;
    damaged.RespawnY = 1498;
    damaged.DeathCount[2][4] = std::numeric_limits<std::int32_t>::max();
    ASSERT_TRUE(SaveGame(dir / "savedata.dat", damaged).ok());

    const ProgramRun run = runProgram({PORONPA_SIM_EXECUTABLE, "--map", (dir / "mapdata.dat").string(), "--save",
                                       (dir / "savedata.dat").string(), "--continue", "--frames", "400"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("area=2,4 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" deaths=2147483647 "), std::string::npos) << run.out;
}
