#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace poronpa {

/// A tile number as the world's text sources write it without a legend: two upper-case
/// hexadecimal digits, "00" to "FF".
inline std::string tileCode(std::uint8_t tile)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    return {Digits[tile >> 4], Digits[tile & 15]};
}

/// The tile number of a code of two upper-case hexadecimal digits, or nothing for any other text.
inline std::optional<std::uint8_t> readTileCode(std::string_view code)
{
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    if (code.size() != 2 || digit(code[0]) < 0 || digit(code[1]) < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(16 * digit(code[0]) + digit(code[1]));
}

} // namespace poronpa
