#include "play/GameState.h"
#include "route/DistanceField.h"
#include "world/TileFacts.h"
#include "route/RouteScript.h"
#include "route/RouteSearch.h"

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::route;

namespace {

/// The home meadow as a bare floor with a wall two cells high to climb, and a cell of spikes.
MapGrid smallWorld()
{
    MapGrid map;
    for (int i = 0; i < MapGrid::AreaCells; ++i) {
        map.setCell(100 + i, 248, 96);
        map.setCell(100 + i, 249, 97);
    }
    for (int j = 246; j <= 247; ++j)
        for (int i = 20; i < 50; ++i)
            map.setCell(100 + i, j, 99);
    map.setCell(100 + 12, 247, 34);
    return map;
}

std::vector<Goal> plan(const std::string& text)
{
    std::vector<Goal> goals;
    std::string error;
    EXPECT_TRUE(parseRoutePlan(text, goals, error)) << error;
    return goals;
}

} // namespace

TEST(RoutePlan, ReadsEveryKindOfGoalAndItsNote)
{
    const auto goals = plan("# a plan\n\nreach 2,4 5,47   # the start\nreach 1,3 10,20 12,22\nbox 0,4 2,35\n"
                            "switch 0 1,3 21,14\nending\n");
    ASSERT_EQ(goals.size(), 5u);
    EXPECT_EQ(goals[0].kind, Goal::Kind::Reach);
    EXPECT_EQ(goals[0].note, "the start");
    EXPECT_EQ(goals[0].text, "reach 2,4 5,47");
    EXPECT_EQ(goals[1].column1, 12);
    EXPECT_EQ(goals[1].row1, 22);
    EXPECT_EQ(goals[2].kind, Goal::Kind::Box);
    EXPECT_EQ(goals[3].kind, Goal::Kind::Switch);
    EXPECT_EQ(goals[3].switchOn, 0);
    EXPECT_EQ(goals[4].kind, Goal::Kind::Ending);
}

TEST(RoutePlan, NamesTheLineOfAMistake)
{
    for (const char* text : {"walk 1,1 2,2", "reach 5,0 1,1", "reach 0,0 50,1", "reach 1,1 9,9 8,9", "box 1,1 2,2 3,3",
                             "switch 2 1,1 2,2", "ending now", "reach 1;1 2,2"}) {
        std::vector<Goal> goals;
        std::string error;
        EXPECT_FALSE(parseRoutePlan(std::string("ending\n") + text, goals, error)) << text;
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    }
}

TEST(RouteSearch, FindsAWayUpAndOverWithoutAMishapAndTheScriptReplaysIt)
{
    const MapGrid map = smallWorld();
    EngineDriver driver(map);
    driver.startNewGame();
    const Snapshot start = driver.save();
    const auto goals = plan("reach 2,4 30,45   # on top of the wall, past the spikes\n");

    const LegResult leg = searchLeg(driver, start, goals[0], {});
    ASSERT_TRUE(leg.found);

    // The script, read back and replayed from a new game, reaches the goal again and no
    // earlier: its leg is kept.
    RouteScript script;
    script.legs.push_back({goals[0], leg.runs, true});
    const std::string text = formatRouteScript(script, "test.route");
    EngineDriver replay(map);
    replay.startNewGame();
    Snapshot at = replay.save();
    const RouteScript kept = keepReachingLegs(text, goals, replay, at);
    ASSERT_EQ(kept.legs.size(), 1u);
    EXPECT_EQ(at.frame, leg.end.frame);
    EXPECT_EQ(replay.state().DeathCount[2][4], 0);

    // A leg whose goal is no longer the plan's is searched again.
    EngineDriver again(map);
    again.startNewGame();
    Snapshot from = again.save();
    EXPECT_TRUE(keepReachingLegs(text, plan("reach 2,4 40,45\n"), again, from).legs.empty());
    EXPECT_EQ(from.frame, 0);
}

