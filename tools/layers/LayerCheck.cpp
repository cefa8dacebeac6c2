#include "tools/layers/LayerCheck.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace poronpa::layers {

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string folderOfFile(const std::string& file)
{
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

} // namespace

LayerTable LayerTable::parse(const std::string& text, std::vector<std::string>& faults)
{
    LayerTable table;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            faults.push_back("line " + std::to_string(number) + ": \"" + line + "\" has no ':'");
            continue;
        }
        const std::string folder = trimmed(line.substr(0, colon));
        if (table.uses_.count(folder) != 0)
            faults.push_back("line " + std::to_string(number) + ": " + folder + " is named twice");
        std::vector<std::string>& uses = table.uses_[folder];
        std::istringstream words(line.substr(colon + 1));
        for (std::string used; words >> used;)
            uses.push_back(used);
    }

    for (const auto& [folder, uses] : table.uses_)
        for (const std::string& used : uses)
            if (table.uses_.count(used) == 0)
                faults.push_back(folder + " uses " + used + ", which the table does not name");

    // Depth-first over the uses: a folder met again while its own uses are being followed closes a
    // cycle; otherwise the folders reached are gathered on the way back.
    std::map<std::string, int> state; // 0 unseen, 1 being followed, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> follow = [&](const std::string& folder) {
        state[folder] = 1;
        path.push_back(folder);
        std::set<std::string>& reached = table.reach_[folder];
        for (const std::string& used : table.uses_[folder]) {
            if (table.uses_.count(used) == 0)
                continue;
            if (state[used] == 1) {
                std::string cycle;
                for (auto at = std::find(path.begin(), path.end(), used); at != path.end(); ++at)
                    cycle += *at + " -> ";
                faults.push_back("the uses form a cycle: " + cycle + used);
                continue;
            }
            if (state[used] == 0)
                follow(used);
            reached.insert(used);
            reached.insert(table.reach_[used].begin(), table.reach_[used].end());
        }
        path.pop_back();
        state[folder] = 2;
    };
    for (const auto& entry : table.uses_)
        if (state[entry.first] == 0)
            follow(entry.first);
    return table;
}

bool LayerTable::mayInclude(const std::string& from, const std::string& to) const
{
    if (from == to)
        return true;
    const auto reach = reach_.find(from);
    return reach != reach_.end() && reach->second.count(to) != 0;
}

std::vector<Include> scanIncludes(const std::filesystem::path& root)
{
    namespace fs = std::filesystem;
    static const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Include> includes;
    auto at = fs::recursive_directory_iterator(root);
    for (; at != fs::recursive_directory_iterator(); ++at) {
        const std::string relative = fs::relative(at->path(), root).generic_string();
        const std::string name = at->path().filename().string();
        if (at->is_directory()) {
            const bool leftOut = name.starts_with(".") || name.starts_with("build") ||
                                 (relative.starts_with("tests") && relative != "tests" &&
                                  !relative.starts_with("tests/support"));
            if (leftOut)
                at.disable_recursion_pending();
            continue;
        }
        const std::string extension = at->path().extension().string();
        if (extension != ".h" && extension != ".cpp")
            continue;
        std::ifstream in(at->path());
        std::string line;
        int number = 0;
        bool any = false;
        std::smatch match;
        while (std::getline(in, line)) {
            ++number;
            if (std::regex_search(line, match, quoted)) {
                includes.push_back({relative, number, match[1]});
                any = true;
            }
        }
        // A file that includes nothing still places its folder in the layers.
        if (!any)
            includes.push_back({relative, 0, {}});
    }
    return includes;
}

std::string folderOf(const Include& include)
{
    const auto slash = include.target.rfind('/');
    return slash == std::string::npos ? folderOfFile(include.file) : include.target.substr(0, slash);
}

std::vector<std::string> check(const LayerTable& table, const std::vector<Include>& includes)
{
    std::vector<std::string> faults;
    std::set<std::string> unnamed;
    for (const Include& include : includes) {
        const std::string from = folderOfFile(include.file);
        if (!table.names(from)) {
            if (unnamed.insert(from).second)
                faults.push_back((from.empty() ? std::string("the source root") : from) +
                                 " holds code (" + include.file + ") but has no place in the layers");
            continue;
        }
        if (include.target.empty())
            continue;
        const std::string to = folderOf(include);
        if (!table.mayInclude(from, to))
            faults.push_back(include.file + ":" + std::to_string(include.line) + " includes \"" +
                             include.target + "\": " + from + " may not use " + to);
    }
    return faults;
}

} // namespace poronpa::layers
