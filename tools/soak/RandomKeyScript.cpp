#include "tools/soak/RandomKeyScript.h"

#include <algorithm>
#include <vector>

namespace poronpa::soak {

namespace {

bool chance(std::mt19937_64& random, double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; }

std::string randomKeys(std::mt19937_64& random)
{
    std::vector<std::string> keys;
    const int horizontal = std::uniform_int_distribution<int>(0, 9)(random);
    if (horizontal < 4)
        keys.emplace_back("left");
    else if (horizontal < 8)
        keys.emplace_back("right");
    else if (horizontal == 8)
        keys.insert(keys.end(), {"left", "right"});
    if (chance(random, 0.2))
        keys.emplace_back("up");
    if (chance(random, 0.15))
        keys.emplace_back("down");
    if (chance(random, 0.4))
        keys.emplace_back("space");
    if (chance(random, 0.03))
        keys.emplace_back("s");
    if (chance(random, 0.01))
        keys.emplace_back("enter");
    if (chance(random, 0.004)) {
        keys.emplace_back("l");
        if (chance(random, 0.7))
            keys.push_back(std::to_string(std::uniform_int_distribution<int>(0, 9)(random)));
    }
    if (chance(random, 0.0002))
        keys.emplace_back("q");
    if (keys.empty())
        return "-";
    std::string joined = keys.front();
    for (std::size_t i = 1; i < keys.size(); ++i)
        joined += "+" + keys[i];
    return joined;
}

} // namespace

std::string randomKeyScript(std::mt19937_64& random, std::int64_t frames)
{
    std::string script;
    while (frames > 0) {
        // Mostly short taps and runs, sometimes a long hold that carries the hero across an area.
        const std::int64_t longest = chance(random, 0.1) ? 400 : 40;
        const std::int64_t count = std::min(frames, std::uniform_int_distribution<std::int64_t>(1, longest)(random));
        script += std::to_string(count) + " " + randomKeys(random) + "\n";
        frames -= count;
    }
    return script;
}

} // namespace poronpa::soak
