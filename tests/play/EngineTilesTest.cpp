#include "EngineFixture.h"
#include "play/SaveFileStore.h"

#include <algorithm>

using namespace poronpa;
using namespace poronpa::test;

namespace {

/// A plain floor on row 48 of area (ax, 4), the hero standing on it with its centre in column 5
/// (x 160) unless a test puts it elsewhere.
class Tiles : public EngineTest {
protected:
    void SetUp() override
    {
        for (int ax = 0; ax < 5; ++ax)
            row(ax, 4, 1, 49, 48, 96);
    }
    void standAt(float x, const std::vector<int>& items = {}, int ax = 2)
    {
        start(ax, 4, x, 1504, items);
        run();
        host.sounds.clear();
        host.boxes.clear();
    }
    int count(int sound) const { return static_cast<int>(std::count(host.sounds.begin(), host.sounds.end(), sound)); }
};

} // namespace

TEST_F(Tiles, GlassBreaksOnlyAboveFourteen)
{
    struct Case {
        float startY, startVY;
        bool breaks;
    };
    for (const Case c : {Case{1490, 13.75f, false}, Case{1490, 13.76f, true}}) {
        put(2, 4, 5, 48, 152);
        start(2, 4, 160, c.startY);
        s.HeroVY = c.startVY;
        run();
        EXPECT_EQ(cell(5, 48), c.breaks ? 153 : 152) << c.startVY;
        EXPECT_EQ(count(15), c.breaks ? 1 : 0);
        EXPECT_EQ(s.HeroVY, c.breaks ? -5 : 0);
    }
}

TEST_F(Tiles, AFallFromRestBreaksGlassFromTheFiftySeventhFrame)
{
    struct Case {
        float startY;
        int landingFrame;
        bool breaks;
    };
    for (const Case c : {Case{1100, 57, true}, Case{1105, 56, false}}) {
        row(2, 4, 1, 49, 48, 152);
        start(2, 4, 160, c.startY);
        const int frames = runUntil([&] { return s.HeroVY <= 0; });
        EXPECT_EQ(frames, c.landingFrame) << c.startY;
        EXPECT_EQ(cell(5, 48) == 153 || cell(6, 48) == 153, c.breaks) << c.startY;
    }
}

TEST_F(Tiles, BrokenGlassVanishesUnderfootWithABounce)
{
    put(2, 4, 5, 48, 153);
    put(2, 4, 5, 47, 20);
    standAt(160);
    EXPECT_EQ(cell(5, 48), 20);
    EXPECT_EQ(s.HeroVY, -2);
}

TEST_F(Tiles, HiddenBlockAppearsThenBumpsTheHead)
{
    put(2, 4, 5, 45, 61);
    standAt(160);
    hold({keys::Space});
    runUntil([&] { return cell(5, 45) != 61; });
    EXPECT_EQ(cell(5, 45), 135);
    EXPECT_EQ(s.HeroY, 45 * 32 + 32);
    EXPECT_LT(s.HeroVY, -1);
    run();
    EXPECT_EQ(s.HeroY, 1472);
    EXPECT_EQ(s.HeroVY, 0);
    EXPECT_EQ(s.BumpTimer, 7); // set to 8, one frame of stars drawn
    EXPECT_EQ(s.BumpY, 1460);
    EXPECT_EQ(host.sounds, (std::vector<int>{2, 3}));
}

TEST_F(Tiles, DoorsOpenFromEitherSideWithTheirKey)
{
    struct Case {
        int doorColumn;
        int key;
        std::vector<int> items;
        bool opens;
        float stopX;
    };
    for (const Case& c : {Case{6, keys::Right, {BlueKey}, true, 0}, Case{6, keys::Right, {GreenKey}, false, 160},
                          Case{4, keys::Left, {BlueKey}, true, 0}, Case{4, keys::Left, {}, false, 160}}) {
        put(2, 4, c.doorColumn, 47, 148);
        put(2, 4, c.doorColumn + 1, 47, 21);
        standAt(160, c.items);
        hold({c.key});
        run(30);
        EXPECT_EQ(cell(c.doorColumn, 47), c.opens ? 21 : 148) << c.doorColumn;
        EXPECT_EQ(count(6), c.opens ? 1 : 0);
        if (c.opens)
            EXPECT_GT(std::abs(s.HeroX - 160), 40);
        else
            EXPECT_EQ(s.HeroX, c.stopX);
        put(2, 4, c.doorColumn, 47, 0);
        put(2, 4, c.doorColumn + 1, 47, 0);
    }
}

TEST_F(Tiles, SpringCompressesThenLaunchesHigh)
{
    put(2, 4, 5, 47, 38);
    start(2, 4, 160, 1504);
    run();
    EXPECT_EQ(s.SpringTimer, 15);
    EXPECT_EQ(s.HeroY, 1488);
    run(2);
    // The pressed picture is the sheet cell to the right of the spring's.
    EXPECT_EQ(canvas().pixel(165, 1533), cellColour(39));
    runUntil([&] { return s.HeroVY < 0; });
    EXPECT_EQ(s.HeroVY, -14);
    EXPECT_EQ(s.JumpCount, 999);
    EXPECT_EQ(host.sounds, std::vector<int>{5});
    const float launchY = s.HeroY;
    float highest = launchY;
    for (int i = 0; i < 80; ++i) {
        run();
        highest = std::min(highest, s.HeroY);
    }
    EXPECT_EQ(launchY - highest, 385);
}

