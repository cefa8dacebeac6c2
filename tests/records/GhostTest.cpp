// The ghost: the best run's recording stepped through the real engine beside the player's game.
// Where it is, frame by frame, is where the simulator's trace of that recording says; seeking back
// (a load in the player's game) finds the same places; and the player's game goes exactly as it
// would without it.
#include "play/script/Trace.h"
#include "records/Ghost.h"
#include "tests/hardening/FaultSupport.h"
#include "tests/records/RecordedRuns.h"

#include <sstream>

using namespace poronpa;
using namespace poronpa::records;
using poronpa::test::TempDir;

namespace {

/// The trace's area and position columns of a state, as poronpa-sim prints them.
std::string place(std::int64_t frame, const GameState& s)
{
    return std::to_string(frame) + "," + std::to_string(s.AreaX) + "," + std::to_string(s.AreaY) + "," +
           sim::formatFloat(s.HeroX) + "," + sim::formatFloat(s.HeroY);
}

std::string placeOfLine(const std::string& line)
{
    std::size_t at = 0;
    for (int commas = 0; commas < 5 && at != std::string::npos; ++commas)
        at = line.find(',', at + 1);
    return line.substr(0, at);
}

struct YesHost : play::FrameHost {
    std::optional<bool> ask(Question) override { return true; }
};

std::unique_ptr<Ghost> ghostOf(const std::filesystem::path& recording, const MapGrid& map, const TempDir& scratch)
{
    replay::Replay best;
    EXPECT_TRUE(replay::readReplay(recording, best).ok());
    return std::make_unique<Ghost>(map, std::move(best), scratch.path());
}

} // namespace

TEST(Ghost, EveryFrameItIsWhereTheSimulatorsTraceOfItsRecordingSays)
{
    const test::RecordedRuns& runs = test::RecordedRuns::get();
    const test::ProgramRun sim =
        test::runProgram({PORONPA_SIM_EXECUTABLE, "--map", PORONPA_BUILT_MAP, "--replay", runs.whole.string(), "--trace"});
    ASSERT_EQ(sim.status, 0) << sim.err;
    std::istringstream trace(sim.out);
    std::string line;
    std::getline(trace, line); // the header

    TempDir scratch;
    const auto ghost = ghostOf(runs.whole, runs.map, scratch);
    std::int64_t frame = 0;
    std::int64_t differing = 0;
    while (std::getline(trace, line) && !line.starts_with("end ")) {
        ASSERT_TRUE(ghost->seek(++frame)) << frame;
        if (place(frame, ghost->state()) != placeOfLine(line) && differing++ < 3)
            ADD_FAILURE() << "ghost " << place(frame, ghost->state()) << "\ntrace " << line;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(frame, runs.frames);
    EXPECT_FALSE(ghost->running()) << "the run ended at the ending";
    EXPECT_FALSE(ghost->seek(frame + 1));
}

TEST(Ghost, SeekingBackFindsTheSamePlacesAndItIsSeenOnlyInThePlayersArea)
{
    const test::RecordedRuns& runs = test::RecordedRuns::get();
    TempDir scratch;
    const auto ghost = ghostOf(runs.whole, runs.map, scratch);
    std::vector<std::string> forward;
    for (std::int64_t frame = 1; frame <= 3000; ++frame) {
        ASSERT_TRUE(ghost->seek(frame));
        forward.push_back(place(frame, ghost->state()));
    }
    for (const std::int64_t frame : {2999, 1, 1500, 1500, 2000}) {
        ASSERT_TRUE(ghost->seek(frame));
        EXPECT_EQ(place(frame, ghost->state()), forward[static_cast<std::size_t>(frame - 1)]);
    }

    const GameState& s = ghost->state();
    const std::optional<GhostSighting> seen = ghost->sighting(s.AreaX, s.AreaY);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->x, static_cast<int>(std::floor(s.HeroX)));
    EXPECT_EQ(seen->y, static_cast<int>(std::floor(s.HeroY)));
    EXPECT_FALSE(ghost->sighting((s.AreaX + 1) % 5, s.AreaY).has_value());
    EXPECT_FALSE(ghost->sighting(s.AreaX, (s.AreaY + 1) % 5).has_value());
}

// The player's game stepped with a ghost beside it, frame for frame, traces exactly as without it;
// the ghost's saves (the ring its recording began with) never reach the player's save file.
TEST(Ghost, ThePlayersGameGoesAsItWouldWithoutIt)
{
    const test::RecordedRuns& runs = test::RecordedRuns::get();
    const auto play = [&](bool withGhost) {
        TempDir dir;
        TempDir scratch;
        SaveFileStore saves(dir / "savedata.dat");
        GameEngine engine(runs.map);
        engine.setDrawingWanted(false);
        engine.setSaveStore(saves);
        engine.startFromTitle(TitleChoice::NewGame);
        YesHost host;
        play::FrameRunner runner(engine, host);
        runner.beginLoop();
        const auto ghost = withGhost ? ghostOf(runs.whole, runs.map, scratch) : nullptr;
        std::string trace;
        // Another way through the world than the ghost's: its own saves and loads.
        const std::vector<std::pair<int, std::string>> script = {
            {200, "right"}, {3, "s"}, {150, "left+space"}, {2, "l"}, {400, "right+space"}, {300, "left"}};
        for (const auto& [count, keys] : script) {
            std::istringstream text(std::to_string(count) + " " + keys + "\n");
            sim::KeyScriptReader reader(text);
            sim::KeyFeed feed(reader);
            for (sim::KeySet held; feed.next(held);) {
                runner.runFrame(held);
                if (ghost)
                    ghost->seek(engine.state().RunFrames);
                trace += sim::traceLine(engine.state().RunFrames, engine.state(), {}) + "\n";
            }
        }
        return trace + (std::filesystem::exists(saves.file()) ? test::readText(saves.file()) : std::string("no saves"));
    };
    EXPECT_EQ(play(true), play(false));
}
