#pragma once

#include <cstdint>
#include <string>

namespace poronpa::play {

/// A run's time as the timer shows it: its frames at the default frame rate, as minutes, seconds
/// and hundredths, "M:SS.cc" ("12:03.45"; the minutes grow as they must). The hundredths are cut,
/// not rounded, so the time shown never runs ahead of the frames. An unknown count (a negative
/// one) reads "-:--.--".
std::string runTimeText(std::int64_t frames);

} // namespace poronpa::play
