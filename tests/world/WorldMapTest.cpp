#include "tests/support/TempDir.h"
#include "tools/mapc/MapSource.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace poronpa;
using poronpa::test::TempDir;

namespace {

const std::filesystem::path Sources = PORONPA_MAP_SOURCES;
const std::filesystem::path BuiltMap = PORONPA_BUILT_MAP;

int runMapc(const std::string& arguments)
{
    return std::system((std::string(PORONPA_MAPC) + " " + arguments + " 2>/dev/null").c_str());
}

} // namespace

TEST(WorldMap, BuiltFileIsTheCompiledSources)
{
    const auto bytes = test::readBytes(BuiltMap);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(MapGrid::FileBytes));
    MapGrid map;
    ASSERT_TRUE(mapsource::compileWorld(Sources, map).ok());
    const auto compiled = mapFileBytes(map);
    EXPECT_TRUE(std::equal(compiled.begin(), compiled.end(), bytes.begin()));
}

TEST(WorldMap, DecompilingTheBuiltFileGivesTheSourcesBack)
{
    TempDir dir;
    std::filesystem::copy_file(Sources / mapsource::LegendFileName, dir / mapsource::LegendFileName);
    ASSERT_EQ(runMapc("decompile " + BuiltMap.string() + " " + dir.path().string()), 0);
    for (int ay = 0; ay < MapGrid::Areas; ++ay) {
        for (int ax = 0; ax < MapGrid::Areas; ++ax) {
            const std::string name = mapsource::areaFileName(ax, ay);
            // The notes are not in the map file; the grid is, written with the legend's codes.
            std::string original = test::readText(Sources / name);
            std::string back = test::readText(dir / name);
            const auto gridOf = [](const std::string& text) {
                std::size_t at = 0;
                while (at < text.size() && text[at] == mapsource::CommentMark)
                    at = text.find('\n', at) + 1;
                return text.substr(at);
            };
            EXPECT_EQ(gridOf(back), gridOf(original)) << name;
        }
    }
    ASSERT_EQ(runMapc("compile " + dir.path().string() + " " + (dir / "again.dat").string()), 0);
    EXPECT_EQ(test::readBytes(dir / "again.dat"), test::readBytes(BuiltMap));
}

TEST(WorldMap, DecompilerRefusesWhatWouldNotComeBackWhole)
{
    TempDir dir;
    auto bytes = test::readBytes(BuiltMap);
    bytes.push_back(0);
    test::writeBytes(dir / "long.dat", bytes);
    bytes.resize(1000);
    test::writeBytes(dir / "short.dat", bytes);
    for (const char* name : {"long.dat", "short.dat", "missing.dat"}) {
        EXPECT_NE(runMapc("decompile " + (dir / name).string() + " " + (dir / "out").string()), 0) << name;
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << name;
    }
}
