#include "route/RoutePlan.h"

#include "world/MapGrid.h"

#include <cstdio>
#include <sstream>

namespace poronpa::route {

namespace {

bool readPair(const std::string& word, int& a, int& b)
{
    char comma = 0;
    char extra = 0;
    return std::sscanf(word.c_str(), "%d%c%d%c", &a, &comma, &b, &extra) == 3 && comma == ',';
}

bool inArea(int areaX, int areaY) { return areaX >= 0 && areaX < MapGrid::Areas && areaY >= 0 && areaY < MapGrid::Areas; }
bool inCells(int column, int row) { return column >= 0 && column < 50 && row >= 0 && row < 50; }

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

bool parseRoutePlan(const std::string& text, std::vector<Goal>& goals, std::string& error)
{
    goals.clear();
    std::istringstream lines(text);
    int lineNumber = 0;
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        const auto hash = line.find('#');
        Goal goal;
        if (hash != std::string::npos)
            goal.note = trimmed(line.substr(hash + 1));
        goal.text = trimmed(line.substr(0, hash));
        std::istringstream in(goal.text);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        if (words.empty())
            continue;

        const auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        };
        if (words[0] == "ending") {
            if (words.size() != 1)
                return fail("'ending' takes nothing more");
            goal.kind = Goal::Kind::Ending;
        } else if (words[0] == "reach" || words[0] == "box") {
            goal.kind = words[0] == "box" ? Goal::Kind::Box : Goal::Kind::Reach;
            const std::size_t most = goal.kind == Goal::Kind::Reach ? 4 : 3;
            if (words.size() < 3 || words.size() > most)
                return fail("expected '" + words[0] + " AX,AY C,R" + (most == 4 ? " [C2,R2]'" : "'"));
            if (!readPair(words[1], goal.areaX, goal.areaY) || !inArea(goal.areaX, goal.areaY))
                return fail("bad area '" + words[1] + "'");
            if (!readPair(words[2], goal.column0, goal.row0) || !inCells(goal.column0, goal.row0))
                return fail("bad cell '" + words[2] + "'");
            goal.column1 = goal.column0;
            goal.row1 = goal.row0;
            if (words.size() == 4 &&
                (!readPair(words[3], goal.column1, goal.row1) || !inCells(goal.column1, goal.row1) ||
                 goal.column1 < goal.column0 || goal.row1 < goal.row0))
                return fail("bad cell '" + words[3] + "' (the block's far corner)");
        } else if (words[0] == "switch") {
            goal.kind = Goal::Kind::Switch;
            if (words.size() != 4 || (words[1] != "0" && words[1] != "1"))
                return fail("expected 'switch 0|1 AX,AY C,R'");
            goal.switchOn = words[1] == "1";
            if (!readPair(words[2], goal.areaX, goal.areaY) || !inArea(goal.areaX, goal.areaY))
                return fail("bad area '" + words[2] + "'");
            if (!readPair(words[3], goal.column0, goal.row0) || !inCells(goal.column0, goal.row0))
                return fail("bad cell '" + words[3] + "'");
            goal.column1 = goal.column0;
            goal.row1 = goal.row0;
        } else {
            return fail("unknown goal '" + words[0] + "'");
        }
        goals.push_back(goal);
    }
    return true;
}

} // namespace poronpa::route
