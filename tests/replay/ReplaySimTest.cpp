// The real poronpa-sim playing replays: the start, the saves and the failures come from the
// file, the end line is compared with the recorded one, and bad files are refused.
#include "replay/ReplayFile.h"
#include "replay/ReplayWorld.h"
#include "play/SavedGame.h"
#include "tests/hardening/FaultSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestMap.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

using namespace poronpa;
using namespace poronpa::replay;
using poronpa::test::ProgramRun;
using poronpa::test::TempDir;

namespace {

constexpr std::uint8_t Wall = 96;

ProgramRun runSim(std::vector<std::string> args, const std::string& input = "")
{
    args.insert(args.begin(), PORONPA_SIM_EXECUTABLE);
    return test::runProgram(args, input);
}

std::string lastLine(const std::string& out)
{
    const std::size_t end = out.find_last_not_of('\n');
    return out.substr(out.rfind('\n', end) + 1, end - out.rfind('\n', end));
}

/// A floor under the start area's bottom row, and a ring of two saves in that area: the older
/// one with the diary further right, the latest with three deaths further left.
class ReplaySim : public testing::Test {
protected:
    void SetUp() override
    {
        test::TestMap floor;
        floor.row(2, 4, 48, 1, 49, Wall);
        floor.write(map);
        grid = floor.grid();
        SaveRecord older;
        older.AreaX = 2;
        older.AreaY = 4;
        older.RespawnX = 800;
        older.RespawnY = 1498;
        older.SwitchOn = 1;
        older.ItemHeld[Diary] = 1;
        SaveRecord latest = older;
        latest.RespawnX = 400;
        latest.DeathCount[2][4] = 3;
        ASSERT_TRUE(SaveGame(saves, older).ok());
        ASSERT_TRUE(SaveGame(saves, latest).ok());
    }

    /// The header a game would write continuing from the saves: the deaths are those the load
    /// brought in.
    ReplayHeader continued() const
    {
        ReplayHeader header;
        header.program = "test";
        header.date = "2025-06-01 14:03:22 +0000";
        header.continued = true;
        header.mapDigest = mapDigest(grid);
        header.carry.kept.DeathCount[2][4] = 3;
        header.saves = captureSaveImage(saves);
        return header;
    }

    /// The end line the simulator reaches playing `keys` on from the latest save, in a copy of the
    /// saves of its own; empty when it fails.
    std::string continuedEndLine(const std::string& keys)
    {
        const auto scratchSaves = dir / "scratch-saves.dat";
        std::filesystem::copy_file(saves, scratchSaves, std::filesystem::copy_options::overwrite_existing);
        const ProgramRun game = runSim({"--map", map, "--save", scratchSaves, "--continue", "--input", "-"}, keys);
        EXPECT_EQ(game.status, 0) << game.err;
        return game.status == 0 ? lastLine(game.out) : std::string();
    }

    /// Writes a replay of `keys` whose end line is `endLine`, and returns its path.
    std::string replay(const ReplayHeader& header, const std::string& keys, std::int64_t frames, const std::string& endLine,
                       const std::string& name = "game.replay")
    {
        test::writeText(dir / name, headerText(header) + keys + (endLine.empty() ? unfinishedLine(frames) : endingLine(endLine)));
        return (dir / name).string();
    }

    TempDir dir;
    std::filesystem::path map = dir / "map.dat";
    std::filesystem::path saves = dir / "savedata.dat";
    MapGrid grid;
};

} // namespace

