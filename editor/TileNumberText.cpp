#include "editor/TileNumberText.h"

#include <algorithm>

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

} // namespace poronpa
