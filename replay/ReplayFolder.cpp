#include "replay/ReplayFolder.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <vector>

namespace poronpa::replay {

namespace {

constexpr std::string_view Extension = ".replay";
// "YYYY-MM-DD_HH-MM-SS": digits everywhere but these places.
constexpr std::string_view Stamp = "0000-00-00_00-00-00";

bool matchesStamp(std::string_view text)
{
    if (text.size() != Stamp.size())
        return false;
    for (std::size_t i = 0; i < Stamp.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (Stamp[i] == '0' ? !digit : text[i] != Stamp[i])
            return false;
    }
    return true;
}

} // namespace

std::string replayName(std::chrono::system_clock::time_point when, int serial)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char stamp[32];
    std::string name(stamp, std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local));
    if (serial > 1)
        name += "-" + std::to_string(serial);
    return name + std::string(Extension);
}

bool isOwnReplayName(std::string_view name)
{
    if (!name.ends_with(Extension))
        return false;
    name.remove_suffix(Extension.size());
    if (name.size() == Stamp.size())
        return matchesStamp(name);
    // A serial: "-N", N from 2 without leading zeros.
    const std::string_view serial = name.substr(std::min(name.size(), Stamp.size()));
    return matchesStamp(name.substr(0, Stamp.size())) && serial.size() >= 2 && serial[0] == '-' && serial[1] != '0' &&
           std::all_of(serial.begin() + 1, serial.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::filesystem::path newReplayPath(const std::filesystem::path& folder, std::chrono::system_clock::time_point now)
{
    for (int serial = 1;; ++serial) {
        std::filesystem::path path = folder / replayName(now, serial);
        std::error_code error;
        if (!std::filesystem::exists(path, error))
            return path;
    }
}

void pruneReplays(const std::filesystem::path& folder, std::size_t keep, const std::filesystem::path& current)
{
    struct Own {
        std::string stamp; ///< sorts by time, a serial after its second's first replay
        std::filesystem::path path;
    };
    std::vector<Own> own;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!isOwnReplayName(name) || !entry.is_regular_file(error))
            continue;
        std::string stamp = name.substr(0, Stamp.size());
        const std::string serial = name.substr(Stamp.size(), name.size() - Stamp.size() - Extension.size());
        // "-2" before "-10": the serial padded to a fixed width.
        stamp += std::string(12 - std::min<std::size_t>(12, serial.size()), '0') + serial.substr(serial.empty() ? 0 : 1);
        own.push_back({stamp, entry.path()});
    }
    if (own.size() <= keep)
        return;
    std::sort(own.begin(), own.end(), [](const Own& a, const Own& b) { return a.stamp > b.stamp; });
    for (std::size_t i = keep; i < own.size(); ++i)
        if (own[i].path != current)
            std::filesystem::remove(own[i].path, error);
}

} // namespace poronpa::replay
