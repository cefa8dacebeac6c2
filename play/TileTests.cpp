#include "play/GameEngineImpl.h"

#include "audio/SoundNumbers.h"
#include "play/KeyCodes.h"
#include "play/PlayNumbers.h"

#include <algorithm>

namespace poronpa {

using play::cellOf;
using play::nearest;
using play::stored;

namespace {

bool isSolid(std::uint8_t t) { return t >= 96 && t <= 191; }
bool isWater(std::uint8_t t)
{
    return t == 5 || t == 48 || t == 49 || t == 56 || t == 57 || t == 86 || t == 87 || (t >= 90 && t <= 95);
}

} // namespace

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
    if (t == 61 || t == 62) {
        // A hidden block shows itself when butted from below; the hero keeps rising and bumps
        // into it next frame.
        if (s.HeroVY < 0) {
            t = t == 61 ? 135 : 157;
            DrawCell(c, r);
            s.HeroY = static_cast<float>(r * 32 + 32);
        }
    } else if (isSolid(t)) {
        s.HeroY = stored(static_cast<double>(s.HeroY) - s.HeroVY);
        if (s.HeroVY < -1 && (s.PrevState == StateFree || s.PrevState == StateSwimming)) {
            s.BumpTimer = 8;
            s.BumpX = static_cast<std::int16_t>(nearest(s.HeroX));
            s.BumpY = static_cast<std::int16_t>(nearest(s.HeroY - 12.0));
            host.playSound(sounds::HeadBump);
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
        if (t >= 148 && t <= 151 && s.ItemHeld[static_cast<std::size_t>(t - 148)] != 0) {
            // The doorway shows whatever continues beside it; keys are never used up.
            host.playSound(sounds::Door);
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
        switch (t) {
        case 142:
            land();
            friction();
            s.JumpCount = 0;
            if (s.GoalTouched == 0) {
                s.GoalTouched = 1;
                reachViewingSpot();
            }
            break;
        case 143:
            s.HeroY = static_cast<float>((r - 1) * 32 - 1);
            s.SwitchOn = static_cast<std::int16_t>(1 - s.SwitchOn);
            s.HeroVY = -3;
            host.playSound(sounds::Switch);
            break;
        case 144: case 145: case 146: case 147:
        case 160: case 161: case 162: case 163:
            crumblingStep(c, r);
            break;
        case 152:
            if (s.HeroVY > 14) {
                host.playSound(sounds::Glass);
                t = 153;
                DrawCell(c, r);
                s.HeroY = stored(s.HeroY - 15.0);
                s.HeroVY = -5;
            } else {
                land();
                friction();
                s.JumpCount = 0;
            }
            break;
        case 153:
            host.playSound(sounds::Glass);
            s.HeroY = stored(s.HeroY - 6.0);
            s.HeroVY = -2;
            t = cellAt(c, r - 1);
            DrawCell(c, r);
            break;
        case 154: case 155: case 158: case 159:
            land();
            friction();
            brakeOnLanding();
            if (s.SwitchOn != 0)
                s.ConveyorPush = t == 154 ? -1.0f : t == 155 ? 1.0f : t == 158 ? -4.0f : 4.0f;
            break;
        case 156: case 157:
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
        t = static_cast<std::uint8_t>(t + 1);
        if (t == 148 || t == 164)
            t = cellAt(c, r - 1);
        DrawCell(c, r);
    }
    PushSprite(c * 32, r * 32, (s.FrameClock / 20) % 2, 8);
}

void GameEngine::Impl::centreTest()
{
    const int c = cellOf(s.HeroX + 15.0);
    const int r = cellOf(s.HeroY + 15.0);
    std::uint8_t& t = cellAt(c, r);
    switch (t) {
    case 32:
        startMishap(StateBurning, 90, sounds::Burn);
        break;
    case 33:
        startMishap(StateSinking, 90, 0);
        break;
    case 34: case 35: case 36: case 37:
        s.HeroVX = 0;
        s.HeroVY = 0;
        startMishap(StateImpaled, 60, sounds::Spikes);
        break;
    case 38: case 39: case 68: case 69: case 70: case 71:
        verticalSpring(t, c, r);
        break;
    case 44: case 45: case 72: case 73: case 76: case 77:
        sideSpring(t, c, r, false);
        break;
    case 46: case 47: case 74: case 75: case 78: case 79:
        sideSpring(t, c, r, true);
        break;
    case 40: case 41: case 42: case 43: case 65: case 66: case 67:
        s.JumpCount = 1;
        s.HeroState = StateClimbing;
        s.HeroVX = 0;
        s.HeroVY = 0;
        break;
    case 50: case 51: case 58: case 59: case 60:
        if (s.PrevState == StateFree)
            s.HeroVY = stored(s.HeroVY * 0.15);
        s.JumpCount = 3;
        s.HeroState = StateFloating;
        break;
    case 54:
        // The jet burns only at the start of its cycle, while its picture is still small.
        if (s.FrameClock % 100 < 10)
            startMishap(StateBurning, 90, sounds::Burn);
        break;
    case 55: case 82: case 83:
        t = cellAt(c, r - 1);
        DrawCell(c, r);
        s.HeroVX = 0;
        s.HeroVY = 0;
        OpenTreasureBox();
        rebaseFrameClock();
        break;
    default:
        if (isWater(t))
            water();
        break;
    }
}

void GameEngine::Impl::water()
{
    if (s.PrevState == StateFree || s.PrevState == StateClimbing) {
        s.HeroVY = stored(s.HeroVY * 0.33);
        host.playSound(sounds::Splash);
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
    // The pressed picture is the next sheet cell; a spring in the sheet's last column has none
    // and keeps its own.
    PushOverlay(c * 32, r * 32, t % 8 == 7 ? 7 : t % 8 + 1, t / 8);
    s.HeroVY = 0.1f;
    s.HeroVX = stored(s.HeroVX * 0.9);
    if (s.SpringTimer == 1) {
        host.playSound(sounds::Spring);
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
    PushOverlay(c * 32, r * 32, t % 8 == 7 ? 7 : t % 8 + 1, t / 8);
    s.HeroVX = throwsRight ? -0.2f : 0.2f;
    if (s.BumperTimer == 1) {
        host.playSound(sounds::Spring);
        s.BumperTimer = 0;
        s.HeroX = stored(static_cast<double>(s.HeroX) + (throwsRight ? 32.0 : -32.0));
        s.HeroVX = throwsRight ? 15.0f : -15.0f;
    }
}

} // namespace poronpa
