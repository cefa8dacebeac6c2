#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string Routes = std::string(PORONPA_MAP_SOURCES) + "/routes/";

/// What each area's treasure boxes hold: an item 0..9, a memo 101..106, or -1 (empty).
int boxContent(int areaX, int areaY)
{
    static const std::map<std::pair<int, int>, int> table = {
        {{2, 2}, 0}, {{0, 4}, 1}, {{4, 3}, 2}, {{4, 0}, 3}, {{1, 4}, 4}, {{3, 2}, 5}, {{1, 2}, 6}, {{0, 0}, 7},
        {{2, 1}, 8}, {{4, 4}, 9}, {{3, 3}, 101}, {{2, 4}, 102}, {{0, 2}, 103}, {{1, 3}, 104}, {{4, 2}, 105}, {{4, 1}, 106},
    };
    const auto found = table.find({areaX, areaY});
    return found == table.end() ? -1 : found->second;
}

struct Dialog {
    int areaX, areaY, content;
    std::string itemsBefore; ///< the item flags of the frame before the box opened
};

struct Playthrough {
    std::vector<Dialog> dialogs;
    std::string endLine;
};

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        result.push_back(field);
    if (!line.empty() && line.back() == ',')
        result.emplace_back();
    return result;
}

/// Plays a key script through the simulator on the built world and collects what it showed.
Playthrough play(const std::string& script)
{
    const std::string command = std::string(PORONPA_SIM) + " --map " + PORONPA_BUILT_MAP + " --input " + Routes + script + " --trace";
    Playthrough run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::string line, previousItems(10, '0');
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) {
        line = buffer.data();
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        if (line.rfind("end ", 0) == 0) {
            run.endLine = line;
            continue;
        }
        const auto f = fields(line);
        if (f.size() != 14 || f[0] == "frame")
            continue;
        if (!f[13].empty())
            run.dialogs.push_back({std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[13]), previousItems});
        previousItems = f[10];
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return run;
}

/// Every box that opened gave what its area's boxes hold: the area's memo, its item while not yet
/// held, otherwise nothing.
void expectBoxesGiveTheirAreasContent(const Playthrough& run)
{
    for (const Dialog& d : run.dialogs) {
        const int content = boxContent(d.areaX, d.areaY);
        const bool itemHeld = content >= 0 && content < 10 && d.itemsBefore[static_cast<std::size_t>(content)] == '1';
        EXPECT_EQ(d.content, itemHeld ? -1 : content) << "box in area (" << d.areaX << ", " << d.areaY << ")";
    }
}

} // namespace

TEST(WorldRoutes, NewGameReachesTheEnding)
{
    const Playthrough run = play("ending.keys");
    EXPECT_NE(run.endLine.find(" ending=yes"), std::string::npos) << run.endLine;
    EXPECT_NE(run.endLine.find(" deaths=0 "), std::string::npos) << run.endLine;
    expectBoxesGiveTheirAreasContent(run);
}

TEST(WorldRoutes, EveryBoxOfTheWorldOpensOnTheWayToTheEnding)
{
    const Playthrough run = play("everything.keys");
    EXPECT_NE(run.endLine.find(" items=1111111111 "), std::string::npos) << run.endLine;
    EXPECT_NE(run.endLine.find(" ending=yes"), std::string::npos) << run.endLine;
    expectBoxesGiveTheirAreasContent(run);

    std::set<int> found;
    for (const Dialog& d : run.dialogs)
        found.insert(d.content);
    for (int content : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 101, 102, 103, 104, 105, 106})
        EXPECT_TRUE(found.count(content)) << "never found: " << content;
}
