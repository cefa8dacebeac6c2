#include "route/WorldCheck.h"

#include "app/sim/SimHost.h"
#include "play/BoxContents.h"
#include "play/FramePacing.h"
#include "play/PlayNumbers.h"
#include "play/StartAndBand.h"
#include "play/script/Trace.h"
#include "replay/ReplayFile.h"
#include "route/DistanceField.h"
#include "route/RouteScript.h"
#include "route/RouteSearch.h"
#include "world/TileFacts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

namespace poronpa::route {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Side = MapGrid::Areas * MapGrid::AreaCells;

/// How far ahead along the guide's way one leg aims, in the guide's frames: short enough that a
/// leg's search stays small, long enough that the legs are not too many.
constexpr double HopFrames = 160;
/// States one leg may expand before the check tries a nearer waypoint or another goal.
constexpr std::size_t HopExpansions = 40'000;
/// Waypoints one goal may take before the check gives up on it.
constexpr int MostHops = 80;
/// Frames between two points of the path drawn over the map.
constexpr int PathEvery = 8;

const char* const ItemNames[ItemCount] = {"blue key", "green key", "red key", "yellow key", "diary",
                                          "jump shoes", "diving helmet", "rope", "dumplings", "pampas grass"};
const char* const ColourNames[4] = {"blue", "green", "red", "yellow"};

std::string areaText(int areaX, int areaY) { return "area (" + std::to_string(areaX) + "," + std::to_string(areaY) + ")"; }
std::string placeText(const Place& p)
{
    return areaText(p.areaX, p.areaY) + " cell (" + std::to_string(p.column) + "," + std::to_string(p.row) + ")";
}
Place placeOf(int worldX, int worldY)
{
    return {worldX / MapGrid::AreaCells, worldY / MapGrid::AreaCells, worldX % MapGrid::AreaCells, worldY % MapGrid::AreaCells};
}
bool isItem(int content) { return content >= 0 && content < ItemCount; }
bool isMemo(int content) { return content >= 101 && content <= 106; }

/// The world cell of the hero's centre.
std::pair<int, int> heroCell(const GameState& s)
{
    return {s.AreaX * MapGrid::AreaCells + play::cellOf(static_cast<double>(s.HeroX) + 15),
            s.AreaY * MapGrid::AreaCells + play::cellOf(static_cast<double>(s.HeroY) + 15)};
}

/// Cells of the world with a given kind of tile, inside the areas (not their shared seams).
std::vector<Place> placesOf(const MapGrid& map, TileKind kind)
{
    std::vector<Place> places;
    for (int ay = 0; ay < MapGrid::Areas; ++ay)
        for (int ax = 0; ax < MapGrid::Areas; ++ax)
            for (int r = 1; r < MapGrid::AreaCells; ++r)
                for (int c = 1; c < MapGrid::AreaCells; ++c)
                    if (tileKind(map.areaCell(ax, ay, c, r)) == kind)
                        places.push_back({ax, ay, c, r});
    return places;
}

std::string goalLine(const char* kind, const Place& p, int column1 = -1, int row1 = -1)
{
    std::string text = std::string(kind) + " " + std::to_string(p.areaX) + "," + std::to_string(p.areaY) + " " +
                       std::to_string(p.column) + "," + std::to_string(p.row);
    if (column1 >= 0)
        text += " " + std::to_string(column1) + "," + std::to_string(row1);
    return text;
}

Goal boxGoal(const Place& p, const std::string& note)
{
    Goal goal;
    goal.kind = Goal::Kind::Box;
    goal.areaX = p.areaX;
    goal.areaY = p.areaY;
    goal.column0 = goal.column1 = p.column;
    goal.row0 = goal.row1 = p.row;
    goal.text = goalLine("box", p);
    goal.note = note;
    return goal;
}

/// A block around a cell of the guide's way where the hero can be held (standing, climbing,
/// swimming): the waypoint of a leg.
Goal reachGoal(const Place& p, int spread, const std::string& note)
{
    Goal goal;
    goal.kind = Goal::Kind::Reach;
    goal.areaX = p.areaX;
    goal.areaY = p.areaY;
    goal.column0 = std::max(1, p.column - spread);
    goal.column1 = std::min(MapGrid::AreaCells - 2, p.column + spread);
    goal.row0 = goal.row1 = p.row;
    goal.text = goalLine("reach", {p.areaX, p.areaY, goal.column0, goal.row0}, goal.column1, goal.row1);
    goal.note = note;
    return goal;
}

Goal endingGoal()
{
    Goal goal;
    goal.kind = Goal::Kind::Ending;
    goal.text = "ending";
    goal.note = "the arrival runs out";
    return goal;
}

/// Where the hero can stop in a cell: on a floor, on a ladder or a spring, in water or mist.
bool holdsHero(const MapGrid& map, int x, int y, const Abilities& can)
{
    const std::uint8_t t = map.cell(x, y);
    const std::uint8_t below = map.cell(x, std::min(y + 1, MapGrid::StoredSize - 1));
    // A spring holds the hero while it presses it down, and its throw is where guides go wrong.
    if (isClimbable(t) || isFloating(t) || (isWater(t) && can.helmet) || tileKind(t) == TileKind::Spring ||
        tileKind(below) == TileKind::Spring)
        return true;
    return isSolid(below) && tileKind(below) != TileKind::Crumbling && tileKind(below) != TileKind::Ice;
}

/// One thing the route wants next.
struct Target {
    Goal goal;           ///< a box, or the viewing spot's block
    std::string what;    ///< "the blue key", "the viewing spot"
    int item = -1;       ///< the item the box gives
};

} // namespace