TEST(RouteSearch, ReportsWhereItCameClosestWhenThereIsNoWay)
{
    MapGrid map = smallWorld();
    for (int j = 200; j <= 247; ++j)
        map.setCell(100 + 20, j, 99); // a wall to the top of the area
    EngineDriver driver(map);
    driver.startNewGame();
    SearchLimits limits;
    limits.maxExpansions = 2000;
    const LegResult leg = searchLeg(driver, driver.save(), plan("reach 2,4 30,45\n")[0], limits);
    EXPECT_FALSE(leg.found);
    driver.restore(leg.end);
    EXPECT_EQ(driver.state().AreaX, 2);
    EXPECT_LT(driver.state().HeroX, 20 * 32);
}

TEST(DistanceField, WhichTilesBarTheWay)
{
    // A column of one tile from the floor to the top of the home meadow, between the hero and
    // the goal; a tile of every kind. Doors and glass give way in play, and hidden blocks are
    // counted as the blocks they become.
    struct Case {
        int tile;
        bool bars;
    };
    MapGrid map;
    for (int i = 0; i < MapGrid::AreaCells; ++i)
        map.setCell(100 + i, 248, 96);
    for (const Case c : {Case{0, false}, Case{5, false}, Case{32, true}, Case{33, true}, Case{37, true},
                         Case{54, false}, Case{38, false}, Case{44, false}, Case{67, false}, Case{59, false},
                         Case{52, false}, Case{55, false}, Case{61, true}, Case{62, true}, Case{96, true},
                         Case{142, true}, Case{143, true}, Case{144, true}, Case{151, false}, Case{152, false},
                         Case{153, false}, Case{154, true}, Case{156, true}, Case{172, true}, Case{200, false}}) {
        for (int j = 201; j < 248; ++j)
            map.setCell(125, j, static_cast<std::uint8_t>(c.tile));
        const DistanceField field(map, 2, 4, 30, 47, 30, 47);
        EXPECT_EQ(field.at(120, 247) >= DistanceField::Unreachable, c.bars) << "tile " << c.tile;
    }
}

TEST(DistanceField, WhatTheItemsHeldOpen)
{
    // The same column between the hero and the goal: what it takes to pass it.
    struct Case {
        int tile;
        Abilities can;
        bool bars;
    };
    Abilities none;
    none.keys = {false, false, false, false};
    none.helmet = none.shoes = none.rope = false;
    Abilities yellowKey = none;
    yellowKey.keys[static_cast<std::size_t>(DoorColour::Yellow)] = true;
    Abilities helmet = none;
    helmet.helmet = true;
    MapGrid map;
    for (int i = 0; i < MapGrid::AreaCells; ++i)
        map.setCell(100 + i, 248, 96);
    for (const Case c : {Case{151, none, true}, Case{151, yellowKey, false}, Case{148, yellowKey, true}, Case{5, none, true},
                         Case{5, helmet, false}, Case{0, none, false}}) {
        for (int j = 201; j < 248; ++j)
            map.setCell(125, j, static_cast<std::uint8_t>(c.tile));
        const DistanceField field(map, 2, 4, 30, 47, 30, 47, c.can);
        EXPECT_EQ(field.at(120, 247) >= DistanceField::Unreachable, c.bars) << "tile " << c.tile;
        // The way, where there is one, runs from the hero's cell to the goal.
        const auto way = field.way(120, 247);
        ASSERT_EQ(way.empty(), c.bars) << "tile " << c.tile;
        if (!way.empty())
            EXPECT_EQ(way.back().first, std::pair(130, 247));
    }
}

TEST(DistanceField, TheItemsHeldAreTheStatesItems)
{
    GameState s;
    s.ItemHeld[RedKey] = 1;
    s.ItemHeld[Rope] = 1;
    const Abilities can = Abilities::of(s);
    EXPECT_EQ(can.keys, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_FALSE(can.helmet);
    EXPECT_FALSE(can.shoes);
    EXPECT_TRUE(can.rope);
}
