#include "EngineFixture.h"

#include "play/Animation.h"

#include <algorithm>
#include <cmath>

using namespace poronpa;
using namespace poronpa::test;

namespace {

/// A hero standing on a plain floor (row 48) of the start area.
class Motion : public EngineTest {
protected:
    void SetUp() override { row(2, 4, 1, 49, 48, 96); }
    void standAt(float x, const std::vector<int>& items = {})
    {
        start(2, 4, x, 1504, items);
        run();
        host.sounds.clear();
    }
};

} // namespace

TEST_F(Motion, JumpApexFromAPlainFloor)
{
    for (const auto& [items, apex] : {std::pair{std::vector<int>{}, 73.5f}, std::pair{std::vector<int>{JumpShoes}, 121.5f}}) {
        standAt(160, items);
        hold({keys::Space});
        float highest = s.HeroY;
        for (int i = 0; i < 60; ++i) {
            run();
            highest = std::min(highest, s.HeroY);
        }
        EXPECT_EQ(1504 - highest, apex);
        EXPECT_EQ(host.sounds.front(), 2); // take-off with nothing above the head
    }
}

TEST_F(Motion, RunningSpeedsClimbThenHover)
{
    // The same speeds either way, mirrored.
    for (const auto& [key, sign] : {std::pair{keys::Right, 1.0f}, std::pair{keys::Left, -1.0f}}) {
        SCOPED_TRACE(key);
        standAt(800);
        hold({key});
        const float expected[] = {0.506f, 0.962f, 1.374f};
        for (float v : expected) {
            run();
            EXPECT_NEAR(s.HeroVX, sign * v, 0.0006);
        }
        run(40);
        for (int i = 0; i < 30; ++i) {
            run();
            EXPECT_GE(sign * s.HeroVX, 4.04f);
            EXPECT_LE(sign * s.HeroVX, 4.19f);
        }
    }
}

TEST_F(Motion, BothDirectionsHeldCancelAndFaceRight)
{
    standAt(160);
    s.Facing = 1;
    hold({keys::Left, keys::Right});
    run(5);
    EXPECT_NEAR(s.HeroX, 160, 1e-5);
    EXPECT_NEAR(s.HeroVX, 0, 1e-6);
    EXPECT_EQ(s.Facing, 0);
}

TEST_F(Motion, AreaEdges)
{
    struct Case {
        int ax, ay;
        float x, y;
        int key;
        int wantAx, wantAy;
        float wantX, wantY;
    };
    // Climbing moves exactly 3 pixels a frame with no gravity, which keeps the other coordinate.
    for (const Case c : {Case{2, 4, 33, 1498, keys::Left, 1, 4, 1528, 1498},
                         Case{0, 4, 33, 1498, keys::Left, 0, 4, 32, 1498},
                         Case{2, 3, 1535, 600, keys::Right, 3, 3, 40, 600},
                         Case{4, 3, 1535, 600, keys::Right, 4, 3, 1536, 600},
                         Case{2, 3, 600, 33, keys::Up, 2, 2, 600, 1528},
                         Case{2, 0, 600, 33, keys::Up, 2, 0, 600, 32},
                         Case{2, 3, 600, 1535, keys::Down, 2, 4, 600, 40}}) {
        start(c.ax, c.ay, c.x, c.y);
        s.HeroState = StateClimbing;
        hold({c.key});
        run();
        EXPECT_EQ(s.AreaX, c.wantAx) << c.ax << c.ay << c.key;
        EXPECT_EQ(s.AreaY, c.wantAy);
        EXPECT_EQ(s.HeroX, c.wantX);
        EXPECT_EQ(s.HeroY, c.wantY);
        if (c.ax != c.wantAx || c.ay != c.wantAy) {
            EXPECT_EQ(s.RespawnX, c.wantX);
            EXPECT_EQ(host.miniMap[static_cast<std::size_t>(c.ax)][static_cast<std::size_t>(c.ay)], MiniMapVisited);
            EXPECT_EQ(host.miniMap[static_cast<std::size_t>(c.wantAx)][static_cast<std::size_t>(c.wantAy)],
                      MiniMapCurrent);
        }
    }
}

