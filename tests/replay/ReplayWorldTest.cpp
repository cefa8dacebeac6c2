// A replay names the world it was recorded on, and the world is looked for where a player who was
// sent the replay keeps it.
#include "replay/ReplayWorld.h"
#include "tests/support/TempDir.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::replay;
using poronpa::test::TempDir;

namespace {

/// A whole world of one tile everywhere, and its digest.
std::uint64_t writeWorld(const std::filesystem::path& file, std::uint8_t tile)
{
    MapGrid map;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            map.setCell(x, y, tile);
    std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(saveMap(file, map).ok());
    return mapDigest(map);
}

std::string finishedReplay(const ReplayHeader& header)
{
    return headerText(header) + "5 right\n" + endingLine("end frame=5 area=2,4 pos=160,1504 state=0 items=0000000000 deaths=0 ending=no");
}

} // namespace

TEST(ReplayWorld, TheWorldLineReadsBackAndAnOlderReplayHasNone)
{
    ReplayHeader header;
    header.program = "1.0";
    header.date = "2026-01-01 00:00:00 +0000";
    header.mapDigest = 0xfedcba9876543210ull;
    header.worldFile = worldFileForHeader("/somewhere/城 castle.ppw");
    EXPECT_EQ(header.worldFile, "城 castle.ppw");
    const std::string text = finishedReplay(header);
    EXPECT_NE(text.find("\n# world 城 castle.ppw\n"), std::string::npos);
    Replay read;
    std::string error;
    ASSERT_TRUE(parseReplay(text, read, error)) << error;
    EXPECT_EQ(*read.header, header);

    // What a line cannot hold is not written; a replay without the line reads as before.
    EXPECT_EQ(worldFileForHeader("/somewhere/two\nlines.ppw"), "");
    header.worldFile = "";
    ASSERT_TRUE(parseReplay(finishedReplay(header), read, error)) << error;
    EXPECT_EQ(read.header->worldFile, "");
    EXPECT_EQ(finishedReplay(header).find("# world"), std::string::npos);

    std::string twice = text;
    twice.insert(twice.find("# carry"), "# world other.ppw\n");
    EXPECT_FALSE(parseReplay(twice, read, error));
    EXPECT_TRUE(error.ends_with(": a second world line")) << error;
}

// Beside the replay (the named file first, then any other holding the digest), then the recent
// worlds in their order, then the default world; a file of the right name but another digest is
// passed over, and where no place holds the world the search says nothing was found.
TEST(ReplayWorld, TheWorldIsFoundBesideTheReplayInTheRecentListOrAsTheDefault)
{
    TempDir dir;
    const auto sent = dir / "sent";
    const auto replayFile = sent / "run.replay";
    ReplayHeader header;
    header.worldFile = "castle.ppw";
    header.mapDigest = writeWorld(dir / "kept/castle-copy.ppw", 5);
    writeWorld(dir / "kept/unrelated.ppw", 6);
    const auto defaultWorld = dir / "default/mapdata.dat";
    const std::uint64_t defaultDigest = writeWorld(defaultWorld, 9);
    std::filesystem::create_directories(sent);
    test::writeText(replayFile, finishedReplay(header));

    const auto found = [&](const std::vector<std::filesystem::path>& recent) {
        return findReplayWorld(header, replayFile, recent, defaultWorld);
    };
    const std::vector<std::filesystem::path> recent{dir / "kept/unrelated.ppw", dir / "kept/castle-copy.ppw"};
    EXPECT_EQ(found(recent), dir / "kept/castle-copy.ppw");
    EXPECT_EQ(found({dir / "gone.ppw"}), "");

    // Beside it under another name (and a short file there is no world), then under its own.
    test::writeText(sent / "short.ppw", "not a world");
    writeWorld(sent / "another name.ppw", 5);
    EXPECT_EQ(found(recent), sent / "another name.ppw");
    writeWorld(sent / "castle.ppw", 5);
    EXPECT_EQ(found(recent), sent / "castle.ppw");
    // Changed since the recording: not the world any more.
    writeWorld(sent / "castle.ppw", 8);
    EXPECT_EQ(found(recent), sent / "another name.ppw");

    header.mapDigest = defaultDigest;
    EXPECT_EQ(found(recent), defaultWorld);

    header.mapDigest = 0x0123456789abcdefull;
    EXPECT_EQ(neededWorld(header), "castle.ppw (map digest 0123456789abcdef)");
    header.worldFile = "";
    EXPECT_EQ(neededWorld(header), "a world of map digest 0123456789abcdef");
}
