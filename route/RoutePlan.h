#pragma once

#include <string>
#include <vector>

namespace poronpa::route {

/// One waypoint of a route.
struct Goal {
    enum class Kind {
        Reach,  ///< the hero's centre lies in a block of cells of an area, and it is held there
        Box,    ///< the treasure box in that cell of that area has been opened
        Ending, ///< the arrival at the viewing spot has run out and the ending begun
        Switch, ///< the world switch is in a given state, the hero held near the switch's cell
    };
    Kind kind = Kind::Reach;
    int areaX = 0, areaY = 0;
    int column0 = 0, row0 = 0, column1 = 0, row1 = 0; ///< inclusive block of cells
    int switchOn = 0;                                  ///< for Switch: the state wanted
    std::string text;                                  ///< the plan's line, for messages and the script
    std::string note;                                  ///< what the line says after '#'
};

/// Reads a route plan: one goal a line,
///   reach AX,AY C,R [C2,R2]   the hero's centre in cell (C, R), or the block up to (C2, R2)
///   box AX,AY C,R             open the box in that cell
///   switch 0|1 AX,AY C,R      leave the switch in that cell on (1) or off (0)
///   ending                    reach the end of the game
/// with blank lines ignored and '#' starting a note. Returns false with `error` naming the line.
bool parseRoutePlan(const std::string& text, std::vector<Goal>& goals, std::string& error);

} // namespace poronpa::route
