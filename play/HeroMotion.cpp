#include "play/GameEngineImpl.h"

#include "audio/SoundNumbers.h"
#include "play/KeyCodes.h"
#include "play/PlayNumbers.h"
#include "play/StartAndBand.h"
#include "world/TileFacts.h"

#include <algorithm>

namespace poronpa {

using play::cellOf;
using play::nearest;
using play::stored;
using play::when;

namespace {

constexpr float SpeedLimit = 15;

} // namespace

void GameEngine::Impl::motionStep()
{
    // Frames of thrust a jump or a swimming stroke may use; the jump shoes add two.
    const int thrustLimit = 7 + 2 * s.ItemHeld[JumpShoes];
    switch (s.HeroState) {
    case StateFree:
    case StatePlaced: {
        s.HeroVX = stored(s.HeroVX * 0.98);
        s.HeroVY = stored(s.HeroVY + 0.25);
        const double grip = 1 - 0.6 * s.OnSlippery;
        if (held(keys::Left)) {
            s.HeroVX = stored(s.HeroVX - (0.15 * when(s.HeroVX > -4) + 0.4 * when(s.JumpCount == 0)) * grip);
            s.Facing = 1;
        }
        if (held(keys::Right)) {
            s.HeroVX = stored(s.HeroVX + (0.15 * when(s.HeroVX < 4) + 0.4 * when(s.JumpCount == 0)) * grip);
            s.Facing = 0;
        }
        if (held(keys::Space) && s.JumpCount < thrustLimit) {
            s.HeroVY = stored(s.HeroVY - 1.0);
            ++s.JumpCount;
            if (s.JumpCount == 1) {
                s.HeroVX = stored(static_cast<double>(s.HeroVX) + s.ConveyorPush);
                if (!isSolid(cellAt(cellOf(s.HeroX + 15.0), cellOf(s.HeroY - 1.0))))
                    playSound(sounds::Jump);
            }
        }
        if (s.RopeRow <= 0 && held(keys::Enter) && s.ItemHeld[Rope] == 1)
            throwRope();
        break;
    }
    case StateClimbing:
        if (held(keys::Up)) {
            s.HeroVY = -3;
            s.JumpCount = 3;
        }
        if (held(keys::Down))
            s.HeroVY = 3;
        if (held(keys::Right))
            s.HeroVX = 3;
        if (held(keys::Left))
            s.HeroVX = -3;
        break;
    case StateSwimming:
        s.HeroVX = stored(s.HeroVX * 0.82);
        s.HeroVY = stored(s.HeroVY + 0.07);
        if (held(keys::Right)) {
            s.HeroVX = 2;
            s.Facing = 0;
        }
        if (held(keys::Left)) {
            s.HeroVX = -2;
            s.Facing = 1;
        }
        if (held(keys::Space)) {
            if (s.JumpCount < thrustLimit) {
                s.HeroVY = stored(s.HeroVY - 0.6);
                ++s.JumpCount;
            } else {
                s.HeroVY = stored(s.HeroVY - 0.03);
            }
        }
        break;
    case StateFloating:
        s.HeroVX = stored(s.HeroVX * 0.88);
        s.HeroVY = stored(s.HeroVY + 0.03);
        if (held(keys::Right)) {
            s.HeroVX = 2;
            s.Facing = 0;
        }
        if (held(keys::Left)) {
            s.HeroVX = -2;
            s.Facing = 1;
        }
        if (held(keys::Space))
            s.HeroVY = -1.5f;
        break;
    case StateBurning:
        s.HeroVX = stored(s.HeroVX * 0.96);
        s.HeroVY = stored(s.HeroVY + 0.25);
        break;
    default:
        break;
    }
}

void GameEngine::Impl::throwRope()
{
    // The rope goes straight up from the hero's centre through every cell it passes and hooks
    // the first claw. Never one in the area's top row: the haul ends one row below the claw's,
    // which would lie outside the area.
    s.RopeRow = -1;
    const int ownRow = cellOf(s.HeroY);
    const int c = cellOf(s.HeroX + 15.0);
    for (int r = ownRow; r >= 1; --r) {
        const std::uint8_t t = cellAt(c, r);
        if (tileKind(t) == TileKind::Claw) {
            if (r != ownRow)
                playSound(sounds::RopeHooked);
            s.RopeRow = r + 1;
            break;
        }
        if (!ropePasses(t))
            break;
    }
    if (s.RopeRow > 0) {
        s.HeroState = StateFloating;
        s.HeroX = static_cast<float>(c * 32);
        const int x = nearest(s.HeroX + 15.0);
        const int top = s.RopeRow * 32 - 24;
        setRopeLine(0, true, x, top, ownRow * 32);
        setRopeLine(1, true, x, top, ownRow * 32 + 32);
    }
}

void GameEngine::Impl::moveHero()
{
    if (s.RopeRow > 0) {
        // Hauled up 4 pixels a frame whatever is held, until the hero's top is just below the
        // claw's row; the two lines show one rope from the claw to the floor it was thrown from.
        s.HeroState = StateClimbing;
        s.HeroVX = 0;
        s.HeroVY = 0;
        s.HeroY = stored(s.HeroY - 4.0);
        setRopeLine(0, true, s.RopeLines[0].x, s.RopeLines[0].y1, nearest(s.HeroY + 2.0));
        setRopeLine(1, true, s.RopeLines[1].x, nearest(s.HeroY + 32.0), s.RopeLines[1].y2);
        if (s.HeroY <= static_cast<double>((s.RopeRow - 1) * 32)) {
            s.HeroY = static_cast<float>((s.RopeRow - 1) * 32 + 1);
            releaseRope();
        }
    }
    if (s.HeroVY > 0.3) {
        s.JumpCount = 999;
        s.CrumbleTimer = 0;
    }
    s.HeroVX = std::clamp(s.HeroVX, -SpeedLimit, SpeedLimit);
    s.HeroVY = std::clamp(s.HeroVY, -SpeedLimit, SpeedLimit);
    s.HeroX = stored(static_cast<double>(s.HeroX) + s.HeroVX + s.ConveyorPush);
    s.HeroY = stored(static_cast<double>(s.HeroY) + s.HeroVY);
}

void GameEngine::Impl::crossAreaEdges()
{
    // During a mishap or the arrival every edge is a wall, except the world's bottom, which is
    // a fall.
    const auto enterNeighbour = [this](int dx, int dy) {
        s.MiniMapColor[static_cast<std::size_t>(s.AreaX)][static_cast<std::size_t>(s.AreaY)] = MiniMapVisited;
        s.AreaX = static_cast<std::int16_t>(s.AreaX + dx);
        s.AreaY = static_cast<std::int16_t>(s.AreaY + dy);
        EnterArea();
        heldUp();
    };
    const bool free = s.EventTimer == 0;
    if (s.HeroX < BandLowest) {
        if (s.AreaX >= 1 && free) {
            s.HeroX = EntryAfterLowEdge;
            enterNeighbour(-1, 0);
        } else {
            s.HeroX = BandLowest;
        }
    }
    if (s.HeroY < BandLowest) {
        if (s.AreaY >= 1 && free) {
            s.HeroY = EntryAfterLowEdge;
            enterNeighbour(0, -1);
        } else {
            s.HeroY = BandLowest;
        }
    }
    if (s.HeroX > BandHighest) {
        if (s.AreaX < MapGrid::Areas - 1 && free) {
            s.HeroX = EntryAfterHighEdge;
            enterNeighbour(1, 0);
        } else {
            s.HeroX = BandHighest;
        }
    }
    if (s.HeroY > BandHighest) {
        if (s.AreaY < MapGrid::Areas - 1 && free) {
            s.HeroY = EntryAfterHighEdge;
            enterNeighbour(0, 1);
        } else {
            if (s.AreaY == MapGrid::Areas - 1) {
                s.HeroState = StateFellOut;
                if (s.EventTimer == 0) {
                    s.EventTimer = 80;
                    playSound(sounds::FellOut);
                }
            }
            s.HeroY = BandHighest;
        }
    }
}

void GameEngine::Impl::setRopeLine(int index, bool visible, int x, int y1, int y2)
{
    s.RopeLines[static_cast<std::size_t>(index)] = RopeLine{visible, x, y1, y2};
}

void GameEngine::Impl::releaseRope()
{
    s.RopeRow = -1;
    for (RopeLine& line : s.RopeLines)
        line.visible = false;
}

} // namespace poronpa