// --- Warnings that need no search ---------------------------------------------------------------

std::vector<CheckWarning> staticWarnings(const MapGrid& map)
{
    std::vector<CheckWarning> warnings;
    std::set<std::pair<int, int>> warnedAreas;
    for (const Place& box : placesOf(map, TileKind::TreasureBox)) {
        if (!warnedAreas.insert({box.areaX, box.areaY}).second)
            continue;
        const int content = areaBoxContent(box.areaX, box.areaY);
        if (content == BoxEmpty)
            warnings.push_back({CheckWarning::Kind::EmptyBox, box,
                                "the box at " + placeText(box) + " holds nothing: the boxes of " + areaText(box.areaX, box.areaY) +
                                    " are empty"});
        else if (!isItem(content) && !isMemo(content))
            warnings.push_back({CheckWarning::Kind::UnknownBoxContent, box,
                                "the box at " + placeText(box) + " holds " + std::to_string(content) +
                                    ", a number the game does not know"});
    }

    // The hero comes back where it entered an area. In the bottom row of areas, a place of entry
    // with nothing below it but air lets the hero fall out of the world, come back and fall again.
    const auto fallsOut = [&](int x, int y) {
        for (int below = y; below < MapGrid::StoredSize - 1; ++below) {
            const std::uint8_t t = map.cell(x, below);
            if (isSolid(t) || isClimbable(t) || isWater(t) || isFloating(t) || isDeadly(t) ||
                tileKind(t) == TileKind::Spring || tileKind(t) == TileKind::Door)
                return false;
        }
        return true;
    };
    const auto passable = [&](int x, int y) { return !isSolid(map.cell(x, y)) && !isDeadly(map.cell(x, y)); };
    // No one comes from an area with nothing in it.
    const auto blank = [&](int ax, int ay) {
        for (int r = 1; r < MapGrid::AreaCells; ++r)
            for (int c = 1; c < MapGrid::AreaCells; ++c)
                if (map.areaCell(ax, ay, c, r) != 0)
                    return false;
        return true;
    };
    const int lastRow = MapGrid::Areas - 1;
    for (int ax = 0; ax < MapGrid::Areas; ++ax) {
        const int top = lastRow * MapGrid::AreaCells;
        const int left = ax * MapGrid::AreaCells;
        std::vector<Place> entries;
        // From above, and from the sides.
        for (int c = 1; c < MapGrid::AreaCells - 1 && !blank(ax, lastRow - 1); ++c)
            if (passable(left + c, top + 1) && passable(left + c, top - 1))
                entries.push_back({ax, lastRow, c, 1});
        for (int r = 1; r < MapGrid::AreaCells - 1; ++r) {
            if (ax > 0 && !blank(ax - 1, lastRow) && passable(left + 1, top + r) && passable(left - 2, top + r))
                entries.push_back({ax, lastRow, 1, r});
            if (ax < MapGrid::Areas - 1 && !blank(ax + 1, lastRow) && passable(left + 48, top + r) && passable(left + 51, top + r))
                entries.push_back({ax, lastRow, 48, r});
        }
        if (ax == StartAreaX)
            entries.push_back({ax, lastRow, play::cellOf(StartX + 15.0), play::cellOf(StartY + 15.0)});
        for (const Place& e : entries)
            if (fallsOut(e.areaX * MapGrid::AreaCells + e.column, e.areaY * MapGrid::AreaCells + e.row)) {
                warnings.push_back({CheckWarning::Kind::BottomlessRespawn, e,
                                    "the hero entering " + placeText(e) +
                                        " comes back there after a fall, and nothing below it stops the next fall out of the world"});
                break; // one for each area is enough to send the map maker there
            }
    }
    return warnings;
}

