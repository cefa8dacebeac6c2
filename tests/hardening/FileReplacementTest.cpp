// How the writers replace the player's files and the outputs named to them: through a symbolic
// link to its target, never over a file its owner made read-only nor over anything but a regular
// file, one writer at a time, and without leaving what a killed writer left behind for ever.
#include "app/base/SafeFile.h"
#include "editor/BitmapFile.h"
#include "replay/ReplayFolder.h"
#include "replay/ReplayWriter.h"
#include "play/SavedGame.h"
#include "settings/Settings.h"
#include "tests/hardening/FaultSupport.h"
#include "tests/support/Installation.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <tuple>

using namespace poronpa;
using namespace poronpa::test;

namespace {

SaveRecord aSave(int n)
{
    SaveRecord r;
    r.AreaX = 1;
    r.AreaY = 2;
    r.RespawnX = 100;
    r.RespawnY = 200;
    r.DeathCount[0][0] = n;
    return r;
}

struct Writer {
    const char* what;
    const char* fileName;
    const char* oldContent;
    /// Writes; the error, or empty.
    std::function<std::string(const std::filesystem::path&)> write;
    /// Whether the file holds what `write` wrote.
    std::function<bool(const std::filesystem::path&)> written;
};

std::vector<Writer> writers()
{
    MapGrid map;
    map.setCell(0, 3, 42);
    return {
        {"a save", "savedata.dat", "old saves",
         [](const auto& file) { return SaveGame(file, aSave(7)).error; },
         [](const auto& file) {
             SaveRecord r;
             return LoadGameRecord(file, 0, r) == LoadOutcome::Loaded && r.DeathCount[0][0] == 7;
         }},
        {"the map", "mapdata.dat", "old map",
         [map](const auto& file) { return saveMap(file, map).error; },
         [](const auto& file) { return readBytes(file).size() == 62500 && readBytes(file)[3] == 42; }},
        {"the settings", "zembo.ini", "[INIExist]\nDummy=True\n",
         [](const auto& file) {
             clsINI ini;
             ini.InitINIAt(file);
             return SaveSettings(ini, Settings{0, 1, 0}).error;
         },
         [](const auto& file) { return readText(file).find("BGM=0") != std::string::npos; }},
        {"a picture the editor exports", "allmap.bmp", "old picture",
         [](const auto& file) { return saveBitmap(file, Surface(2, 2)).error; },
         [](const auto& file) { return readText(file).starts_with("BM"); }},
        // The writer of every output named on a command line (the map compiler's, the route
        // finder's) and of a replay's saves.
        {"a named output", "out.dat", "old output",
         [](const auto& file) {
             const std::string text = "new output";
             return writeFileAtomically(file, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}).error;
         },
         [](const auto& file) { return readText(file) == "new output"; }},
        {"a replay", "2025-06-01_14-03-22.replay", "old replay",
         [](const auto& file) {
             std::string error;
             replay::ReplayWriter writer([&error](const std::string& reason) { error = reason; });
             writer.write(file, "# new replay\n", {}, "# unfinished frame=0\n");
             writer.flush();
             return error;
         },
         [](const auto& file) { return readText(file).starts_with("# new replay"); }},
    };
}

/// What lies at a path, as far as replacing it goes: its kind, its node, its device number.
std::tuple<mode_t, ino_t, dev_t> nodeOf(const std::filesystem::path& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return {};
    return {status.st_mode, status.st_ino, status.st_rdev};
}

/// Something a writer may find where it writes, and what it must make of it: an error with that
/// reason, the thing untouched, or (no reason) the file written.
struct Place {
    const char* what;
    std::function<void(const std::filesystem::path& file, const std::string& oldContent)> make;
    const char* refusal;
};

