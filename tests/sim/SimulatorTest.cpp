// The real poronpa-sim binary on small maps built here, read through its trace.
#include "play/SavedGame.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestMap.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using poronpa::test::TempDir;
using poronpa::test::TestMap;

extern char** environ;

namespace {

constexpr std::uint8_t Air = 0;
constexpr std::uint8_t Wall = 96;
constexpr std::uint8_t Box = 55;
constexpr std::uint8_t ViewingSpot = 142;

struct SimRun {
    int status = -1; ///< the exit status; -1 when ended by a signal, -2 when it did not end in time
    int signal = 0;  ///< the signal that ended it
    long maxResidentKb = 0;
    std::string out;
    std::string err;

    std::vector<std::string> lines() const
    {
        std::vector<std::string> result;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
    /// The trace line of a frame (the header is line 0).
    std::string frame(std::size_t n) const
    {
        const auto all = lines();
        return n < all.size() ? all[n] : std::string("(no line ") + std::to_string(n) + ")";
    }
    std::string endLine() const { return lines().empty() ? std::string() : lines().back(); }
};

/// poronpa-sim started with `input` on its standard input, its output kept in files of `dir`.
struct StartedSim {
    const TempDir& dir;
    pid_t pid = 0;

    StartedSim(const TempDir& where, const std::vector<std::string>& args, const std::string& input,
               const std::string& executable = PORONPA_SIM_EXECUTABLE)
        : dir(where)
    {
        const auto in = dir / "stdin.txt", out = dir / "stdout.txt", err = dir / "stderr.txt";
        poronpa::test::writeText(in, input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> argvStrings{executable};
        argvStrings.insert(argvStrings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& s : argvStrings)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid = 0;
        posix_spawn_file_actions_destroy(&actions);
    }

    /// Waits for the end, at most `limit`; a run still going then is killed.
    SimRun finish(std::chrono::seconds limit = std::chrono::seconds(60))
    {
        SimRun run;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        rusage usage{};
        while (pid != 0 && wait4(pid, &status, WNOHANG, &usage) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                wait4(pid, &status, 0, &usage);
                run.status = -2;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (run.status != -2) {
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        }
        run.maxResidentKb = usage.ru_maxrss;
        run.out = poronpa::test::readText(dir / "stdout.txt");
        run.err = poronpa::test::readText(dir / "stderr.txt");
        return run;
    }
};

SimRun runSim(const TempDir& dir, const std::vector<std::string>& args, const std::string& input = "",
              const std::string& executable = PORONPA_SIM_EXECUTABLE)
{
    return StartedSim(dir, args, input, executable).finish();
}

/// Polls `condition` every few milliseconds until it holds or `limit` has passed.
bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

/// Area (2, 4), where a new game starts at (160, 1498), with a floor two cells below the hero's
/// feet row: the hero lands on it at y 1504 after seven frames.
TestMap floorUnderTheStart(std::uint8_t floor = Wall)
{
    TestMap map;
    map.row(2, 4, 48, 1, 49, floor);
    return map;
}

/// Field `index` (0 = frame) of a trace line.
std::string field(const std::string& line, int index)
{
    std::istringstream fields(line);
    std::string value;
    for (int i = 0; i <= index; ++i)
        std::getline(fields, value, ',');
    return value;
}

std::string writeMap(const TempDir& dir, const TestMap& map)
{
    const auto path = dir / "map.dat";
    map.write(path);
    return path.string();
}

} // namespace

TEST(Simulator, NewGameFallsOntoTheFloorFrameByFrame)
{
    TempDir dir;
    const SimRun run = runSim(dir, {"--map", writeMap(dir, floorUnderTheStart()), "--frames", "7", "--trace"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(run.lines().size(), 9u) << run.out;
    EXPECT_EQ(run.frame(0), "frame,area_x,area_y,hero_x,hero_y,hero_vx,hero_vy,state,jump_count,event_timer,items,switch,sounds,dialog");
    EXPECT_EQ(run.frame(1), "1,2,4,160,1498.25,0,0.25,0,0,0,0000000000,1,,");
    EXPECT_EQ(run.frame(2), "2,2,4,160,1498.75,0,0.5,0,999,0,0000000000,1,,");
    EXPECT_EQ(run.frame(6), "6,2,4,160,1503.25,0,1.5,0,999,0,0000000000,1,,");
    EXPECT_EQ(run.frame(7), "7,2,4,160,1504,0,0,0,0,0,0000000000,1,,");
    EXPECT_EQ(run.endLine(), "end frame=7 area=2,4 pos=160,1504 state=0 items=0000000000 deaths=0 ending=no");
}

TEST(Simulator, StartIsShapedOnlyForTheFirstNewGame)
{
    TempDir dir;
    const std::string map = writeMap(dir, TestMap());
    const SimRun shaped = runSim(dir, {"--map", map, "--area", "0,1", "--pos", "100,200.5", "--items", "9,0", "--switch", "0", "--frames", "1", "--trace"});
    ASSERT_EQ(shaped.status, 0) << shaped.err;
    EXPECT_EQ(shaped.frame(1), "1,0,1,100,200.75,0,0.25,0,0,0,1000000001,0,,");

    // Nothing to continue from: the new game that starts instead is the title's, unshaped.
    const SimRun continued = runSim(dir, {"--map", map, "--continue", "--save", (dir / "none.dat").string(), "--area", "0,1", "--items", "3", "--frames", "0"});
    ASSERT_EQ(continued.status, 0) << continued.err;
    EXPECT_EQ(continued.out, "end frame=0 area=2,4 pos=160,1498 state=9 items=0000000000 deaths=0 ending=no\n");
}

TEST(Simulator, TreasureBoxOpensItsDialogWithinTheFrame)
{
    const struct {
        int areaX, areaY;
        const char* itemsAtStart;
        const char* itemsAfter;
        const char* soundsAndDialog;
    } cases[] = {
        {1, 4, "", "0000100000", "11;1;1,4"},
        {1, 4, "4", "0000100000", "13;1,-1"},
        {2, 4, "", "0000000000", "12;1;1,102"},
        {3, 1, "", "0000000000", "13;1,-1"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        TestMap map;
        map.set(c.areaX, c.areaY, 5, 47, Box); // the hero's centre cell at the start
        const std::string area = std::to_string(c.areaX) + "," + std::to_string(c.areaY);
        const SimRun run = runSim(dir, {"--map", writeMap(dir, map), "--area", area, "--items", c.itemsAtStart, "--frames", "2", "--trace"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.frame(1), "1," + area + ",160,1498.25,0,0,0,0,0," + c.itemsAfter + ",1," + c.soundsAndDialog);
        EXPECT_EQ(run.frame(2), "2," + area + ",160,1498.5,0,0.25,0,0,0," + c.itemsAfter + ",1,,") << "the box is gone";
    }
}

TEST(Simulator, KeyClearedByTheDialogStaysUpUntilPressedAgain)
{
    TempDir dir;
    TestMap map = floorUnderTheStart();
    map.set(2, 4, 8, 47, Box);
    const SimRun run = runSim(dir, {"--map", writeMap(dir, map), "--input", "-", "--trace"}, "40 right\n1 -\n5 right\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines().size(), 48u);

    std::size_t boxFrame = 0;
    for (std::size_t n = 1; n <= 40 && boxFrame == 0; ++n)
        if (run.frame(n).ends_with(",102"))
            boxFrame = n;
    ASSERT_GT(boxFrame, 1u) << "walking right reaches the box";
    const auto speed = [&](std::size_t n) { return std::stof(field(run.frame(n), 5)); };
    EXPECT_GT(speed(boxFrame - 1), 0.0f);
    for (std::size_t n = boxFrame; n <= 41; ++n)
        EXPECT_EQ(speed(n), 0.0f) << "frame " << n << ": Right is held in the script but was cleared";
    EXPECT_GT(speed(42), 0.0f) << "pressed again";
}

TEST(Simulator, SavedGameComesBackWithLAndContinue)
{
    TempDir dir;
    const std::string map = writeMap(dir, floorUnderTheStart());
    const std::string save = (dir / "save.dat").string();
    const SimRun run = runSim(dir, {"--map", map, "--save", save, "--items", "4", "--input", "-", "--trace"},
                              "10 -\n1 s  # saves: the diary is held\n20 right\n1 l\n5 right\n1 l+1  # one save only: nothing to load\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.frame(11).substr(run.frame(11).size() - 3), ",1,") << run.frame(11);
    EXPECT_EQ(poronpa::test::readBytes(save).size(), 66u * 128);
    EXPECT_EQ(run.frame(32), "32,2,4,160,1498,0,0,0,0,0,0000100000,1,,");
    EXPECT_GT(std::stof(field(run.frame(38), 3)), std::stof(field(run.frame(37), 3))) << "nothing was loaded, the walk goes on";

    const SimRun continued = runSim(dir, {"--map", map, "--save", save, "--continue", "--frames", "1", "--trace"});
    ASSERT_EQ(continued.status, 0) << continued.err;
    EXPECT_EQ(continued.frame(1), "1,2,4,160,1498.25,0,0.25,0,0,0,0000100000,1,,");
}

TEST(Simulator, QuitEndsTheRunAfterItsFrame)
{
    TempDir dir;
    const SimRun run = runSim(dir, {"--map", writeMap(dir, floorUnderTheStart()), "--input", "-", "--trace"}, "3 -\n1 q\n10 -\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines().size(), 6u) << run.out;
    // The answer leaves the loop before the frame's move: the speed has grown, the position not.
    EXPECT_EQ(run.frame(4), "4,2,4,160,1499.5,0,1,0,999,0,0000000000,1,,");
    EXPECT_EQ(run.endLine(), "end frame=4 area=2,4 pos=160,1499.5 state=0 items=0000000000 deaths=0 ending=no");
}

TEST(Simulator, FallOutOfTheWorldCountsOneMishap)
{
    TempDir dir;
    const SimRun run = runSim(dir, {"--map", writeMap(dir, TestMap()), "--frames", "96", "--trace"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.frame(16), "16,2,4,160,1532,0,4,0,999,0,0000000000,1,,");
    EXPECT_EQ(run.frame(17), "17,2,4,160,1536,0,4.25,99,999,79,0000000000,1,10,");
    EXPECT_EQ(run.frame(18), "18,2,4,160,1536,0,4.25,99,999,78,0000000000,1,,");
    EXPECT_EQ(run.frame(95), "95,2,4,160,1498,0,4.25,9,999,0,0000000000,1,,");
    EXPECT_EQ(run.endLine(), "end frame=96 area=2,4 pos=160,1502.5 state=0 items=0000000000 deaths=1 ending=no");
}

TEST(Simulator, ViewingSpotEndsTheGameOnlyWithBothOfferings)
{
    TempDir dir;
    const std::string map = writeMap(dir, floorUnderTheStart(ViewingSpot));
    const SimRun ending = runSim(dir, {"--map", map, "--items", "8,9", "--frames", "1000", "--trace"});
    ASSERT_EQ(ending.status, 0) << ending.err;
    EXPECT_EQ(ending.frame(7), "7,2,4,160,1504,0,0,100,0,149,0000000011,1,,");
    EXPECT_EQ(ending.frame(155).substr(0, 4), "155,");
    EXPECT_EQ(ending.endLine(), "end frame=155 area=2,4 pos=160,1504 state=100 items=0000000011 deaths=0 ending=yes");

    const SimRun missing = runSim(dir, {"--map", map, "--items", "8", "--frames", "200", "--trace"});
    ASSERT_EQ(missing.status, 0) << missing.err;
    EXPECT_EQ(missing.frame(7), "7,2,4,160,1504,0,0,0,0,0,0000000010,1,13;1,200");
    EXPECT_EQ(missing.endLine(), "end frame=200 area=2,4 pos=160,1504 state=0 items=0000000010 deaths=0 ending=no");
}

TEST(Simulator, BadArgumentsAndFilesExitWithTwo)
{
    TempDir dir;
    const std::string map = writeMap(dir, TestMap());
    poronpa::test::writeText(dir / "bad.txt", "3 right\n# fine\n2 right+jump\n");
    poronpa::test::writeText(dir / "long.txt", "5 -\n9223372036854775807 right\n");
    poronpa::test::writeText(dir / "escape.txt", "1 rig\x1bht\n");
    std::filesystem::create_directory(dir / "folder");
    mkfifo((dir / "pipe").c_str(), 0644);
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--map", map, "--frames", "ten"}, "--frames"},
        {{"--map", map, "--verbose"}, "--verbose"},
        {{"--map", (dir / "missing.dat").string()}, "missing.dat"},
        {{"--map", (dir / "folder").string()}, "folder"},
        {{"--map", map, "--input", (dir / "missing.txt").string()}, "missing.txt"},
        {{"--map", map, "--input", (dir / "bad.txt").string()}, "line 3: unknown key \"jump\""},
        {{"--map", map, "--save", (dir / "folder").string()}, "folder"},
        {{"--map", map, "--input", (dir / "long.txt").string()}, "line 2: the counts add up to more than 9223372036854775807 frames"},
        {{"--map", map, "--input", (dir / "escape.txt").string()}, "line 1: unknown key \"rig\\x1bht\""},
        {{"--map", map, "--area", "1\n2"}, "--area \"1\\n2\": expected"},
        {{"--map", map, "--input", "/dev/zero"}, "line 1: longer than 4096 characters"},
        {{"--map", (dir / "pipe").string()}, "pipe: cannot be read (not a regular file)"},
        {{"--map", map, "--save", (dir / "pipe").string()}, "pipe: cannot be read (not a regular file)"},
    };
    const std::string toFullDisk = std::string(PORONPA_SIM_EXECUTABLE) + " --map " + map + " --frames 3 --trace >/dev/full 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(toFullDisk.c_str())), 2) << "a trace that could not be written";

    for (const auto& c : cases) {
        const SimRun run = runSim(dir, c.args);
        EXPECT_EQ(run.status, 2) << c.args.back();
        EXPECT_EQ(run.out, "") << c.args.back();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST(Simulator, MapBesideTheProgramAndMapsOfAnyLength)
{
    TempDir dir;
    const auto program = dir / "poronpa-sim";
    std::filesystem::copy_file(PORONPA_SIM_EXECUTABLE, program);
    EXPECT_EQ(runSim(dir, {"--frames", "1"}, "", program.string()).status, 2) << "no mapdata.dat beside it";
    floorUnderTheStart().write(dir / "mapdata.dat");
    const SimRun beside = runSim(dir, {"--frames", "7"}, "", program.string());
    ASSERT_EQ(beside.status, 0) << beside.err;
    EXPECT_EQ(beside.out, "end frame=7 area=2,4 pos=160,1504 state=0 items=0000000000 deaths=0 ending=no\n");

    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{62'499}, std::size_t{100'000}}) {
        std::vector<unsigned char> bytes(length, Air);
        poronpa::test::writeBytes(dir / "odd.dat", bytes);
        const SimRun run = runSim(dir, {"--map", (dir / "odd.dat").string(), "--input", "-"}, "3 right\n");
        EXPECT_EQ(run.status, 0) << length << ": " << run.err;
        EXPECT_TRUE(run.endLine().starts_with("end frame=3 area=2,4 ")) << run.out;
    }
}

TEST(Simulator, AScriptIsReadAsTheRunGoes)
{
    TempDir dir;
    const std::string map = writeMap(dir, floorUnderTheStart());

    // Two million lines of script (24 MB) take no more memory than ten.
    const auto lines = [](int pairs) {
        std::string script;
        for (int n = 0; n < pairs; ++n)
            script += "1 right\n1 -\n";
        return script;
    };
    // Under AddressSanitizer freed memory is held back in a quarantine of 256 MB, which a long
    // run of small allocations fills; without it the sizes compare as in a plain build.
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    const std::string kept = sanitizerOptions ? sanitizerOptions : "";
    setenv("ASAN_OPTIONS", (kept + ":quarantine_size_mb=0:thread_local_quarantine_size_kb=0").c_str(), 1);
    const SimRun shortRun = runSim(dir, {"--map", map, "--input", "-"}, lines(5));
    const SimRun longRun = runSim(dir, {"--map", map, "--input", "-"}, lines(1'000'000));
    if (sanitizerOptions)
        setenv("ASAN_OPTIONS", kept.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");
    ASSERT_EQ(longRun.status, 0) << longRun.err;
    EXPECT_TRUE(longRun.endLine().starts_with("end frame=2000000 ")) << longRun.endLine();
#ifdef __SANITIZE_ADDRESS__
    constexpr long allowedGrowthKb = 32 * 1024; // the sanitizer's allocator keeps more in hand
#else
    constexpr long allowedGrowthKb = 16 * 1024;
#endif
    EXPECT_LT(longRun.maxResidentKb, shortRun.maxResidentKb + allowedGrowthKb) << "kB at most in memory, " << shortRun.maxResidentKb
                                                                          << " kB for ten lines";

    // From standard input a bad line is found when the run comes to it; the frames before it
    // were played and traced.
    const SimRun bad = runSim(dir, {"--map", map, "--input", "-", "--trace"}, "5 -\n9223372036854775807 right\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "poronpa-sim: - line 2: the counts add up to more than 9223372036854775807 frames\n");
    EXPECT_EQ(bad.lines().size(), 6u) << bad.out;
}

TEST(Simulator, TheScratchFolderIsMadeOnlyWhenNeededAndGoesWhenTheRunIsStopped)
{
    TempDir dir;
    const std::string map = writeMap(dir, floorUnderTheStart());
    const auto scratch = dir / "tmp";
    std::filesystem::create_directory(scratch);
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string keptTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", scratch.c_str(), 1);
    const auto empty = [&] { return std::filesystem::is_empty(scratch); };

    const SimRun saved = runSim(dir, {"--map", map, "--save", (dir / "mine.dat").string(), "--frames", "3"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_TRUE(empty()) << "a folder was made though --save was given";

    // A run saving into the scratch folder, stopped by a signal while it plays on.
    poronpa::test::writeText(dir / "keys.txt", "2 -\n40 s\n");
    for (const int signal : {SIGINT, SIGTERM}) {
        StartedSim running(dir, {"--map", map, "--items", "4", "--input", (dir / "keys.txt").string(), "--frames", "4000000000"}, "");
        const bool savedThere = waitFor([&] {
            for (const auto& folder : std::filesystem::directory_iterator(scratch))
                if (std::filesystem::exists(folder.path() / "savedata.dat"))
                    return true;
            return false;
        });
        EXPECT_TRUE(savedThere) << "no save in the scratch folder";
        kill(running.pid, signal);
        const SimRun stopped = running.finish(std::chrono::seconds(20));
        EXPECT_EQ(stopped.signal, signal) << stopped.err;
        EXPECT_TRUE(empty()) << "the scratch folder was left after signal " << signal;
    }
    if (oldTmp)
        setenv("TMPDIR", keptTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

// The edges are crossed one after the other: crossing the right edge of a bottom-row area in the
// frame the hero drops out of it entered the next area below the band, so the respawns there
// started outside it, and a save made there was later sent back to the start area. The respawn
// point is kept inside the band.
TEST(Simulator, ARespawnPointIsKeptInsideTheBand)
{
    TempDir dir;
    const std::string map = writeMap(dir, TestMap());
    const std::string save = (dir / "save.dat").string();
    // Across into area (3, 4) while falling out of the world, then S with the diary right after
    // the respawn.
    poronpa::test::writeText(dir / "keys.txt", "33 right\n77 -\n5 s\n20 -\n");
    const SimRun run = runSim(dir, {"--map", map, "--area", "2,4", "--pos", "1452,1400", "--items", "4", "--save", save,
                                    "--input", (dir / "keys.txt").string(), "--trace"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(field(run.frame(33), 1) + " " + field(run.frame(33), 7), "3 99") << "fallen out as it crossed: " << run.frame(33);
    EXPECT_EQ(field(run.frame(111), 3) + "," + field(run.frame(111), 4) + " " + field(run.frame(111), 7), "40,1536 9")
        << "the respawn: " << run.frame(111);
    for (std::size_t frame = 1; frame <= 135; ++frame)
        for (const int column : {3, 4}) {
            const float position = std::stof(field(run.frame(frame), column));
            ASSERT_TRUE(position >= 32 && position <= 1536) << run.frame(frame);
        }

    const SimRun continued = runSim(dir, {"--map", map, "--save", save, "--continue", "--frames", "1"});
    EXPECT_TRUE(continued.endLine().starts_with("end frame=1 area=3,4 pos=40,1536 ")) << continued.endLine();
}

// A save holds the respawn point; one outside the band (as the game could once store it) is
// brought to the band's nearest point and kept with its area; only a position that is no number
// or an area outside the world sends the game to the start.
TEST(Simulator, AContinuedSaveOutsideTheBandStaysInItsArea)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* what;
        std::int16_t areaX, areaY;
        float x, y;
        const char* afterOneFrame;
    } cases[] = {
        {"left of the band", 1, 3, 31.5f, 1000, "area=1,3 pos=32,1000.25 "},
        {"right of the band", 1, 3, 1551.25f, 1000, "area=1,3 pos=1536,1000.25 "},
        {"just below the band", 1, 3, 40, 1536.55f, "area=1,4 pos=40,40 "},
        {"no number", 1, 3, nan, 1000, "area=2,4 pos=160,1498.25 "},
        {"an area outside the world", 5, 3, 40, 1000, "area=2,4 pos=160,1498.25 "},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string map = writeMap(dir, TestMap());
        poronpa::SaveRecord record;
        record.AreaX = c.areaX;
        record.AreaY = c.areaY;
        record.RespawnX = c.x;
        record.RespawnY = c.y;
        ASSERT_TRUE(poronpa::SaveGame(dir / "save.dat", record).ok());
        const SimRun run = runSim(dir, {"--map", map, "--save", (dir / "save.dat").string(), "--continue", "--frames", "1"});
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
        EXPECT_EQ(run.endLine().rfind(std::string("end frame=1 ") + c.afterOneFrame, 0), 0u) << c.what << ": " << run.endLine();
    }
}

// The run time is the timer's text of the run's frames: a new game's are the simulator's own, a
// continued game's go on from those its save kept, and a save made before they were kept leaves
// the time unknown. Standard output is the same with it as without.
TEST(Simulator, ARunThatReachesTheEndingTellsItsTimeOnStandardError)
{
    const struct {
        const char* what;
        std::optional<std::int32_t> savedFrames; ///< continued from a save keeping these; none: a new game
        std::int32_t frames;                      ///< the simulator's frames to the ending
        const char* runTime;                      ///< the line on standard error; none without an ending
    } cases[] = {
        {"a new game", std::nullopt, 155, "run time 0:02.01\n"},
        {"a continued game", 100'000, 155, "run time 21:42.01\n"},
        {"an older save's game", poronpa::UnknownRunFrames, 155, "run time -:--.--\n"},
        {"a game stopped before the ending", std::nullopt, 100, ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string map = writeMap(dir, floorUnderTheStart(ViewingSpot));
        const std::string save = (dir / "save.dat").string();
        std::vector<std::string> args{"--map", map, "--save", save, "--frames", std::to_string(c.frames), "--items", "8,9"};
        if (c.savedFrames) {
            poronpa::SaveRecord record;
            record.AreaX = 2;
            record.AreaY = 4;
            record.RespawnX = 160;
            record.RespawnY = 1498;
            record.ItemHeld[8] = record.ItemHeld[9] = 1;
            record.RunFrames = *c.savedFrames;
            ASSERT_TRUE(poronpa::SaveGame(save, record).ok());
            args.push_back("--continue");
        }
        const SimRun run = runSim(dir, args);
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
        EXPECT_EQ(run.endLine().rfind("end frame=" + std::to_string(c.frames) + " ", 0), 0u) << c.what << ": " << run.endLine();
        EXPECT_EQ(run.err, c.runTime) << c.what;
        EXPECT_EQ(run.out.find("run time"), std::string::npos) << c.what;
    }
}
