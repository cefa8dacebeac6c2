#pragma once

#include <array>
#include <string_view>

namespace poronpa {

/// The virtual key codes the game reads.
namespace keys {
constexpr int Enter = 13;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Digit0 = 48;
constexpr int L = 76;
constexpr int Q = 81;
constexpr int S = 83;

constexpr int digit(int d) { return Digit0 + d; }

/// A key as key scripts name it.
struct Named {
    std::string_view name;
    int code;
};

/// Every key the game reads, by the name key scripts give it.
constexpr std::array<Named, 19> Names{{
    {"left", Left}, {"right", Right}, {"up", Up}, {"down", Down}, {"space", Space}, {"enter", Enter},
    {"s", S}, {"l", L}, {"q", Q},
    {"0", digit(0)}, {"1", digit(1)}, {"2", digit(2)}, {"3", digit(3)}, {"4", digit(4)},
    {"5", digit(5)}, {"6", digit(6)}, {"7", digit(7)}, {"8", digit(8)}, {"9", digit(9)},
}};

/// The code of a key name, or -1.
constexpr int codeOf(std::string_view name)
{
    for (const Named& key : Names)
        if (key.name == name)
            return key.code;
    return -1;
}
} // namespace keys

} // namespace poronpa