/// Every writer, put to `place`: refused with the reason and nothing changed, or written.
void putEveryWriterTo(const Place& place)
{
    for (const Writer& writer : writers()) {
        TempDir dir;
        const auto file = dir / writer.fileName;
        place.make(file, writer.oldContent);
        const auto before = nodeOf(file);
        const auto namesBefore = directoryNames(dir.path());
        const std::string error = writer.write(file);
        const std::string what = std::string(writer.what) + " into " + place.what;
        if (!place.refusal) {
            EXPECT_EQ(error, "") << what;
            EXPECT_TRUE(writer.written(file)) << what;
            continue;
        }
        EXPECT_EQ(error, file.string() + ": cannot be written (" + place.refusal + ")") << what;
        EXPECT_EQ(nodeOf(file), before) << what << ": replaced";
        EXPECT_EQ(directoryNames(dir.path()), namesBefore) << what << ": left a file";
    }
}

} // namespace

TEST(FileReplacement, OnlyARegularFileOrNothingIsReplaced)
{
    const auto regular = [](const auto& file, const std::string& content) { writeText(file, content); };
    const Place places[] = {
        {"nothing", [](const auto&, const auto&) {}, nullptr},
        {"a regular file", regular, nullptr},
        {"a link to a regular file",
         [](const auto& file, const std::string& content) {
             writeText(file.parent_path() / "target", content);
             std::filesystem::create_symlink("target", file);
         },
         nullptr},
        {"a named pipe", [](const auto& file, const auto&) { ::mkfifo(file.c_str(), 0666); }, "not a regular file"},
        {"a link to a named pipe",
         [](const auto& file, const auto&) {
             ::mkfifo((file.parent_path() / "pipe").c_str(), 0666);
             std::filesystem::create_symlink("pipe", file);
         },
         "not a regular file"},
        {"a folder", [](const auto& file, const auto&) { std::filesystem::create_directory(file); }, "it is a folder"},
        {"a file its owner made read-only",
         [](const auto& file, const std::string& content) {
             writeText(file, content);
             std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                                    std::filesystem::perms::others_read);
         },
         "Permission denied"},
    };
    for (const Place& place : places)
        putEveryWriterTo(place);
}

