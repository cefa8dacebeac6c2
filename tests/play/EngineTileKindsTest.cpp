// Every tile number, put where the hero touches it, does what its kind promises. The expected
// tiles of each kind are written out here, not read from the tile table, so that a tile given
// the wrong facts fails where it is used.

#include "EngineFixture.h"

#include <algorithm>
#include <map>
#include <set>

using namespace poronpa;
using namespace poronpa::test;

namespace {

std::set<int> range(int first, int last)
{
    std::set<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.insert(n);
    return numbers;
}

const std::set<int> Solid = range(96, 191);
const std::set<int> Water = {5, 48, 49, 56, 57, 86, 87, 90, 91, 92, 93, 94, 95};
const std::set<int> Spikes = {34, 35, 36, 37};
const std::set<int> Climbing = {40, 41, 42, 43, 65, 66, 67};
const std::set<int> LowGravity = {50, 51, 58, 59, 60};
const std::set<int> Springs = {38, 39, 68, 69, 70, 71};
const std::set<int> SpringsLeft = {44, 45, 72, 73, 76, 77};
const std::set<int> SpringsRight = {46, 47, 74, 75, 78, 79};
const std::set<int> Boxes = {55, 82, 83};
const std::set<int> Claws = {52, 53};
const std::map<int, int> HiddenBlocks = {{61, 135}, {62, 157}};
const std::map<int, int> Doors = {{148, BlueKey}, {149, GreenKey}, {150, RedKey}, {151, YellowKey}};

/// Two engines on one map run in step, one drawing and one not: after every frame their states
/// must agree, so that nothing of play depends on whether it is drawn. The hero stands at
/// (160, 1504) on a plain floor in row 48: head, sides and centre in cell (5, 47), both feet on
/// cell (5, 48). Two kinds of scenery fill the cells above, to show what a vanishing tile leaves.
class TileKinds : public EngineTest {
protected:
    static constexpr std::uint8_t Above = 20, TwoAbove = 21;
    QuietEngine quiet{map};
    GameState settled;

    void SetUp() override
    {
        row(2, 4, 0, 50, 48, 96);
        put(2, 4, 5, 47, Above);
        put(2, 4, 5, 46, TwoAbove);
        for (GameEngine* e : {&engine, &quiet.engine}) {
            e->NewGame();
            e->state().HeroX = 160;
            e->state().HeroY = 1504;
            e->EnterArea();
        }
        runner.beginLoop();
        quiet.runner.beginLoop();
        take();
        step();
        settled = s;
        settled.FrameClock = 0;
    }

    /// The settled scene with `tile` in cell (c, r) and these items held, nothing recorded yet.
    void scene(std::uint8_t tile, int c, int r, const std::vector<int>& items = {})
    {
        for (GameEngine* e : {&engine, &quiet.engine}) {
            GameState& state = e->state();
            state = settled;
            state.AreaCells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = tile;
            for (int item : items)
                state.ItemHeld[static_cast<std::size_t>(item)] = 1;
        }
        for (FakeHost* h : {&host, &quiet.host}) {
            h->sounds.clear();
            h->boxes.clear();
        }
    }

    void press(std::initializer_list<int> held)
    {
        hold(held);
        quiet.hold(held);
    }

    /// One frame of both engines.
    void step()
    {
        frame();
        quiet.frame();
        ASSERT_EQ(s, quiet.engine.state()) << "the state differs without drawing, frame clock " << s.FrameClock;
        ASSERT_EQ(host.sounds, quiet.host.sounds);
    }
    void steps(int n)
    {
        for (int i = 0; i < n && !HasFatalFailure(); ++i)
            step();
    }
    bool heard(int sound) const { return std::count(host.sounds.begin(), host.sounds.end(), sound) > 0; }
};

std::string name(int n) { return "tile " + std::to_string(n); }

} // namespace

