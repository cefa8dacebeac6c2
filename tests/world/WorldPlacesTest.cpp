#include "world/WorldPlaces.h"

#include "app/base/FileNames.h"
#include "app/base/ProgramDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace poronpa {
namespace {

namespace fs = std::filesystem;

TEST(WorldPlaces, FolderNamesTellWorldsApartAndAreSafe)
{
    const std::string a = worldFolderName("/home/a/castle.ppw");
    const std::string b = worldFolderName("/home/b/castle.ppw");
    EXPECT_EQ(a.substr(0, 7), "castle-");
    EXPECT_EQ(a.size(), 7u + 8u);
    EXPECT_NE(a, b) << "two files of one name in different places";
    EXPECT_EQ(worldFolderName("/home/a/./castle.ppw"), a) << "one file however spelt";

    struct Case {
        const char* file;
        const char* folderStart;
    };
    for (const Case& c : {Case{"/w/my world;rm -rf.dat", "my_world_rm_-rf-"}, Case{"/w/.hidden.ppw", "world.hidden-"},
                          Case{"/w/月見の丘.ppw", "月見の丘-"}, Case{"/w/a\nb.ppw", "a_b-"}}) {
        const std::string name = worldFolderName(c.file);
        EXPECT_EQ(name.rfind(c.folderStart, 0), 0u) << c.file << " -> " << name;
        EXPECT_EQ(name.find('/'), std::string::npos);
    }
    // A long name in a script of three bytes a letter is cut between letters, never inside one.
    std::string longName = "/w/";
    for (int i = 0; i < 40; ++i)
        longName += "丘";
    const std::string cut = worldFolderName(longName + ".ppw");
    EXPECT_LE(cut.size(), 48u + 9u);
    EXPECT_EQ((cut.size() - 9) % 3, 0u) << cut;
}

TEST(WorldPlaces, TheDefaultWorldKeepsThePlayersOwnFolderAndOthersTheirOwn)
{
    const fs::path shipped = programDirectory() / filenames::World;
    EXPECT_TRUE(isDefaultWorld(shipped));
    EXPECT_TRUE(isDefaultWorld(shipped.parent_path() / "." / filenames::World));
    EXPECT_FALSE(isDefaultWorld(programDirectory() / "other.ppw"));

    const fs::path other = worldDataFolder(programDirectory() / "other.ppw");
    EXPECT_NE(other, worldDataFolder(shipped));
    EXPECT_EQ(other.parent_path().filename(), filenames::Worlds);
}

TEST(WorldPlaces, RecentListPutsTheNewestFirstOnceAndKeepsAFew)
{
    std::vector<fs::path> list;
    for (int i = 0; i < 10; ++i)
        list = withRecentWorld(list, "/w/world" + std::to_string(i) + ".ppw");
    ASSERT_EQ(list.size(), RecentWorldsKept);
    EXPECT_EQ(list.front(), "/w/world9.ppw");
    EXPECT_EQ(list.back(), "/w/world2.ppw");

    list = withRecentWorld(list, "/w/../w/world5.ppw");
    EXPECT_EQ(list.front(), "/w/world5.ppw");
    EXPECT_EQ(std::count(list.begin(), list.end(), fs::path("/w/world5.ppw")), 1);
    EXPECT_EQ(list.size(), RecentWorldsKept);
}

} // namespace
} // namespace poronpa