TEST(FileReplacement, ADeviceIsNeverReplaced)
{
    if (::geteuid() != 0) {
        // Nobody but the superuser may make a device, or replace the system's own: /dev/null
        // shows the refusal without anything being written.
        for (const Writer& writer : writers()) {
            EXPECT_EQ(writer.write("/dev/null"), "/dev/null: cannot be written (not a regular file)") << writer.what;
            struct stat status {};
            EXPECT_TRUE(::stat("/dev/null", &status) == 0 && S_ISCHR(status.st_mode)) << writer.what;
        }
        return;
    }
    TempDir probe;
    if (::mknod((probe / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device can be made here: " << std::strerror(errno);
    putEveryWriterTo({"a copy of /dev/null",
                      [](const auto& file, const auto&) { ::mknod(file.c_str(), S_IFCHR | 0666, ::makedev(1, 3)); },
                      "not a regular file"});
}

TEST(FileReplacement, ALinkIsWrittenThroughToItsTarget)
{
    for (const Writer& writer : writers()) {
        TempDir program, elsewhere;
        const auto target = elsewhere / "kept-here";
        writeText(target, writer.oldContent);
        const auto link = program / writer.fileName;
        // A relative link through a second one, as a player might set it up.
        std::filesystem::create_symlink(target, elsewhere / "second");
        std::filesystem::create_symlink(std::filesystem::relative(elsewhere / "second", program.path()), link);

        EXPECT_EQ(writer.write(link), "") << writer.what;
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << writer.what << ": the link was replaced";
        EXPECT_TRUE(std::filesystem::is_symlink(elsewhere / "second")) << writer.what;
        EXPECT_TRUE(writer.written(target)) << writer.what << ": the target was not written";
        // A save notes its run's frames in a file of its own beside the name it was given.
        auto names = directoryNames(program.path());
        std::erase(names, std::string(writer.fileName) + ".run");
        EXPECT_EQ(names, std::vector<std::string>{writer.fileName}) << writer.what;
        EXPECT_EQ(directoryNames(elsewhere.path()), (std::vector<std::string>{"kept-here", "second"})) << writer.what;
    }
}

TEST(FileReplacement, TwoGamesSavingAtOnceEachGetASlot)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    constexpr int Rounds = 151;
    // Two processes save as fast as they can; every save advances the counter once, and the ring
    // holds each writer's latest saves in order.
    std::vector<pid_t> writers;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = true;
            for (int n = 0; n < Rounds; ++n)
                ok = SaveGame(file, aSave(1000 * (writer + 1) + n)).ok() && ok;
            ::_exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::vector<int> latest{1000 + Rounds, 2000 + Rounds}; // one past each writer's newest in the ring
    for (int back = 0; back < 10; ++back) {
        SaveRecord r;
        ASSERT_EQ(LoadGameRecord(file, back, r), LoadOutcome::Loaded) << back;
        const int writer = r.DeathCount[0][0] / 1000 - 1;
        ASSERT_TRUE(writer == 0 || writer == 1) << back;
        EXPECT_EQ(r.DeathCount[0][0], latest[writer] - 1) << "save " << back << " back: a save was lost";
        latest[writer] = r.DeathCount[0][0];
    }
    EXPECT_EQ(readBytes(file)[0], (2 * Rounds) % 10) << "the counter";
}

TEST(FileReplacement, WhatKilledWritersLeftIsRemovedAndNothingElse)
{
    TempDir dir, elsewhere;
    const std::vector<std::string> left{"savedata.dat.tmp-a1B2c3", "mapdata.dat.tmp-ZZZZZZ", "zembo.ini.tmp-000000"};
    const std::vector<std::string> kept{"mapdata.dat", "mapdata.dat.tmp-short", "notes.txt.tmp-a1B2c3",
                                        "savedata.dat.tmp-a1B2c3d", "zembo.ini", "zembo.ini.tmp-dir123"};
    for (const auto& name : left)
        writeText(dir / name, "half written");
    for (const auto& name : kept)
        if (name != "zembo.ini.tmp-dir123")
            writeText(dir / name, "mine");
    std::filesystem::create_directory(dir / "zembo.ini.tmp-dir123");
    // The save file is a link: its own temporary files lie beside its target.
    std::filesystem::create_symlink(elsewhere / "savedata.dat", dir / "savedata.dat");
    writeText(elsewhere / "savedata.dat.tmp-Q1w2E3", "half written");

    removeStaleTemporaries({dir / "mapdata.dat", dir / "savedata.dat", dir / "zembo.ini"});

    std::vector<std::string> expected = kept;
    expected.push_back("savedata.dat");
    // (the link's own folder is cleaned too: its temporary files date from before the link)
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(directoryNames(dir.path()), expected);
    EXPECT_TRUE(directoryNames(elsewhere.path()).empty());

    // Replays are named as they begin: what was to become one of the game's own is removed.
    TempDir replays;
    for (const auto& name : {"2025-06-01_14-03-22.replay", "2025-06-01_14-03-22.replay.tmp-a1B2c3",
                             "2025-06-01_14-03-22-2.replay.tmp-000000", "mine.replay.tmp-a1B2c3", "notes.txt.tmp-a1B2c3"})
        writeText(replays / name, "replay");
    removeStaleTemporariesIn(replays.path(), replay::isOwnReplayName);
    EXPECT_EQ(directoryNames(replays.path()),
              (std::vector<std::string>{"2025-06-01_14-03-22.replay", "mine.replay.tmp-a1B2c3", "notes.txt.tmp-a1B2c3"}));
}

// A program killed with a scratch folder of its own (the editor's test play, a replay watched)
// leaves it behind; the next start removes it, and nothing that is not such a leftover: not the
// folder of a program still running, nor one of another purpose, a link or a file of that name.
TEST(FileReplacement, AScratchFolderIsRemovedOnceItsProgramIsGone)
{
    TempDir temporary;
    ScopedEnvironment inside("TMPDIR", temporary.path().string());
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        TemporaryFolder scratch("test-play");
        writeText(scratch / "savedata.dat", "saves");
        const std::string name = scratch.path().filename().string() + "\n";
        [[maybe_unused]] const ssize_t n = ::write(report[1], name.data(), name.size());
        ::pause();
        ::_exit(0);
    }
    ::close(report[1]);
    std::string killed(64, '\0');
    const ssize_t n = ::read(report[0], killed.data(), killed.size());
    ::close(report[0]);
    killed.resize(n > 0 ? static_cast<std::size_t>(n) - 1 : 0);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ASSERT_TRUE(std::filesystem::is_directory(temporary / killed)) << killed;

    const TemporaryFolder running("test-play"), watched("replay");
    std::filesystem::create_directory(temporary / "poronpa-sim-a1B2c3");
    std::filesystem::create_directory(temporary / "poronpa-test-play-toolong");
    std::filesystem::create_directory_symlink(temporary / "poronpa-sim-a1B2c3", temporary / "poronpa-replay-link00");
    writeText(temporary / "poronpa-test-play-file00", "a file");
    auto expected = directoryNames(temporary.path());
    expected.erase(std::find(expected.begin(), expected.end(), killed));

    TemporaryFolder::removeLeftovers({"test-play", "replay"});
    EXPECT_EQ(directoryNames(temporary.path()), expected);
    EXPECT_TRUE(std::filesystem::is_directory(temporary / "poronpa-sim-a1B2c3"));
}

namespace {

/// Another program's advisory lock on a folder, held while the object lives or until released.
class HeldLock {
public:
    explicit HeldLock(const std::filesystem::path& folder) : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY))
    {
        ::flock(fd_, LOCK_EX);
    }
    ~HeldLock() { release(); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    void release()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

// Another program keeping the folder's lock holds a writer a second or two at most: then the
// write fails as one the folder does not allow, and the start's clearing up leaves the folder for
// the next time. A lock let go within that wait lets the write through.
TEST(FileReplacement, AnotherProgramsLockOnTheFolderHoldsAWriterASecondOrTwoAtMost)
{
    for (const Writer& writer : writers()) {
        const std::string what = writer.what;
        if (what != "a save" && what != "a named output") // the two ways every writer takes its turn
            continue;
        TempDir dir;
        const auto file = dir / writer.fileName;
        writeText(file, writer.oldContent);
        {
            HeldLock held(dir.path());
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(writer.write(file), file.string() + ": cannot be written (another program keeps its folder locked)")
                << what;
            EXPECT_GE(secondsSince(start), 1.0) << what << ": did not wait";
            EXPECT_LT(secondsSince(start), 5.0) << what << ": waited too long";
            EXPECT_EQ(readText(file), writer.oldContent) << what;
        }
        HeldLock held(dir.path());
        // Let go once the writer has set out, not after a set time: on a busy machine a thread
        // that sleeps may wake after the writer has given up.
        std::atomic<bool> writing = false;
        std::thread letGo([&held, &writing] {
            while (!writing)
                std::this_thread::yield();
            held.release();
        });
        writing = true;
        EXPECT_EQ(writer.write(file), "") << what << ": a lock let go within the wait";
        letGo.join();
        EXPECT_TRUE(writer.written(file)) << what;
    }

    TempDir dir;
    writeText(dir / "savedata.dat.tmp-Ab12Cd", "half written");
    {
        HeldLock held(dir.path());
        const auto start = std::chrono::steady_clock::now();
        removeStaleTemporaries({dir / "savedata.dat"});
        EXPECT_LT(secondsSince(start), 2.0) << "the start waited";
        EXPECT_EQ(directoryNames(dir.path()), std::vector<std::string>{"savedata.dat.tmp-Ab12Cd"});
    }
    removeStaleTemporaries({dir / "savedata.dat"});
    EXPECT_TRUE(directoryNames(dir.path()).empty());
}

// The same as the simulator plays it: it starts at once, and the save says it could not save.
TEST(FileReplacement, AGameWhoseSaveFolderAnotherProgramKeepsLockedPlaysOnAndSaysItCouldNotSave)
{
    TempDir dir;
    std::filesystem::copy_file(std::string(PORONPA_RUNTIME_DIR) + "/mapdata.dat", dir / "mapdata.dat");
    HeldLock held(dir.path());
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun run = runProgram({PORONPA_SIM_EXECUTABLE, "--map", (dir / "mapdata.dat").string(), "--save",
                                       (dir / "savedata.dat").string(), "--items", "4", "--input", "-"},
                                      "30 right\n20 s\n10 -\n");
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("end frame=60 "), std::string::npos) << run.out;
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("セーブできませんでした"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("another program keeps its folder locked"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "savedata.dat"));
}
