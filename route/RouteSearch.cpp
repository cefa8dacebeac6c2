#include "route/RouteSearch.h"

#include "play/KeyCodes.h"
#include "play/PlayNumbers.h"
#include "route/DistanceField.h"
#include "world/TileFacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <queue>
#include <unordered_map>

namespace poronpa::route {

namespace {

constexpr int KeyEnter = keys::Enter, KeySpace = keys::Space, KeyLeft = keys::Left, KeyUp = keys::Up,
              KeyRight = keys::Right, KeyDown = keys::Down;

/// Cells a vertical spring throws the hero up, give or take.
constexpr int SpringThrowCells = 11;

/// Horizontal distance between neighbouring areas as the hero feels it: it leaves one at x 1536
/// and enters the next at x 40.
constexpr double AreaStride = 1504;

struct Action {
    sim::KeySet keys;
    int frames = 0;
};

sim::KeySet keysOf(std::initializer_list<int> codes)
{
    sim::KeySet keys;
    for (int code : codes)
        keys.set(static_cast<std::size_t>(code));
    return keys;
}

std::vector<Action> actionsFor(bool rope)
{
    std::vector<Action> actions;
    const auto add = [&](std::initializer_list<int> codes, std::initializer_list<int> lengths) {
        for (int frames : lengths)
            actions.push_back({keysOf(codes), frames});
    };
    add({}, {2, 8});
    add({KeyLeft}, {2, 5, 12});
    add({KeyRight}, {2, 5, 12});
    add({KeySpace}, {3, 9});
    add({KeyLeft, KeySpace}, {3, 9});
    add({KeyRight, KeySpace}, {3, 9});
    add({KeyUp}, {4, 12});
    add({KeyDown}, {4, 12});
    add({KeyUp, KeyLeft}, {6});
    add({KeyUp, KeyRight}, {6});
    if (rope)
        add({KeyEnter}, {2});
    return actions;
}

bool inMishap(const GameState& s) { return s.HeroState >= StateBurning && s.HeroState != StateArrived; }

/// Estimated frames from the state to the goal: the distance field's guess for the hero's cell,
/// or where the field knows no way, a straight line at walking speed sideways, climbing speed
/// upwards and falling speed downwards, made to look poor.
double estimate(const Goal& goal, const DistanceField* field, const GameState& s)
{
    if (goal.kind == Goal::Kind::Ending || (goal.kind == Goal::Kind::Switch && s.SwitchOn == goal.switchOn))
        return 0;
    const int worldX = s.AreaX * MapGrid::AreaCells + play::cellOf(static_cast<double>(s.HeroX) + 15);
    const int worldY = s.AreaY * MapGrid::AreaCells + play::cellOf(static_cast<double>(s.HeroY) + 15);
    double guided = field->at(worldX, worldY);
    // A pressed spring is as good as the place it is about to throw the hero to; waiting on it
    // must not look like a standstill.
    if (s.SpringTimer > 0)
        guided = std::min(guided, field->at(worldX, std::max(0, worldY - SpringThrowCells)) + s.SpringTimer);
    const double x = s.AreaX * AreaStride + s.HeroX + 15;
    const double y = s.AreaY * AreaStride + s.HeroY + 15;
    const double left = goal.areaX * AreaStride + goal.column0 * 32;
    const double right = goal.areaX * AreaStride + goal.column1 * 32 + 31;
    const double top = goal.areaY * AreaStride + goal.row0 * 32;
    const double bottom = goal.areaY * AreaStride + goal.row1 * 32 + 31;
    const double dx = x < left ? left - x : x > right ? x - right : 0;
    const double dy = y < top ? top - y : y > bottom ? y - bottom : 0;
    const double up = y > bottom ? dy : 0;
    const double straight = dx / 4.0 + up / 3.0 + (dy - up) / 10.0;
    return guided < DistanceField::Unreachable ? guided : 2 * straight + 1000;
}

std::uint64_t mix(std::uint64_t h, std::int64_t v)
{
    h ^= static_cast<std::uint64_t>(v) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
}

std::uint64_t cellsHash(const Snapshot& snapshot)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (const auto& column : *snapshot.cells)
        for (std::uint8_t cell : column)
            h = (h ^ cell) * 1099511628211ULL;
    return h;
}

/// World cells near a flame jet, where what happens next depends on the frame clock.
std::vector<bool> cellsNearFlameJets(const MapGrid& map)
{
    constexpr int Side = MapGrid::StoredSize, Near = 3;
    std::vector<bool> near(static_cast<std::size_t>(Side * Side), false);
    for (int x = 0; x < Side; ++x)
        for (int y = 0; y < Side; ++y)
            if (tileKind(map.cell(x, y)) == TileKind::FlameJet)
                for (int i = std::max(0, x - Near); i <= std::min(Side - 1, x + Near); ++i)
                    for (int j = std::max(0, y - Near); j <= std::min(Side - 1, y + Near); ++j)
                        near[static_cast<std::size_t>(i + Side * j)] = true;
    return near;
}

/// States that agree on this key play on alike, near enough: the search explores one of them.
std::uint64_t likeness(const GameState& s, std::uint64_t cells, const Snapshot& snapshot, bool timed)
{
    std::uint64_t h = cells;
    h = mix(h, s.AreaX * 8 + s.AreaY);
    h = mix(h, static_cast<std::int64_t>(std::floor(s.HeroX / 4)));
    h = mix(h, static_cast<std::int64_t>(std::floor(s.HeroY / 4)));
    h = mix(h, static_cast<std::int64_t>(std::lround(s.HeroVX)));
    h = mix(h, static_cast<std::int64_t>(std::lround(s.HeroVY)));
    h = mix(h, s.HeroState);
    h = mix(h, std::min<int>(s.JumpCount, 20));
    h = mix(h, s.RopeRow);
    h = mix(h, s.SpringTimer);
    h = mix(h, s.BumperTimer);
    h = mix(h, s.CrumbleTimer / 4);
    h = mix(h, s.EventTimer);
    h = mix(h, s.SwitchOn);
    h = mix(h, s.GoalTouched);
    for (int i = 0; i < ItemCount; ++i)
        h = mix(h, s.ItemHeld[static_cast<std::size_t>(i)]);
    // A key the script holds while the engine does not (cleared by a dialog) stays dead until it
    // is let go: that changes what the next runs can do.
    const sim::KeySet dead = snapshot.scriptKeys & ~snapshot.keyHeld;
    h = mix(h, static_cast<std::int64_t>(std::hash<sim::KeySet>{}(dead)));
    if (timed)
        h = mix(h, s.FrameClock % 100);
    return h;
}

struct Node {
    Snapshot snapshot;
    std::int64_t parent = -1;
    sim::KeyRun run;
    std::int64_t frames = 0;
    std::uint64_t cells = 0; ///< hash of the snapshot's area cells
};

std::vector<sim::KeyRun> runsTo(const std::vector<Node>& nodes, std::int64_t index)
{
    std::vector<sim::KeyRun> runs;
    for (; index > 0; index = nodes[static_cast<std::size_t>(index)].parent) {
        const sim::KeyRun& run = nodes[static_cast<std::size_t>(index)].run;
        if (!runs.empty() && runs.back().keys == run.keys)
            runs.back().frames += run.frames;
        else
            runs.push_back(run);
    }
    std::reverse(runs.begin(), runs.end());
    return runs;
}

} // namespace

