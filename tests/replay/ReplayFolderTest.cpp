// Where replays go: the names the game gives them, the last twenty kept and renamed ones never
// removed, writes that replace the file whole, and a folder that cannot be written.
#include "replay/Recordings.h"
#include "replay/ReplayFolder.h"
#include "replay/ReplaySession.h"
#include "replay/ReplayWriter.h"
#include "tests/hardening/FaultSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace poronpa;
using namespace poronpa::replay;
using poronpa::test::TempDir;

namespace {

/// 2025-06-01 14:03:22 UTC plus `seconds`.
std::chrono::system_clock::time_point at(int seconds)
{
    return std::chrono::system_clock::from_time_t(1748786602 + seconds);
}

class ReplayFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }

    std::set<std::string> names() const
    {
        std::set<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            result.insert(entry.path().filename().string());
        return result;
    }

    TempDir dir;
};

ReplayHeader header()
{
    ReplayHeader h;
    h.program = "test";
    h.date = "2025-06-01 14:03:22 +0000";
    return h;
}

} // namespace

TEST_F(ReplayFolder, NamesTellTheGamesOwnFromRenamedOnes)
{
    EXPECT_EQ(replayName(at(0)), "2025-06-01_14-03-22.replay");
    EXPECT_EQ(replayName(at(3600), 12), "2025-06-01_15-03-22-12.replay");

    for (const char* own : {"2025-06-01_14-03-22.replay", "2025-06-01_14-03-22-2.replay", "1999-12-31_23-59-59-10.replay"})
        EXPECT_TRUE(isOwnReplayName(own)) << own;
    for (const char* renamed : {"fall through the floor.replay", "2025-06-01_14-03-22 copy.replay", "2025-06-01_14-03-22.replay.bak",
                                "2025-06-01_14-03-22-0.replay", "2025-06-01_14-03-22-.replay", "2025-6-01_14-03-22.replay",
                                "2025-06-01_14-03-22-2x.replay", "2025-06-01_14-03-22"})
        EXPECT_FALSE(isOwnReplayName(renamed)) << renamed;

    test::writeText(dir / "2025-06-01_14-03-22.replay", "");
    test::writeText(dir / "2025-06-01_14-03-22-2.replay", "");
    EXPECT_EQ(newReplayPath(dir.path(), at(0)), dir / "2025-06-01_14-03-22-3.replay");
    EXPECT_EQ(newReplayPath(dir.path(), at(1)), dir / "2025-06-01_14-03-23.replay");
}

TEST_F(ReplayFolder, TheLastTwentyOfItsOwnAreKeptAndRenamedOnesNever)
{
    std::set<std::string> expected;
    // 26 of the game's own, a second's serials among them ("-10" is newer than "-9").
    for (int i = 0; i < 15; ++i)
        test::writeText(dir / replayName(at(i * 60)), "");
    for (int serial = 2; serial <= 12; ++serial)
        test::writeText(dir / replayName(at(0), serial), "");
    for (int i = 1; i < 15; ++i)
        expected.insert(replayName(at(i * 60)));
    for (int serial = 7; serial <= 12; ++serial)
        expected.insert(replayName(at(0), serial));
    // Renamed ones and other files, old as they may be, stay.
    for (const char* kept : {"the stuck hero.replay", "2025-06-01_14-03-22.replay.keep", "notes.txt"}) {
        test::writeText(dir / kept, "");
        expected.insert(kept);
    }
    // The one being recorded stays even when its clock ran behind the others.
    const auto current = dir / replayName(at(-3600));
    test::writeText(current, "");
    expected.insert(current.filename().string());

    pruneReplays(dir.path(), KeptReplays, current);
    EXPECT_EQ(names(), expected);
}

