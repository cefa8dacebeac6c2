#include "EngineFixture.h"

#include "screens/SavedGame.h"

#include <algorithm>

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
    }
}

TEST_F(Loop, FramesStartStrictlyAfterTheirDueTime)
{
    startGame();
    host.waits.clear();
    const std::uint32_t due = host.clock - 1;
    run(3);
    EXPECT_EQ(host.waits, (std::vector<std::uint32_t>{due + 13, due + 26, due + 39}));
    EXPECT_EQ(host.clock, due + 40);
}

TEST_F(Loop, AfterAStallAtMostTwoFramesRunBackToBack)
{
    startGame();
    bool stalled = false;
    host.duringEvents = [&] {
        if (!stalled)
            host.clock += 5000;
        stalled = true;
    };
    host.blocked.clear();
    run(5);
    EXPECT_EQ(host.blocked, (std::vector<bool>{false, false, true, true, true}));
}

TEST_F(Loop, HoldsRebaseTheFrameClock)
{
    put(2, 4, 5, 47, 55); // a box under the hero
    start(2, 4, 160, 1504);
    host.duringDialog = [&] { host.clock += 3000; };
    const std::uint32_t opened = host.clock;
    run();
    EXPECT_EQ(host.waits.back(), opened + 3000 + 13);
}

TEST_F(Loop, RateLabelCountsTheFramesOfEachSecond)
{
    startGame();
    host.fpsTexts.clear();
    engine.beginLoop();
    run(160);
    // The first frame of a run writes the empty count; then about once a second, 13 ms frames.
    ASSERT_GE(host.fpsTexts.size(), 3u);
    EXPECT_EQ(host.fpsTexts[0], "0 fps");
    EXPECT_EQ(host.fpsTexts[1], "77 fps");
}

TEST_F(Loop, ClosingTheWindowEndsTheLoopAtOnce)
{
    startGame();
    s.DiaryTimer = 5;
    host.windowOpen = false;
    const std::size_t waits = host.waits.size();
    EXPECT_FALSE(run());
    EXPECT_EQ(exit, LoopExit::Stopped);
    EXPECT_EQ(host.waits.size(), waits);
    EXPECT_EQ(s.DiaryTimer, 5);

    host.windowOpen = true;
    host.duringEvents = [&] { engine.requestStop(); };
    EXPECT_FALSE(run());
    EXPECT_EQ(exit, LoopExit::Stopped);
}

TEST_F(Loop, StopLoopEndsAfterTheFrame)
{
    startGame();
    host.duringEvents = [&] { s.StopLoop = true; };
    EXPECT_EQ(engine.GameLoop(), LoopExit::Stopped);
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
    EXPECT_EQ(exit, LoopExit::ToTitle);
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
    std::vector<int> first;
    for (int game = 0; game < 2; ++game) {
        FakeHost otherHost;
        GameEngine other(map, tiles, spriteSheet, otherHost);
        other.NewGame();
        other.state().HeroX = 64;
        other.EnterArea();
        other.beginLoop();
        for (int mishap = 0; mishap < 200; ++mishap) {
            other.state().HeroX = 160;
            for (int i = 0; i < 70; ++i)
                other.runFrame(exit);
        }
        if (game == 0)
            first = otherHost.gags;
        else
            EXPECT_EQ(otherHost.gags, first);
    }
    EXPECT_FALSE(first.empty());
}

namespace {

/// Saves made straight into the file, each in its own area, for the load prompt to find.
class LoadPrompt : public Loop {
protected:
    TempDir dir;
    void SetUp() override
    {
        Loop::SetUp();
        engine.setSaveFile(dir / "savedata.dat");
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
        hold({});
        for (int k : held)
            engine.keyDown(k);
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
    EXPECT_EQ(s.AreaX, 3);
    EXPECT_EQ(s.AreaY, 0);
    EXPECT_EQ(host.tunes.back(), 3); // the top row's music
}

// --- What happens where the game would otherwise carry something over -----------------------

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
    EXPECT_EQ(engine.canvas().pixel(5, 1510), cellColour(22));
}

TEST_F(Loop, TheRateLabelGoesOnAfterMidnight)
{
    host.clock = 86'399'000;
    startGame();
    engine.beginLoop();
    run(200);
    host.fpsTexts.clear();
    host.midnight = 86'400;
    run();
    EXPECT_EQ(host.fpsTexts.size(), 1u);
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
