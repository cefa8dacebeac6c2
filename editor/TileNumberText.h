#pragma once

#include "editor/Stamp.h"

#include <optional>
#include <string>
#include <string_view>

namespace poronpa {

/// Reads a tile number the way the Replace boxes take it: blanks around the number are skipped,
/// an optional sign, digits and a decimal fraction are read, and the value is rounded to the
/// nearest whole number with exact halves going to the even neighbour (2.5 is 2, 3.5 is 4).
/// Returns nothing when the text holds no number (empty, "abc"), holds anything after it ("12abc",
/// "1e3", "0x10"), or the result lies outside 0..255.
std::optional<int> readTileNumber(std::string_view text);

/// The stamp as the world's text sources write an area without a legend: a line for each row,
/// two upper-case hexadecimal digits for each cell. Another editor reads it back with
/// readStampText, so that parts of one world can be pasted into another.
std::string stampText(const Stamp& stamp);

/// Reads rows written as stampText writes them, as they come from an area's text source too:
/// empty lines and note lines starting with ';' before the rows, line ends of either kind, blanks
/// at the ends of lines and empty lines after the rows are passed over. Returns nothing for any
/// other text (rows of different lengths, a character that is no upper-case hexadecimal digit, an
/// odd number of digits, a row after an empty line) and for more rows or columns than an area
/// has, which could never be put down whole.
std::optional<Stamp> readStampText(std::string_view text);

} // namespace poronpa