TEST_F(ReplayFolder, WritesReplaceTheFileWholeAndMakeRoomForIt)
{
    const auto path = dir / "replays" / replayName(at(100));
    std::vector<std::string> reports;
    {
        ReplayWriter writer([&](const std::string& reason) { reports.push_back(reason); });
        ReplaySession session(writer, path, header(), GameState{}, std::chrono::hours(1));
        writer.flush();
        EXPECT_EQ(test::readText(path), headerText(header()) + "# unfinished frame=0\n");
        // Older replays that appear while the game runs are left for the next game to remove.
        for (int i = 0; i < 25; ++i)
            test::writeText(dir / "replays" / replayName(at(i)), "old");
        GameState state;
        state.AreaX = 2;
        state.AreaY = 4;
        for (int frame = 0; frame < 3; ++frame) {
            session.beginFrame(state);
            state.HeroX = 100.5f + static_cast<float>(frame);
            session.endFrame(state, false); // not yet time to write
        }
        session.beginFrame(state); // the window closed inside this frame
        state.HeroX = 200;
        session.finish();
    }
    Replay replay;
    ASSERT_TRUE(readReplay(path, replay).ok());
    EXPECT_EQ(replay.frames, 3);
    EXPECT_EQ(replay.endLine, "end frame=3 area=2,4 pos=102.5,0 state=0 items=0000000000 deaths=0 ending=no");
    EXPECT_EQ(reports, std::vector<std::string>{});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "replays"), {}), 26);

    // The next game's first write makes room: twenty replays, the new one among them.
    const auto next = dir / "replays" / replayName(at(200));
    {
        ReplayWriter writer([&](const std::string& reason) { reports.push_back(reason); });
        ReplaySession session(writer, next, header(), GameState{});
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "replays"), {}), 20);
    EXPECT_TRUE(std::filesystem::exists(next));
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(ReplayFolder, WithoutAFolderOrWithOneThatCannotBeWrittenTheGamePlaysOnUnrecordedAndIsToldOnce)
{
    std::filesystem::create_directory(dir / "replays");
    test::ReadOnlyDirectory readOnly(dir / "replays");
    if (!readOnly.ok())
        GTEST_SKIP() << "no way to make a read-only folder here";
    for (const auto& folder : {std::filesystem::path(), dir / "replays"}) {
        SCOPED_TRACE(folder.string());
        std::vector<std::string> reports;
        Recordings recordings(folder, [&](const std::string& reason) { reports.push_back(reason); });
        for (int game = 0; game < 3; ++game) {
            if (ReplaySession* session = recordings.begin(GameState{}, false, 0, MapGrid{}, dir / "savedata.dat")) {
                session->beginFrame(GameState{});
                session->endFrame(GameState{}, false);
            }
            recordings.end();
            recordings.flush();
        }
        EXPECT_EQ(recordings.begin(GameState{}, false, 0, MapGrid{}, dir / "savedata.dat"), nullptr);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_TRUE(reports[0].starts_with(folder.empty() ? "replays are not recorded: there is no folder"
                                                          : "replays are not recorded from now on: " + folder.string()))
            << reports[0];
    }
}

TEST_F(ReplayFolder, AFolderThatCannotBeWrittenIsReportedOnceAndRecordingStops)
{
    std::filesystem::create_directory(dir / "replays");
    test::ReadOnlyDirectory readOnly(dir / "replays");
    if (!readOnly.ok())
        GTEST_SKIP() << "no way to make a read-only folder here";
    test::writeText(dir / "file", "");
    for (const auto& path : {dir / "replays" / "a.replay", dir / "file" / "replays" / "a.replay"}) {
        SCOPED_TRACE(path.string());
        std::vector<std::string> reports;
        ReplayWriter writer([&](const std::string& reason) { reports.push_back(reason); });
        ReplaySession session(writer, path, header(), GameState{}, std::chrono::seconds(0));
        for (int frame = 0; frame < 5; ++frame) {
            session.beginFrame(GameState{});
            session.endFrame(GameState{}, false);
            writer.flush();
        }
        session.finish();
        writer.flush();
        EXPECT_TRUE(writer.failed());
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(path.parent_path().string()), std::string::npos) << reports[0];
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}
