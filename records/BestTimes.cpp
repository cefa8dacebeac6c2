#include "records/BestTimes.h"

#include "play/RunTime.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace poronpa::records {

namespace {

// Five short lines; a file far longer is none of ours and is neither read nor rewritten whole.
constexpr std::size_t MostBytes = 64 * 1024;

std::optional<BestTime> parseLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const auto firstTab = line.find('\t');
    const auto lastTab = line.rfind('\t');
    if (firstTab == std::string_view::npos || firstTab == lastTab)
        return std::nullopt;
    const std::string_view frames = line.substr(0, firstTab);
    const std::string_view items = line.substr(lastTab + 1);
    BestTime run;
    const auto [end, error] = std::from_chars(frames.data(), frames.data() + frames.size(), run.frames);
    if (error != std::errc() || end != frames.data() + frames.size() || run.frames < 0 || (items != "all" && items != "some"))
        return std::nullopt;
    run.date = std::string(line.substr(firstTab + 1, lastTab - firstTab - 1));
    run.everyItem = items == "all";
    return run;
}

std::vector<BestTime> parseList(const std::vector<std::uint8_t>& bytes)
{
    std::vector<BestTime> list;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto end = std::min(text.find('\n', at), text.size());
        if (const std::optional<BestTime> run = parseLine(text.substr(at, end - at)))
            placeBestTime(list, *run);
        at = end + 1;
    }
    return list;
}

std::string listText(const std::vector<BestTime>& list)
{
    std::string text;
    for (const BestTime& run : list) {
        // A tab or a line end in the date would split the line: the date is ours, but kept safe.
        std::string date = run.date;
        std::replace_if(date.begin(), date.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        text += std::to_string(run.frames) + '\t' + date + '\t' + (run.everyItem ? "all" : "some") + '\n';
    }
    return text;
}

} // namespace

std::optional<std::size_t> placeBestTime(std::vector<BestTime>& list, const BestTime& run)
{
    const auto at = std::upper_bound(list.begin(), list.end(), run,
                                     [](const BestTime& a, const BestTime& b) { return a.frames < b.frames; });
    const auto place = static_cast<std::size_t>(at - list.begin());
    if (place >= KeptBestTimes)
        return std::nullopt;
    list.insert(at, run);
    if (list.size() > KeptBestTimes)
        list.resize(KeptBestTimes);
    return place;
}

std::string bestTimeLine(std::size_t place, const BestTime& run)
{
    return std::to_string(place + 1) + ".  " + play::runTimeText(run.frames) + "  " + run.date.substr(0, run.date.find(' ')) +
           (run.everyItem ? "  ★" : "");
}

std::vector<BestTime> readBestTimes(const std::filesystem::path& file)
{
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(file, bytes, nullptr, MostBytes).ok())
        return {};
    return parseList(bytes);
}

FileStatus recordBestTime(const std::filesystem::path& file, const BestTime& run, std::optional<std::size_t>& place)
{
    place.reset();
    FileStatus status = updateFile(file, MostBytes, LongerFile::Refuse, [&](std::vector<std::uint8_t>& bytes, bool) {
        std::vector<BestTime> list = parseList(bytes);
        place = placeBestTime(list, run);
        const std::string text = listText(list);
        bytes.assign(text.begin(), text.end());
    });
    if (!status.ok())
        place.reset();
    return status;
}

} // namespace poronpa::records
