#include "EngineFixture.h"
#include "play/SaveFileStore.h"

#include "audio/SoundNumbers.h"
#include "play/SavedGame.h"

#include "play/FramePacing.h"
#include "play/KeptByStart.h"

#include <algorithm>
#include <functional>

using namespace poronpa;
using namespace poronpa::test;

namespace {

class Loop : public EngineTest {
protected:
    void SetUp() override { row(2, 4, 1, 49, 48, 96); }
    void startGame()
    {
        start(2, 4, 160, 1504);
        run();
    }
};

} // namespace

TEST_F(Loop, FrameIntervalFollowsTheFrameRate)
{
    for (const auto& [rate, interval] : {std::pair{0, 13}, std::pair{49, 13}, std::pair{121, 13}, std::pair{50, 21},
                                         std::pair{60, 18}, std::pair{80, 14}, std::pair{120, 9}}) {
        engine.setFrameRate(rate);
        engine.beginLoop();
        EXPECT_EQ(s.FrameInterval, interval) << rate;
        EXPECT_EQ(play::frameIntervalFor(rate), interval) << rate;
    }
}

namespace {

/// The loop's clock as the game window keeps it: frames start when the pacer lets them, and
/// `work(n)` may make frame n take time. Returns when each frame started.
std::vector<std::int64_t> pacedFrames(play::FramePacer& pacer, std::int64_t& clock, int frames,
                                      const std::function<void(int)>& work = {})
{
    std::vector<std::int64_t> starts;
    for (int n = 0; n < frames; ++n) {
        if (n > 0) {
            clock += pacer.delay(clock);
            pacer.frameStarts(clock);
        }
        starts.push_back(clock);
        if (work)
            work(n);
    }
    return starts;
}

} // namespace

TEST(Pacing, FramesStartStrictlyAfterTheirDueTime)
{
    play::FramePacer pacer;
    std::int64_t clock = 1000;
    pacer.begin(clock, 13);
    EXPECT_EQ(pacedFrames(pacer, clock, 4), (std::vector<std::int64_t>{1000, 1014, 1027, 1040}));
    // A frame that took a few milliseconds still keeps the next on its due time.
    EXPECT_EQ(pacer.delay(1045), 8);
    EXPECT_EQ(pacer.delay(1052), 1);
    EXPECT_EQ(pacer.delay(1053), 0);
}

TEST(Pacing, AfterAStallAtMostTwoFramesRunBackToBack)
{
    play::FramePacer pacer;
    std::int64_t clock = 1000;
    pacer.begin(clock, 13);
    const auto starts = pacedFrames(pacer, clock, 6, [&](int n) {
        if (n == 1)
            clock += 5000;
    });
    EXPECT_EQ(starts[2], starts[1] + 5000);
    EXPECT_EQ(starts[3], starts[2]) << "two frames of the backlog run back to back";
    EXPECT_GT(starts[4], starts[3]) << "the rest of it is dropped";
    EXPECT_EQ(starts[5], starts[4] + 13);
}

TEST(Pacing, HoldsRebaseTheFrameClock)
{
    play::FramePacer pacer;
    pacer.begin(1000, 13);
    pacer.rebase(4000);
    EXPECT_EQ(pacer.delay(4000), 14);
}

TEST_F(Loop, WhatHoldsTheLoopUpSaysSo)
{
    put(2, 4, 5, 47, 55); // a box under the hero
    start(2, 4, 160, 1504);
    run();
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.holds, 1);
    run(3);
    EXPECT_EQ(host.holds, 1) << "plain frames hold nothing up";
    s.HeroX = 1540; // over the right edge into the next area
    run();
    EXPECT_EQ(s.AreaX, 3);
    EXPECT_EQ(host.holds, 2);
}

TEST(Pacing, RateLabelCountsTheFramesOfEachSecond)
{
    // 13 ms frames; the first frame of a run writes the empty count, then about once a second.
    play::FrameRateCount count;
    count.begin();
    std::vector<std::string> texts;
    for (int frame = 0; frame < 160; ++frame)
        if (auto text = count.frame(1000.0 + 0.013 * frame))
            texts.push_back(*text);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], "0 fps");
    EXPECT_EQ(texts[1], "77 fps");

    // A clock that goes back past midnight starts a new second at once.
    count.frame(86'399.5);
    EXPECT_TRUE(count.frame(0.2).has_value());
}

