#include "app/sim/Simulator.h"

#include "app/FileLocations.h"
#include "app/SafeFile.h"
#include "app/TemporaryFolder.h"
#include "app/sim/KeyScript.h"
#include "app/sim/SimHost.h"
#include "app/sim/SimOptions.h"
#include "app/sim/Trace.h"
#include "play/GameEngine.h"
#include "world/MapFile.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <system_error>

namespace poronpa::sim {

namespace {

/// Reads the map without creating a missing one, as the game would: a missing map here is a
/// mistake on the command line.
FileStatus readMap(const std::filesystem::path& path, MapGrid& map)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {path.string() + ": cannot be opened (" + (error ? error.message() : "no such file") + ")"};
    return loadMap(path, map);
}

FileStatus readScript(const std::string& name, std::istream& in, std::string& text)
{
    if (name == "-") {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return in.bad() ? FileStatus{"standard input cannot be read"} : FileStatus{};
    }
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (FileStatus status = readWholeFile(name, bytes, &exists); !status.ok())
        return status;
    if (!exists)
        return {name + ": cannot be opened (no such file)"};
    text.assign(bytes.begin(), bytes.end());
    return {};
}

/// The title's new game, with the start the command line asks for.
void startShapedNewGame(GameEngine& engine, const SimOptions& options)
{
    engine.NewGame();
    GameState& state = engine.state();
    state.AreaX = options.areaX;
    state.AreaY = options.areaY;
    state.HeroX = options.heroX;
    state.HeroY = options.heroY;
    state.SwitchOn = options.switchOn;
    for (const int item : options.items)
        state.ItemHeld[item] = 1;
    engine.EnterArea();
}

} // namespace

int runSimulator(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const auto fail = [&](const std::string& message) {
        err << "poronpa-sim: " << message << '\n';
        return 2;
    };

    SimOptions options;
    std::string error;
    if (!parseSimOptions(args, options, error))
        return fail(error);

    MapGrid map;
    std::filesystem::path mapFile;
    if (options.mapFile) {
        mapFile = *options.mapFile;
    } else {
        const WorldFile world = worldFileToRead();
        if (!world.notice.empty())
            err << "poronpa-sim: " << world.notice << '\n';
        mapFile = world.path;
    }
    if (FileStatus status = readMap(mapFile, map); !status.ok())
        return fail(status.error);

    KeyScript script;
    if (options.inputFile) {
        std::string text;
        if (FileStatus status = readScript(*options.inputFile, in, text); !status.ok())
            return fail(status.error);
        if (!parseKeyScript(text, script, error))
            return fail(*options.inputFile + " " + error);
    }

    TemporaryFolder scratch("sim");
    std::filesystem::path saveFile;
    if (options.saveFile) {
        saveFile = *options.saveFile;
        std::vector<std::uint8_t> unused;
        if (FileStatus status = readWholeFile(saveFile, unused); !status.ok())
            return fail(status.error);
    } else {
        if (!scratch.ok())
            return fail("no temporary directory for the save file");
        saveFile = scratch.path() / "savedata.dat";
    }

    std::int64_t frame = 0;
    // What the game would show in a message box (a save that failed) goes to standard error, one
    // line each, and the run goes on as the game would.
    SimHost host([&](std::string message) {
        std::replace(message.begin(), message.end(), '\n', ' ');
        err << "poronpa-sim: frame " << frame + 1 << ": " << message << '\n';
    });
    // Drawing is off, so the sheets are never read; blank ones of the right size keep any
    // stray read inside them.
    const Surface tileSheet(256, 768);
    const Surface spriteSheet(256, 768);
    GameEngine engine(map, tileSheet, spriteSheet, host);
    engine.setDrawingEnabled(false);
    engine.setFrameRate(options.frameRate);
    engine.setSaveFile(saveFile);

    if (options.continueGame)
        engine.ContinueGame();
    else
        startShapedNewGame(engine, options);
    engine.beginLoop();

    if (options.trace)
        out << traceHeader() << '\n';
    const std::int64_t frames = options.frames ? *options.frames : script.totalFrames();
    KeyFeed feed(script);
    KeySet held;
    LoopExit exit = LoopExit::Stopped;
    while (frame < frames) {
        const KeySet next = feed.next();
        const KeyChanges changes = keyChanges(held, next);
        for (const int key : changes.released)
            engine.keyUp(key);
        for (const int key : changes.pressed)
            engine.keyDown(key);
        held = next;

        host.startFrame();
        const bool goesOn = engine.runFrame(exit);
        ++frame;
        if (options.trace)
            out << traceLine(frame, engine.state(), host.frameRequests()) << '\n';
        if (!goesOn)
            break;
    }
    out << endLine(frame, engine.state(), host.endingStarted()) << '\n';
    out.flush();
    // A trace cut short by a full disk must not pass for a whole one.
    if (!out)
        return fail("standard output cannot be written");
    return 0;
}

} // namespace poronpa::sim