TEST_F(Motion, FallingOutOfTheWorldStartsOnce)
{
    start(3, 4, 160, 1400); // no floor in area (3, 4)
    const int frames = runUntil([&] { return s.HeroState == StateFellOut; });
    ASSERT_GT(frames, 0);
    EXPECT_EQ(s.EventTimer, 79); // set to 80, counted once at the end of the frame
    EXPECT_EQ(s.HeroY, 1536);
    run(20);
    EXPECT_EQ(std::count(host.sounds.begin(), host.sounds.end(), 10), 1);
    EXPECT_EQ(s.EventTimer, 59);
    EXPECT_EQ(s.HeroState, StateFellOut);
    run(57);
    EXPECT_EQ(s.HeroState, StateFellOut);
    run();
    EXPECT_EQ(s.HeroState, StatePlaced);
    EXPECT_EQ(s.HeroX, 160);
    EXPECT_EQ(s.HeroY, 1400);
    EXPECT_EQ(s.DeathCount[3][4], 1);
    EXPECT_EQ(s.DeathCount[2][4], 0);
}

TEST_F(Motion, ClimbingSwimmingAndFloatingSpeeds)
{
    struct Case {
        std::uint8_t tile;
        std::vector<int> items;
        int key;
        std::int16_t state;
        float dx, dy; ///< per frame once settled
    };
    // Every direction of each way of moving: a slip in one direction hides behind the others.
    for (const Case& c : {Case{40, {}, keys::Up, StateClimbing, 0, -3}, Case{40, {}, keys::Down, StateClimbing, 0, 3},
                         Case{40, {}, keys::Left, StateClimbing, -3, 0}, Case{40, {}, keys::Right, StateClimbing, 3, 0},
                         Case{48, {DivingHelmet}, keys::Right, StateSwimming, 2, NAN},
                         Case{48, {DivingHelmet}, keys::Left, StateSwimming, -2, NAN},
                         Case{50, {}, keys::Space, StateFloating, 0, -1.5f},
                         Case{50, {}, keys::Left, StateFloating, -2, NAN},
                         Case{50, {}, keys::Right, StateFloating, 2, NAN}}) {
        for (int col = 3; col <= 12; ++col)
            for (int r = 30; r <= 47; ++r)
                put(2, 4, col, r, c.tile);
        start(2, 4, 224, 1200, c.items);
        run(3);
        hold({c.key});
        run(2);
        const float x = s.HeroX, y = s.HeroY;
        run();
        EXPECT_EQ(s.HeroState, c.state) << int(c.tile) << " " << c.key;
        EXPECT_EQ(s.HeroX - x, c.dx) << int(c.tile) << " " << c.key;
        if (!std::isnan(c.dy)) {
            EXPECT_EQ(s.HeroY - y, c.dy) << int(c.tile) << " " << c.key;
        }
    }
}

TEST_F(Motion, SwimmingSinksWithWeightAndStrokesUp)
{
    // Sinking faster than 0.3 uses up the strokes until the hero touches ground again.
    for (int r = 30; r <= 47; ++r)
        put(2, 4, 5, r, 48);
    start(2, 4, 160, 1300, {DivingHelmet});
    run(2);
    EXPECT_EQ(s.HeroState, StateSwimming);
    EXPECT_FLOAT_EQ(s.HeroVY, 0.25f + 0.07f);
    hold({keys::Space});
    run();
    EXPECT_FLOAT_EQ(s.HeroVY, 0.25f + 0.07f + 0.07f - 0.03f);

    hold({});
    runUntil([&] { return s.HeroY == 1504; });
    run();
    EXPECT_EQ(s.HeroVY, 0);
    hold({keys::Space});
    run();
    EXPECT_FLOAT_EQ(s.HeroVY, 0.07f - 0.6f);
    EXPECT_FLOAT_EQ(s.HeroY, 1504 - 0.53f);
}

namespace {

/// Rope cases: a column of cells above a hero standing at (160, 1504), row 47, column 5.
class RopeThrow : public Motion {
protected:
    void throwWith(const std::vector<std::pair<int, std::uint8_t>>& column, float x = 165)
    {
        for (const auto& [r, t] : column)
            put(2, 4, 5, r, t);
        standAt(x, {Rope});
        hold({keys::Enter});
        run();
        hold({});
    }
};

} // namespace

TEST_F(RopeThrow, NoClawOrBlockedDoesNothing)
{
    for (const auto& column : {std::vector<std::pair<int, std::uint8_t>>{},
                               {{40, 52}, {44, 96}},
                               {{0, 53}}}) {
        for (int r = 0; r < 48; ++r)
            put(2, 4, 5, r, 0);
        throwWith(column);
        EXPECT_EQ(s.RopeRow, -1);
        EXPECT_EQ(s.HeroX, 165);
        EXPECT_TRUE(host.sounds.empty());
        EXPECT_FALSE(host.ropeVisible[0]);
    }
}

