#pragma once

#include <cstdint>

namespace poronpa::play {

/// The game's own source of random numbers: a 24-bit linear congruential generator that always
/// starts from the same seed, so every run of the program draws the same sequence.
class PseudoRandom {
public:
    PseudoRandom() = default;
    /// A generator that has come to this point of its sequence (24 bits).
    explicit PseudoRandom(std::uint32_t state) : state_(state & Mask) {}

    /// How far along its sequence the generator is: what the constructor above takes.
    std::uint32_t state() const { return state_; }

    /// The next number, uniform in [0, 1).
    double next()
    {
        state_ = (state_ * Multiplier + Increment) & Mask;
        return static_cast<double>(state_) / static_cast<double>(Mask + 1);
    }

    bool operator==(const PseudoRandom& other) const = default;

private:
    static constexpr std::uint32_t Multiplier = 1140671485u;
    static constexpr std::uint32_t Increment = 12820163u;
    static constexpr std::uint32_t Mask = 0xFFFFFFu;
    std::uint32_t state_ = 0x50000u;
};

} // namespace poronpa::play
