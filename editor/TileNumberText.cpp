#include "editor/TileNumberText.h"

#include "world/MapGrid.h"
#include "world/TileCode.h"

#include <algorithm>
#include <vector>

namespace poronpa {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::optional<int> readTileNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Anything beyond 255 is out of range whatever follows, so the whole part stops growing
    // there instead of overflowing on a long row of digits.
    constexpr long Beyond = 1000;
    long whole = 0;
    bool digits = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        whole = std::min(Beyond, whole * 10 + (text[i] - '0'));
        digits = true;
    }

    // The fraction is judged digit by digit rather than through a floating-point value, so that
    // an exact half is recognised as one.
    int firstFractionDigit = 0;
    bool restOfFractionNonZero = false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (i < text.size() && isDigit(text[i])) {
            firstFractionDigit = text[i++] - '0';
            digits = true;
        }
        for (; i < text.size() && isDigit(text[i]); ++i)
            restOfFractionNonZero = restOfFractionNonZero || text[i] != '0';
    }

    // A text without a number would otherwise count as 0, and Replace would quietly turn every
    // empty cell of the world into another tile. Text after the number ("1e3", "0x10", "12abc")
    // means the number read is not the one meant, so it is refused rather than cut off.
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (!digits || i != text.size())
        return std::nullopt;
    const bool roundUp = firstFractionDigit > 5 ||
                         (firstFractionDigit == 5 && (restOfFractionNonZero || whole % 2 == 1));
    const long magnitude = whole + (roundUp ? 1 : 0);
    const long value = negative ? -magnitude : magnitude;
    if (value < 0 || value > 255)
        return std::nullopt;
    return static_cast<int>(value);
}

std::string stampText(const Stamp& stamp)
{
    std::string text;
    text.reserve(static_cast<std::size_t>((2 * stamp.width + 1) * stamp.height));
    for (int row = 0; row < stamp.height; ++row) {
        for (int column = 0; column < stamp.width; ++column)
            text += tileCode(stamp.at(column, row));
        text += '\n';
    }
    return text;
}

std::optional<Stamp> readStampText(std::string_view text)
{
    // Judged line by line, so that a clipboard holding megabytes of something else is refused
    // at its 51st line rather than read whole.
    std::vector<std::string_view> rows;
    bool ended = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (rows.empty() && (line.empty() || line.front() == ';'))
            continue;
        ended = ended || line.empty();
        if (line.empty())
            continue;
        if (ended || rows.size() == MapGrid::AreaCells)
            return std::nullopt;
        rows.push_back(line);
    }
    if (rows.empty())
        return std::nullopt;

    Stamp stamp;
    stamp.width = static_cast<int>(rows.front().size() / 2);
    stamp.height = static_cast<int>(rows.size());
    if (stamp.width == 0 || stamp.width > MapGrid::AreaCells)
        return std::nullopt;
    for (std::string_view row : rows) {
        if (row.size() != static_cast<std::size_t>(2 * stamp.width))
            return std::nullopt;
        for (std::size_t at = 0; at < row.size(); at += 2) {
            const auto tile = readTileCode(row.substr(at, 2));
            if (!tile)
                return std::nullopt;
            stamp.tiles.push_back(*tile);
        }
    }
    return stamp;
}

} // namespace poronpa
