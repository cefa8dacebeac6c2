// A writer killed at any moment: the save file, the map file and the settings file each hold,
// after the kill, exactly what one of the writer's whole steps left, never a mixture.
#include "play/SavedGame.h"
#include "settings/Settings.h"
#include "tests/hardening/FaultSupport.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/ptrace.h>
#include <sys/syscall.h>

using namespace poronpa;
using namespace poronpa::test;

namespace {

using Bytes = std::optional<std::vector<unsigned char>>; // nothing: no file

Bytes contentOf(const std::filesystem::path& file)
{
    if (!std::filesystem::exists(file))
        return std::nullopt;
    return readBytes(file);
}

enum class Killed { BeforeTheEnd, NeverReached, TracingNotAllowed };

/// Whether a system call stop is the entry of a call that counts. A temporary file's name is
/// drawn at random, and the C library sometimes asks the kernel for the randomness and sometimes
/// not: counting those calls would let the same count land a step earlier in one run than in
/// another. Without the kernel's call details every call counts, entries and exits alternating.
bool entryThatCounts(pid_t pid, int stops)
{
    __ptrace_syscall_info info{};
    if (::ptrace(PTRACE_GET_SYSCALL_INFO, pid, sizeof info, &info) <= 0)
        return stops % 2 == 1;
    return info.op == PTRACE_SYSCALL_INFO_ENTRY && info.entry.nr != SYS_getrandom;
}

/// Runs `write` in a child process and kills it when it enters its `call`-th system call, so
/// that everything it did before that call is done and nothing after.
Killed killAtSystemCall(const std::function<void()>& write, int call)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            ::_exit(1); // an untraced child would stop below for good
        ::raise(SIGSTOP);
        write();
        ::_exit(0); // no exit handlers: the leak checker would try to trace a traced process
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFSTOPPED(status))
        return Killed::TracingNotAllowed;
    if (::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) != 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return Killed::TracingNotAllowed;
    }
    int stops = 0;
    int entries = 0;
    int signal = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, pid, nullptr, signal);
        ::waitpid(pid, &status, 0);
        signal = 0;
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return Killed::NeverReached;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status);
            continue;
        }
        if (entryThatCounts(pid, ++stops) && ++entries == call) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return Killed::BeforeTheEnd;
        }
    }
}

SaveRecord aSave(int n)
{
    SaveRecord r;
    r.AreaX = static_cast<std::int16_t>(n % 5);
    r.AreaY = 3;
    r.RespawnX = 100.0f + static_cast<float>(n);
    r.RespawnY = 900.5f;
    r.SwitchOn = 1;
    r.ItemHeld[4] = 1;
    r.DeathCount[2][3] = n;
    return r;
}

MapGrid aMap(int seed)
{
    MapGrid map;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            map.setCell(x, y, static_cast<std::uint8_t>((x * 7 + y * 3 + seed) % 192));
    return map;
}

struct Writer {
    const char* what;
    const char* fileName;
    /// Puts the old file in place (or leaves it missing).
    std::function<void(const std::filesystem::path&)> prepare;
    /// The writer's steps, each of which must reach the disk whole or not at all.
    std::vector<std::function<void(const std::filesystem::path&)>> steps;
};

std::vector<Writer> writers()
{
    const auto saves = [](int count) {
        return [count](const std::filesystem::path& file) {
            for (int n = 1; n <= count; ++n)
                SaveGame(file, aSave(n));
        };
    };
    const auto settingsSteps = [] {
        std::vector<std::function<void(const std::filesystem::path&)>> steps;
        for (const char* key : {"Dummy", "BGM", "SE"})
            steps.push_back([key](const std::filesystem::path& file) {
                ProfileFile(file).write(key == std::string("Dummy") ? "INIExist" : "Option", key, "0");
            });
        return steps;
    };
    return {
        {"the first save", "savedata.dat", saves(0), {[](const auto& file) { SaveGame(file, aSave(1)); }}},
        {"a save over ten others", "savedata.dat", saves(10), {[](const auto& file) { SaveGame(file, aSave(11)); }}},
        {"the map over a longer file", "mapdata.dat",
         [](const auto& file) {
             std::vector<unsigned char> old(70000, 9);
             writeBytes(file, old);
         },
         {[](const auto& file) { saveMap(file, aMap(1)); }}},
        {"the map over the old map", "mapdata.dat", [](const auto& file) { saveMap(file, aMap(1)); },
         {[](const auto& file) { saveMap(file, aMap(2)); }}},
        {"the settings, key by key", "zembo.ini",
         [](const auto& file) { writeText(file, "; mine\n[Option]\nFrameRate=60\nBGM=1\n"); }, settingsSteps()},
    };
}

} // namespace

TEST(KilledWriter, EveryMomentLeavesTheFileAsOneOfItsWholeSteps)
{
    for (const Writer& writer : writers()) {
        // What the file holds after each whole step, worked out by running the steps here.
        std::vector<Bytes> wholeStates;
        {
            TempDir dir;
            const auto file = dir / writer.fileName;
            writer.prepare(file);
            wholeStates.push_back(contentOf(file));
            for (const auto& step : writer.steps) {
                step(file);
                wholeStates.push_back(contentOf(file));
            }
        }

        std::size_t reached = 0; // the kills may only ever find a later state, never go back
        int call = 1;
        for (;; ++call) {
            ASSERT_LT(call, 10000) << writer.what << ": the writer never finishes";
            TempDir dir;
            const auto file = dir / writer.fileName;
            writer.prepare(file);
            const Killed killed = killAtSystemCall(
                [&] {
                    for (const auto& step : writer.steps)
                        step(file);
                },
                call);
            if (killed == Killed::TracingNotAllowed)
                GTEST_SKIP() << "processes may not be traced here";

            const auto found = std::find(wholeStates.begin() + static_cast<std::ptrdiff_t>(reached), wholeStates.end(), contentOf(file));
            ASSERT_NE(found, wholeStates.end()) << writer.what << ", killed at system call " << call
                                                << ": the file is not what a whole step leaves";
            reached = static_cast<std::size_t>(found - wholeStates.begin());

            // A temporary file that a writer killed before its first step was done left behind
            // does not hinder the next try.
            if (reached == 0) {
                for (const auto& step : writer.steps)
                    step(file);
                EXPECT_TRUE(contentOf(file) == wholeStates.back()) << writer.what << ", written again after the kill at call " << call;
            }

            if (killed == Killed::NeverReached)
                break;
        }
        EXPECT_EQ(reached, wholeStates.size() - 1) << writer.what;
        EXPECT_GT(call, 10) << writer.what << ": too few system calls to have been killed at many points";
    }
}