TEST_F(Tiles, SideSpringsThrowTheHero)
{
    // The hero walks into the spring, which gives way for 9 frames and throws it back.
    struct Case {
        std::uint8_t tile;
        float startX;
        int key;
        float speed;
    };
    for (const Case c : {Case{46, 224, keys::Left, 15}, Case{44, 96, keys::Right, -15}}) {
        put(2, 4, 5, 47, c.tile);
        standAt(c.startX);
        hold({c.key});
        runUntil([&] { return count(5) > 0; });
        EXPECT_EQ(s.HeroVX, c.speed) << int(c.tile);
        EXPECT_EQ(s.BumperTimer, 0);
        EXPECT_EQ(count(5), 1);
    }
}

TEST_F(Tiles, ConveyorsPushOnlyWhileTheSwitchIsOn)
{
    struct Case {
        std::uint8_t tile;
        std::int16_t switchOn;
        float perFrame;
    };
    for (const Case c : {Case{154, 1, -1}, Case{155, 1, 1}, Case{158, 1, -4}, Case{159, 1, 4}, Case{155, 0, 0},
                         Case{159, 0, 0}}) {
        row(2, 4, 3, 20, 48, c.tile);
        start(2, 4, 320, 1504);
        s.SwitchOn = c.switchOn;
        run(3);
        const float x = s.HeroX;
        run();
        EXPECT_EQ(s.HeroX - x, c.perFrame) << int(c.tile) << " switch " << c.switchOn;
    }
}

TEST_F(Tiles, TheSwitchTogglesAndBounces)
{
    put(2, 4, 5, 48, 143);
    put(2, 4, 6, 48, 143);
    start(2, 4, 160, 1504);
    run();
    EXPECT_EQ(s.SwitchOn, 0);
    EXPECT_EQ(s.HeroVY, -3);
    EXPECT_EQ(host.sounds, std::vector<int>{9});
}

TEST_F(Tiles, CrumblingBlocksWearAwayByOneOrBothFeet)
{
    struct Case {
        float x;
        std::uint8_t block;
        int framesPerStep;
    };
    for (const Case c : {Case{170, 144, 30}, Case{160, 144, 15}, Case{170, 160, 30}}) {
        put(2, 4, 5, 48, c.block);
        start(2, 4, c.x, 1504);
        for (int step = 1; step <= 4; ++step) {
            const int frames = runUntil([&] { return cell(5, 48) != c.block + step - 1; });
            EXPECT_EQ(frames, c.framesPerStep) << c.x << " step " << step;
        }
        EXPECT_EQ(cell(5, 48), 0); // gone: the tile above it
    }
}

TEST_F(Tiles, BoxesEmptyThemselvesUntilTheAreaIsEnteredAgain)
{
    put(1, 4, 5, 47, 55);
    start(1, 4, 160, 1504);
    run();
    EXPECT_EQ(cell(5, 47), 0);
    EXPECT_EQ(host.boxes, std::vector<int>{Diary});
    EXPECT_EQ(s.BoxContent, Diary);
    EXPECT_EQ(s.ItemHeld[Diary], 1);
    EXPECT_TRUE(host.icons[Diary]);

    engine.EnterArea();
    EXPECT_EQ(cell(5, 47), 55);
    run();
    EXPECT_EQ(host.boxes, (std::vector<int>{Diary, BoxEmpty}));
    EXPECT_TRUE(host.icons[Diary]);

    put(3, 1, 5, 10, 55);
    start(3, 1, 160, 304);
    run();
    EXPECT_EQ(host.boxes.back(), BoxEmpty);
}

TEST_F(Tiles, KeysHeldThroughADialogMustBePressedAgain)
{
    put(2, 4, 8, 47, 55);
    standAt(160);
    hold({keys::Right});
    runUntil([&] { return !host.boxes.empty(); });
    EXPECT_FALSE(s.KeyHeld[keys::Right]);
}

TEST_F(Tiles, FlameJetBurnsOnlyAtTheStartOfItsCycle)
{
    put(2, 4, 5, 47, 54);
    for (const auto& [clock, burns] : {std::pair{0, true}, std::pair{9, true}, std::pair{10, false},
                                       std::pair{99, false}, std::pair{200, true}, std::pair{517, false}}) {
        start(2, 4, 160, 1504);
        s.FrameClock = static_cast<std::int16_t>(clock);
        run();
        EXPECT_EQ(s.HeroState == StateBurning, burns) << clock;
        EXPECT_EQ(count(7), burns ? 1 : 0);
    }
}

