#include "play/Animation.h"

#include "play/PlayNumbers.h"

#include <array>
#include <cmath>

namespace poronpa::play {

namespace {

/// Two pictures that take turns every `period` frames.
int alternating(int first, int clock, int period) { return first + (clock / period) % 2; }

int flameJetFrame(int clock)
{
    // Mostly idle; around count 0 it flares up through the small flames and dies down again.
    const int m = clock % 100;
    if (m >= 21)
        return 91;
    if (m <= 2 || (m >= 18 && m <= 20))
        return 90;
    return (m / 5) % 2 == 0 ? 89 : 88;
}

constexpr std::array<bool, 256> animatedTiles()
{
    std::array<bool, 256> table{};
    for (int t : {4, 5, 7, 12, 15, 17, 18, 25, 26, 32, 49, 54, 56, 90, 91, 92, 93, 143, 154, 155, 158, 159, 172})
        table[static_cast<std::size_t>(t)] = true;
    return table;
}

constexpr std::array<bool, 256> AnimatedTiles = animatedTiles();

} // namespace

bool isAnimatedTile(std::uint8_t tile) { return AnimatedTiles[tile]; }

int tileAnimationFrame(std::uint8_t tile, int c, int s)
{
    switch (tile) {
    case 4: return alternating(106, c, 8);
    case 5: return alternating(108, c, 10);
    case 7: return alternating(126, c, 4);
    case 12: return alternating(104, c, 8);
    case 15: return alternating(124, c, 4);
    case 17: return alternating(112, c, 6);
    case 18: return alternating(114, c, 4);
    case 25: return alternating(120, c, 6);
    case 26: return alternating(122, c, 4);
    case 32: return alternating(100, c, 10);
    case 49: return alternating(110, c, 25);
    case 54: return flameJetFrame(c);
    case 56: return alternating(102, c, 25);
    case 90: return alternating(128, c, 25);
    case 91: return alternating(130, c, 25);
    case 92: return alternating(132, c, 25);
    case 93: return alternating(134, c, 25);
    case 143: return 94 - s * (1 + (c / 5) % 2);
    case 154: return 96 + s * ((c / 5) % 4);
    case 155: return 99 - s * ((c / 5) % 4);
    case 158: return 116 + s * (c % 4);
    case 159: return 119 - s * (c % 4);
    case 172: return 138 - s * (1 + (c / 10) % 2);
    default: return NoFrame;
    }
}

int heroAnimationFrame(const GameState& s)
{
    const int facing = s.Facing;
    const int clock = s.FrameClock;
    switch (s.HeroState) {
    case StateFellOut: return NoFrame;
    case StateBurning: return 16 + (clock / 10) % 2 + 4 * facing;
    case StateDrowning: return 18 + 4 * ((clock / 5) % 2);
    case StateImpaled: return 19 + 4 * facing;
    case StateSinking: return 29 + (clock / 18) % 2;
    default: break;
    }
    if (s.HeroState == StateArrived && s.EventTimer < 3)
        return 31;
    if (s.HeroState == StateSwimming) {
        if (s.DiaryTimer > 0)
            return 27;
        if (s.JumpCount > 0)
            return 9 + 4 * facing;
        return 10 + inCell(s.HeroX) / 16 + 4 * facing;
    }
    if (s.DiaryTimer > 0)
        return 26;
    if (s.HeroState == StateClimbing || s.RopeRow > 0)
        return 8 + 4 * ((inCell(s.HeroY) + inCell(s.HeroX)) / 32);
    if (s.HeroState == StateFloating)
        return 24 + facing;
    if (s.JumpCount > 0)
        return 1 + 4 * facing;
    if (std::fabs(s.HeroVX) >= 0.01)
        return 2 + inCell(s.HeroX) / 16 + 4 * facing;
    return 4 * facing;
}

} // namespace poronpa::play