TEST_F(RopeThrow, HooksAndHaulsUpToTheClaw)
{
    throwWith({{40, 52}, {44, 64}});
    EXPECT_EQ(host.sounds, std::vector<int>{14});
    EXPECT_EQ(s.RopeRow, 41);
    EXPECT_EQ(s.HeroX, 160);
    EXPECT_EQ(s.HeroY, 1500);
    EXPECT_TRUE(host.ropeVisible[0] && host.ropeVisible[1]);
    EXPECT_EQ(host.ropeLine[0], (std::array<int, 3>{175, 1288, 1502}));
    EXPECT_EQ(host.ropeLine[1], (std::array<int, 3>{175, 1532, 1536}));

    hold({keys::Left, keys::Space});
    const int frames = runUntil([&] { return s.RopeRow == -1; });
    EXPECT_EQ(frames, 55);
    EXPECT_EQ(s.HeroY, 40 * 32 + 1);
    EXPECT_EQ(s.HeroX, 160);
    EXPECT_FALSE(host.ropeVisible[0] || host.ropeVisible[1]);
}

TEST_F(RopeThrow, ClawInTheHerosOwnRowHooksSilently)
{
    throwWith({{47, 53}});
    EXPECT_EQ(s.HeroX, 160);
    EXPECT_TRUE(host.sounds.empty());
}

TEST(HeroFrames, FirstRuleThatAppliesChoosesTheFrame)
{
    struct Case {
        std::int16_t state;
        std::int16_t facing;
        std::int16_t clock;
        std::int32_t eventTimer, diaryTimer, ropeRow;
        std::int16_t jumpCount;
        float x, y, vx;
        int frame;
    };
    for (const Case c : {
             Case{StateFellOut, 0, 0, 10, 0, -1, 0, 100, 100, 0, play::NoFrame},
             Case{StateBurning, 1, 15, 10, 0, -1, 0, 100, 100, 0, 21},
             Case{StateDrowning, 1, 5, 10, 0, -1, 0, 100, 100, 0, 22},
             Case{StateImpaled, 1, 0, 10, 0, -1, 0, 100, 100, 0, 23},
             Case{StateSinking, 0, 18, 10, 0, -1, 0, 100, 100, 0, 30},
             Case{StateArrived, 0, 0, 2, 0, -1, 0, 100, 100, 0, 31},
             Case{StateArrived, 0, 0, 3, 0, -1, 0, 100, 100, 0, 0},
             Case{StateSwimming, 0, 0, 0, 5, -1, 3, 100, 100, 0, 27},
             Case{StateSwimming, 1, 0, 0, 0, -1, 3, 100, 100, 0, 13},
             Case{StateSwimming, 0, 0, 0, 0, -1, 0, 112, 100, 0, 11},
             Case{StateFree, 0, 0, 0, 5, -1, 3, 100, 100, 1, 26},
             Case{StateClimbing, 1, 0, 0, 0, -1, 0, 112, 116, 0, 12},
             Case{StateFree, 0, 0, 0, 0, 30, 0, 100, 100, 0, 8},
             Case{StateFloating, 1, 0, 0, 0, -1, 0, 100, 100, 0, 25},
             Case{StateFree, 1, 0, 0, 0, -1, 999, 100, 100, 0, 5},
             Case{StateFree, 0, 0, 0, 0, -1, 0, 112, 100, -0.02f, 3},
             Case{StateFree, 1, 0, 0, 0, -1, 0, 111, 100, 2, 6},
             Case{StateFree, 1, 0, 0, 0, -1, 0, 112, 100, 0.009f, 4},
         }) {
        GameState st;
        st.HeroState = c.state;
        st.Facing = c.facing;
        st.FrameClock = c.clock;
        st.EventTimer = c.eventTimer;
        st.DiaryTimer = c.diaryTimer;
        st.RopeRow = c.ropeRow;
        st.JumpCount = c.jumpCount;
        st.HeroX = c.x;
        st.HeroY = c.y;
        st.HeroVX = c.vx;
        EXPECT_EQ(play::heroAnimationFrame(st), c.frame) << "state " << c.state << " expects " << c.frame;
    }
}
