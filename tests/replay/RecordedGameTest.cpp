// Games played through the engine as the window plays them (keys changing between frames,
// questions answered No as often as Yes, saves refused, several games in one session, a route to
// the ending), each recorded; the real poronpa-sim plays every recording to the end line the game
// saw.
#include "play/FrameRunner.h"
#include "replay/Recordings.h"
#include "replay/ReplayPlayer.h"
#include "play/SavedGame.h"
#include "tests/play/EngineFixture.h"
#include "tests/hardening/FaultSupport.h"
#include "world/MapFile.h"

#include <fstream>
#include <random>
#include <sys/stat.h>

using namespace poronpa;
using namespace poronpa::replay;
using poronpa::test::TempDir;

namespace {

/// The window's side of play: answers the questions as `answer` says, keeps what it asked and
/// showed, and tells the recording what each frame does.
struct PlayerHost : play::FrameHost {
    std::function<bool()> answer = [] { return true; };
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    ReplaySession* session = nullptr;

    void frameBegins(const GameState& state) override { session->beginFrame(state); }
    std::optional<bool> ask(Question question) override
    {
        questions.push_back(questionText(question));
        const bool yes = answer();
        if (!yes)
            session->declineQuestion();
        return yes;
    }
    void saveFailed(const std::string& reason) override
    {
        messages.push_back(reason);
        session->failed(Failure::Kind::Save);
    }
    void loadFailed(const std::string& reason) override
    {
        messages.push_back(reason);
        session->failed(Failure::Kind::Load);
    }
    void frameEnds(StepEnd end, const GameState& state) override { session->endFrame(state, end == StepEnd::Ending); }
};

class RecordedGame : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loadMap(PORONPA_BUILT_MAP, map).ok());
        engine.setDrawingWanted(false);
        engine.setSaveStore(saveStore);
        engine.setFrameRate(60);
    }

    /// Plays a game from the title as the window would, recording it, until the game ends or
    /// `frames` have run; `keysFor` gives the keys down in each frame. Returns the replay.
    std::filesystem::path play(bool continued, const std::function<sim::KeySet(std::int64_t)>& keysFor, std::int64_t frames,
                               const std::function<void(std::int64_t)>& beforeFrame = {})
    {
        engine.startFromTitle(continued ? TitleChoice::Continue : TitleChoice::NewGame);
        play::FrameRunner runner(engine, host);
        runner.beginLoop();
        ReplaySession& session = *recordings.begin(engine.state(), continued, 60, map, saves);
        host.session = &session;
        const auto path = session.path();
        for (std::int64_t frame = 1; frame <= frames; ++frame) {
            const sim::KeySet keys = keysFor(frame);
            if (beforeFrame)
                beforeFrame(frame);
            if (runner.runFrame(keys) != StepEnd::Next)
                break;
        }
        recordings.end();
        recordings.flush();
        return path;
    }

    /// The end line poronpa-sim reaches on the replay, and that it says it is the recorded one.
    void expectReplayed(const std::filesystem::path& replay, const std::string& endStart)
    {
        const test::ProgramRun run = test::runProgram({PORONPA_SIM_EXECUTABLE, "--map", PORONPA_BUILT_MAP, "--replay", replay, "--check"});
        EXPECT_EQ(run.status, 0) << replay << "\n" << run.err;
        // Before it, the failures the game showed, shown again.
        EXPECT_TRUE(run.err.ends_with("poronpa-sim: " + replay.string() + ": the end line matches the recording\n")) << run.err;
        EXPECT_TRUE(run.out.starts_with(endStart)) << run.out;

    }

    MapGrid map;
    PlayerHost host;
    GameEngine engine{map};
    TempDir dir;
    std::filesystem::path saves = dir / "savedata.dat";
    SaveFileStore saveStore{saves};
    Recordings recordings{dir / "replays", [](const std::string& reason) { ADD_FAILURE() << reason; }};
};

} // namespace

