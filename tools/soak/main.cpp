// The random-play soak: poronpa-sim on random keys, starting in every area of the world in turn
// with every item held, each trace line checked as it comes.
//   poronpa-soak [--frames N] [--seed S] [--run-frames M] [--sim PATH] [--map FILE]
// Defaults: ten million frames, seed 1, runs of 20,000 frames, the simulator and the world beside
// this program. Exit 0 when every frame kept the rules; otherwise 1, with the failing run's keys
// kept and the command that replays it.

#include "app/base/FileNames.h"
#include "app/base/ProgramDirectory.h"
#include "app/base/StandardOptions.h"
#include "app/base/TemporaryFolder.h"
#include "play/StartAndBand.h"
#include "tools/soak/RandomKeyScript.h"
#include "tools/soak/TraceCheck.h"
#include "world/MapFile.h"
#include "world/TileFacts.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace poronpa;

struct Options {
    std::int64_t frames = 10'000'000;
    std::uint64_t seed = 1;
    std::int64_t runFrames = 20'000;
    std::filesystem::path sim = programDirectory() / "poronpa-sim";
    std::filesystem::path map = programDirectory() / filenames::World;
};

bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = argv[i + 1];
        // Numbers are read whole: "1e6" frames would otherwise run one frame.
        if (flag == "--frames" || flag == "--run-frames") {
            const auto count = numberArgument<std::int64_t>(value);
            if (!count)
                return false;
            (flag == "--frames" ? options.frames : options.runFrames) = *count;
        } else if (flag == "--seed") {
            const auto seed = numberArgument<std::uint64_t>(value);
            if (!seed)
                return false;
            options.seed = *seed;
        } else if (flag == "--sim") {
            options.sim = value;
        } else if (flag == "--map") {
            options.map = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.frames > 0 && options.runFrames > 0;
}

/// Where a run starts: a random cell of the area the hero can stand in (scenery or a tile that
/// acts on the hero's centre, not a solid one), in pixels.
std::string startPosition(const MapGrid& map, int ax, int ay, std::mt19937_64& random)
{
    // Cells 1..47 keep the start inside the band the simulator accepts.
    std::uniform_int_distribution<int> cell(1, MapGrid::AreaCells - 3);
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int i = cell(random);
        const int j = cell(random);
        const std::uint8_t tile = map.areaCell(ax, ay, i, j);
        if (!isSolid(tile))
            return std::to_string(32 * i + 16) + "," + std::to_string(32 * j + 16);
    }
    return std::to_string(static_cast<int>(StartX)) + "," + std::to_string(static_cast<int>(StartY));
}

struct RunResult {
    std::int64_t frames = 0;
    std::string failure;
};

/// Runs the simulator with `args`, checking its trace as it is written.
/// True when the simulator wrote anything on standard error besides the run's time, which it
/// reports when random keys happen to reach the ending.
bool reportsAProblem(const std::filesystem::path& errors)
{
    std::ifstream in(errors);
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with("run time "))
            return true;
    return false;
}

RunResult runSimulator(const std::filesystem::path& sim, const std::vector<std::string>& args, const std::filesystem::path& errors)
{
    RunResult result;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        result.failure = "no pipe";
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(sim.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, sim.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        result.failure = sim.string() + " cannot be started";
        return result;
    }

    soak::TraceCheck check;
    bool sawHeader = false;
    bool sawEnd = false;
    std::FILE* trace = ::fdopen(pipeEnds[0], "r");
    char* line = nullptr;
    std::size_t capacity = 0;
    ssize_t length = 0;
    while ((length = ::getline(&line, &capacity, trace)) > 0) {
        std::string_view text(line, static_cast<std::size_t>(length));
        if (text.back() == '\n')
            text.remove_suffix(1);
        if (!result.failure.empty())
            continue; // drain the pipe so the simulator can finish
        if (!sawHeader) {
            sawHeader = true;
        } else if (text.starts_with("end ")) {
            sawEnd = true;
            result.failure = check.end(text);
        } else if (std::string problem = check.line(text); !problem.empty()) {
            result.failure = problem + " in the trace line\n  " + std::string(text);
        }
    }
    std::free(line);
    std::fclose(trace);

    int status = 0;
    ::waitpid(pid, &status, 0);
    result.frames = check.frames();
    if (result.failure.empty() && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        result.failure = WIFSIGNALED(status) ? "the simulator died of signal " + std::to_string(WTERMSIG(status))
                                             : "the simulator ended with status " + std::to_string(WEXITSTATUS(status));
    if (result.failure.empty() && !sawEnd)
        result.failure = "the trace has no closing line";
    if (result.failure.empty() && reportsAProblem(errors))
        result.failure = "the simulator reported a problem: see " + errors.string();
    return result;
}

std::string quoted(const std::vector<std::string>& args)
{
    std::string text;
    for (const std::string& arg : args)
        text += " '" + arg + "'";
    return text;
}

} // namespace

