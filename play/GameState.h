#pragma once

#include "play/PseudoRandom.h"
#include "play/StartAndBand.h"
#include "world/MapGrid.h"

#include <array>
#include <cstdint>
#include <vector>

namespace poronpa {

/// Item numbers, the index of ItemHeld, the icons and the name tables.
enum Item : int {
    BlueKey = 0, GreenKey, RedKey, YellowKey, Diary, JumpShoes, DivingHelmet, Rope, Dumplings, PampasGrass,
};
constexpr int ItemCount = 10;

/// HeroState codes.
enum HeroStateCode : std::int16_t {
    StateFree = 0,
    StateClimbing = 1,
    StateSwimming = 2,
    StateFloating = 3,
    StatePlaced = 9,
    StateBurning = 90,
    StateDrowning = 91,
    StateImpaled = 92,
    StateSinking = 93,
    StateFellOut = 99,
    StateArrived = 100,
};

/// BoxContent values besides the item numbers 0..9 and the memos 101..106.
constexpr std::int16_t BoxEmpty = -1;
constexpr std::int16_t BoxOfferingsMissing = 200;

/// The frame clock counts 0..999 and starts again.
constexpr std::int16_t FrameClockPeriod = 1000;
/// RunFrames of a run whose start is not known.
constexpr std::int32_t UnknownRunFrames = -1;

/// Frames the stars of a head bump are shown for, and the furthest they lie from the area's
/// top left on either axis: the hero's corner, one cell short of the area's far side.
constexpr std::int32_t BumpFrames = 8;
constexpr std::int16_t BumpPositionHighest = 1568;

constexpr std::int32_t MiniMapUnvisited = -1;
constexpr std::int32_t MiniMapCurrent = 255;
constexpr std::int32_t MiniMapVisited = 0xFFFFFF;

/// One of the two rope lines that lie over the area canvas, in canvas pixels.
struct RopeLine {
    bool visible = false;
    int x = 0, y1 = 0, y2 = 0;

    bool operator==(const RopeLine& other) const = default;
};

/// The whole game state. Names follow the design; positions and speeds are 32-bit floats and
/// every expression on them is evaluated in double and rounded to float when stored.
struct GameState {
    // Shared with the map store, the saved game, the ending and the treasure box dialog.
    std::int16_t AreaX = 0;
    std::int16_t AreaY = 0;
    std::array<std::int16_t, 11> ItemHeld{};
    AreaNumbers MiniMapColor{};
    AreaNumbers DeathCount{};
    std::int16_t BoxContent = 0;

    // The game window's fields.
    float HeroX = 0, HeroY = 0;
    float HeroVX = 0, HeroVY = 0;
    float RespawnX = 0, RespawnY = 0;
    std::int16_t HeroState = 0;
    std::int16_t PrevState = 0;
    std::int16_t Facing = 0; ///< 0 right, 1 left
    std::int16_t JumpCount = 0;
    std::int16_t SwitchOn = 0;
    float ConveyorPush = 0;
    std::int16_t OnSlippery = 0;
    std::int32_t SpringTimer = 0;
    std::int32_t BumperTimer = 0;
    std::int32_t CrumbleTimer = 0;
    std::int32_t EventTimer = 0;
    std::int32_t DiaryTimer = 0;
    std::int32_t RopeRow = -1;
    std::array<RopeLine, 2> RopeLines{}; ///< the lines as the window is to show them
    std::int16_t SavedHere = 0;
    std::int16_t GoalTouched = 0;
    std::int16_t FrameClock = 0;
    /// The frames of this run since its new game, carried on by a save and its load; the run
    /// timer shows it. UnknownRunFrames for a game continued from a save that did not keep it.
    std::int32_t RunFrames = 0;
    std::int32_t BumpTimer = 0;
    std::int16_t BumpX = 0, BumpY = 0;
    std::int32_t SplashTimer = 0;
    std::int16_t SplashX = 0, SplashY = 0;
    std::array<std::array<std::uint8_t, 51>, 51> AreaCells{}; ///< [column][row], 0..50
    std::array<bool, 256> KeyHeld{};
    bool InputOff = false;
    bool StopLoop = false;
    std::int32_t FrameInterval = 13;
    std::int32_t ViewAnchorX = 144, ViewAnchorY = 144;
    /// The game's random numbers (the mishap scene); part of the state so that a copy of it
    /// plays on exactly as the original would.
    play::PseudoRandom Random;

    bool operator==(const GameState& other) const = default;
};

/// A new game as the title starts it, or moved elsewhere by a tool (the simulator's --area,
/// --pos, --items and --switch, the route finder's starts).
struct GameStart {
    std::int16_t AreaX = StartAreaX;
    std::int16_t AreaY = StartAreaY;
    float HeroX = StartX;
    float HeroY = StartY;
    std::vector<int> items; ///< item numbers held from the start
    std::int16_t SwitchOn = 1;
};

} // namespace poronpa
