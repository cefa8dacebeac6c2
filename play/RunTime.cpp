#include "play/RunTime.h"

#include "play/FramePacing.h"

#include <cstdio>

namespace poronpa::play {

std::string runTimeText(std::int64_t frames)
{
    if (frames < 0)
        return "-:--.--";
    const std::int64_t hundredths = frames * DefaultFrameInterval / 10;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", static_cast<long long>(hundredths / 6000),
                  static_cast<long long>(hundredths / 100 % 60), static_cast<long long>(hundredths % 100));
    return text;
}

} // namespace poronpa::play
