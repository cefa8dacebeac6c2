#pragma once

#include <optional>
#include <string_view>

namespace poronpa {

/// Reads a tile number the way the Replace boxes take it: blanks around the number are skipped,
/// an optional sign, digits and a decimal fraction are read, and the value is rounded to the
/// nearest whole number with exact halves going to the even neighbour (2.5 is 2, 3.5 is 4).
/// Returns nothing when the text holds no number (empty, "abc"), holds anything after it ("12abc",
/// "1e3", "0x10"), or the result lies outside 0..255.
std::optional<int> readTileNumber(std::string_view text);

} // namespace poronpa
