#include "play/FramePacing.h"

#include <cmath>
#include <ctime>

namespace poronpa::play {

std::int32_t frameIntervalFor(std::int32_t frameRate)
{
    if (frameRate < 50 || frameRate > 120)
        return DefaultFrameInterval;
    return static_cast<std::int32_t>(std::nearbyint(1000.0 / frameRate + 1.0));
}

double secondsSinceMidnight()
{
    std::timespec now{};
    std::timespec_get(&now, TIME_UTC);
    std::tm local{};
    // Unlike localtime(), the reentrant form does not look at the zone's file again on every call.
    localtime_r(&now.tv_sec, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + static_cast<double>(now.tv_nsec / 1000000) / 1000.0;
}

void FramePacer::begin(std::int64_t now, std::int32_t interval)
{
    due_ = now;
    interval_ = interval;
}

std::int64_t FramePacer::delay(std::int64_t now) const
{
    const std::int64_t start = due_ + interval_ + 1;
    return start > now ? start - now : 0;
}

void FramePacer::frameStarts(std::int64_t now)
{
    due_ += interval_;
    const std::int64_t earliest = now - 2 * static_cast<std::int64_t>(interval_);
    if (due_ < earliest)
        due_ = earliest;
}

void FrameRateCount::begin()
{
    shownAt_ = 0;
    count_ = 0;
}

std::optional<std::string> FrameRateCount::frame(double secondsSinceMidnight)
{
    // A clock that went back past midnight starts a new second at once.
    const auto now = static_cast<float>(secondsSinceMidnight);
    std::optional<std::string> text;
    if (static_cast<double>(shownAt_) + 1 < now || now < shownAt_) {
        text = std::to_string(count_) + " fps";
        count_ = 0;
        shownAt_ = now;
    }
    ++count_;
    return text;
}

} // namespace poronpa::play
