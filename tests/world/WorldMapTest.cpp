#include "tests/support/TempDir.h"
#include "tools/mapc/MapSource.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

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

// The compiler writes its output over a regular file or where nothing is; a pipe, a folder or a
// device named as the output is refused with its name and the reason, and left as it was.
TEST(WorldMap, TheCompilerWritesOnlyARegularFileOrWhereNothingIs)
{
    TempDir dir;
    const auto err = dir / "err";
    const auto compileTo = [&](const std::filesystem::path& output) {
        const int status = std::system((std::string(PORONPA_MAPC) + " compile '" + Sources.string() + "' '" +
                                        output.string() + "' 2>'" + err.string() + "'")
                                           .c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    // The superuser would replace the system's own device; anyone else can be shown /dev/null.
    std::filesystem::path device = "/dev/null";
    if (::geteuid() == 0) {
        device = dir / "null";
        if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
            device.clear();
    }
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0666), 0);
    std::filesystem::create_directory(dir / "folder");
    const struct {
        std::filesystem::path output;
        std::string reason;
    } cases[] = {
        {dir / "pipe", "not a regular file"},
        {dir / "folder", "it is a folder"},
        {device, "not a regular file"},
    };
    for (const auto& c : cases) {
        if (c.output.empty()) {
            std::cout << "the device case is skipped: no device can be made here\n";
            continue;
        }
        struct stat before {}, after {};
        ::lstat(c.output.c_str(), &before);
        EXPECT_EQ(compileTo(c.output), 1) << c.output;
        EXPECT_EQ(test::readText(err), "poronpa-mapc: " + c.output.string() + ": cannot be written (" + c.reason + ")\n");
        ::lstat(c.output.c_str(), &after);
        EXPECT_TRUE(after.st_mode == before.st_mode && after.st_ino == before.st_ino && after.st_rdev == before.st_rdev)
            << c.output << " was replaced";
    }
    EXPECT_EQ(compileTo(dir / "world.dat"), 0) << test::readText(err);
    EXPECT_EQ(test::readBytes(dir / "world.dat"), test::readBytes(BuiltMap));
}

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
