#include "app/sim/Simulator.h"

#include "app/base/FileLocations.h"
#include "app/base/FileNames.h"
#include "world/WorldFileChoice.h"
#include "app/base/SafeFile.h"
#include "app/base/TemporaryFolder.h"
#include "play/script/KeyScript.h"
#include "app/sim/SimHost.h"
#include "app/sim/SimOptions.h"
#include "play/script/Trace.h"
#include "play/GameEngine.h"
#include "play/RunTime.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayWorld.h"
#include "play/SaveFileStore.h"
#include "world/MapFile.h"
#include "world/WorldPlaces.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

namespace poronpa::sim {

namespace {

// The scratch folder as the signal handler sees it: its path and an open descriptor of it.
char scratchPath[PATH_MAX];
volatile std::sig_atomic_t scratchFd = -1;
constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

/// Removes the scratch folder and what is in it, then lets the signal end the process as it
/// would have. Only calls that are safe inside a signal handler.
extern "C" void removeScratchAndEnd(int signal)
{
    const int fd = scratchFd;
    if (fd >= 0) {
        struct Entry {
            std::uint64_t inode;
            std::int64_t offset;
            unsigned short length;
            unsigned char type;
            char name[1];
        };
        // Listing while removing may skip names; a pass that removes nothing ends it.
        for (bool removed = true; removed;) {
            removed = false;
            ::lseek(fd, 0, SEEK_SET);
            alignas(8) char buffer[4096];
            for (long n; (n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0;) {
                for (long at = 0; at < n;) {
                    const auto* entry = reinterpret_cast<const Entry*>(buffer + at);
                    const char* name = buffer + at + offsetof(Entry, name);
                    at += entry->length;
                    const bool dots = name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
                    if (!dots && ::unlinkat(fd, name, 0) == 0)
                        removed = true;
                }
            }
        }
        ::rmdir(scratchPath);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

/// While it lives, a signal to stop (SIGINT, SIGTERM, SIGHUP) removes `folder` and what is in
/// it before it ends the process, as the folder's owner would have at a normal end.
class RemovedWhenStopped {
public:
    explicit RemovedWhenStopped(const std::filesystem::path& folder)
    {
        const std::string path = folder.string();
        if (path.size() >= sizeof scratchPath)
            return;
        std::memcpy(scratchPath, path.c_str(), path.size() + 1);
        scratchFd = ::open(scratchPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct sigaction action {};
        action.sa_handler = removeScratchAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int signal : EndingSignals)
            ::sigaction(signal, &action, nullptr);
    }
    ~RemovedWhenStopped()
    {
        for (const int signal : EndingSignals)
            ::signal(signal, SIG_DFL);
        if (scratchFd >= 0)
            ::close(scratchFd);
        scratchFd = -1;
    }
    RemovedWhenStopped(const RemovedWhenStopped&) = delete;
    RemovedWhenStopped& operator=(const RemovedWhenStopped&) = delete;
};

/// A message kept on one line whatever it quotes: control characters are written as escapes.
std::string oneLine(std::string_view text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else if (c == '\t')
            line += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            line += std::string("\\x") + Hex[byte >> 4] + Hex[byte & 0xF];
        else
            line += c;
    }
    return line;
}

/// Reads the map without creating a missing one, as the game would: a missing map here is a
/// mistake on the command line.
FileStatus readMap(const std::filesystem::path& path, MapGrid& map)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {path.string() + ": cannot be opened (" + (error ? error.message() : "no such file") + ")"};
    return loadMap(path, map);
}

/// Opens a key script file. A regular file is read through once first, so that a bad line is
/// reported before any frame runs; anything else (a pipe) is read only as the run goes.
FileStatus openScript(const std::string& name, std::ifstream& file)
{
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0)
        return {name + ": cannot be opened (" + std::strerror(errno) + ")"};
    if (S_ISDIR(status.st_mode))
        return {name + ": cannot be read (" + std::strerror(EISDIR) + ")"};
    file.open(name, std::ios::binary);
    if (!file)
        return {name + ": cannot be opened (" + std::strerror(errno) + ")"};
    if (!S_ISREG(status.st_mode))
        return {};
    KeyScriptReader check(file);
    for (KeyRun run; check.next(run);) {
    }
    if (!check.error().empty())
        return {name + " " + check.error()};
    file.clear();
    file.seekg(0);
    return {};
}

} // namespace

int runSimulator(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const auto fail = [&](const std::string& message) {
        err << "poronpa-sim: " << oneLine(message) << '\n';
        return 2;
    };

    SimOptions options;
    std::string error;
    if (!parseSimOptions(args, options, error))
        return fail(error);

    // A replay is read and checked whole first: the world it names is the one to play.
    replay::Replay recorded;
    if (options.replayFile) {
        if (FileStatus status = replay::readReplay(*options.replayFile, recorded); !status.ok())
            return fail(status.error);
    }

    MapGrid map;
    std::filesystem::path mapFile;
    if (options.mapFile) {
        mapFile = *options.mapFile;
    } else {
        const WorldFile world = worldFileToRead();
        if (!world.notice.empty())
            err << "poronpa-sim: " << world.notice << '\n';
        mapFile = world.path;
        // Where it is not found, the world read instead is told as another map below.
        if (recorded.header) {
            if (auto found = replay::findReplayWorld(*recorded.header, *options.replayFile, recentWorlds(), mapFile);
                !found.empty())
                mapFile = std::move(found);
        }
    }
    if (FileStatus status = readMap(mapFile, map); !status.ok())
        return fail(status.error);

    // The script is read as the run goes: its length costs no memory.
    std::istringstream noScript;
    std::ifstream scriptFile;
    std::istream* scriptSource = &noScript;
    // --input never goes with --replay.
    if (options.inputFile && *options.inputFile == "-") {
        scriptSource = &in;
    } else if (options.inputFile) {
        if (FileStatus status = openScript(*options.inputFile, scriptFile); !status.ok())
            return fail(status.error);
        scriptSource = &scriptFile;
    }
    KeyScriptReader script(*scriptSource);

    // The scratch folder only when no save file is named (a replay brings its own saves there).
    std::optional<TemporaryFolder> scratch;
    std::optional<RemovedWhenStopped> removedWhenStopped;
    std::filesystem::path saveFile;
    if (options.saveFile) {
        saveFile = *options.saveFile;
        std::vector<std::uint8_t> unused;
        if (FileStatus status = readFileHead(saveFile, 0, unused); !status.ok())
            return fail(status.error);
        removeStaleTemporaries({saveFile});
    } else {
        scratch.emplace("sim");
        if (!scratch->ok())
            return fail("no temporary directory for the save file");
        removedWhenStopped.emplace(scratch->path());
        saveFile = scratch->path() / filenames::Saves;
    }
    // A replay plays with the saves it was recorded with, in the scratch folder.
    std::optional<replay::ReplayPlayer> player;
    if (options.replayFile) {
        player.emplace(std::move(recorded), scratch->path());
        if (const std::string note = player->anotherMapNote(map); !note.empty())
            err << "poronpa-sim: " << oneLine(*options.replayFile) << ": " << oneLine(note) << '\n';
    }

    std::int64_t frame = 0;
    // What the game would show in a message box (a save or a load that failed) goes to standard
    // error, one line each, and the run goes on as the game would.
    SimHost host([&](std::string message) {
        std::replace(message.begin(), message.end(), '\n', ' ');
        err << "poronpa-sim: frame " << frame + 1 << ": " << oneLine(message) << '\n';
    });
    GameEngine engine(map);
    engine.setDrawingWanted(false);
    engine.setFrameRate(recorded.header ? recorded.header->frameRate : options.frameRate);
    SaveFileStore saves(saveFile);
    engine.setSaveStore(saves);

    if (player) {
        if (FileStatus status = player->start(engine); !status.ok())
            return fail(status.error);
    } else {
        engine.startFromTitle(options.continueGame ? TitleChoice::Continue : TitleChoice::NewGame, options.start);
    }
    play::FrameRunner runner(engine, host);
    runner.beginLoop();

    if (options.trace)
        out << traceHeader() << '\n';
    KeyFeed feed(script);
    while (!options.frames || frame < *options.frames) {
        KeySet held;
        if (player) {
            if (!player->nextFrame(held) && !options.frames)
                break;
        } else if (!feed.next(held)) {
            if (!script.error().empty())
                return fail(*options.inputFile + " " + script.error());
            if (!options.frames)
                break;
        }

        const StepEnd end = runner.runFrame(held);
        ++frame;
        if (options.trace)
            out << traceLine(frame, engine.state(), host.frameRequests()) << '\n';
        if (end != StepEnd::Next)
            break;
    }
    const std::string summary = endLine(frame, engine.state(), host.endingStarted());
    out << summary << '\n';
    out.flush();
    // A trace cut short by a full disk must not pass for a whole one.
    if (!out)
        return fail("standard output cannot be written");
    // The run's time as the game's timer shows it, beside the trace: standard output stays as it was.
    if (host.endingStarted())
        err << "run time " << play::runTimeText(engine.state().RunFrames) << '\n';
    if (!player)
        return 0;
    const std::string name = oneLine(*options.replayFile);
    const replay::Replay& played = player->replay();
    if (!played.endLine) {
        err << "poronpa-sim: " << name << ": " << (played.header ? "the recording did not finish" : "a key script")
            << "; there is no recorded end line to compare\n";
        return 0;
    }
    if (*played.endLine == summary) {
        err << "poronpa-sim: " << name << ": the end line matches the recording\n";
        return 0;
    }
    err << "poronpa-sim: " << name << ": the end line differs from the recording's: " << *played.endLine << '\n';
    return options.check ? 3 : 0;
}

} // namespace poronpa::sim
