#include "tests/support/HostileFiles.h"
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

TEST(MapFile, FilesThatAreNoMapNeitherHoldNorSwallowTheLoader)
{
    const auto cells = numberedFile(MapGrid::FileBytes);
    const std::string head(cells.begin(), cells.end());
    for (const test::Hostile kind : {test::Hostile::Pipe, test::Hostile::Device, test::Hostile::HugeSparse}) {
        TempDir dir;
        const auto file = dir / "mapdata.dat";
        test::makeHostile(file, kind, head, "TAIL");
        const auto result = test::withinDeadline([&] {
            MapGrid map;
            if (const FileStatus status = loadMap(file, map); !status.ok())
                return status.error;
            map.setCell(1, 1, 77);
            if (const FileStatus status = saveMap(file, map); !status.ok())
                return status.error;
            return "saved " + std::to_string(map.cell(249, 249));
        });
        ASSERT_TRUE(result) << describe(kind) << ": the loader did not finish";
        if (kind != test::Hostile::HugeSparse) {
            EXPECT_EQ(*result, file.string() + ": cannot be read (not a regular file)") << describe(kind);
            continue;
        }
        // Only the cells were read; the save keeps the tail without filling the holes.
        EXPECT_EQ(*result, "saved " + std::to_string(cells[62499]));
        EXPECT_EQ(std::filesystem::file_size(file), static_cast<std::uintmax_t>(test::HugeSparseSize));
        EXPECT_LT(test::diskUsage(file), 1u << 20);
        std::vector<std::uint8_t> saved;
        ASSERT_TRUE(readMapFileHead(file, saved).ok());
        EXPECT_EQ(saved[251], 77);
        EXPECT_TRUE(std::equal(saved.begin() + 252, saved.end(), cells.begin() + 252));
        EXPECT_EQ(test::lastBytes(file, 4), "TAIL");
    }
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

TEST(MapFile, ANamedWorldIsTakenWholeOrRefusedWithoutWritingAnything)
{
    const auto cells = numberedFile(MapGrid::FileBytes);
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        std::string reason; ///< after "FILE: "; empty when the world is taken
    };
    const Case cases[] = {
        {"missing", [](const std::filesystem::path&) {}, "cannot be opened (no such file)"},
        {"short", [&](const std::filesystem::path& f) { test::writeBytes(f, {cells.begin(), cells.end() - 1}); },
         "not a whole world (62499 bytes, a world holds 62500)"},
        {"empty", [](const std::filesystem::path& f) { test::writeBytes(f, {}); }, "not a whole world (0 bytes, a world holds 62500)"},
        {"a folder", [](const std::filesystem::path& f) { std::filesystem::create_directory(f); },
         "cannot be read (Is a directory)"},
        {"a pipe", [](const std::filesystem::path& f) { test::makeHostile(f, test::Hostile::Pipe); },
         "cannot be read (not a regular file)"},
        {"a device", [](const std::filesystem::path& f) { test::makeHostile(f, test::Hostile::Device); },
         "cannot be read (not a regular file)"},
        {"whole and longer", [&](const std::filesystem::path& f) { test::writeBytes(f, numberedFile(MapGrid::FileBytes + 9)); }, ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const auto file = dir / "castle.ppw";
        c.make(file);
        const auto listing = [&] {
            std::vector<std::filesystem::path> names;
            for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
                names.push_back(entry.path());
            return names;
        };
        const auto before = listing();
        const auto result = test::withinDeadline([&] {
            MapGrid map;
            map.setCell(3, 3, 42);
            const FileStatus status = loadWholeWorld(file, map);
            return status.ok() ? "cell " + std::to_string(map.cell(249, 249)) : status.error + " / cell " + std::to_string(map.cell(3, 3));
        });
        ASSERT_TRUE(result) << c.what << ": the reader did not finish";
        if (c.reason.empty())
            EXPECT_EQ(*result, "cell " + std::to_string(cells[62499])) << c.what;
        else
            EXPECT_EQ(*result, file.string() + ": " + c.reason + " / cell 42") << c.what;
        EXPECT_EQ(listing(), before) << c.what;
    }
}