bool goalReached(const Goal& goal, const EngineDriver& driver)
{
    const GameState& s = driver.state();
    switch (goal.kind) {
    case Goal::Kind::Ending:
        return driver.ending();
    case Goal::Kind::Switch:
        return s.AreaX == goal.areaX && s.AreaY == goal.areaY && s.SwitchOn == goal.switchOn && !inMishap(s) &&
               s.HeroVY == 0 && s.JumpCount == 0;
    case Goal::Kind::Box:
        if (driver.dialogs().empty())
            return false;
        [[fallthrough]];
    case Goal::Kind::Reach: {
        if (s.AreaX != goal.areaX || s.AreaY != goal.areaY || inMishap(s))
            return false;
        // A place counts as reached once the hero is held there (standing, climbing, swimming,
        // floating, pressed into a spring), not while it flies through: the next leg must not
        // start from a fall.
        const bool held = s.HeroState == StateClimbing || s.HeroState == StateSwimming || s.HeroState == StateFloating ||
                          (s.HeroVY == 0 && s.JumpCount == 0) || s.SpringTimer > 0 || s.BumperTimer > 0;
        if (goal.kind == Goal::Kind::Reach && !held)
            return false;
        const int column = play::cellOf(static_cast<double>(s.HeroX) + 15);
        const int row = play::cellOf(static_cast<double>(s.HeroY) + 15);
        return column >= goal.column0 && column <= goal.column1 && row >= goal.row0 && row <= goal.row1;
    }
    }
    return false;
}

