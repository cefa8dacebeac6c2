#pragma once

#include "world/MapGrid.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace poronpa::route {

/// How far a check has got, as it tells its caller now and then (on the checking thread).
struct CheckProgress {
    double fraction = 0;            ///< 0..1 of the work as far as it can be foreseen, or of the budget
    std::string stage;              ///< a few words: "looking for the blue key", "to area (2,3)"
    std::size_t statesSearched = 0; ///< engine states the searches have looked at so far
};

/// What a check may use besides the world.
struct CheckOptions {
    double budgetSeconds = 60;
    /// Threads searching at once; 0 takes one for each core.
    int threads = 0;
    /// Optional hint: a route plan in poronpa-route's format, whose goals are tried first.
    std::string planText;
    /// Optional hint: the replay an earlier check of this world kept; the legs of it that still
    /// reach their goals on the world as it is now are taken over without a search.
    std::string previousRoute;
    /// The program and version written into the route's replay header.
    std::string program = "mapdesign";
};

/// A cell of one area.
struct Place {
    int areaX = 0, areaY = 0;
    int column = 0, row = 0;

    bool operator==(const Place&) const = default;
};

/// A treasure box the route opened.
struct OpenedBox {
    Place place;
    int content = 0;        ///< BoxContent: an item number, a memo (101..106) or BoxEmpty
    std::int64_t frame = 0; ///< the frame it opened in, counted from the new game
};

/// Where the hero's centre was at a frame of the route, in pixels of its area.
struct PathPoint {
    int areaX = 0, areaY = 0;
    int x = 0, y = 0;
    std::int64_t frame = 0;
};

/// Something a map maker wants to know though the world may still be finishable.
struct CheckWarning {
    enum class Kind {
        EmptyBox,            ///< a box in an area whose boxes hold nothing
        UnknownBoxContent,   ///< a box in an area whose content number means nothing to the game
        BottomlessRespawn,   ///< the hero would come back above a fall out of the world
        AreaNotEntered,      ///< an area with something in it that the route never entered
    };
    Kind kind = Kind::EmptyBox;
    Place place; ///< the cell concerned (column and row 0 for a whole area)
    std::string text;
};

/// What a check found.
struct CheckReport {
    enum class Outcome {
        Finishable,  ///< a route from a new game to the ending was found
        NotFound,    ///< none found within the budget; the world may still be finishable
        Impossible,  ///< every state the hero can reach was seen and none reaches the ending
        Cancelled,   ///< the caller stopped the check
    };
    Outcome outcome = Outcome::NotFound;

    // Finishable.
    std::int64_t frames = 0;     ///< the route's length
    double minutes = 0;          ///< at the default frame rate
    std::vector<OpenedBox> boxes; ///< in the order the route opened them
    std::vector<Place> boxesNotReached;
    std::vector<Place> doorsNotReached; ///< doors the route never opened
    std::vector<int> itemsNotFound;     ///< item numbers the route never held
    /// The route as a replay of a new game (header, key runs, end line), as the game plays it.
    std::string replayText;
    /// The hero's path every few frames, for drawing over the map.
    std::vector<PathPoint> path;

    // Not finishable.
    Place furthest;                ///< where the search got closest to what it wanted last
    std::vector<int> itemsHeld;    ///< the items held there
    std::string obstacle;          ///< what stands in the way, in a map maker's words

    std::vector<CheckWarning> warnings;
    std::size_t statesSearched = 0;
    double seconds = 0;
    bool hintsUsed = false; ///< a plan or an earlier route gave legs or goals
    /// Where the caller kept the route's replay, when it did.
    std::string replayFile;
};

/// Checks whether a new game on `map` can reach the ending: the goals are the search's own (the
/// boxes whose contents open the way, the offerings, the viewing spot), hints only go first.
/// Runs within the budget; `progress` is called from the checking thread now and then, and a
/// `cancel` set from any thread ends the check within a fraction of a second.
CheckReport checkWorld(const MapGrid& map, const CheckOptions& options,
                       const std::function<void(const CheckProgress&)>& progress = {},
                       const std::atomic<bool>* cancel = nullptr);

/// Warnings that need no search: boxes that hold nothing or an unknown number, respawn points
/// above a fall out of the world.
std::vector<CheckWarning> staticWarnings(const MapGrid& map);

/// The report for people, several lines.
std::string reportText(const CheckReport& report);
/// The report for tools: one JSON object.
std::string reportJson(const CheckReport& report);

} // namespace poronpa::route
