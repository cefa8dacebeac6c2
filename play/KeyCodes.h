#pragma once

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
} // namespace keys

} // namespace poronpa