// --- The check ----------------------------------------------------------------------------------

namespace {

class Checker {
public:
    Checker(const MapGrid& map, const CheckOptions& options, const std::function<void(const CheckProgress&)>& progress,
            const std::atomic<bool>* cancel)
        : map_(map), options_(options), progress_(progress), cancel_(cancel), began_(Clock::now()),
          deadline_(began_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.budgetSeconds)))
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const int threads = options.threads > 0 ? options.threads : static_cast<int>(cores);
        for (int k = 0; k < std::min(threads, 2); ++k)
            drivers_.push_back(std::make_unique<EngineDriver>(map_));
        boxes_ = placesOf(map_, TileKind::TreasureBox);
        spots_ = placesOf(map_, TileKind::ViewingSpot);
        doors_ = placesOf(map_, TileKind::Door);
    }

    CheckReport run();

private:
    EngineDriver& driver() { return *drivers_.front(); }
    bool stopped() const { return (cancel_ && cancel_->load()) || Clock::now() > deadline_; }
    void tell(const std::string& stage);
    void useHints();
    bool tryTarget(const Target& target);
    std::optional<LegResult> searchTogether(const Goal& goal, std::size_t expansions);
    void keep(const Goal& goal, const LegResult& leg);
    std::vector<Target> wanted() const;
    std::string obstacle(const std::vector<Target>& targets) const;
    bool provedImpossible();
    void describeRoute(CheckReport& report);

    const MapGrid& map_;
    const CheckOptions& options_;
    const std::function<void(const CheckProgress&)>& progress_;
    const std::atomic<bool>* cancel_;
    Clock::time_point began_, deadline_;
    std::vector<std::unique_ptr<EngineDriver>> drivers_;
    std::vector<Place> boxes_, spots_, doors_;

    Snapshot at_;
    RouteScript route_;
    std::atomic<std::size_t> expanded_{0};
    std::size_t searched_ = 0;
    std::string stage_;
    bool hintsUsed_ = false;
    /// Legs (the frame they started at, their goal) whose search failed.
    std::set<std::pair<std::int64_t, std::string>> failed_;
};

void Checker::tell(const std::string& stage)
{
    stage_ = stage;
    if (!progress_)
        return;
    const double spent = std::chrono::duration<double>(Clock::now() - began_).count();
    progress_({std::clamp(spent / std::max(options_.budgetSeconds, 1e-3), 0.0, 1.0), stage, searched_ + expanded_.load()});
}

