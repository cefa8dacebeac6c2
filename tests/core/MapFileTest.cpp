#include "tests/support/TempDir.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace poronpa;
using poronpa::test::TempDir;

namespace {

std::vector<unsigned char> numberedFile(std::size_t size)
{
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>((i * 7 + i / 250) % 192);
    return bytes;
}

} // namespace

TEST(MapFile, BytesAreReadColumnByColumn)
{
    TempDir dir;
    auto bytes = numberedFile(MapGrid::FileBytes);
    bytes[1] = 3;
    bytes[251] = 7;
    test::writeBytes(dir / "mapdata.dat", bytes);

    MapGrid map;
    std::vector<std::string> captions;
    ASSERT_TRUE(loadMap(dir / "mapdata.dat", map, [&](const std::string& c) { captions.push_back(c); }).ok());

    EXPECT_EQ(map.cell(0, 1), 3);
    EXPECT_EQ(map.cell(1, 1), 7);
    EXPECT_EQ(map.cell(249, 249), bytes[62499]);
    ASSERT_EQ(captions.size(), 25u);
    EXPECT_EQ(captions.front(), "0/240)");
    EXPECT_EQ(captions.back(), "240/240)");
}

TEST(MapFile, RoundTripReproducesTheFileAndKeepsALongerFilesTail)
{
    TempDir dir;
    auto bytes = numberedFile(MapGrid::FileBytes + 100);
    test::writeBytes(dir / "mapdata.dat", bytes);

    MapGrid map;
    ASSERT_TRUE(loadMap(dir / "mapdata.dat", map).ok());
    for (int i = 0; i < MapGrid::Size; ++i) {
        EXPECT_EQ(map.cell(250, i), 0);
        EXPECT_EQ(map.cell(i, 250), 0);
    }
    map.setCell(10, 20, 99);
    bytes[250 * 10 + 20] = 99;
    ASSERT_TRUE(saveMap(dir / "mapdata.dat", map).ok());
    EXPECT_EQ(test::readBytes(dir / "mapdata.dat"), bytes);
}

TEST(MapFile, MissingFileIsCreatedEmptyAndShortFileLeavesTheRestZero)
{
    TempDir dir;
    MapGrid map;
    ASSERT_TRUE(loadMap(dir / "mapdata.dat", map).ok());
    EXPECT_TRUE(std::filesystem::exists(dir / "mapdata.dat"));
    EXPECT_EQ(map, MapGrid{});

    test::writeBytes(dir / "short.dat", {5, 6});
    ASSERT_TRUE(loadMap(dir / "short.dat", map).ok());
    EXPECT_EQ(map.cell(0, 0), 5);
    EXPECT_EQ(map.cell(0, 1), 6);
    EXPECT_EQ(map.cell(0, 2), 0);
    EXPECT_EQ(map.cell(1, 0), 0);
}

TEST(MapFile, UnreadableMapIsReportedWithItsName)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "mapdata.dat");
    MapGrid map;
    const FileStatus status = loadMap(dir / "mapdata.dat", map);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.error.find("mapdata.dat"), std::string::npos);
}

TEST(MapFile, FailedSaveLeavesTheOldFileWhole)
{
    TempDir dir;
    const auto bytes = numberedFile(MapGrid::FileBytes);
    test::writeBytes(dir / "mapdata.dat", bytes);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    MapGrid map;
    map.setCell(0, 0, 1);
    const FileStatus status = saveMap(dir / "mapdata.dat", map);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(test::readBytes(dir / "mapdata.dat"), bytes);
}
