#include "play/BoxContents.h"
#include "play/GameState.h"
#include "replay/ReplayFile.h"
#include "route/WorldCheck.h"
#include "world/TileFacts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

using namespace poronpa;
using namespace poronpa::route;

namespace {

constexpr std::uint8_t Floor = 96, Ladder = 40, Box = 55, Spot = tiles::ViewingSpot, YellowDoor = 151;

void put(MapGrid& map, int areaX, int areaY, int column, int row, std::uint8_t tile)
{
    map.setCell(areaX * MapGrid::AreaCells + column, areaY * MapGrid::AreaCells + row, tile);
}

/// The smallest journey the game allows: the home meadow's floor, walled in to the west, runs east through (3,4) to
/// (4,4), where a box holds the pampas grass; a ladder in the meadow climbs through (2,3) and
/// (2,2) onto a ledge in (2,1) with the dumplings' box and the viewing spot.
MapGrid journey()
{
    MapGrid map;
    for (int ax = 2; ax <= 4; ++ax)
        for (int c = 0; c < MapGrid::AreaCells; ++c) {
            put(map, ax, 4, c, 48, Floor);
            put(map, ax, 4, c, 49, Floor);
        }
    for (int r = 1; r <= 47; ++r)
        put(map, 2, 4, 1, r, Floor); // the meadow's west end
    for (int c = 0; c < MapGrid::AreaCells; ++c)
        put(map, 2, 1, c, 30, Floor);
    for (int y = MapGrid::AreaCells + 29; y < 4 * MapGrid::AreaCells + 48; ++y)
        map.setCell(2 * MapGrid::AreaCells + 10, y, Ladder);
    put(map, 2, 1, 30, 29, Box);
    put(map, 2, 1, 40, 30, Spot);
    put(map, 4, 4, 20, 47, Box);
    return map;
}

CheckOptions budget(double seconds)
{
    CheckOptions options;
    options.budgetSeconds = seconds;
    return options;
}

} // namespace

TEST(WorldCheck, FindsTheJourneyAndTellsWhatItOpened)
{
    const MapGrid map = journey();
    std::vector<CheckProgress> told;
    const CheckReport report = checkWorld(map, budget(600), [&](const CheckProgress& p) { told.push_back(p); });
    ASSERT_EQ(report.outcome, CheckReport::Outcome::Finishable) << reportText(report);

    // Both offerings, each from its own area's box, in the order the route opened them.
    ASSERT_EQ(report.boxes.size(), 2u) << reportText(report) << report.replayText;
    std::vector<int> contents;
    for (const OpenedBox& b : report.boxes)
        contents.push_back(b.content);
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<int>{Dumplings, PampasGrass}));
    EXPECT_LT(report.boxes[0].frame, report.boxes[1].frame);
    EXPECT_LE(report.boxes[1].frame, report.frames);
    EXPECT_TRUE(report.boxesNotReached.empty());
    EXPECT_NEAR(report.minutes, report.frames * 13 / 60000.0, 1e-9);

    // The replay is one the game reads, of a new game on this world, played to the ending.
    replay::Replay replay;
    std::string error;
    ASSERT_TRUE(replay::parseReplay(report.replayText, replay, error)) << error;
    ASSERT_TRUE(replay.header);
    EXPECT_EQ(replay.header->mapDigest, replay::mapDigest(map));
    EXPECT_EQ(replay.frames, report.frames);
    ASSERT_TRUE(replay.endLine);
    EXPECT_NE(replay.endLine->find("ending=yes"), std::string::npos) << *replay.endLine;

    // The path runs from the meadow to the ledge, a point every few frames.
    ASSERT_FALSE(report.path.empty());
    EXPECT_EQ(std::pair(report.path.front().areaX, report.path.front().areaY), std::pair(2, 4));
    EXPECT_EQ(std::pair(report.path.back().areaX, report.path.back().areaY), std::pair(2, 1));
    ASSERT_FALSE(told.empty());
    EXPECT_GT(told.back().statesSearched, 0u);

    // Asked again with the route kept, the check takes it over instead of searching.
    CheckOptions again = budget(600);
    again.previousRoute = report.replayText;
    const CheckReport resumed = checkWorld(map, again);
    ASSERT_EQ(resumed.outcome, CheckReport::Outcome::Finishable);
    EXPECT_TRUE(resumed.hintsUsed);
    EXPECT_EQ(resumed.frames, report.frames);
    EXPECT_EQ(resumed.statesSearched, 0u);
}

