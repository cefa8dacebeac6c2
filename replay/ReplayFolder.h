#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace poronpa::replay {

/// How many of its own replays the game keeps; older ones are removed, renamed ones never.
inline constexpr std::size_t KeptReplays = 20;

/// The name the game gives a replay begun at this local time: "2025-06-01_14-03-22.replay", with
/// "-2", "-3", ... after the time for a second one begun in the same second.
std::string replayName(std::chrono::system_clock::time_point when, int serial = 1);

/// Whether a file name is one the game gave (and so one it may remove).
bool isOwnReplayName(std::string_view name);

/// A name in `folder` for a replay begun now that no file there has yet.
std::filesystem::path newReplayPath(const std::filesystem::path& folder, std::chrono::system_clock::time_point now);

/// Removes the game's own replays in `folder` beyond the newest `keep` by name (names sort by
/// time), never `current`; files of any other name are left alone. Files that cannot be removed
/// stay.
void pruneReplays(const std::filesystem::path& folder, std::size_t keep, const std::filesystem::path& current);

} // namespace poronpa::replay