std::optional<LegResult> Checker::searchTogether(const Goal& goal, std::size_t expansions)
{
    // Two searches of one leg at once, one of them greedier: a plateau of the guide that holds
    // up the one is often crossed by the other. The first to arrive stops the other.
    std::atomic<bool> done{false};
    SearchLimits limits;
    limits.maxExpansions = expansions;
    limits.guideByItemsHeld = true;
    limits.stop = &done;
    limits.deadline = deadline_;
    limits.expanded = &expanded_;
    const std::size_t helpers = drivers_.size();
    std::vector<LegResult> results(helpers);
    std::atomic<bool> watching{true};
    const auto searchWith = [&](std::size_t k) {
        SearchLimits mine = limits;
        mine.greed = limits.greed * (k == 0 ? 1 : 6);
        results[k] = searchLeg(*drivers_[k], at_, goal, mine);
        if (results[k].found)
            done = true;
    };
    std::vector<std::thread> others;
    for (std::size_t k = 1; k < helpers; ++k)
        others.emplace_back(searchWith, k);
    // The caller's cancel reaches the searches through the shared flag.
    std::thread watcher([&] {
        while (watching && !done) {
            if (cancel_ && cancel_->load())
                done = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    searchWith(0);
    for (auto& t : others)
        t.join();
    watching = false;
    watcher.join();
    std::optional<LegResult> best;
    for (auto& r : results) {
        searched_ += r.expansions;
        if (r.found && (!best || !best->found))
            best = std::move(r);
        else if (!best || (!best->found && r.closest < best->closest))
            best = std::move(r);
    }
    expanded_ = 0;
    return best;
}

void Checker::keep(const Goal& goal, const LegResult& leg)
{
    route_.legs.push_back({goal, leg.runs, true});
    at_ = leg.end;
    driver().restore(at_);
}

std::vector<Target> Checker::wanted() const
{
    const GameState& s = drivers_.front()->state();
    const auto held = [&](int item) { return s.ItemHeld[static_cast<std::size_t>(item)] != 0; };
    std::vector<Target> targets;
    if (held(Dumplings) && held(PampasGrass))
        for (const Place& spot : spots_) {
            // The hero's centre stands in the cell above the spot, or in it.
            Goal goal = reachGoal({spot.areaX, spot.areaY, spot.column, std::max(1, spot.row - 1)}, 1, "onto the viewing spot");
            goal.row1 = spot.row;
            goal.text = goalLine("reach", {spot.areaX, spot.areaY, goal.column0, goal.row0}, goal.column1, goal.row1);
            targets.push_back({goal, "the viewing spot", -1});
        }
    // Items that open the way: keys of the world's doors, the helmet where there is water, the
    // rope where there are claws; the shoes always (a ledge too high without them is no tile of
    // its own); the two offerings the viewing spot wants.
    std::array<bool, ItemCount> useful{};
    for (const Place& d : doors_)
        useful[static_cast<std::size_t>(BlueKey + static_cast<int>(tileFacts(map_.areaCell(d.areaX, d.areaY, d.column, d.row)).door))] = true;
    useful[DivingHelmet] = !placesOf(map_, TileKind::Water).empty();
    useful[Rope] = !placesOf(map_, TileKind::Claw).empty();
    useful[JumpShoes] = useful[Dumplings] = useful[PampasGrass] = true;
    for (const Place& box : boxes_) {
        const int content = areaBoxContent(box.areaX, box.areaY);
        if (!isItem(content) || !useful[static_cast<std::size_t>(content)] || held(content))
            continue;
        targets.push_back({boxGoal(box, std::string("the ") + ItemNames[content]), std::string("the ") + ItemNames[content], content});
    }
    return targets;
}

bool Checker::tryTarget(const Target& target)
{
    const Abilities can = Abilities::of(driver().state());
    const DistanceField field(map_, target.goal.areaX, target.goal.areaY, target.goal.column0, target.goal.row0,
                              target.goal.column1, target.goal.row1, can);
    for (int hop = 0; hop < MostHops && !stopped(); ++hop) {
        const auto [x, y] = heroCell(driver().state());
        const auto way = field.way(x, y);
        if (way.empty())
            return false;
        const double total = way.front().second;
        // Waypoints at one hop's length along the way, then at half of it; the goal itself when
        // it lies near.
        std::vector<std::pair<Goal, std::size_t>> tries;
        for (const double ahead : {HopFrames, HopFrames / 2}) {
            if (total <= ahead * 1.5)
                break;
            for (const auto& [cell, toGo] : way)
                if (total - toGo >= ahead && holdsHero(map_, cell.first, cell.second, can)) {
                    // A waypoint far beyond the hop's length (no place to stop before it) gets
                    // the search its length asks for.
                    const double scale = std::clamp((total - toGo) / ahead, 1.0, 4.0);
                    tries.push_back({reachGoal(placeOf(cell.first, cell.second), 1, "on the way to " + target.what),
                                     static_cast<std::size_t>(HopExpansions * scale)});
                    break;
                }
        }
        if (total <= HopFrames * 3)
            tries.push_back({target.goal, HopExpansions * 3});
        bool moved = false;
        for (const auto& [goal, expansions] : tries) {
            // Another target's way often shares a waypoint with one that failed from this very
            // state; searching it again would fail again.
            const std::pair<std::int64_t, std::string> attempt{at_.frame, goal.text};
            if (failed_.count(attempt))
                continue;
            tell("to " + target.what + ", through " + areaText(goal.areaX, goal.areaY));
            const std::optional<LegResult> leg = searchTogether(goal, expansions);
            if (!leg || !leg->found) {
                if (!stopped())
                    failed_.insert(attempt);
                continue;
            }
            keep(goal, *leg);
            if (goal.text == target.goal.text)
                return true;
            moved = true;
            break;
        }
        if (!moved)
            return false;
    }
    return false;
}

void Checker::useHints()
{
    if (!options_.previousRoute.empty()) {
        tell("taking over the last route");
        RouteScript kept = keepReachingLegs(options_.previousRoute, driver(), at_);
        if (!kept.legs.empty()) {
            hintsUsed_ = true;
            route_ = std::move(kept);
        }
    }
    std::vector<Goal> plan;
    std::string error;
    if (options_.planText.empty() || !parseRoutePlan(options_.planText, plan, error))
        return;
    // The plan's legs after those already taken, while they are found.
    for (std::size_t k = route_.legs.size(); k < plan.size() && !stopped(); ++k) {
        tell("to the plan's goal " + plan[k].text);
        const std::optional<LegResult> leg = searchTogether(plan[k], 400'000);
        if (!leg || !leg->found)
            break;
        hintsUsed_ = true;
        keep(plan[k], *leg);
    }
}

std::string Checker::obstacle(const std::vector<Target>& targets) const
{
    const GameState& s = drivers_.front()->state();
    const std::pair<int, int> cell = heroCell(s);
    const int x = cell.first, y = cell.second;
    const Abilities can = Abilities::of(s);
    if (spots_.empty())
        return "the world has no viewing spot, so the journey cannot end";
    const auto spotOpen = [&](const Place& spot, const Abilities& with) {
        return DistanceField(map_, spot.areaX, spot.areaY, spot.column, std::max(1, spot.row - 1), spot.column, spot.row, with).at(x, y) <
               DistanceField::Unreachable;
    };
    if (std::none_of(spots_.begin(), spots_.end(), [&](const Place& spot) { return spotOpen(spot, Abilities{}); }))
        return "the viewing spot in " + areaText(spots_.front().areaX, spots_.front().areaY) + " cannot be reached from " +
               areaText(s.AreaX, s.AreaY) + " with every item: it is walled in";
    for (const int offering : {Dumplings, PampasGrass}) {
        if (s.ItemHeld[static_cast<std::size_t>(offering)] != 0)
            continue;
        bool boxed = false;
        for (const Place& b : boxes_)
            boxed = boxed || areaBoxContent(b.areaX, b.areaY) == offering;
        if (!boxed)
            return std::string("the viewing spot needs the ") + ItemNames[offering] + "; no box holds them";
    }
    for (const Target& t : targets) {
        const Goal& g = t.goal;
        const auto reachable = [&](const Abilities& with) {
            return DistanceField(map_, g.areaX, g.areaY, g.column0, g.row0, g.column1, g.row1, with).at(x, y) < DistanceField::Unreachable;
        };
        if (reachable(can))
            continue;
        // Which missing ability would open the way.
        for (int colour = 0; colour < 4; ++colour) {
            if (can.keys[static_cast<std::size_t>(colour)])
                continue;
            Abilities more = can;
            more.keys[static_cast<std::size_t>(colour)] = true;
            if (!reachable(more))
                continue;
            const int key = BlueKey + colour;
            std::optional<Place> door;
            for (const Place& d : doors_)
                if (static_cast<int>(tileFacts(map_.areaCell(d.areaX, d.areaY, d.column, d.row)).door) == colour &&
                    (!door || std::abs(d.areaX - s.AreaX) + std::abs(d.areaY - s.AreaY) <
                                  std::abs(door->areaX - s.AreaX) + std::abs(door->areaY - s.AreaY)))
                    door = d;
            std::string holder = "no box holds it";
            for (const Place& b : boxes_)
                if (areaBoxContent(b.areaX, b.areaY) == key) {
                    const bool near = DistanceField(map_, b.areaX, b.areaY, b.column, b.row, b.column, b.row, can).at(x, y) <
                                      DistanceField::Unreachable;
                    holder = near ? "the search did not reach the box in " + areaText(b.areaX, b.areaY) + " that holds it"
                                  : "no reachable box holds it";
                    if (near)
                        break;
                }
            return "the " + std::string(ColourNames[colour]) + " door in " + areaText(door->areaX, door->areaY) + " on the way to " +
                   t.what + " needs the " + ItemNames[key] + "; " + holder;
        }
        for (const auto& [item, flag] : {std::pair{DivingHelmet, &Abilities::helmet}, {JumpShoes, &Abilities::shoes}, {Rope, &Abilities::rope}}) {
            if (can.*flag)
                continue;
            Abilities more = can;
            more.*flag = true;
            if (reachable(more))
                return t.what + " in " + areaText(g.areaX, g.areaY) + " needs the " + ItemNames[item] + " first";
        }
        if (!reachable(Abilities{}))
            return t.what + " in " + areaText(g.areaX, g.areaY) + " cannot be reached from " + areaText(s.AreaX, s.AreaY) +
                   " with every item: it is walled in";
    }
    if (!targets.empty())
        return "no search found its way to " + targets.front().what + " in " + areaText(targets.front().goal.areaX, targets.front().goal.areaY) +
               " within the budget";
    return "no search found its way to the viewing spot in " + areaText(spots_.front().areaX, spots_.front().areaY) +
           " within the budget";
}

bool Checker::provedImpossible()
{
    // Only a search from the new game that saw every state it could reach proves it: it opens
    // every box it passes, so no order of the goals could do better.
    if (!route_.legs.empty() || spots_.empty())
        return spots_.empty();
    driver().restore(at_);
    SearchLimits limits;
    limits.maxExpansions = 2'000'000;
    limits.deadline = deadline_;
    limits.stop = cancel_;
    limits.expanded = &expanded_;
    const LegResult result = searchLeg(driver(), at_, endingGoal(), limits);
    searched_ += result.expansions;
    expanded_ = 0;
    driver().restore(at_);
    return result.exhausted;
}

void Checker::describeRoute(CheckReport& report)
{
    // A driver of its own: a new game keeps some of the game before it, and the replay starts
    // from none.
    EngineDriver d(map_);
    d.startNewGame();
    std::set<std::pair<int, int>> opened;     // world cells of boxes opened
    std::set<std::pair<int, int>> doorsOpened; // world cells of doors gone
    std::string body;
    std::int64_t frame = 0;
    for (const ScriptLeg& leg : route_.legs) {
        for (const sim::KeyRun& run : leg.runs) {
            for (std::int64_t f = 0; f < run.frames; ++f) {
                d.step(run.keys);
                ++frame;
                const GameState& s = d.state();
                if (frame % PathEvery == 0)
                    report.path.push_back({s.AreaX, s.AreaY, static_cast<int>(s.HeroX) + 15, static_cast<int>(s.HeroY) + 15, frame});
                for (const int content : d.dialogs()) {
                    if (content == BoxOfferingsMissing)
                        continue;
                    const auto [x, y] = heroCell(s);
                    opened.insert({x, y});
                    report.boxes.push_back({placeOf(x, y), content, frame});
                }
                for (const Place& door : doors_)
                    if (door.areaX == s.AreaX && door.areaY == s.AreaY &&
                        s.AreaCells[static_cast<std::size_t>(door.column)][static_cast<std::size_t>(door.row)] !=
                            map_.areaCell(door.areaX, door.areaY, door.column, door.row))
                        doorsOpened.insert({door.areaX * MapGrid::AreaCells + door.column, door.areaY * MapGrid::AreaCells + door.row});
            }
        }
    }
    const GameState& end = d.state();
    report.frames = frame;
    report.minutes = static_cast<double>(frame) * play::DefaultFrameInterval / 60000.0;
    for (const Place& b : boxes_)
        if (!opened.count({b.areaX * MapGrid::AreaCells + b.column, b.areaY * MapGrid::AreaCells + b.row}))
            report.boxesNotReached.push_back(b);
    for (const Place& door : doors_)
        if (!doorsOpened.count({door.areaX * MapGrid::AreaCells + door.column, door.areaY * MapGrid::AreaCells + door.row}))
            report.doorsNotReached.push_back(door);
    for (int item = 0; item < ItemCount; ++item)
        if (end.ItemHeld[static_cast<std::size_t>(item)] == 0)
            report.itemsNotFound.push_back(item);
    for (int ay = 0; ay < MapGrid::Areas; ++ay)
        for (int ax = 0; ax < MapGrid::Areas; ++ax) {
            if (end.MiniMapColor[static_cast<std::size_t>(ax)][static_cast<std::size_t>(ay)] != MiniMapUnvisited)
                continue;
            bool empty = true;
            for (int r = 1; r < MapGrid::AreaCells && empty; ++r)
                for (int c = 1; c < MapGrid::AreaCells && empty; ++c)
                    empty = map_.areaCell(ax, ay, c, r) == 0;
            if (!empty)
                report.warnings.push_back({CheckWarning::Kind::AreaNotEntered, {ax, ay, 0, 0}, "the route never enters " + areaText(ax, ay)});
        }

    // The replay: a new game on this world, its keys leg by leg, the game's own end line.
    EngineDriver fresh(map_);
    fresh.startNewGame();
    replay::ReplayHeader header;
    header.program = options_.program;
    header.date = replay::localDateNow();
    header.mapDigest = replay::mapDigest(map_);
    header.carry = replay::Carry::of(fresh.state());
    report.replayText = replay::headerText(header) + "\n" + formatLegs(route_) +
                        replay::endingLine(sim::endLine(frame, end, d.ending()));
}

CheckReport Checker::run()
{
    CheckReport report;
    report.warnings = staticWarnings(map_);
    for (auto& d : drivers_)
        d->startNewGame();
    at_ = driver().save();
    useHints();

    std::vector<Target> lastTargets;
    bool finished = driver().ending();
    while (!finished && !stopped()) {
        std::vector<Target> targets = wanted();
        const auto [x, y] = heroCell(driver().state());
        const Abilities can = Abilities::of(driver().state());
        std::vector<std::pair<double, Target>> near;
        for (Target& t : targets) {
            const DistanceField field(map_, t.goal.areaX, t.goal.areaY, t.goal.column0, t.goal.row0, t.goal.column1, t.goal.row1, can);
            if (const double frames = field.at(x, y); frames < DistanceField::Unreachable)
                near.push_back({frames, std::move(t)});
        }
        // The viewing spot, once it may end the journey, before any box.
        std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) {
            return std::pair{a.second.item != -1, a.first} < std::pair{b.second.item != -1, b.first};
        });
        lastTargets.clear();
        for (auto& n : near)
            lastTargets.push_back(n.second);
        if (lastTargets.empty())
            lastTargets = targets;
        bool progressed = false;
        for (const auto& [frames, target] : near) {
            const Snapshot before = at_;
            const std::size_t legsBefore = route_.legs.size();
            if (tryTarget(target)) {
                progressed = true;
                break;
            }
            // A goal given up leaves no half-way legs behind: the next one starts from here.
            route_.legs.resize(legsBefore);
            at_ = before;
            driver().restore(at_);
            if (stopped())
                break;
        }
        if (!progressed)
            break;
        if (driver().state().HeroState == StateArrived) {
            tell("the arrival at the viewing spot");
            const std::optional<LegResult> leg = searchTogether(endingGoal(), 10'000);
            if (leg && leg->found)
                keep(endingGoal(), *leg);
            finished = driver().ending();
        }
    }

    report.hintsUsed = hintsUsed_;
    if (finished) {
        tell("the route is found");
        report.outcome = CheckReport::Outcome::Finishable;
        describeRoute(report);
    } else if (cancel_ && cancel_->load()) {
        report.outcome = CheckReport::Outcome::Cancelled;
    } else {
        const GameState& s = driver().state();
        const auto [x, y] = heroCell(s);
        report.furthest = placeOf(x, y);
        for (int item = 0; item < ItemCount; ++item)
            if (s.ItemHeld[static_cast<std::size_t>(item)] != 0)
                report.itemsHeld.push_back(item);
        // Out of time, what the search was doing is the best account of where it stood.
        report.obstacle = obstacle(lastTargets);
        if (Clock::now() > deadline_)
            report.obstacle = "the budget ran out on the way " + stage_ + "; " + report.obstacle;
        tell("making sure");
        report.outcome = provedImpossible() ? CheckReport::Outcome::Impossible : CheckReport::Outcome::NotFound;
    }
    report.statesSearched = searched_;
    report.seconds = std::chrono::duration<double>(Clock::now() - began_).count();
    return report;
}

std::string itemList(const std::vector<int>& items)
{
    std::string text;
    for (const int item : items)
        text += (text.empty() ? "" : ", ") + std::string(ItemNames[item]);
    return text.empty() ? "none" : text;
}

std::string contentText(int content)
{
    if (isItem(content))
        return ItemNames[content];
    if (isMemo(content))
        return "memo " + std::to_string(content - 100);
    return content == BoxEmpty ? "nothing" : std::to_string(content);
}

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else
            out += c;
    }
    return out + "\"";
}

std::string jsonPlace(const Place& p)
{
    return "{\"area\": [" + std::to_string(p.areaX) + ", " + std::to_string(p.areaY) + "], \"cell\": [" + std::to_string(p.column) +
           ", " + std::to_string(p.row) + "]}";
}

template <typename List, typename Each> std::string jsonList(const List& list, Each each)
{
    std::string out = "[";
    for (std::size_t k = 0; k < list.size(); ++k)
        out += (k ? ", " : "") + each(list[k]);
    return out + "]";
}

const char* outcomeName(CheckReport::Outcome outcome)
{
    switch (outcome) {
    case CheckReport::Outcome::Finishable: return "finishable";
    case CheckReport::Outcome::NotFound: return "not found";
    case CheckReport::Outcome::Impossible: return "impossible";
    case CheckReport::Outcome::Cancelled: return "cancelled";
    }
    return "";
}

const char* warningName(CheckWarning::Kind kind)
{
    switch (kind) {
    case CheckWarning::Kind::EmptyBox: return "empty box";
    case CheckWarning::Kind::UnknownBoxContent: return "unknown box content";
    case CheckWarning::Kind::BottomlessRespawn: return "bottomless respawn";
    case CheckWarning::Kind::AreaNotEntered: return "area not entered";
    }
    return "";
}

} // namespace

