#pragma once

#include <optional>
#include <string_view>

namespace poronpa {

/// Reads a tile number the way the Replace boxes take it: blanks before the number are skipped,
/// an optional sign, digits and a fraction are read up to the first character that cannot
/// continue the number, and the value is rounded to the nearest whole number with exact halves
/// going to the even neighbour (2.5 is 2, 3.5 is 4, "12abc" is 12). Returns nothing when the text
/// holds no number (empty, "abc") or the result lies outside 0..255.
std::optional<int> readTileNumber(std::string_view text);

} // namespace poronpa
