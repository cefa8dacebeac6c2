#pragma once

#include "world/MapGrid.h"

#include <array>
#include <utility>
#include <vector>

namespace poronpa {
struct GameState;
}

namespace poronpa::route {

/// What the hero can do as far as the guide asks: which doors open (a key of each colour),
/// whether water carries it (the diving helmet), how high a jump reaches (the jump shoes) and
/// whether a claw hauls it up (the rope). Everything by default, as a guide that never decides.
struct Abilities {
    std::array<bool, 4> keys{true, true, true, true}; ///< by DoorColour
    bool helmet = true;
    bool shoes = true;
    bool rope = true;

    /// What the items held in the state allow.
    static Abilities of(const GameState& state);
    bool operator==(const Abilities&) const = default;
};

/// A rough guide for the search: for every cell of the world, about how many frames it takes
/// to get from there to a block of goal cells, found over a simple model of the hero's moves
/// (walk sideways, fall, rise only on ladders, in water or mist, just above a floor, over a
/// spring or under a claw). It knows nothing of keys, speeds or the rope, so it guides and never decides;
/// told the hero's abilities, it also says which places are out of reach without an item.
class DistanceField {
public:
    static constexpr double Unreachable = 1e9;

    /// The goal block lies in area (areaX, areaY), cells column0..column1 by row0..row1.
    DistanceField(const MapGrid& map, int areaX, int areaY, int column0, int row0, int column1, int row1,
                  const Abilities& abilities = {});

    /// Frames from world cell (x, y) to the goal; Unreachable where the model finds no way.
    double at(int x, int y) const;

    /// The model's way from world cell (x, y) to the goal: the world cells it passes, each with
    /// the frames still to go from it, the first cell first. Empty where there is no way.
    std::vector<std::pair<std::pair<int, int>, double>> way(int x, int y) const;

private:
    std::vector<double> frames_;
    std::vector<int> toward_; ///< for each model cell, the next cell of its way to the goal
};

} // namespace poronpa::route
