#include "tools/soak/TraceCheck.h"

#include "play/StartAndBand.h"

#include <array>
#include <charconv>
#include <cmath>

namespace poronpa::soak {

namespace {

enum Column { Frame, AreaX, AreaY, HeroX, HeroY, HeroVX, HeroVY, ColumnsChecked };

template <typename T> bool parse(std::string_view text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

} // namespace

std::string TraceCheck::line(std::string_view text)
{
    std::array<std::string_view, ColumnsChecked> columns;
    std::size_t start = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            return "too few columns";
        columns[i] = text.substr(start, comma - start);
        start = comma + 1;
    }

    std::int64_t frame = 0;
    if (!parse(columns[Frame], frame) || frame != frame_ + 1)
        return "frame " + std::string(columns[Frame]) + " does not follow frame " + std::to_string(frame_);
    frame_ = frame;

    for (const Column c : {AreaX, AreaY}) {
        int area = -1;
        if (!parse(columns[c], area) || area < 0 || area > 4)
            return "area " + std::string(columns[c]) + " is outside the world";
    }
    for (const Column c : {HeroX, HeroY, HeroVX, HeroVY}) {
        float value = 0;
        if (!parse(columns[c], value) || !std::isfinite(value))
            return "value " + std::string(columns[c]) + " is not a finite number";
        if ((c == HeroX || c == HeroY) && !insideBand(value))
            return "hero position " + std::string(columns[c]) + " is outside the band the area edges keep";
    }
    return {};
}

std::string TraceCheck::end(std::string_view text) const
{
    const std::string expected = "end frame=" + std::to_string(frame_) + " ";
    if (text.substr(0, expected.size()) != expected)
        return "the closing line does not count the " + std::to_string(frame_) + " frames traced";
    return {};
}

} // namespace poronpa::soak
