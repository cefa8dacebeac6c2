#include "app/sim/SimOptions.h"

#include <charconv>
#include <string_view>

namespace poronpa::sim {

namespace {

template <typename T> bool parseNumber(std::string_view text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

/// Splits "A,B" into its two halves.
bool splitPair(std::string_view text, std::string_view& first, std::string_view& second)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return false;
    first = text.substr(0, comma);
    second = text.substr(comma + 1);
    return true;
}

bool parseArea(std::string_view text, std::int16_t& x, std::int16_t& y)
{
    std::string_view a, b;
    return splitPair(text, a, b) && parseNumber(a, x) && parseNumber(b, y) && x >= 0 && x <= 4 && y >= 0 && y <= 4;
}

bool parsePosition(std::string_view text, float& x, float& y)
{
    std::string_view a, b;
    return splitPair(text, a, b) && parseNumber(a, x) && parseNumber(b, y) && insideBand(x) && insideBand(y);
}

bool parseItems(std::string_view text, std::vector<int>& items)
{
    items.clear();
    if (text.empty())
        return true;
    for (;;) {
        const std::size_t comma = text.find(',');
        int item = 0;
        if (!parseNumber(text.substr(0, comma), item) || item < 0 || item > 9)
            return false;
        items.push_back(item);
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

} // namespace

bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error)
{
    // What a replay decides for itself cannot also come from the command line.
    std::string startFlag;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        if (flag == "--continue" || flag == "--save" || flag == "--area" || flag == "--pos" || flag == "--items" ||
            flag == "--switch" || flag == "--framerate" || flag == "--input")
            startFlag = flag;
        if (flag == "--continue") {
            options.continueGame = true;
            continue;
        }
        if (flag == "--trace") {
            options.trace = true;
            continue;
        }
        if (flag == "--check") {
            options.check = true;
            continue;
        }

        const bool takesValue = flag == "--map" || flag == "--save" || flag == "--area" || flag == "--pos" ||
                                flag == "--items" || flag == "--switch" || flag == "--framerate" ||
                                flag == "--input" || flag == "--frames" || flag == "--replay";
        if (!takesValue) {
            error = "unknown argument \"" + flag + "\"";
            return false;
        }
        if (i + 1 == args.size()) {
            error = flag + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        const auto bad = [&](const char* expected) {
            error = flag + " \"" + value + "\": expected " + expected;
            return false;
        };

        if (flag == "--map" || flag == "--save" || flag == "--input" || flag == "--replay") {
            if (value.empty())
                return bad("a file name");
            (flag == "--map" ? options.mapFile : flag == "--save" ? options.saveFile : flag == "--input" ? options.inputFile : options.replayFile) = value;
        } else if (flag == "--area") {
            if (!parseArea(value, options.start.AreaX, options.start.AreaY))
                return bad("AX,AY with each 0 to 4");
        } else if (flag == "--pos") {
            if (!parsePosition(value, options.start.HeroX, options.start.HeroY))
                return bad("X,Y with each from 32 to 1536");
        } else if (flag == "--items") {
            if (!parseItems(value, options.start.items))
                return bad("comma-separated item numbers 0 to 9");
        } else if (flag == "--switch") {
            if (value != "0" && value != "1")
                return bad("0 or 1");
            options.start.SwitchOn = value == "1" ? 1 : 0;
        } else if (flag == "--framerate") {
            if (!parseNumber(value, options.frameRate))
                return bad("a whole number");
        } else {
            std::int64_t frames = 0;
            if (!parseNumber(value, frames) || frames < 0)
                return bad("a whole number of frames from 0");
            options.frames = frames;
        }
    }
    if (options.replayFile && !startFlag.empty()) {
        error = startFlag + " cannot go with --replay: the replay brings its own start, saves, frame rate and keys";
        return false;
    }
    if (options.check && !options.replayFile) {
        error = "--check needs --replay";
        return false;
    }
    return true;
}

} // namespace poronpa::sim