TEST_F(TileKinds, TouchedByTheHerosCentre)
{
    for (int n = 0; n < 256; ++n) {
        if (Solid.contains(n))
            continue;
        if (HasFatalFailure())
            return;
        SCOPED_TRACE(name(n));
        scene(static_cast<std::uint8_t>(n), 5, 47);
        step();
        const auto mishap = [&](std::int16_t state, std::int32_t frames, std::vector<int> sounds) {
            EXPECT_EQ(s.HeroState, state);
            EXPECT_EQ(s.EventTimer, frames - 1);
            EXPECT_EQ(host.sounds, sounds);
        };
        if (n == 32 || n == 54) { // the jet burns at frame count 0
            mishap(StateBurning, 90, {7});
        } else if (n == 33) {
            mishap(StateSinking, 90, {});
        } else if (Spikes.contains(n)) {
            mishap(StateImpaled, 60, {8});
        } else if (Water.contains(n)) {
            mishap(StateDrowning, 150, {4});
            EXPECT_EQ(s.HeroVY, 0.4f);
        } else if (Climbing.contains(n)) {
            EXPECT_EQ(s.HeroState, StateClimbing);
            EXPECT_EQ(s.JumpCount, 1);
        } else if (LowGravity.contains(n)) {
            EXPECT_EQ(s.HeroState, StateFloating);
            EXPECT_EQ(s.JumpCount, 3);
        } else if (Springs.contains(n) || SpringsLeft.contains(n) || SpringsRight.contains(n)) {
            // Compressed, then thrown with the spring's sound. A spring that throws to the right
            // pushes the hero out of its cell at once; it is sprung by walking back into it.
            const bool vertical = Springs.contains(n);
            EXPECT_EQ(vertical ? s.SpringTimer : s.BumperTimer, vertical ? 15 : 9);
            if (SpringsRight.contains(n))
                press({keys::Left});
            for (int i = 0; i < 60 && !heard(5) && !HasFatalFailure(); ++i)
                step();
            EXPECT_EQ(host.sounds, std::vector<int>{5});
            EXPECT_EQ(vertical ? s.HeroVY : s.HeroVX, vertical ? -14 : SpringsLeft.contains(n) ? -15 : 15);
        } else if (Boxes.contains(n)) {
            EXPECT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(cell(5, 47), TwoAbove) << "an opened box takes the tile above it";
        } else {
            EXPECT_EQ(s.HeroState, StateFree);
            EXPECT_EQ(s.EventTimer, 0);
            EXPECT_EQ(host.sounds, std::vector<int>{});
            EXPECT_EQ(s.HeroY, 1504);
            EXPECT_EQ(cell(5, 47), n);
        }
    }
}

TEST_F(TileKinds, BesideTheHero)
{
    // Walking right into the tile: a solid one stops the hero where it stands, a door with any
    // key but its own too.
    for (int n = 0; n < 256; ++n) {
        if (HasFatalFailure())
            return;
        SCOPED_TRACE(name(n));
        scene(static_cast<std::uint8_t>(n), 6, 47);
        press({keys::Right});
        float furthest = s.HeroX;
        for (int i = 0; i < 12; ++i) {
            step();
            furthest = std::max(furthest, s.HeroX);
        }
        EXPECT_EQ(furthest > 160, !Solid.contains(n));
    }
    for (const auto& [door, key] : Doors)
        for (const auto& [other, itsKey] : Doors) {
            SCOPED_TRACE(name(door) + " with the key of " + name(other));
            scene(static_cast<std::uint8_t>(door), 6, 47, {itsKey});
            press({keys::Right});
            steps(3);
            EXPECT_EQ(cell(6, 47), door == other ? 0 : door);
            EXPECT_EQ(heard(6), door == other);
        }
}

TEST_F(TileKinds, UnderTheHero)
{
    const std::map<int, int> pushes = {{154, -1}, {155, 1}, {158, -4}, {159, 4}};
    for (int n = 0; n < 256; ++n) {
        if (HasFatalFailure())
            return;
        SCOPED_TRACE(name(n));
        scene(static_cast<std::uint8_t>(n), 5, 48);
        step();
        const bool crumbling = (n >= 144 && n <= 147) || (n >= 160 && n <= 163);
        EXPECT_EQ(s.HeroY <= 1504, Solid.contains(n)) << "held up";
        EXPECT_EQ(s.OnSlippery, n == 156 || n == 157 || crumbling);
        EXPECT_EQ(s.ConveyorPush, pushes.contains(n) ? pushes.at(n) : 0);
        EXPECT_EQ(s.SwitchOn, n == 143 ? 0 : 1);
        EXPECT_EQ(host.boxes, n == 142 ? std::vector<int>{BoxOfferingsMissing} : std::vector<int>{});
        EXPECT_EQ(heard(9), n == 143) << "the switch's sound";
        EXPECT_EQ(heard(15), n == 153) << "broken glass";
        if (n == 153) {
            EXPECT_EQ(cell(5, 48), Above) << "broken glass takes the tile above it";
        }
        if (crumbling) {
            // Both feet on one block: a step every 15 frames, the last one leaves the tile above.
            const int next = n == 147 || n == 163 ? Above : n + 1;
            steps(15);
            EXPECT_EQ(cell(5, 48), next);
        }
    }
}