TEST_F(ReplaySim, AContinuedGamePlaysFromItsEmbeddedSavesToTheRecordedEndLine)
{
    // Walk from the latest save, load the one before it (L with 1), walk on.
    const std::string keys = "40 left\n1 l+1\n30 right\n";
    const std::string seen = continuedEndLine(keys);
    ASSERT_TRUE(seen.starts_with("end frame=71 area=2,4 pos=8")) << seen << " (the older save lies at x 800)";
    ASSERT_NE(seen.find(" deaths=0 "), std::string::npos) << seen;

    // The simulator above got its keys on standard input; the replay brings them itself.
    const std::string file = replay(continued(), keys, 71, seen);
    const auto savesBefore = test::readBytes(saves);
    const ProgramRun played = runSim({"--map", map, "--replay", file, "--check"});
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_EQ(lastLine(played.out), seen);
    EXPECT_EQ(played.err, "poronpa-sim: " + file + ": the end line matches the recording\n");
    EXPECT_EQ(test::readBytes(saves), savesBefore);

    // An end line the run does not reach: said so, and with --check the status says so too.
    std::string other = seen;
    other.replace(other.find("deaths=0"), 8, "deaths=1");
    const std::string differing = replay(continued(), keys, 71, other, "differing.replay");
    for (const bool check : {false, true}) {
        std::vector<std::string> args{"--map", map, "--replay", differing};
        if (check)
            args.push_back("--check");
        const ProgramRun run = runSim(args);
        EXPECT_EQ(run.status, check ? 3 : 0);
        EXPECT_EQ(run.err, "poronpa-sim: " + differing + ": the end line differs from the recording's: " + other + "\n");
    }

    // On another map the run is told once, with the world it needs, and played anyway; an
    // unfinished one has nothing to compare.
    test::TestMap changed;
    changed.row(2, 4, 48, 1, 49, Wall).set(0, 0, 0, 0, 1);
    changed.write(dir / "changed.dat");
    const std::string unfinished = replay(continued(), keys, 71, "", "unfinished.replay");
    const ProgramRun elsewhere = runSim({"--map", (dir / "changed.dat").string(), "--replay", unfinished, "--check"});
    EXPECT_EQ(elsewhere.status, 0);
    EXPECT_EQ(lastLine(elsewhere.out), seen);
    EXPECT_EQ(elsewhere.err, "poronpa-sim: " + unfinished + ": this replay was recorded on another map: it needs " +
                                 neededWorld(continued()) + "\n"
                             "poronpa-sim: " + unfinished + ": the recording did not finish; there is no recorded end line to compare\n");
}

// Without --map the replay plays on the world it names where that lies beside it; where it lies
// nowhere, the world the game reads is played and the one the replay needs is named.
TEST_F(ReplaySim, WithoutAMapTheReplayFindsItsWorld)
{
    const std::string keys = "40 left\n30 right\n";
    const std::string seen = continuedEndLine(keys);
    ReplayHeader header = continued();
    header.worldFile = "castle.ppw";
    std::filesystem::create_directory(dir / "sent");
    std::filesystem::copy_file(map, dir / "sent" / "castle.ppw");
    const std::string file = replay(header, keys, 71, seen, "sent/run.replay");
    const ProgramRun found = runSim({"--replay", file, "--check"});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.err, "poronpa-sim: " + file + ": the end line matches the recording\n");

    std::filesystem::remove(dir / "sent" / "castle.ppw");
    const ProgramRun nowhere = runSim({"--replay", file});
    EXPECT_EQ(nowhere.status, 0) << nowhere.err;
    EXPECT_TRUE(nowhere.err.starts_with("poronpa-sim: " + file + ": this replay was recorded on another map: it needs castle.ppw (map digest "))
        << nowhere.err;
}