TEST_F(Loop, StopLoopEndsAfterTheFrame)
{
    startGame();
    s.StopLoop = true;
    s.DiaryTimer = 5;
    EXPECT_FALSE(run());
    EXPECT_EQ(end, StepEnd::Stopped);
    EXPECT_EQ(s.DiaryTimer, 4) << "the frame itself ran to its end";
}

TEST_F(Loop, QuitPromptYesGoesToTheTitleNoClearsTheKeys)
{
    startGame();
    host.answers = {false};
    hold({keys::Q, keys::Right});
    EXPECT_TRUE(run());
    EXPECT_EQ(host.questions, std::vector<std::string>{"タイトルに戻りますか？"});
    EXPECT_FALSE(s.KeyHeld[keys::Right]);
    EXPECT_EQ(host.titles, 0);

    hold({keys::Q});
    EXPECT_FALSE(run());
    EXPECT_EQ(end, StepEnd::ToTitle);
    EXPECT_EQ(host.titles, 1);
}

TEST_F(Loop, QuittingDuringAHaulLeavesNoRopeOnScreen)
{
    put(2, 4, 5, 30, 52);
    start(2, 4, 160, 1504, {Rope});
    run();
    hold({keys::Enter});
    run(3);
    ASSERT_TRUE(host.ropeVisible[0]);
    hold({keys::Q});
    EXPECT_FALSE(run());
    EXPECT_FALSE(host.ropeVisible[0] || host.ropeVisible[1]);
}

