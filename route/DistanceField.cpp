#include "route/DistanceField.h"

#include "play/GameState.h"
#include "world/TileFacts.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace poronpa::route {

namespace {

// The model leaves out each area's seam rows and columns (0 and 49): the hero's centre never
// lies in them, and crossing an edge takes it from row 1 of one area straight to row 48 of the
// next. Model cell (X, Y) is cell (X mod 48 + 1, Y mod 48 + 1) of area (X div 48, Y div 48).
constexpr int Inner = MapGrid::AreaCells - 2;
constexpr int Side = Inner * MapGrid::Areas;

int worldOf(int modelCell) { return modelCell / Inner * MapGrid::AreaCells + modelCell % Inner + 1; }
constexpr double SidewaysFrames = 32 / 4.0; // walking speed
constexpr double DownFrames = 32 / 10.0;    // a fall soon outruns everything
constexpr double UpFrames = 32 / 3.0;       // ladder speed
constexpr int SpringReach = 13;             // cells a spring throws the hero up
constexpr int JumpReach = 4;                // cells above a floor a jump still rises, with the shoes
constexpr int PlainJumpReach = 2;           // and without them

int modelOf(int world)
{
    const int inArea = std::clamp(world % MapGrid::AreaCells, 1, Inner);
    return world / MapGrid::AreaCells * Inner + inArea - 1;
}

/// Doors open with their keys and glass breaks under a long fall, so neither stops the model;
/// hidden blocks count as the blocks they become once butted.
bool solid(std::uint8_t t, const Abilities& can)
{
    switch (tileKind(t)) {
    case TileKind::Door: return !can.keys[static_cast<std::size_t>(tileFacts(t).door)];
    case TileKind::Glass:
    case TileKind::BrokenGlass: return false;
    case TileKind::HiddenBlock: return true;
    default: return isSolid(t);
    }
}
bool carrying(std::uint8_t t, const Abilities& can) { return (isWater(t) && can.helmet) || isFloating(t); } // they hold the hero up
bool drowns(std::uint8_t t, const Abilities& can) { return isWater(t) && !can.helmet; }
bool spring(std::uint8_t t) { return tileKind(t) == TileKind::Spring; }
bool claw(std::uint8_t t) { return tileKind(t) == TileKind::Claw; }

} // namespace

Abilities Abilities::of(const GameState& state)
{
    Abilities can;
    for (std::size_t c = 0; c < can.keys.size(); ++c)
        can.keys[c] = state.ItemHeld[BlueKey + c] != 0;
    can.helmet = state.ItemHeld[DivingHelmet] != 0;
    can.shoes = state.ItemHeld[JumpShoes] != 0;
    can.rope = state.ItemHeld[Rope] != 0;
    return can;
}