CheckReport checkWorld(const MapGrid& map, const CheckOptions& options, const std::function<void(const CheckProgress&)>& progress,
                       const std::atomic<bool>* cancel)
{
    Checker checker(map, options, progress, cancel);
    return checker.run();
}

std::string reportText(const CheckReport& report)
{
    std::ostringstream out;
    char line[160];
    switch (report.outcome) {
    case CheckReport::Outcome::Finishable:
        std::snprintf(line, sizeof line, "Finishable: %lld frames, %.1f minutes at the default frame rate.\n",
                      static_cast<long long>(report.frames), report.minutes);
        out << line << "Boxes opened on the way:\n";
        for (const OpenedBox& b : report.boxes)
            out << "  frame " << b.frame << ": " << placeText(b.place) << ", " << contentText(b.content) << "\n";
        out << "Items never held: " << itemList(report.itemsNotFound) << "\n";
        out << "Boxes never reached: " << report.boxesNotReached.size() << "\n";
        for (const Place& p : report.boxesNotReached)
            out << "  " << placeText(p) << "\n";
        out << "Door cells never opened: " << report.doorsNotReached.size() << "\n";
        for (const Place& p : report.doorsNotReached)
            out << "  " << placeText(p) << "\n";
        break;
    case CheckReport::Outcome::NotFound:
    case CheckReport::Outcome::Impossible:
        out << (report.outcome == CheckReport::Outcome::Impossible ? "Impossible: every state the hero can reach was seen, and none ends the journey.\n"
                                                                   : "Not finishable within the budget (the world may still be finishable).\n");
        out << "Furthest point: " << placeText(report.furthest) << ", holding " << itemList(report.itemsHeld) << ".\n";
        out << "In the way: " << report.obstacle << ".\n";
        break;
    case CheckReport::Outcome::Cancelled:
        out << "Cancelled.\n";
        break;
    }
    if (!report.replayFile.empty())
        out << "Route kept as a replay: " << report.replayFile << "\n";
    for (const CheckWarning& w : report.warnings)
        out << "Warning: " << w.text << "\n";
    std::snprintf(line, sizeof line, "%zu states searched in %.1f s%s.\n", report.statesSearched, report.seconds,
                  report.hintsUsed ? " (with hints)" : "");
    out << line;
    return out.str();
}