LegResult searchLeg(EngineDriver& driver, const Snapshot& start, const Goal& goal, const SearchLimits& limits)
{
    std::vector<Node> nodes;
    nodes.push_back({start, -1, {}, 0, cellsHash(start)});
    const std::vector<bool> timedCells = cellsNearFlameJets(driver.map());

    using Entry = std::pair<double, std::int64_t>; // priority, node
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    std::unordered_map<std::uint64_t, std::int64_t> seen; // likeness -> fewest frames

    driver.restore(start);
    std::unique_ptr<DistanceField> field;
    if (goal.kind != Goal::Kind::Ending)
        field = std::make_unique<DistanceField>(driver.map(), goal.areaX, goal.areaY, goal.column0, goal.row0, goal.column1, goal.row1,
                                                limits.guideByItemsHeld ? Abilities::of(driver.state()) : Abilities{});
    const auto estimate = [&](const GameState& s) { return route::estimate(goal, field.get(), s); };

    const std::vector<Action> actions = actionsFor(driver.state().ItemHeld[Rope] != 0);
    open.push({limits.greed * estimate(driver.state()), 0});

    LegResult result;
    std::int64_t closestNode = 0;
    result.closest = estimate(driver.state());
    result.end = start;

    while (!open.empty() && result.expansions < limits.maxExpansions) {
        // Looked at now and then: a clock read or a shared count per state would cost more than the state.
        if (result.expansions % 64 == 0) {
            if ((limits.stop && limits.stop->load(std::memory_order_relaxed)) || std::chrono::steady_clock::now() > limits.deadline)
                break;
            if (limits.expanded && result.expansions > 0)
                *limits.expanded += 64;
        }
        const std::int64_t index = open.top().second;
        open.pop();
        ++result.expansions;
        // Only the runs of an expanded node are needed again, to spell out the path.
        const Node parent = std::move(nodes[static_cast<std::size_t>(index)]);
        nodes[static_cast<std::size_t>(index)] = {{}, parent.parent, parent.run, parent.frames, 0};

        for (const Action& action : actions) {
            driver.restore(parent.snapshot);
            bool alive = true;
            int used = 0;
            bool reached = false;
            while (used < action.frames) {
                const bool running = driver.step(action.keys);
                ++used;
                if (goalReached(goal, driver)) {
                    reached = true;
                    break;
                }
                if (!running || inMishap(driver.state())) {
                    alive = false;
                    break;
                }
            }
            if (!alive)
                continue;

            Node child{driver.save(parent.snapshot.cells), index, {used, action.keys}, parent.frames + used, parent.cells};
            if (child.snapshot.cells != parent.snapshot.cells)
                child.cells = cellsHash(child.snapshot);
            if (reached) {
                nodes.push_back(std::move(child));
                result.found = true;
                result.runs = runsTo(nodes, static_cast<std::int64_t>(nodes.size()) - 1);
                result.end = nodes.back().snapshot;
                result.closest = 0;
                return result;
            }
            const GameState& s = driver.state();
            const int worldX = s.AreaX * MapGrid::AreaCells + play::cellOf(static_cast<double>(s.HeroX) + 15);
            const int worldY = s.AreaY * MapGrid::AreaCells + play::cellOf(static_cast<double>(s.HeroY) + 15);
            const bool timed = timedCells[static_cast<std::size_t>(worldX + MapGrid::StoredSize * worldY)];
            const std::uint64_t key = likeness(s, child.cells, child.snapshot, timed);
            const auto found = seen.find(key);
            if (found != seen.end() && found->second <= child.frames)
                continue;
            seen[key] = child.frames;
            const double toGo = estimate(driver.state());
            nodes.push_back(std::move(child));
            const auto childIndex = static_cast<std::int64_t>(nodes.size()) - 1;
            if (toGo < result.closest) {
                result.closest = toGo;
                result.end = nodes.back().snapshot;
                closestNode = childIndex;
            }
            open.push({static_cast<double>(nodes.back().frames) + limits.greed * toGo, childIndex});
        }
    }
    result.exhausted = open.empty();
    result.runs = runsTo(nodes, closestNode);
    return result;
}

} // namespace poronpa::route