// Whichever one field of the recorded end line differs from the run's, --check fails; the frame
// count is checked even before the run, against the keys. A world that differs from the
// recorded one in any cell, the last row's included, is told.
TEST_F(ReplaySim, EveryFieldOfTheEndLineAndEveryCellOfTheMapCount)
{
    const std::string keys = "40 left\n30 right\n";
    const std::string seen = continuedEndLine(keys);
    const std::vector<std::pair<std::string, int>> fields = {
        {"frame=", 2}, {"area=", 3}, {"pos=", 3}, {"state=", 3}, {"items=", 3}, {"deaths=", 3}, {"ending=", 3}};
    for (const auto& [field, status] : fields) {
        SCOPED_TRACE(field);
        const std::size_t at = seen.find(field);
        ASSERT_NE(at, std::string::npos) << seen;
        std::string other = seen;
        // The field's first character after its name, changed for another of its kind.
        char& c = other[at + field.size()];
        c = std::isdigit(static_cast<unsigned char>(c)) ? (c == '9' ? '8' : static_cast<char>(c + 1)) : (c == 'y' ? 'n' : 'y');
        if (field == "ending=")
            other.replace(at + field.size(), std::string::npos, seen.ends_with("=yes") ? "no" : "yes");
        const std::string file = replay(continued(), keys, 70, other, "field.replay");
        const ProgramRun run = runSim({"--map", map, "--replay", file, "--check"});
        EXPECT_EQ(run.status, status) << other << "\n" << run.err;
    }

    for (const auto& [i, j] : {std::pair{0, 0}, std::pair{249, 0}, std::pair{0, 249}, std::pair{249, 249}}) {
        MapGrid changed = grid;
        changed.setCell(i, j, static_cast<std::uint8_t>(grid.cell(i, j) + 1));
        EXPECT_NE(mapDigest(changed), mapDigest(grid)) << i << ',' << j;
    }
}

TEST_F(ReplaySim, SavesAndLoadsFailInTheFramesTheGamesDid)
{
    // S in frame 11 fails as it did for the game (no click, the diary may be used again), the
    // S of frame 13 succeeds; L in frame 20 cannot read the saves, L in frame 22 loads.
    const std::string file = replay(continued(), "10 right\n1 s\n# save failed at frame 11\n1 -\n1 s\n6 right\n1 l\n"
                                                 "# load failed at frame 20\n1 -\n1 l\n5 -\n", 27, "");
    const ProgramRun run = runSim({"--map", map, "--replay", file, "--trace"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = [&] {
        std::vector<std::string> all;
        std::istringstream in(run.out);
        for (std::string line; std::getline(in, line);)
            all.push_back(line);
        return all;
    }();
    ASSERT_EQ(lines.size(), 29u) << run.out;
    const auto sounds = [&](int frame) {
        std::string line = lines[static_cast<std::size_t>(frame)];
        line.erase(line.rfind(','));
        return line.substr(line.rfind(',') + 1);
    };
    EXPECT_EQ(sounds(11), "") << lines[11];
    EXPECT_EQ(sounds(13), "1") << lines[13];
    const auto x = [&](int frame) { return std::stod(lines[static_cast<std::size_t>(frame)].substr(lines[static_cast<std::size_t>(frame)].find(",2,4,") + 5)); };
    EXPECT_GT(x(20), 400) << "the failed load left the hero where it was";
    EXPECT_EQ(x(22), 400) << "the next load put it back at the save";
    EXPECT_NE(run.err.find("poronpa-sim: frame 11: セーブできませんでした。"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("poronpa-sim: frame 20: ロードできませんでした。"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("frame 13:"), std::string::npos) << run.err;
}

TEST_F(ReplaySim, BadReplaysAndArgumentsExitWithOneLine)
{
    const std::string good = replay(continued(), "5 -\n", 5, "");
    std::string text = test::readText(good);
    text.replace(text.find("# save-data "), 14, "# save-data zz");
    test::writeText(dir / "damaged.replay", text);
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--replay", (dir / "damaged.replay").string()}, (dir / "damaged.replay").string() + ":9: the embedded save is damaged"},
        {{"--replay", (dir / "missing.replay").string()}, (dir / "missing.replay").string() + ": cannot be opened"},
        {{"--replay", good, "--save", saves.string()}, "--save cannot go with --replay"},
        {{"--input", good, "--check"}, "--check needs --replay"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--map", map.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProgramRun run = runSim(args);
        EXPECT_EQ(run.status, 2) << c.error;
        EXPECT_TRUE(run.err.starts_with("poronpa-sim: " + c.error)) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "");
    }
}
