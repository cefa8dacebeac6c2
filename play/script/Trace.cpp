#include "play/script/Trace.h"

#include <charconv>

namespace poronpa::sim {

namespace {

std::string itemFlags(const GameState& state)
{
    std::string flags;
    for (int i = 0; i < ItemCount; ++i)
        flags += state.ItemHeld[i] != 0 ? '1' : '0';
    return flags;
}

std::string joined(const std::vector<int>& numbers)
{
    std::string text;
    for (const int n : numbers) {
        if (!text.empty())
            text += ';';
        text += std::to_string(n);
    }
    return text;
}

} // namespace

std::string formatFloat(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string traceHeader()
{
    return "frame,area_x,area_y,hero_x,hero_y,hero_vx,hero_vy,state,jump_count,event_timer,items,switch,sounds,dialog";
}

std::string traceLine(std::int64_t frame, const GameState& state, const FrameRequests& requests)
{
    std::string line = std::to_string(frame);
    for (const std::string& field : {
             std::to_string(state.AreaX), std::to_string(state.AreaY),
             formatFloat(state.HeroX), formatFloat(state.HeroY), formatFloat(state.HeroVX), formatFloat(state.HeroVY),
             std::to_string(state.HeroState), std::to_string(state.JumpCount), std::to_string(state.EventTimer),
             itemFlags(state), std::to_string(state.SwitchOn), joined(requests.sounds), joined(requests.boxContents)}) {
        line += ',';
        line += field;
    }
    return line;
}

std::string endLine(std::int64_t frames, const GameState& state, bool ending)
{
    std::int64_t deaths = 0;
    for (const auto& column : state.DeathCount)
        for (const std::int32_t count : column)
            deaths += count;
    return "end frame=" + std::to_string(frames) + " area=" + std::to_string(state.AreaX) + "," + std::to_string(state.AreaY) +
           " pos=" + formatFloat(state.HeroX) + "," + formatFloat(state.HeroY) + " state=" + std::to_string(state.HeroState) +
           " items=" + itemFlags(state) + " deaths=" + std::to_string(deaths) + " ending=" + (ending ? "yes" : "no");
}

} // namespace poronpa::sim
