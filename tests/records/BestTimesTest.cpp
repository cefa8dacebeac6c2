// A world's best times: fastest first, five kept, ties to the older run, the file read leniently
// and written in turns; the best whole run's recording kept as the world's ghost, apart from the
// replays the folder prunes.
#include "app/base/FileNames.h"
#include "records/RunRecords.h"
#include "replay/ReplayFolder.h"
#include "tests/records/RecordedRuns.h"

#include <thread>

using namespace poronpa;
using namespace poronpa::records;
using poronpa::test::TempDir;

namespace {

BestTime run(std::int32_t frames, const char* date = "2026-01-01 10:00:00 +0000", bool everyItem = false)
{
    return BestTime{frames, date, everyItem};
}

std::vector<std::int32_t> framesOf(const std::vector<BestTime>& list)
{
    std::vector<std::int32_t> frames;
    for (const BestTime& entry : list)
        frames.push_back(entry.frames);
    return frames;
}

} // namespace

TEST(BestTimes, FastestFirstFiveKeptAndATieGoesAfterTheOlderRun)
{
    const struct {
        std::int32_t frames;
        std::optional<std::size_t> place;
        std::vector<std::int32_t> after;
    } steps[] = {
        {500, 0, {500}},
        {700, 1, {500, 700}},
        {300, 0, {300, 500, 700}},
        {500, 2, {300, 500, 500, 700}},
        {900, 4, {300, 500, 500, 700, 900}},
        {950, std::nullopt, {300, 500, 500, 700, 900}},
        {900, std::nullopt, {300, 500, 500, 700, 900}},
        {100, 0, {100, 300, 500, 500, 700}},
    };
    std::vector<BestTime> list;
    for (const auto& step : steps) {
        EXPECT_EQ(placeBestTime(list, run(step.frames, "later")), step.place) << step.frames;
        EXPECT_EQ(framesOf(list), step.after) << step.frames;
    }
    EXPECT_EQ(list[2].date, "later");
}

TEST(BestTimes, ALineShowsThePlaceTheTimeTheDayAndAStarForEveryItem)
{
    EXPECT_EQ(bestTimeLine(0, run(24589, "2026-12-11 14:03:22 +0900", true)), "1.  5:19.65  2026-12-11  ★");
    EXPECT_EQ(bestTimeLine(4, run(4616, "2026-12-11 14:03:22 +0900")), "5.  1:00.00  2026-12-11");
}

TEST(BestTimes, TheFileKeepsTheListAndPassesOverWhatIsNoRun)
{
    TempDir dir;
    const auto file = dir / filenames::BestTimes;
    EXPECT_TRUE(readBestTimes(file).empty());
    std::optional<std::size_t> place;
    ASSERT_TRUE(recordBestTime(file, run(4000, "2026-02-03 04:05:06 +0900", true), place).ok());
    EXPECT_EQ(place, 0u);
    ASSERT_TRUE(recordBestTime(file, run(3000, "a\ttab and\na line end"), place).ok());
    EXPECT_EQ(place, 0u);
    EXPECT_EQ(readBestTimes(file), (std::vector<BestTime>{run(3000, "a tab and a line end"), run(4000, "2026-02-03 04:05:06 +0900", true)}));

    // Put out of order by hand, with lines that are no run among them, and more than five.
    test::writeText(file, "9\td\tall\r\n-5\td\tall\n7\td\n1x\td\tall\n8\td\tmany\n\n6\td\tsome\n5\td\tall\n4\td\tall\n3\t\tall\n2\td\tall\n");
    EXPECT_EQ(framesOf(readBestTimes(file)), (std::vector<std::int32_t>{2, 3, 4, 5, 6}));
    ASSERT_TRUE(recordBestTime(file, run(1), place).ok());
    EXPECT_EQ(test::readText(file), "1\t2026-01-01 10:00:00 +0000\tsome\n2\td\tall\n3\t\tall\n4\td\tall\n5\td\tall\n");
}