constexpr std::string_view Usage =
    "Usage: poronpa-soak [--frames N] [--seed S] [--run-frames M] [--sim PATH] [--map FILE]\n"
    "Plays poronpa-sim on random keys, starting in every area of the world in turn with every item\n"
    "held, and checks each trace line as it comes. Defaults: ten million frames, seed 1, runs of\n"
    "20,000 frames, the simulator and the world beside this program. Ends with 0 when every frame\n"
    "kept the rules; otherwise 1, keeping the failing run's keys and the command that replays it.\n";

int main(int argc, char** argv)
{
    if (answerHelpOrVersion(argc, argv, "poronpa-soak", Usage))
        return 0;
    Options options;
    if (!parseOptions(argc, argv, options))
        return refuseArguments(Usage);
    MapGrid map;
    if (FileStatus status = loadMap(options.map, map); !status.ok()) {
        std::cerr << "poronpa-soak: " << status.error << '\n';
        return 2;
    }
    TemporaryFolder work("soak");
    if (!work.ok()) {
        std::cerr << "poronpa-soak: no temporary directory\n";
        return 2;
    }
    const std::filesystem::path keys = work / "run.keys";
    const std::filesystem::path errors = work / "run.err";

    std::mt19937_64 random(options.seed);
    const auto started = std::chrono::steady_clock::now();
    std::int64_t done = 0;
    int runs = 0;
    while (done < options.frames) {
        const int ax = runs % 5;
        const int ay = (runs / 5) % 5;
        const std::int64_t frames = std::min(options.runFrames, options.frames - done);
        std::ofstream(keys) << soak::randomKeyScript(random, frames);

        // The saves are shared by all runs, so a load can bring back a game saved in any area;
        // every tenth run begins as the title's "continue" does.
        std::vector<std::string> args{"--map", options.map.string(), "--save", (work / filenames::Saves).string(),
                                      "--input", keys.string(), "--frames", std::to_string(frames), "--trace"};
        if (runs % 10 == 9) {
            args.emplace_back("--continue");
        } else {
            args.insert(args.end(), {"--area", std::to_string(ax) + "," + std::to_string(ay), "--pos",
                                     startPosition(map, ax, ay, random), "--items", "0,1,2,3,4,5,6,7,8,9",
                                     "--switch", std::to_string(random() % 2)});
        }
        const RunResult result = runSimulator(options.sim, args, errors);
        ++runs;
        done += result.frames;
        if (!result.failure.empty()) {
            const std::filesystem::path kept = work / ("failed-run-" + std::to_string(runs) + ".keys");
            std::filesystem::copy_file(keys, kept);
            work.keep();
            args[5] = kept.string();
            std::cerr << "soak: run " << runs << " failed: " << result.failure << "\n  replay: " << options.sim.string()
                      << quoted(args) << "\n";
            return 1;
        }
        if (result.frames == 0) {
            std::cerr << "soak: run " << runs << " played no frame\n";
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("soak: %lld frames in %d runs starting in %d areas, %.1f s (%.0f frames/s); every frame kept the "
                "rules\n",
                static_cast<long long>(done), runs, std::min(runs, 25), seconds, static_cast<double>(done) / seconds);
    return 0;
}
