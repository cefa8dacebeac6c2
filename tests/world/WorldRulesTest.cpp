#include "tools/mapc/MapSource.h"

#include <gtest/gtest.h>

using namespace poronpa;

namespace {

MapGrid world()
{
    MapGrid map;
    EXPECT_TRUE(mapsource::compileWorld(PORONPA_MAP_SOURCES, map).ok());
    return map;
}

bool isDoor(int t) { return t >= 148 && t <= 151; }
bool isBox(int t) { return t == 55 || t == 82 || t == 83; }
bool isSolid(int t) { return t >= 96 && t <= 191; }

} // namespace

TEST(WorldRules, EveryCellHasAPicture)
{
    const MapGrid map = world();
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            EXPECT_LE(map.cell(x, y), 191) << "cell (" << x << ", " << y << ")";
}

TEST(WorldRules, DoorsStandAloneAndClawsHangBelowTheTopRow)
{
    const MapGrid map = world();
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y) {
            // An opened door takes the tile on its right: a door there would open again and again,
            // and a wall would leave the doorway shut.
            if (isDoor(map.cell(x, y))) {
                EXPECT_FALSE(isSolid(map.cell(x + 1, y))) << "door at (" << x << ", " << y << ")";
                EXPECT_NE(x % MapGrid::AreaCells, MapGrid::AreaCells - 1) << "door at (" << x << ", " << y << ")";
            }
            if (map.cell(x, y) == 52 || map.cell(x, y) == 53)
                EXPECT_NE(y % MapGrid::AreaCells, 0) << "claw at (" << x << ", " << y << ")";
        }
}

TEST(WorldRules, NewGameLandsOnTheHomeMeadowsFloor)
{
    const MapGrid map = world();
    // The hero starts at (160, 1498) in area (2, 4): column 5, falling six pixels onto row 48.
    EXPECT_TRUE(isSolid(map.areaCell(2, 4, 5, 48)));
    EXPECT_FALSE(isSolid(map.areaCell(2, 4, 5, 47)));
    EXPECT_FALSE(isSolid(map.areaCell(2, 4, 5, 46)));
}

TEST(WorldRules, TheViewingSpotIsOnTheHillOnItsPlatform)
{
    const MapGrid map = world();
    int spots = 0;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            if (map.cell(x, y) == 142) {
                ++spots;
                EXPECT_EQ(x / MapGrid::AreaCells, 2);
                EXPECT_EQ(y / MapGrid::AreaCells, 0);
                EXPECT_EQ(map.cell(x, y + 1), 98) << "the spot turns to stone with its platform";
            }
    EXPECT_EQ(spots, 1);
}

TEST(WorldRules, EveryAreaWithSomethingToFindHasABox)
{
    const MapGrid map = world();
    const std::pair<int, int> areas[] = {{2, 2}, {0, 4}, {4, 3}, {4, 0}, {1, 4}, {3, 2}, {1, 2}, {0, 0},
                                         {2, 1}, {4, 4}, {3, 3}, {2, 4}, {0, 2}, {1, 3}, {4, 2}, {4, 1}};
    for (const auto& [ax, ay] : areas) {
        bool box = false;
        for (int i = 0; i < MapGrid::AreaCells && !box; ++i)
            for (int j = 0; j < MapGrid::AreaCells && !box; ++j)
                box = isBox(map.areaCell(ax, ay, i, j));
        EXPECT_TRUE(box) << "area (" << ax << ", " << ay << ")";
    }
}
