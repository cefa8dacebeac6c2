#pragma once

#include "app/base/SafeFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace poronpa::records {

/// One run that reached the ending, as a world's best times keep it.
struct BestTime {
    std::int32_t frames = 0; ///< the run's frames from its new game (play/RunTime.h shows them)
    std::string date;        ///< when it finished, local time: "2025-06-01 14:03:22 +0900"
    bool everyItem = false;  ///< every item was held at the ending

    bool operator==(const BestTime&) const = default;
};

/// How many runs a world's list keeps.
inline constexpr std::size_t KeptBestTimes = 5;

/// Puts `run` into `list` (fastest first; a run no faster than one listed comes after it, so the
/// older of two equal times keeps its place), keeping the KeptBestTimes fastest. Returns its place,
/// 0 for the best, or nothing when it is not among them.
std::optional<std::size_t> placeBestTime(std::vector<BestTime>& list, const BestTime& run);

/// How a run of the list is shown (on the ending and the options screen): its place from 1, its
/// time as the timer shows it, the day it finished, and a star when every item was held.
std::string bestTimeLine(std::size_t place, const BestTime& run);

/// The list kept in `file`, fastest first: one run a line, "FRAMES<TAB>DATE<TAB>all|some".
/// A missing or unreadable file is an empty list; a line that is no run is passed over, and a
/// file put in order by hand is read in order, five at most.
std::vector<BestTime> readBestTimes(const std::filesystem::path& file);

/// Adds `run` to the list in `file`, in one turn with every other writer of it so that two games
/// finishing at once both count. `place` says where it went (as placeBestTime). A file that cannot
/// be written is left as it was, and the status says why.
FileStatus recordBestTime(const std::filesystem::path& file, const BestTime& run, std::optional<std::size_t>& place);

} // namespace poronpa::records