TEST_F(TileKinds, AboveTheHero)
{
    for (int n = 0; n < 256; ++n) {
        if (HasFatalFailure())
            return;
        SCOPED_TRACE(name(n));
        // Right above the head: the take-off's sound only under open sky.
        scene(static_cast<std::uint8_t>(n), 5, 46);
        press({keys::Space});
        step();
        EXPECT_EQ(heard(2), !Solid.contains(n)) << "jump sound";

        // Three cells up: a solid tile, or a hidden block once butted, bumps the head; the
        // stars show for 8 frames.
        scene(static_cast<std::uint8_t>(n), 5, 45);
        press({keys::Space});
        const bool blocks = Solid.contains(n) || HiddenBlocks.contains(n);
        int frames = 0;
        while (frames < 20 && s.BumpTimer == 0 && !HasFatalFailure()) {
            step();
            ++frames;
        }
        EXPECT_EQ(heard(3), blocks) << "head bump";
        if (HiddenBlocks.contains(n)) {
            EXPECT_EQ(cell(5, 45), HiddenBlocks.at(n));
        }
        if (blocks) {
            steps(8);
            EXPECT_EQ(s.BumpTimer, 0);
        }
    }
}

TEST_F(TileKinds, BetweenTheRopeAndItsClaw)
{
    // The rope hooks the claw four rows up unless the tile between stops it, or is a claw itself.
    for (int n = 0; n < 256; ++n) {
        if (HasFatalFailure())
            return;
        SCOPED_TRACE(name(n));
        scene(static_cast<std::uint8_t>(n), 5, 44, {Rope});
        s.AreaCells[5][40] = quiet.engine.state().AreaCells[5][40] = 52;
        press({keys::Enter});
        step();
        const int ropeRow = Claws.contains(n) ? 45 : n <= 64 ? 41 : -1;
        EXPECT_EQ(s.RopeRow, ropeRow);
        EXPECT_EQ(heard(14), ropeRow > 0);
    }
}

TEST_F(TileKinds, AnimatedInView)
{
    // (frame count, switch, picture) for every animated tile; a tile not listed keeps its own
    // picture whatever the count.
    struct Shows {
        int clock, switchOn, frame;
    };
    std::map<int, std::vector<Shows>> animated;
    const auto twoPictures = [&](int tile, int first, int period) {
        animated[tile] = {{period - 1, 1, first}, {period, 0, first + 1}, {2 * period, 1, first}};
    };
    twoPictures(4, 106, 8);
    twoPictures(5, 108, 10);
    twoPictures(7, 126, 4);
    twoPictures(12, 104, 8);
    twoPictures(15, 124, 4);
    twoPictures(17, 112, 6);
    twoPictures(18, 114, 4);
    twoPictures(25, 120, 6);
    twoPictures(26, 122, 4);
    twoPictures(32, 100, 10);
    twoPictures(49, 110, 25);
    twoPictures(56, 102, 25);
    twoPictures(90, 128, 25);
    twoPictures(91, 130, 25);
    twoPictures(92, 132, 25);
    twoPictures(93, 134, 25);
    animated[54] = {{0, 1, 90}, {3, 0, 89}, {5, 1, 88}, {21, 1, 91}};
    animated[143] = {{0, 1, 93}, {5, 1, 92}, {7, 0, 94}};
    animated[154] = {{0, 1, 96}, {5, 1, 97}, {15, 1, 99}, {7, 0, 96}};
    animated[155] = {{0, 1, 99}, {5, 1, 98}, {15, 1, 96}, {7, 0, 99}};
    animated[158] = {{0, 1, 116}, {1, 1, 117}, {3, 1, 119}, {7, 0, 116}};
    animated[159] = {{0, 1, 119}, {1, 1, 118}, {3, 1, 116}, {7, 0, 119}};
    animated[172] = {{0, 1, 137}, {10, 1, 136}, {7, 0, 138}};

    for (int n = 0; n < 256; ++n) {
        if (HasFatalFailure())
            return;
        SCOPED_TRACE(name(n));
        put(2, 4, 8, 45, static_cast<std::uint8_t>(n));
        engine.EnterArea();
        take();
        const std::uint32_t own = canvas().pixel(8 * 32 + 5, 45 * 32 + 5);
        const std::vector<Shows> expected = animated.contains(n) ? animated.at(n) : std::vector<Shows>{{13, 1, -1}};
        for (const Shows& e : expected) {
            // The clock moves on before the frame is drawn.
            s.FrameClock = static_cast<std::int16_t>((e.clock + 999) % 1000);
            s.SwitchOn = static_cast<std::int16_t>(e.switchOn);
            frame();
            EXPECT_EQ(canvas().pixel(8 * 32 + 5, 45 * 32 + 5), e.frame < 0 ? own : cellColour(e.frame))
                << "frame count " << e.clock << ", switch " << e.switchOn;
        }
    }
}