TEST_F(RecordedGame, TheRouteToTheEndingReplaysToTheEnding)
{
    std::ifstream route(std::string(PORONPA_MAP_SOURCES) + "/routes/ending.keys");
    sim::KeyScriptReader script(route);
    sim::KeyFeed feed(script);
    const auto replay = play(false, [&](std::int64_t) {
        sim::KeySet keys;
        feed.next(keys);
        return keys;
    }, 100'000);
    expectReplayed(replay, "end frame=");
    EXPECT_NE(test::readText(replay).find(" ending=yes\n"), std::string::npos) << "the route no longer reaches the ending";
}

TEST_F(RecordedGame, GamesWithQuestionsAnsweredNoAndSavesRefusedReplayToTheirEndLines)
{
    // A save holding the diary and the rope, so that S, L and Enter all do something.
    SaveRecord start;
    start.AreaX = 2;
    start.AreaY = 4;
    start.RespawnX = 160;
    start.RespawnY = 1498;
    start.SwitchOn = 1;
    start.ItemHeld[Diary] = 1;
    start.ItemHeld[Rope] = 1;
    start.ItemHeld[JumpShoes] = 1;
    start.DeathCount[2][4] = 5;
    ASSERT_TRUE(SaveGame(saves, start).ok());

    std::mt19937 random(19);
    host.answer = [&] { return random() % 3 == 0; };
    // Mostly running and jumping; now and then S, L with a digit, Q, Enter and the ladders' keys.
    namespace key = poronpa::keys;
    sim::KeySet held;
    const auto player = [&](std::int64_t) {
        const int weights[][2] = {{key::Right, 40}, {key::Left, 30}, {key::Space, 30}, {key::Up, 15}, {key::Down, 10},
                                  {key::Enter, 6},  {key::S, 4},     {key::L, 2},      {key::Q, 2},   {key::digit(3), 3}};
        for (const auto& [code, weight] : weights)
            if (static_cast<int>(random() % 600) < weight)
                held.flip(static_cast<std::size_t>(code));
        // L and Q are let go soon, as a player would after a question.
        for (const int code : {key::L, key::Q})
            if (random() % 4 == 0)
                held.reset(static_cast<std::size_t>(code));
        return held;
    };
    // Now and then the save file is made read-only for a while: saves in that time fail.
    const auto refuseSavesAtTimes = [&](std::int64_t frame) {
        ::chmod(saves.c_str(), frame % 900 < 300 ? 0444 : 0644);
    };

    std::vector<std::filesystem::path> replays;
    for (const bool continued : {true, false, true, false}) {
        held.reset(); // a new game begins with the keys let go
        replays.push_back(play(continued, player, 6000, refuseSavesAtTimes));
    }
    ::chmod(saves.c_str(), 0644);

    EXPECT_GE(std::count(host.questions.begin(), host.questions.end(), "ロードしますか？"), 3);
    EXPECT_GE(host.messages.size(), 1u) << "no save was refused";
    for (const auto& replay : replays)
        expectReplayed(replay, "end frame=");
}

TEST_F(RecordedGame, AStartLaterInTheSessionIsTheSameStartedFromItsHeader)
{
    // What a game leaves behind that the title's start does not reset must come with the header:
    // a fresh engine started from it is in the very state of the game. The game before leaves
    // odd values everywhere, in what a start resets as much as in what it keeps.
    SaveRecord saved;
    saved.AreaX = 3;
    saved.AreaY = 1;
    saved.RespawnX = 500;
    saved.RespawnY = 700;
    saved.ItemHeld[Rope] = 1;
    saved.DeathCount[3][1] = 9;
    ASSERT_TRUE(SaveGame(saves, saved).ok());
    for (const bool continued : {false, true}) {
        GameState& s = engine.state();
        s.FrameClock = 917;
        s.Facing = 1;
        s.ConveyorPush = -4;
        s.OnSlippery = 1;
        s.BumpTimer = 5;
        s.BumpX = 300;
        s.BumpY = 1200;
        s.DeathCount[4][4] = 3;
        s.Random = play::PseudoRandom(0x123456);
        s.JumpCount = 999;
        s.SpringTimer = 3;
        s.BumperTimer = 2;
        s.CrumbleTimer = 4;
        s.EventTimer = 60;
        s.DiaryTimer = 20;
        s.SplashTimer = 6;
        s.RopeRow = 12;
        s.HeroVX = 3.5f;
        s.PrevState = 2;
        s.SavedHere = 1;
        s.GoalTouched = 1;
        s.KeyHeld[keys::Right] = true;
        s.ItemHeld[Diary] = 1;

        engine.startFromTitle(continued ? TitleChoice::Continue : TitleChoice::NewGame);
        replay::Replay recorded;
        recorded.header = startHeader(engine.state(), continued, 60, map, saves);
        TempDir folder;
        ReplayPlayer player(std::move(recorded), folder.path());
        GameEngine fresh(map);
        ASSERT_TRUE(player.start(fresh).ok());
        engine.beginLoop();
        fresh.beginLoop();
        // The only field left as it was: every frame sets it before it reads it.
        fresh.state().PrevState = engine.state().PrevState;
        EXPECT_TRUE(fresh.state() == engine.state()) << (continued ? "continued" : "new game");

    }
}
