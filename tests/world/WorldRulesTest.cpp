#include "play/StartAndBand.h"
#include "tools/mapc/MapSource.h"
#include "world/TileFacts.h"

#include <gtest/gtest.h>

using namespace poronpa;

namespace {

MapGrid world()
{
    MapGrid map;
    EXPECT_TRUE(mapsource::compileWorld(PORONPA_MAP_SOURCES, map).ok());
    return map;
}

} // namespace

TEST(WorldRules, EveryCellHasAPicture)
{
    const MapGrid map = world();
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            EXPECT_LT(map.cell(x, y), tiles::WithPicture) << "cell (" << x << ", " << y << ")";
}

TEST(WorldRules, DoorsStandAloneAndClawsHangBelowTheTopRow)
{
    const MapGrid map = world();
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y) {
            // An opened door takes the tile on its right: a door there would open again and again,
            // and a wall would leave the doorway shut.
            if (tileKind(map.cell(x, y)) == TileKind::Door) {
                EXPECT_FALSE(isSolid(map.cell(x + 1, y))) << "door at (" << x << ", " << y << ")";
                EXPECT_NE(x % MapGrid::AreaCells, MapGrid::AreaCells - 1) << "door at (" << x << ", " << y << ")";
            }
            if (tileKind(map.cell(x, y)) == TileKind::Claw) {
                EXPECT_NE(y % MapGrid::AreaCells, 0) << "claw at (" << x << ", " << y << ")";
            }
        }
}

TEST(WorldRules, NewGameLandsOnTheHomeMeadowsFloor)
{
    const MapGrid map = world();
    // The hero's box starts in the cells below, falling six pixels onto the floor.
    const int column = static_cast<int>(StartX) / 32;
    const int row = static_cast<int>(StartY + 6) / 32;
    EXPECT_TRUE(isSolid(map.areaCell(StartAreaX, StartAreaY, column, row + 1)));
    EXPECT_FALSE(isSolid(map.areaCell(StartAreaX, StartAreaY, column, row)));
    EXPECT_FALSE(isSolid(map.areaCell(StartAreaX, StartAreaY, column, row - 1)));
}

TEST(WorldRules, TheViewingSpotIsOnTheHillOnItsPlatform)
{
    const MapGrid map = world();
    int spots = 0;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            if (map.cell(x, y) == tiles::ViewingSpot) {
                ++spots;
                EXPECT_EQ(x / MapGrid::AreaCells, 2);
                EXPECT_EQ(y / MapGrid::AreaCells, 0);
                EXPECT_EQ(map.cell(x, y + 1), tiles::ViewingPlatform) << "the spot turns to stone with its platform";
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
                box = tileKind(map.areaCell(ax, ay, i, j)) == TileKind::TreasureBox;
        EXPECT_TRUE(box) << "area (" << ax << ", " << ay << ")";
    }
}