DistanceField::DistanceField(const MapGrid& map, int areaX, int areaY, int column0, int row0, int column1, int row1,
                             const Abilities& can)
    : frames_(static_cast<std::size_t>(Side * Side), Unreachable), toward_(static_cast<std::size_t>(Side * Side), -1)
{
    const auto tile = [&](int x, int y) { return map.cell(worldOf(x), worldOf(y)); };
    const auto blocks = [&](std::uint8_t t) { return solid(t, can); };
    const auto open = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < Side && y < Side && !blocks(tile(x, y)) && !isDeadly(tile(x, y)) &&
               !drowns(tile(x, y), can);
    };
    const int jumpReach = can.shoes ? JumpReach : PlainJumpReach;

    // Where the hero can be on its way up: on a ladder, in water or mist, a few cells above a
    // floor, or in the column above a spring.
    std::vector<bool> rises(static_cast<std::size_t>(Side * Side), false);
    for (int x = 0; x < Side; ++x) {
        int springBelow = -1;
        for (int y = Side - 1; y >= 0; --y) {
            const std::uint8_t t = tile(x, y);
            if (blocks(t))
                springBelow = -1;
            else if (spring(t))
                springBelow = y;
            bool up = isClimbable(t) || carrying(t, can) || (springBelow >= 0 && springBelow - y <= SpringReach);
            for (int k = 1; k <= jumpReach && !up; ++k)
                up = y + k < Side && blocks(tile(x, y + k)) && (k == 1 || open(x, y + k - 1));
            rises[static_cast<std::size_t>(x + Side * y)] = up;
        }
    }
    // Under a claw the rope hauls the hero up, if it holds the rope.
    for (int x = 0; x < Side && can.rope; ++x)
        for (int y = 0; y < Side; ++y) {
            if (!claw(tile(x, y)))
                continue;
            for (int below = y; below < Side && (below == y || ropePasses(tile(x, below))); ++below)
                rises[static_cast<std::size_t>(x + Side * below)] = true;
        }

    // Where the hero can move sideways without falling: near a floor (walking, or jumping over a
    // gap of a few cells), on a ladder, in water or mist.
    std::vector<bool> carried(static_cast<std::size_t>(Side * Side), false);
    for (int x = 0; x < Side; ++x)
        for (int y = 0; y < Side; ++y) {
            const std::uint8_t t = tile(x, y);
            bool held = isClimbable(t) || carrying(t, can);
            for (int dx = -JumpReach; dx <= JumpReach && !held; ++dx)
                for (int k = 1; k <= JumpReach && !held; ++k)
                    held = x + dx >= 0 && x + dx < Side && y + k < Side && blocks(tile(x + dx, y + k));
            carried[static_cast<std::size_t>(x + Side * y)] = held;
        }

    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (int r = std::max(row0, 1); r <= std::min(row1, Inner); ++r)
        for (int c = std::max(column0, 1); c <= std::min(column1, Inner); ++c) {
            const int x = Inner * areaX + c - 1, y = Inner * areaY + r - 1;
            frames_[static_cast<std::size_t>(x + Side * y)] = 0;
            queue.push({0, x + Side * y});
        }
    int from = 0;
    const auto relax = [&](int x, int y, double cost) {
        const auto i = static_cast<std::size_t>(x + Side * y);
        if (cost < frames_[i]) {
            frames_[i] = cost;
            toward_[i] = from;
            queue.push({cost, static_cast<int>(i)});
        }
    };
    while (!queue.empty()) {
        const auto [cost, index] = queue.top();
        queue.pop();
        if (cost > frames_[static_cast<std::size_t>(index)])
            continue;
        from = index;
        const int x = index % Side, y = index / Side;
        // Each neighbour u from which a move leads into this cell.
        for (int dx : {-1, 1}) {
            if (open(x + dx, y) && carried[static_cast<std::size_t>(x + dx + Side * y)])
                relax(x + dx, y, cost + SidewaysFrames);
            if (open(x + dx, y - 1))
                relax(x + dx, y - 1, cost + SidewaysFrames); // drifting while falling
        }
        if (open(x, y - 1))
            relax(x, y - 1, cost + DownFrames);
        if (open(x, y + 1) && rises[static_cast<std::size_t>(x + Side * (y + 1))])
            relax(x, y + 1, cost + UpFrames);
    }
}

double DistanceField::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= MapGrid::StoredSize || y >= MapGrid::StoredSize)
        return Unreachable;
    return frames_[static_cast<std::size_t>(modelOf(x) + Side * modelOf(y))];
}

std::vector<std::pair<std::pair<int, int>, double>> DistanceField::way(int x, int y) const
{
    std::vector<std::pair<std::pair<int, int>, double>> cells;
    if (at(x, y) >= Unreachable)
        return cells;
    for (int i = modelOf(x) + Side * modelOf(y); i >= 0; i = toward_[static_cast<std::size_t>(i)])
        cells.push_back({{worldOf(i % Side), worldOf(i / Side)}, frames_[static_cast<std::size_t>(i)]});
    return cells;
}

} // namespace poronpa::route
