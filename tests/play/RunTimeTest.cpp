// The run timer: a run's frames counted by the engine from its new game, carried on by its saves,
// and shown as minutes, seconds and hundredths at the default frame rate.
#include "play/RunTime.h"
#include "play/SaveFileStore.h"
#include "play/SavedGame.h"
#include "tests/play/EngineFixture.h"

#include <limits>

using namespace poronpa;
using poronpa::test::TempDir;

TEST(RunTime, TheTextIsTheFramesAtTheDefaultRateCutToHundredths)
{
    const struct {
        std::int64_t frames;
        const char* text;
    } cases[] = {
        {0, "0:00.00"},         {1, "0:00.01"},      {7, "0:00.09"},     {8, "0:00.10"},
        {4615, "0:59.99"},      {4616, "1:00.00"},   {46153, "9:59.98"}, {46154, "10:00.00"},
        {std::numeric_limits<std::int32_t>::max(), "465288:07.41"},      {UnknownRunFrames, "-:--.--"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(play::runTimeText(c.frames), c.text) << c.frames;
}

namespace {

constexpr std::uint8_t Wall = 96;

/// The start area with a floor under the hero, and a save file.
class RunFrames : public test::EngineTest {
protected:
    void SetUp() override
    {
        row(2, 4, 1, 49, 48, Wall);
        engine.setSaveStore(saves);
    }
    void fromTitle(TitleChoice choice)
    {
        engine.startFromTitle(choice);
        runner.beginLoop();
        keys.reset();
        take();
    }

    TempDir dir;
    SaveFileStore saves{dir / "savedata.dat"};
};

} // namespace

TEST_F(RunFrames, EveryFrameCountsAndASaveCarriesTheRunOn)
{
    fromTitle(TitleChoice::NewGame);
    EXPECT_EQ(s.RunFrames, 0);
    ASSERT_TRUE(run(100));
    EXPECT_EQ(s.RunFrames, 100);
    // A frame that stops at a question is one frame, whatever the answer.
    host.answers = {false};
    hold({keys::Q});
    ASSERT_TRUE(run());
    EXPECT_EQ(s.RunFrames, 101);

    // The save keeps the frame it was made in.
    s.ItemHeld[Diary] = 1;
    hold({keys::S});
    ASSERT_TRUE(run());
    ASSERT_EQ(s.SavedHere, 1);
    hold({});
    ASSERT_TRUE(run(50));
    EXPECT_EQ(s.RunFrames, 152);

    // Loading it in play goes back to the save's time; the title's continue goes on from there too.
    hold({keys::L});
    ASSERT_TRUE(run());
    EXPECT_EQ(s.RunFrames, 102);
    hold({});
    ASSERT_TRUE(run(9));
    EXPECT_EQ(s.RunFrames, 111);
    fromTitle(TitleChoice::Continue);
    EXPECT_EQ(s.RunFrames, 102);

    fromTitle(TitleChoice::NewGame);
    EXPECT_EQ(s.RunFrames, 0);
}

TEST_F(RunFrames, ASaveThatNeverKeptTheFramesLeavesTheRunUnknown)
{
    SaveRecord older;
    older.AreaX = 2;
    older.AreaY = 4;
    older.RespawnX = 160;
    older.RespawnY = 1498;
    older.ItemHeld[Diary] = 1;
    ASSERT_TRUE(SaveGame(saves.file(), older).ok());
    fromTitle(TitleChoice::Continue);
    ASSERT_TRUE(run(30));
    EXPECT_EQ(s.RunFrames, UnknownRunFrames);
    // Saved again, it stays unknown rather than starting from nothing.
    hold({keys::S});
    ASSERT_TRUE(run());
    fromTitle(TitleChoice::Continue);
    EXPECT_EQ(s.RunFrames, UnknownRunFrames);
}