std::string reportJson(const CheckReport& report)
{
    std::ostringstream out;
    out << "{\n  \"outcome\": " << jsonString(outcomeName(report.outcome)) << ",\n";
    out << "  \"finishable\": " << (report.outcome == CheckReport::Outcome::Finishable ? "true" : "false") << ",\n";
    if (report.outcome == CheckReport::Outcome::Finishable) {
        char minutes[32];
        std::snprintf(minutes, sizeof minutes, "%.3f", report.minutes);
        out << "  \"frames\": " << report.frames << ",\n  \"minutes\": " << minutes << ",\n";
        out << "  \"boxes\": " << jsonList(report.boxes, [](const OpenedBox& b) {
            return "{\"place\": " + jsonPlace(b.place) + ", \"content\": " + std::to_string(b.content) + ", \"what\": " +
                   jsonString(contentText(b.content)) + ", \"frame\": " + std::to_string(b.frame) + "}";
        }) << ",\n";
        out << "  \"boxesNotReached\": " << jsonList(report.boxesNotReached, jsonPlace) << ",\n";
        out << "  \"doorsNotReached\": " << jsonList(report.doorsNotReached, jsonPlace) << ",\n";
        out << "  \"itemsNotFound\": " << jsonList(report.itemsNotFound, [](int item) { return jsonString(ItemNames[item]); }) << ",\n";
        if (!report.replayFile.empty())
            out << "  \"replay\": " << jsonString(report.replayFile) << ",\n";
    } else if (report.outcome != CheckReport::Outcome::Cancelled) {
        out << "  \"furthest\": " << jsonPlace(report.furthest) << ",\n";
        out << "  \"itemsHeld\": " << jsonList(report.itemsHeld, [](int item) { return jsonString(ItemNames[item]); }) << ",\n";
        out << "  \"obstacle\": " << jsonString(report.obstacle) << ",\n";
    }
    out << "  \"warnings\": " << jsonList(report.warnings, [](const CheckWarning& w) {
        return "{\"kind\": " + jsonString(warningName(w.kind)) + ", \"place\": " + jsonPlace(w.place) + ", \"text\": " + jsonString(w.text) + "}";
    }) << ",\n";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", report.seconds);
    out << "  \"statesSearched\": " << report.statesSearched << ",\n  \"seconds\": " << seconds << ",\n";
    out << "  \"hintsUsed\": " << (report.hintsUsed ? "true" : "false") << "\n}\n";
    return out.str();
}

} // namespace poronpa::route