TEST(WorldCheck, NamesWhatStandsInTheWay)
{
    struct Case {
        const char* name;
        std::function<void(MapGrid&)> change;
        std::vector<std::string> words; ///< all of them in what stands in the way
    };
    const std::vector<Case> cases{
        {"a yellow door no key opens, on the way to the pampas grass",
         [](MapGrid& map) {
             for (int r = 1; r <= 47; ++r)
                 put(map, 3, 4, 25, r, r >= 46 ? YellowDoor : Floor);
         },
         {"yellow door in area (3,4)", "needs the yellow key", "no box holds it"}},
        {"the viewing spot walled in",
         [](MapGrid& map) {
             for (int c = 38; c <= 42; ++c)
                 put(map, 2, 1, c, 27, Floor);
             for (int r = 28; r <= 29; ++r) {
                 put(map, 2, 1, 38, r, Floor);
                 put(map, 2, 1, 42, r, Floor);
             }
         },
         {"viewing spot in area (2,1)", "walled in"}},
        {"no box for the dumplings", [](MapGrid& map) { put(map, 2, 1, 30, 29, 0); }, {"needs the dumplings", "no box holds them"}},
    };
    for (const Case& c : cases) {
        MapGrid map = journey();
        c.change(map);
        const CheckReport report = checkWorld(map, budget(8));
        EXPECT_NE(report.outcome, CheckReport::Outcome::Finishable) << c.name;
        for (const std::string& word : c.words)
            EXPECT_NE(report.obstacle.find(word), std::string::npos) << c.name << ": " << report.obstacle;
        EXPECT_TRUE(report.replayText.empty()) << c.name;
    }
}

TEST(WorldCheck, ProvesAWorldImpossibleOnlyWhenItSawEveryState)
{
    // The hero shut in a box of walls in the meadow: every state is seen in a few seconds, or in a
    // minute or so built with the sanitizers on a busy machine; the check ends there, so the
    // budget only has to be out of the way.
    MapGrid shut = journey();
    for (int r = 40; r <= 47; ++r)
        put(shut, 2, 4, 8, r, Floor);
    for (int c = 1; c <= 8; ++c)
        put(shut, 2, 4, c, 40, Floor);
    const CheckReport proved = checkWorld(shut, budget(600));
    EXPECT_EQ(proved.outcome, CheckReport::Outcome::Impossible) << reportText(proved);

    // The same shut world with no time to look: not proved, so only "not found".
    const CheckReport hurried = checkWorld(shut, budget(0.001));
    EXPECT_EQ(hurried.outcome, CheckReport::Outcome::NotFound);
}

TEST(WorldCheck, StopsWhenCancelled)
{
    const MapGrid map = journey();
    std::atomic<bool> cancel{false};
    // Cancelled as the search reports its first progress, as a player's Cancel would come while it
    // runs; what is timed is the way from the cancel to the end.
    std::chrono::steady_clock::time_point cancelled;
    const CheckReport report = checkWorld(map, budget(60), [&](const CheckProgress&) {
        if (!cancel) {
            cancelled = std::chrono::steady_clock::now();
            cancel = true;
        }
    }, &cancel);
    ASSERT_TRUE(cancel);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - cancelled).count(), 2.0);
    EXPECT_EQ(report.outcome, CheckReport::Outcome::Cancelled);
}

TEST(WorldCheck, WarnsOfEmptyBoxesAndBottomlessRespawns)
{
    struct Case {
        const char* name;
        std::function<void(MapGrid&)> change;
        CheckWarning::Kind kind;
        Place place;
    };
    ASSERT_EQ(areaBoxContent(0, 1), BoxEmpty);
    const std::vector<Case> cases{
        {"a box where boxes hold nothing", [](MapGrid& map) { put(map, 0, 1, 7, 9, Box); }, CheckWarning::Kind::EmptyBox, {0, 1, 7, 9}},
        {"the floor of (3,4) gone: who walks in from the west falls out again and again",
         [](MapGrid& map) {
             for (int c = 1; c < MapGrid::AreaCells; ++c) {
                 put(map, 3, 4, c, 48, 0);
                 put(map, 3, 4, c, 49, 0);
             }
         },
         CheckWarning::Kind::BottomlessRespawn, {3, 4, 1, 1}},
    };
    // The journey as it is warns of neither.
    for (const CheckWarning& w : staticWarnings(journey()))
        ADD_FAILURE() << w.text;
    for (const Case& c : cases) {
        MapGrid map = journey();
        c.change(map);
        const auto warnings = staticWarnings(map);
        ASSERT_EQ(warnings.size(), 1u) << c.name;
        EXPECT_EQ(warnings[0].kind, c.kind) << c.name;
        EXPECT_EQ(warnings[0].place, c.place) << c.name << ": " << warnings[0].text;
    }
}

TEST(WorldCheck, ReportsReadAsJson)
{
    CheckReport report;
    report.outcome = CheckReport::Outcome::NotFound;
    report.obstacle = "a \"quoted\" word\\ and a tab\t";
    report.warnings.push_back({CheckWarning::Kind::EmptyBox, {0, 1, 7, 9}, "line one\nline two"});
    const std::string json = reportJson(report);
    // Every string is closed and every control character escaped: no raw line end inside one.
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        if (json[i] == '\\' && inString) {
            ++i;
            continue;
        }
        if (json[i] == '"')
            inString = !inString;
        EXPECT_FALSE(inString && static_cast<unsigned char>(json[i]) < 0x20) << "at " << i;
    }
    EXPECT_FALSE(inString);
    EXPECT_NE(json.find(R"("obstacle": "a \"quoted\" word\\ and a tab\u0009")"), std::string::npos) << json;
}
