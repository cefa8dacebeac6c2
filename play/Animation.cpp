#include "play/Animation.h"

#include "play/PlayNumbers.h"
#include "world/TileFacts.h"

#include <cmath>

namespace poronpa::play {

namespace {

int flameJetFrame(const TileAnimation& a, int clock)
{
    // Mostly idle; at the start of its cycle it flares up through the small flames and dies
    // down again.
    const int still = a.still;
    const int m = clock % a.period;
    if (m >= 21)
        return still;
    if (m <= 2 || (m >= 18 && m <= 20))
        return still - 1;
    return (m / 5) % 2 == 0 ? still - 2 : still - 3;
}

} // namespace

bool isAnimatedTile(std::uint8_t tile) { return isAnimated(tile); }

int tileAnimationFrame(std::uint8_t tile, int c, int s)
{
    const TileAnimation& a = tileFacts(tile).animation;
    switch (a.motion) {
    case TileMotion::Still: return NoFrame;
    case TileMotion::TwoFrames: return a.still + (c / a.period) % 2;
    case TileMotion::Blink: return a.still - s * (1 + (c / a.period) % 2);
    case TileMotion::RunOn: return a.still + s * ((c / a.period) % 4);
    case TileMotion::RunBack: return a.still - s * ((c / a.period) % 4);
    case TileMotion::FlameJet: return flameJetFrame(a, c);
    }
    return NoFrame;
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
