#pragma once

#include "world/MapGrid.h"

#include <vector>

namespace poronpa::route {

/// A rough guide for the search: for every cell of the world, about how many frames it takes
/// to get from there to a block of goal cells, found over a simple model of the hero's moves
/// (walk sideways, fall, rise only on ladders, in water or mist, just above a floor, over a
/// spring or under a claw). It knows nothing of keys, speeds or the rope, so it guides and never decides.
class DistanceField {
public:
    static constexpr double Unreachable = 1e9;

    /// The goal block lies in area (areaX, areaY), cells column0..column1 by row0..row1.
    DistanceField(const MapGrid& map, int areaX, int areaY, int column0, int row0, int column1, int row1);

    /// Frames from world cell (x, y) to the goal; Unreachable where the model finds no way.
    double at(int x, int y) const;

private:
    std::vector<double> frames_;
};

} // namespace poronpa::route