TEST_F(Loop, PromptsAreIgnoredDuringAMishap)
{
    put(2, 4, 5, 47, 34);
    startGame();
    hold({keys::Q, keys::L});
    run(5);
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(Loop, MishapsEndInARespawnAndSometimesInTheGag)
{
    put(2, 4, 5, 47, 34);
    start(2, 4, 64, 1504);
    int gags = 0;
    for (int mishap = 0; mishap < 400; ++mishap) {
        s.HeroX = 160;
        runUntil([&] { return s.HeroState == StatePlaced; });
        EXPECT_EQ(s.HeroX, 64);
        gags = static_cast<int>(host.gags.size());
    }
    EXPECT_EQ(s.DeathCount[2][4], 400);
    EXPECT_GT(gags, 8);
    EXPECT_LT(gags, 40);
    for (int phrase : host.gags) {
        EXPECT_GE(phrase, 0);
        EXPECT_LE(phrase, 14);
    }
}

TEST_F(Loop, TheSameGameDrawsTheSameRandomNumbers)
{
    put(2, 4, 5, 47, 34);
    const auto gagsOfAGame = [&] {
        QuietEngine other(map);
        other.engine.NewGame();
        other.engine.state().HeroX = 64;
        other.engine.EnterArea();
        other.runner.beginLoop();
        for (int mishap = 0; mishap < 200; ++mishap) {
            other.engine.state().HeroX = 160;
            for (int i = 0; i < 70; ++i)
                other.frame();
        }
        return other.host.gags;
    };
    const std::vector<int> first = gagsOfAGame();
    EXPECT_EQ(gagsOfAGame(), first);
    EXPECT_FALSE(first.empty());
}

TEST_F(Loop, ACopyOfTheStatePlaysOnAsTheOriginalWould)
{
    // Spikes under the hero and a rope hooked above it: mishaps end now and then in the mishap
    // scene, and the rope lines change as the hero is hauled up.
    put(2, 4, 5, 47, 34);
    put(2, 4, 9, 30, 52);
    start(2, 4, 64, 1504, {Rope});
    run(100);
    const auto playOn = [&] {
        host.gags.clear();
        std::vector<std::array<RopeLine, 2>> lines;
        for (int round = 0; round < 60; ++round) {
            s.HeroX = round % 2 ? 160 : 288;
            hold({keys::Enter});
            run(70);
            lines.push_back(s.RopeLines);
        }
        return std::pair{host.gags, lines};
    };
    const GameState copy = s;
    const auto first = playOn();
    const GameState after = s;
    s = copy;
    EXPECT_EQ(playOn(), first);
    EXPECT_EQ(s, after);
    EXPECT_FALSE(first.first.empty());
    EXPECT_TRUE(std::any_of(first.second.begin(), first.second.end(), [](const auto& l) { return l[0].visible; }));
}

namespace {

/// Saves made straight into the file, each in its own area, for the load prompt to find.
class LoadPrompt : public Loop {
protected:
    TempDir dir;
    SaveFileStore saves{dir / "savedata.dat"};
    void SetUp() override
    {
        Loop::SetUp();
        engine.setSaveStore(saves);
    }
    void saveInArea(int ax, int ay)
    {
        SaveRecord record;
        record.AreaX = static_cast<std::int16_t>(ax);
        record.AreaY = static_cast<std::int16_t>(ay);
        record.RespawnX = 320;
        record.RespawnY = 640;
        record.ItemHeld[Rope] = 1;
        ASSERT_TRUE(SaveGame(dir / "savedata.dat", record).ok());
    }
};

} // namespace

TEST_F(LoadPrompt, TheHighestDigitHeldSaysHowFarBack)
{
    for (int i = 0; i < 8; ++i)
        saveInArea(i % 5, i / 5); // the latest save is in (2, 1), seven back is (0, 0)
    struct Case {
        std::vector<int> digits;
        int wantAx, wantAy;
    };
    for (const Case& c : {Case{{}, 2, 1}, Case{{3, 7}, 0, 0}, Case{{1}, 1, 1}}) {
        startGame();
        std::vector<int> held{keys::L};
        for (int d : c.digits)
            held.push_back(keys::digit(d));
        runner.letGoOfKeys();
        keys = keySet(held);
        run();
        EXPECT_EQ(s.AreaX, c.wantAx);
        EXPECT_EQ(s.AreaY, c.wantAy);
        EXPECT_EQ(s.RespawnX, 320);
        EXPECT_EQ(s.ItemHeld[Rope], 1);
        EXPECT_TRUE(host.icons[Rope]);
        EXPECT_FALSE(s.KeyHeld[keys::L]);
    }
}

TEST_F(LoadPrompt, NoOrANeverWrittenSlotKeepsPlaying)
{
    saveInArea(0, 0);
    for (const auto& [answer, digit] : {std::pair{false, 0}, std::pair{true, 5}}) {
        startGame();
        host.answers = {answer};
        hold({keys::L, keys::digit(digit), keys::Left});
        run();
        EXPECT_EQ(s.AreaX, 2);
        EXPECT_EQ(s.AreaY, 4);
        EXPECT_FALSE(s.KeyHeld[keys::Left]);
    }
}

TEST_F(LoadPrompt, ALoadLetsGoOfTheRopeAndEndsTheCountdowns)
{
    saveInArea(1, 1);
    put(2, 4, 5, 30, 52);
    start(2, 4, 160, 1504, {Rope});
    run();
    hold({keys::Enter});
    run(3);
    ASSERT_GT(s.RopeRow, 0);
    s.DiaryTimer = 12;
    s.CrumbleTimer = 7;
    hold({keys::L});
    run();
    EXPECT_EQ(s.AreaX, 1);
    EXPECT_EQ(s.RopeRow, -1);
    EXPECT_FALSE(host.ropeVisible[0] || host.ropeVisible[1]);
    EXPECT_EQ(s.HeroY, 640); // the load comes after this frame's motion step
    EXPECT_EQ(s.DiaryTimer, 0);
    EXPECT_EQ(s.CrumbleTimer, 0);
}

TEST_F(LoadPrompt, ContinueStartsANewGameWithoutASave)
{
    engine.ContinueGame();
    EXPECT_EQ(s.AreaX, 2);
    EXPECT_EQ(s.AreaY, 4);
    EXPECT_EQ(s.HeroX, 160);
    EXPECT_EQ(s.MiniMapColor[2][4], MiniMapCurrent);

    saveInArea(3, 0);
    engine.ContinueGame();
    take();
    EXPECT_EQ(s.AreaX, 3);
    EXPECT_EQ(s.AreaY, 0);
    EXPECT_EQ(host.tunes.back(), 3); // the top row's music
}

// --- What happens where the game would otherwise carry something over -----------------------

// What a start keeps is one list; the start sets every other field afresh, or the game sets it
// before it next reads it. A game played for a while and then started anew is therefore a fresh
// engine's new game with those two lists carried over: a field the start neither sets nor lists
// shows here.
TEST_F(Loop, AStartSetsAfreshAllButWhatItKeeps)
{
    put(2, 4, 10, 47, 34);
    put(2, 4, 14, 47, 34);
    start(2, 4, 160, 1498, {Rope, Diary, JumpShoes, BlueKey});
    hold({keys::Right, keys::Space});
    run(40);
    hold({keys::Left, keys::Enter, keys::S});
    run(200);
    // Whatever else a game may be in the middle of when it is left.
    s.JumpCount = 2;
    s.SpringTimer = 4;
    s.CrumbleTimer = 6;
    s.DiaryTimer = 9;
    s.SavedHere = 1;
    s.GoalTouched = 1;
    s.DeathCount[1][3] = 3;
    s.Random = play::PseudoRandom(0x1234);
    s.SplashTimer = 5;
    s.SplashX = 99;
    s.BumpTimer = 2;
    s.BumpX = 64;
    s.ConveyorPush = -2;
    s.OnSlippery = 1;
    s.BoxContent = 104;
    engine.NewGame();
    engine.EnterArea();

    GameEngine fresh(map);
    fresh.NewGame();
    fresh.EnterArea();
    copyKeptByStart(s, fresh.state());
    std::apply([&](auto... field) { ((fresh.state().*field = s.*field), ...); }, SetBeforeRead);
    EXPECT_TRUE(fresh.state() == s);
}

TEST_F(Loop, ANewGameDoesNotInheritAMishap)
{
    put(2, 4, 10, 47, 34);
    start(2, 4, 320, 1504);
    run();
    ASSERT_GT(s.EventTimer, 0);
    s.CrumbleTimer = 7;
    engine.NewGame();
    EXPECT_EQ(s.CrumbleTimer, 0);
    engine.EnterArea();
    run(80);
    EXPECT_EQ(s.EventTimer, 0);
    EXPECT_EQ(s.DeathCount[2][4], 0);
}

TEST_F(Loop, EnteringAnAreaLetsGoOfTheRope)
{
    put(2, 4, 5, 30, 52);
    start(2, 4, 160, 1504, {Rope});
    run();
    hold({keys::Enter});
    run(3);
    ASSERT_GT(s.RopeRow, 0);
    s.AreaX = 3;
    engine.EnterArea();
    take();
    EXPECT_EQ(s.RopeRow, -1);
    EXPECT_FALSE(host.ropeVisible[0] || host.ropeVisible[1]);
}

TEST_F(Loop, AMishapDuringAHaulLetsGoOfTheRope)
{
    put(2, 4, 5, 2, 52);
    put(2, 4, 5, 44, 32); // flames on the way up
    start(2, 4, 160, 1504, {Rope});
    run();
    hold({keys::Enter});
    run();
    hold({});
    ASSERT_GT(s.RopeRow, 0);
    runUntil([&] { return s.HeroState == StatePlaced; });
    EXPECT_EQ(s.HeroY, 1504);
    EXPECT_EQ(s.RopeRow, -1);
    EXPECT_FALSE(host.ropeVisible[0] || host.ropeVisible[1]);
    run(5);
    EXPECT_EQ(s.HeroY, 1504);
}

TEST_F(Loop, ANewAreaIsNotPatchedWithTheOldAreasBackground)
{
    put(1, 4, 0, 47, 22);
    start(2, 4, 390, 1504);
    run(); // the background under the hero is kept for the next frame
    start(1, 4, 160, 1504);
    run();
    EXPECT_EQ(canvas().pixel(5, 1510), cellColour(22));
}

TEST_F(LoadPrompt, AnUnreadableSaveFileIsReportedAndNothingLoaded)
{
    std::filesystem::create_directory(dir / "savedata.dat");
    startGame();
    hold({keys::L});
    run();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("ロードできませんでした。\n", 0), 0u);
    EXPECT_EQ(s.AreaX, 2);

    engine.ContinueGame();
    EXPECT_EQ(s.HeroX, 160);
    EXPECT_EQ(s.HeroY, 1498);
}

// Every area plays its own tune as it is entered: the sky's in the top row, the field's in every
// other; a table of all of them, since a slip in one area's entry hides behind the others.
TEST_F(Loop, EveryAreaPlaysItsTune)
{
    for (int ax = 0; ax < MapGrid::Areas; ++ax)
        for (int ay = 0; ay < MapGrid::Areas; ++ay) {
            start(ax, ay, 160, 1504);
            engine.EnterArea();
            take();
            ASSERT_EQ(host.tunes.size(), 1u) << ax << ',' << ay;
            EXPECT_EQ(host.tunes.front(), ay == 0 ? tunes::Sky : tunes::Field) << ax << ',' << ay;
        }
}