TEST(BestTimes, RunsFinishingAtOnceAllCount)
{
    TempDir dir;
    const auto file = dir / filenames::BestTimes;
    std::vector<std::thread> games;
    for (int i = 0; i < 5; ++i)
        games.emplace_back([&file, i] {
            std::optional<std::size_t> place;
            EXPECT_TRUE(recordBestTime(file, run(1000 + i), place).ok());
        });
    for (std::thread& game : games)
        game.join();
    EXPECT_EQ(framesOf(readBestTimes(file)), (std::vector<std::int32_t>{1000, 1001, 1002, 1003, 1004}));
}

// The ghost is the best whole run's recording, kept under its own name: the folder's pruning of
// old replays never takes it, a slower run or one continued from a save leaves it as it was.
TEST(BestTimes, TheBestWholeRunBecomesTheGhostAndIsNeverPruned)
{
    const test::RecordedRuns& runs = test::RecordedRuns::get();
    TempDir temp;
    const std::filesystem::path dir = temp.path();
    const auto replays = dir / filenames::Replays;
    std::filesystem::create_directories(replays);
    std::filesystem::create_directories(dir / "scratch");
    const auto inFolder = [&](const std::filesystem::path& recording, const char* name) {
        std::filesystem::copy_file(recording, replays / name);
        return replays / name;
    };

    const auto best = inFolder(runs.whole, "2026-01-01_10-00-00.replay");
    RecordedRun recorded = recordFinishedRun(dir, run(runs.frames, "first", true), best);
    ASSERT_TRUE(recorded.status.ok()) << recorded.status.error;
    EXPECT_EQ(recorded.place, 0u);
    EXPECT_TRUE(recorded.ghostKept);

    // Pruned down to nothing, the folder loses the replay; the ghost stays.
    replay::pruneReplays(replays, 0, {});
    ASSERT_FALSE(std::filesystem::exists(best));
    ASSERT_TRUE(std::filesystem::exists(ghostFile(dir)));
    EXPECT_EQ(test::readText(ghostFile(dir)), test::readText(runs.whole));
    EXPECT_NE(openGhost(dir, runs.map, dir / "scratch"), nullptr);

    // Faster, but continued from a save: listed first, the ghost left as it was.
    const auto continued = inFolder(runs.continued, "2026-01-02_10-00-00.replay");
    recorded = recordFinishedRun(dir, run(runs.frames - 10, "continued"), continued);
    EXPECT_EQ(recorded.place, 0u);
    EXPECT_FALSE(recorded.ghostKept);
    EXPECT_EQ(test::readText(ghostFile(dir)), test::readText(runs.whole));

    // Slower: listed, the ghost left as it was.
    recorded = recordFinishedRun(dir, run(runs.frames + 10, "slower"), inFolder(runs.whole, "2026-01-03_10-00-00.replay"));
    EXPECT_EQ(recorded.place, 2u);
    EXPECT_FALSE(recorded.ghostKept);
    EXPECT_EQ(framesOf(readBestTimes(bestTimesFile(dir))),
              (std::vector<std::int32_t>{runs.frames - 10, runs.frames, runs.frames + 10}));
}

TEST(BestTimes, AGhostOfAnotherMapOrNoWholeRunIsNotPlayed)
{
    const test::RecordedRuns& runs = test::RecordedRuns::get();
    TempDir temp;
    const std::filesystem::path dir = temp.path();
    std::filesystem::create_directories(dir / "scratch");
    EXPECT_EQ(openGhost(dir, runs.map, dir / "scratch"), nullptr) << "no ghost kept";
    std::filesystem::copy_file(runs.continued, ghostFile(dir));
    EXPECT_EQ(openGhost(dir, runs.map, dir / "scratch"), nullptr) << "a continued game";
    std::filesystem::copy_file(runs.whole, ghostFile(dir), std::filesystem::copy_options::overwrite_existing);
    MapGrid changed = runs.map;
    changed.setCell(10, 10, static_cast<std::uint8_t>(changed.cell(10, 10) + 1));
    EXPECT_EQ(openGhost(dir, changed, dir / "scratch"), nullptr) << "the world changed since";
    EXPECT_NE(openGhost(dir, runs.map, dir / "scratch"), nullptr);
}
