#include "play/GameEngineImpl.h"

#include "audio/SoundNumbers.h"
#include "play/KeyCodes.h"
#include "play/PlayNumbers.h"
#include "world/TileFacts.h"

#include <algorithm>

namespace poronpa {

using play::cellOf;
using play::nearest;
using play::stored;

static_assert(static_cast<int>(DoorColour::Blue) == BlueKey && static_cast<int>(DoorColour::Green) == GreenKey &&
                  static_cast<int>(DoorColour::Red) == RedKey && static_cast<int>(DoorColour::Yellow) == YellowKey,
              "a door opens with the key of its colour");

std::uint8_t& GameEngine::Impl::cellAt(int c, int r)
{
    // The edges keep the test points inside the area; the clamp only guards against a position
    // pushed out by a spring or a bounce within the same frame.
    return s.AreaCells[static_cast<std::size_t>(std::clamp(c, 0, 50))][static_cast<std::size_t>(std::clamp(r, 0, 50))];
}

void GameEngine::Impl::tileTests()
{
    headTest();
    sideTests();
    floorTests();
    centreTest();
}

void GameEngine::Impl::headTest()
{
    const int c = cellOf(s.HeroX + 15.0);
    const int r = cellOf(s.HeroY);
    std::uint8_t& t = cellAt(c, r);
    if (tileKind(t) == TileKind::HiddenBlock) {
        // A hidden block shows itself when butted from below; the hero keeps rising and bumps
        // into it next frame.
        if (s.HeroVY < 0) {
            t = tileFacts(t).becomes;
            DrawCell(c, r);
            s.HeroY = static_cast<float>(r * 32 + 32);
        }
    } else if (isSolid(t)) {
        s.HeroY = stored(static_cast<double>(s.HeroY) - s.HeroVY);
        if (s.HeroVY < -1 && (s.PrevState == StateFree || s.PrevState == StateSwimming)) {
            s.BumpTimer = BumpFrames;
            s.BumpX = static_cast<std::int16_t>(nearest(s.HeroX));
            s.BumpY = static_cast<std::int16_t>(nearest(s.HeroY - 12.0));
            playSound(sounds::HeadBump);
        }
        s.HeroVY = 0;
    }
}

void GameEngine::Impl::sideTests()
{
    for (int k = 0; k <= 1; ++k) {
        const int c = cellOf(s.HeroX + 31.0 * k);
        const int r = cellOf(s.HeroY);
        std::uint8_t& t = cellAt(c, r);
        const DoorColour door = tileFacts(t).door;
        if (door != DoorColour::None && s.ItemHeld[static_cast<std::size_t>(door)] != 0) {
            // The doorway shows whatever continues beside it; keys are never used up.
            playSound(sounds::Door);
            t = cellAt(c + 1, r);
            DrawCell(c, r);
        } else if (isSolid(t)) {
            s.HeroX = static_cast<float>((c + 1 - 2 * k) * 32);
            s.HeroVX = 0;
        }
    }
}

void GameEngine::Impl::floorTests()
{
    s.ConveyorPush = 0;
    // Friction belongs to the frame spent standing, however many feet find the floor.
    bool rubbed = false;
    const auto friction = [&] {
        if (!rubbed)
            s.HeroVX = stored(s.HeroVX * 0.92);
        rubbed = true;
    };
    const auto brakeOnLanding = [&] {
        if (s.JumpCount > 0) {
            s.JumpCount = 0;
            s.HeroVX = stored(s.HeroVX * 0.3);
        }
    };
    for (int k = 0; k <= 1; ++k) {
        const int c = cellOf(s.HeroX + 4.0 + 23.0 * k);
        const int r = cellOf(s.HeroY + 32.0);
        std::uint8_t& t = cellAt(c, r);
        const auto land = [&] {
            s.HeroY = static_cast<float>((r - 1) * 32);
            s.HeroVY = 0;
        };
        switch (tileKind(t)) {
        case TileKind::ViewingSpot:
            land();
            friction();
            s.JumpCount = 0;
            if (s.GoalTouched == 0) {
                s.GoalTouched = 1;
                reachViewingSpot();
            }
            break;
        case TileKind::Switch:
            s.HeroY = static_cast<float>((r - 1) * 32 - 1);
            s.SwitchOn = static_cast<std::int16_t>(1 - s.SwitchOn);
            s.HeroVY = -3;
            playSound(sounds::Switch);
            break;
        case TileKind::Crumbling:
            crumblingStep(c, r);
            break;
        case TileKind::Glass:
            if (s.HeroVY > 14) {
                playSound(sounds::Glass);
                t = tileFacts(t).becomes;
                DrawCell(c, r);
                s.HeroY = stored(s.HeroY - 15.0);
                s.HeroVY = -5;
            } else {
                land();
                friction();
                s.JumpCount = 0;
            }
            break;
        case TileKind::BrokenGlass:
            playSound(sounds::Glass);
            s.HeroY = stored(s.HeroY - 6.0);
            s.HeroVY = -2;
            t = cellAt(c, r - 1);
            DrawCell(c, r);
            break;
        case TileKind::Conveyor:
            land();
            friction();
            brakeOnLanding();
            if (s.SwitchOn != 0)
                s.ConveyorPush = tileFacts(t).push;
            break;
        case TileKind::Ice:
            // Ice: no friction and weak control.
            s.OnSlippery = 1;
            land();
            if (s.JumpCount > 0)
                s.JumpCount = 0;
            break;
        default:
            if (isSolid(t)) {
                land();
                friction();
                brakeOnLanding();
                s.SpringTimer = 0;
            }
            break;
        }
    }
}

void GameEngine::Impl::crumblingStep(int c, int r)
{
    // Both feet share one timer, so a block under both wears away twice as fast.
    s.OnSlippery = 1;
    s.HeroVY = 0;
    s.HeroY = static_cast<float>((r - 1) * 32);
    if (s.CrumbleTimer == 0) {
        s.CrumbleTimer = 30;
        if (s.JumpCount > 0) {
            s.JumpCount = 0;
            s.HeroVX = stored(s.HeroVX * 0.5);
        }
        return;
    }
    s.JumpCount = 0;
    --s.CrumbleTimer;
    if (s.CrumbleTimer <= 1) {
        s.CrumbleTimer = 0;
        std::uint8_t& t = cellAt(c, r);
        t = tileFacts(t).is(TileFacts::Vanishes) ? cellAt(c, r - 1) : tileFacts(t).becomes;
        DrawCell(c, r);
    }
    PushSprite(c * 32, r * 32, play::Picture::Crumbling, (s.FrameClock / 20) % 2);
}

void GameEngine::Impl::centreTest()
{
    const int c = cellOf(s.HeroX + 15.0);
    const int r = cellOf(s.HeroY + 15.0);
    std::uint8_t& t = cellAt(c, r);
    switch (tileKind(t)) {
    case TileKind::Flames:
        startMishap(StateBurning, 90, sounds::Burn);
        break;
    case TileKind::Lava:
        startMishap(StateSinking, 90, 0);
        break;
    case TileKind::Spikes:
        s.HeroVX = 0;
        s.HeroVY = 0;
        startMishap(StateImpaled, 60, sounds::Spikes);
        break;
    case TileKind::Spring:
        verticalSpring(t, c, r);
        break;
    case TileKind::SpringLeft:
        sideSpring(t, c, r, false);
        break;
    case TileKind::SpringRight:
        sideSpring(t, c, r, true);
        break;
    case TileKind::Climbing:
        s.JumpCount = 1;
        s.HeroState = StateClimbing;
        s.HeroVX = 0;
        s.HeroVY = 0;
        break;
    case TileKind::LowGravity:
        if (s.PrevState == StateFree)
            s.HeroVY = stored(s.HeroVY * 0.15);
        s.JumpCount = 3;
        s.HeroState = StateFloating;
        break;
    case TileKind::FlameJet:
        // The jet burns only at the start of its cycle, while its picture is still small.
        if (s.FrameClock % 100 < 10)
            startMishap(StateBurning, 90, sounds::Burn);
        break;
    case TileKind::TreasureBox:
        t = cellAt(c, r - 1);
        DrawCell(c, r);
        s.HeroVX = 0;
        s.HeroVY = 0;
        OpenTreasureBox();
        heldUp();
        break;
    case TileKind::Water:
        water();
        break;
    default:
        break;
    }
}

void GameEngine::Impl::water()
{
    if (s.PrevState == StateFree || s.PrevState == StateClimbing) {
        s.HeroVY = stored(s.HeroVY * 0.33);
        playSound(sounds::Splash);
        s.SplashTimer = 20;
        s.SplashX = static_cast<std::int16_t>(nearest(s.HeroX));
        s.SplashY = static_cast<std::int16_t>(nearest(s.HeroY - 16.0));
    }
    if (s.ItemHeld[DivingHelmet] == 1) {
        if (s.EventTimer == 0)
            s.HeroState = StateSwimming;
        return;
    }
    startMishap(StateDrowning, 150, 0);
    s.HeroVY = 0.4f;
    s.HeroVX = 0;
}

void GameEngine::Impl::verticalSpring(std::uint8_t t, int c, int r)
{
    if (s.SpringTimer == 0) {
        s.SpringTimer = 15;
        s.HeroY = static_cast<float>(r * 32 - 16);
        s.HeroVY = 0.05f;
        s.HeroVX = stored(s.HeroVX * 0.5);
        return;
    }
    --s.SpringTimer;
    PushPressed(c, r, t);
    s.HeroVY = 0.1f;
    s.HeroVX = stored(s.HeroVX * 0.9);
    if (s.SpringTimer == 1) {
        playSound(sounds::Spring);
        s.HeroVY = -14;
        s.SpringTimer = 0;
        s.JumpCount = 999;
    }
}

void GameEngine::Impl::sideSpring(std::uint8_t t, int c, int r, bool throwsRight)
{
    if (s.BumperTimer == 0) {
        s.BumperTimer = 9;
        s.HeroX = static_cast<float>(throwsRight ? c * 32 + 28 : c * 32 - 3);
        return;
    }
    --s.BumperTimer;
    PushPressed(c, r, t);
    s.HeroVX = throwsRight ? -0.2f : 0.2f;
    if (s.BumperTimer == 1) {
        playSound(sounds::Spring);
        s.BumperTimer = 0;
        s.HeroX = stored(static_cast<double>(s.HeroX) + (throwsRight ? 32.0 : -32.0));
        s.HeroVX = throwsRight ? 15.0f : -15.0f;
    }
}

} // namespace poronpa
