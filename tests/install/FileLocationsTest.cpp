// Where the files live: beside a program that may write to its folder, in the player's folder
// when it may not or when it is installed. Runs once as whoever runs the tests and once more as
// an ordinary user when that is the superuser, who may write almost everywhere.
#include "app/base/FileLocations.h"
#include "world/WorldFileChoice.h"
#include "app/base/ProgramDirectory.h"
#include "tests/hardening/FaultSupport.h"
#include "tests/support/Installation.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace poronpa;
using namespace poronpa::test;

namespace {

/// Every path under a folder, relative to it, sorted.
std::vector<std::string> treeOf(const std::filesystem::path& dir)
{
    std::vector<std::string> paths;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(dir, std::filesystem::directory_options::skip_permission_denied))
        paths.push_back(std::filesystem::relative(entry.path(), dir).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(FileLocations, TheRuleForEachKindOfProgramFolder)
{
    struct Case {
        const char* what;
        LocationFacts facts;
        FileLocations expected;
    };
    const Case cases[] = {
        {"a build folder", {"/src/build/bin", true, {}, "/home/p", ""}, {"/src/build/bin", "/src/build/bin"}},
        {"a read-only copy", {"/media/cd", false, {}, "/home/p", ""}, {"/media/cd", "/home/p/.local/share/poronpa"}},
        {"a read-only copy with XDG_DATA_HOME", {"/media/cd", false, {}, "/home/p", "/data/p"}, {"/media/cd", "/data/p/poronpa"}},
        {"a relative XDG_DATA_HOME", {"/media/cd", false, {}, "/home/p", "data"}, {"/media/cd", "/home/p/.local/share/poronpa"}},
        {"installed, for a player", {"/usr/games", false, "/usr/share/games/poronpa", "/home/p", ""},
         {"/usr/share/games/poronpa", "/home/p/.local/share/poronpa"}},
        {"installed, for the superuser who may write there", {"/usr/games", true, "/usr/share/games/poronpa", "/root", ""},
         {"/usr/share/games/poronpa", "/root/.local/share/poronpa"}},
        {"installed, with no home at all", {"/usr/games", false, "/usr/share/games/poronpa", "", ""},
         {"/usr/share/games/poronpa", ""}},
        {"installed, with XDG_DATA_HOME and no home", {"/usr/games", false, "/usr/share/games/poronpa", "", "/x"},
         {"/usr/share/games/poronpa", "/x/poronpa"}},
    };
    for (const Case& c : cases) {
        const FileLocations got = chooseLocations(c.facts);
        EXPECT_EQ(got.shipped, c.expected.shipped) << c.what;
        EXPECT_EQ(got.player, c.expected.player) << c.what;
    }
}

TEST(FileLocations, WhatTheProgramSeesOfItsFolder)
{
    {
        TempDir dir;
        setProgramDirectory(dir.path());
        const LocationFacts facts = currentLocationFacts();
        EXPECT_TRUE(facts.programDirectoryWritable) << "a folder of our own";
        EXPECT_TRUE(facts.installedData.empty());
        EXPECT_FALSE(fileLocations().apart());
    }
    {
        Installation installed;
        const LocationFacts facts = currentLocationFacts();
        EXPECT_EQ(facts.installedData, installed.data);
        EXPECT_EQ(fileLocations().shipped, installed.data);
        EXPECT_EQ(shippedFile("km2.mid"), installed.data / "km2.mid");
    }
    {
        TempDir dir;
        ReadOnlyDirectory readOnly(dir.path());
        if (readOnly.ok()) {
            setProgramDirectory(dir.path());
            EXPECT_FALSE(currentLocationFacts().programDirectoryWritable) << "a folder nobody may write to";
            EXPECT_TRUE(fileLocations().apart());
        }
    }
    setProgramDirectory({});

    const ScopedEnvironment noHome("HOME", std::nullopt);
    EXPECT_FALSE(currentLocationFacts().home.empty()) << "the account's home stands in for HOME";
}

TEST(FileLocations, ThePlayersFolderIsMadeOrNamedWithTheReason)
{
    struct Case {
        const char* what;
        // Given the scratch folder, sets up the environment; returns the path the message must
        // name, or nothing when the folder must be usable.
        std::function<std::optional<std::string>(const std::filesystem::path&)> arrange;
    };
    std::optional<ScopedEnvironment> home, dataHome;
    std::optional<ReadOnlyDirectory> readOnly;
    const Case cases[] = {
        {"a fresh XDG_DATA_HOME",
         [&](const std::filesystem::path& d) -> std::optional<std::string> {
             dataHome.emplace("XDG_DATA_HOME", (d / "new/data").string());
             return std::nullopt;
         }},
        {"a fresh home",
         [&](const std::filesystem::path& d) -> std::optional<std::string> {
             std::filesystem::create_directory(d / "home");
             home.emplace("HOME", (d / "home").string());
             dataHome.emplace("XDG_DATA_HOME", std::nullopt);
             return std::nullopt;
         }},
        {"XDG_DATA_HOME is a file",
         [&](const std::filesystem::path& d) -> std::optional<std::string> {
             writeText(d / "file", "mine");
             dataHome.emplace("XDG_DATA_HOME", (d / "file").string());
             return (d / "file/poronpa").string();
         }},
        {"a home that is not there",
         [&](const std::filesystem::path& d) -> std::optional<std::string> {
             home.emplace("HOME", (d / "gone").string());
             dataHome.emplace("XDG_DATA_HOME", std::nullopt);
             return (d / "gone").string();
         }},
        {"a home nobody may write to",
         [&](const std::filesystem::path& d) -> std::optional<std::string> {
             std::filesystem::create_directory(d / "home");
             home.emplace("HOME", (d / "home").string());
             dataHome.emplace("XDG_DATA_HOME", std::nullopt);
             readOnly.emplace(d / "home");
             return (d / "home/.local/share/poronpa").string();
         }},
        {"a player's folder nobody may write to",
         [&](const std::filesystem::path& d) -> std::optional<std::string> {
             std::filesystem::create_directories(d / "data/poronpa");
             dataHome.emplace("XDG_DATA_HOME", (d / "data").string());
             readOnly.emplace(d / "data/poronpa");
             return (d / "data/poronpa").string();
         }},
    };
    for (const Case& c : cases) {
        Installation installed;
        TempDir scratch;
        const std::optional<std::string> named = c.arrange(scratch.path());
        if (readOnly && !readOnly->ok()) {
            readOnly.reset();
            continue;
        }
        const auto before = treeOf(scratch.path());
        const std::string message = preparePlayerFolder();
        const std::filesystem::path folder = fileLocations().player;
        if (!named) {
            EXPECT_EQ(message, "") << c.what;
            struct stat status {};
            ASSERT_EQ(::stat(folder.c_str(), &status), 0) << c.what << ": " << folder;
            EXPECT_EQ(status.st_mode & 0777, 0700u) << c.what;
        } else {
            EXPECT_TRUE(contains(message, *named)) << c.what << ": " << message;
            EXPECT_TRUE(contains(message, "not kept")) << c.what << ": " << message;
            EXPECT_EQ(treeOf(scratch.path()), before) << c.what << ": nothing may be made or moved";
        }
        readOnly.reset();
        home.reset();
        dataHome.reset();
    }
}

TEST(FileLocations, ThePlayersMapIsReadOnlyWhenWhole)
{
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make; // makes the player's mapdata.dat
        bool own;                                               // it is the world read
    };
    const auto bytes = [](std::size_t count) {
        return [count](const std::filesystem::path& p) { writeBytes(p, std::vector<unsigned char>(count, 9)); };
    };
    const Case cases[] = {
        {"none", [](const std::filesystem::path&) {}, false},
        {"a whole map", bytes(MapGrid::FileBytes), true},
        {"a longer map", bytes(MapGrid::FileBytes + 10), true},
        {"a cut-off map", bytes(MapGrid::FileBytes - 1), false},
        {"an empty file", bytes(0), false},
        {"a folder in its place", [](const std::filesystem::path& p) { std::filesystem::create_directory(p); }, false},
    };
    for (const Case& c : cases) {
        Installation installed;
        TempDir data;
        const ScopedEnvironment dataHome("XDG_DATA_HOME", data.path().string());
        std::filesystem::create_directory(data / "poronpa");
        const auto own = data / "poronpa/mapdata.dat";
        c.make(own);
        const bool there = std::filesystem::exists(own);
        const auto before = std::filesystem::is_regular_file(own) ? readBytes(own) : std::vector<unsigned char>{};

        const WorldFile world = worldFileToRead();
        EXPECT_EQ(world.path, c.own ? own : installed.data / "mapdata.dat") << c.what;
        if (c.own || !there) {
            EXPECT_EQ(world.notice, "") << c.what;
        } else {
            EXPECT_TRUE(contains(world.notice, own.string())) << c.what << ": " << world.notice;
            EXPECT_TRUE(contains(world.notice, (installed.data / "mapdata.dat").string())) << c.what << ": " << world.notice;
        }
        if (std::filesystem::is_regular_file(own)) {
            EXPECT_TRUE(readBytes(own) == before) << c.what << ": the player's map must stay as it was";
        }
    }
}