TEST_F(Tiles, SpikesDuringABurnKeepTheBurnsCountdown)
{
    put(2, 4, 5, 47, 32);
    put(2, 4, 8, 47, 34);
    standAt(160);
    EXPECT_EQ(s.HeroState, StateBurning);
    EXPECT_EQ(s.EventTimer, 89);
    s.HeroX = 256;
    run();
    EXPECT_EQ(s.HeroState, StateImpaled);
    EXPECT_EQ(s.EventTimer, 88);
    EXPECT_EQ(host.sounds, std::vector<int>{}); // burning sound came with standAt's frame
    const int frames = runUntil([&] { return s.HeroState == StatePlaced; });
    EXPECT_EQ(frames, 87);
    EXPECT_EQ(s.DeathCount[2][4], 1);
    EXPECT_EQ(s.HeroX, 160);
}

TEST_F(Tiles, WaterDrownsWithoutTheHelmet)
{
    for (int r = 40; r <= 47; ++r)
        put(2, 4, 5, r, 48);
    start(2, 4, 160, 1200);
    runUntil([&] { return s.HeroState == StateDrowning; });
    EXPECT_EQ(host.sounds, std::vector<int>{4});
    EXPECT_EQ(s.SplashTimer, 19);
    EXPECT_EQ(s.EventTimer, 149);
    EXPECT_EQ(s.HeroVY, 0.4f);
    EXPECT_EQ(s.HeroVX, 0);
}

TEST_F(Tiles, ViewingSpotWithOneOfferingSpeaksOncePerVisit)
{
    put(2, 4, 5, 48, 142);
    put(2, 4, 6, 48, 142);
    standAt(160, {Dumplings});
    // standAt's frame touched it; stepping off and back on says nothing more.
    EXPECT_EQ(s.BoxContent, BoxOfferingsMissing);
    hold({keys::Right});
    run(20);
    hold({keys::Left});
    run(40);
    EXPECT_TRUE(host.boxes.empty());
    hold({});
    s.HeroX = 160;
    engine.EnterArea();
    run();
    EXPECT_EQ(host.boxes, std::vector<int>{BoxOfferingsMissing});
}

TEST_F(Tiles, ViewingSpotWithBothOfferingsEndsTheGame)
{
    put(2, 4, 5, 48, 142);
    put(2, 4, 6, 48, 142);
    put(2, 4, 9, 48, 98);
    standAt(160, {Dumplings, PampasGrass});
    EXPECT_EQ(s.HeroState, StateArrived);
    EXPECT_EQ(s.EventTimer, 149);
    EXPECT_EQ(run(147), true);
    EXPECT_FALSE(run());
    EXPECT_EQ(end, StepEnd::Ending);
    EXPECT_EQ(host.endings, 1);
    EXPECT_TRUE(s.InputOff);
    EXPECT_TRUE(s.StopLoop);
    EXPECT_EQ(s.DeathCount[2][4], 0);
    // The spot and the platform are stone in the last picture.
    EXPECT_EQ(canvas().pixel(5 * 32 + 3, 48 * 32 + 3), cellColour(139));
    EXPECT_EQ(canvas().pixel(9 * 32 + 3, 48 * 32 + 3), cellColour(139));
    EXPECT_EQ(canvas().pixel(8 * 32 + 3, 48 * 32 + 3), cellColour(96));
    engine.keyDown(keys::Left);
    EXPECT_FALSE(s.KeyHeld[keys::Left]);
}

TEST_F(Tiles, TheDiarySavesOncePerVisit)
{
    TempDir dir;
    SaveFileStore saves(dir / "savedata.dat");
    engine.setSaveStore(saves);
    standAt(160);
    hold({keys::S});
    run();
    EXPECT_FALSE(std::filesystem::exists(dir / "savedata.dat"));

    standAt(160, {Diary});
    hold({keys::S});
    run();
    EXPECT_EQ(host.sounds, std::vector<int>{1});
    EXPECT_EQ(s.DiaryTimer, 29);
    EXPECT_EQ(s.SavedHere, 1);
    const auto size = std::filesystem::file_size(dir / "savedata.dat");
    const auto counter = readBytes(dir / "savedata.dat");
    hold({});
    run();
    hold({keys::S});
    run();
    EXPECT_EQ(readBytes(dir / "savedata.dat"), counter);
    EXPECT_EQ(std::filesystem::file_size(dir / "savedata.dat"), size);

    engine.EnterArea();
    run();
    EXPECT_EQ(host.sounds, (std::vector<int>{1, 1}));
}

TEST_F(Tiles, AFailedSaveSaysSoAndKeepsTheVisitsSave)
{
    TempDir dir;
    SaveFileStore saves(dir / "missing-folder" / "savedata.dat");
    engine.setSaveStore(saves);
    standAt(160, {Diary});
    hold({keys::S});
    run();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("セーブできませんでした。\n", 0), 0u);
    EXPECT_TRUE(host.sounds.empty());
    EXPECT_EQ(s.DiaryTimer, 0);
    EXPECT_EQ(s.SavedHere, 0);
    EXPECT_FALSE(s.KeyHeld[keys::S]);
}
