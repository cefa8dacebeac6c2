#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace poronpa {

/// What a tile number does in play. Numbers 0..95 are passable, 96..191 solid; 192..255 have no
/// picture and are passable scenery.
enum class TileKind : std::uint8_t {
    Scenery,     ///< the hero walks through it
    Water,       ///< swim with the diving helmet, drown without
    Flames,      ///< burning mishap
    Lava,        ///< sinking mishap
    Spikes,      ///< impaling mishap
    FlameJet,    ///< burns during 10 frames of every 100
    Spring,      ///< compresses, then throws the hero up
    SpringLeft,  ///< compresses, then throws the hero to the left
    SpringRight, ///< compresses, then throws the hero to the right
    Climbing,    ///< ladder, pole or net
    LowGravity,  ///< the hero floats
    Claw,        ///< the rope hooks here; touching it does nothing
    TreasureBox, ///< opened when the hero's centre touches it, then gone
    HiddenBlock, ///< passable until butted from below, then the block it hides
    Wall,        ///< solid, and nothing more
    ViewingSpot, ///< where the journey ends
    Switch,      ///< toggles the world switch and bounces the hero up
    Crumbling,   ///< a floor that wears away in four steps
    Door,        ///< opens from the side with the key of its colour
    Glass,       ///< breaks under a long fall
    BrokenGlass, ///< vanishes when stood on
    Conveyor,    ///< pushes whoever stands on it while the switch is on
    Ice,         ///< no friction, weak control
};

/// Door colours, in the order of the keys' item numbers.
enum class DoorColour : std::int8_t { None = -1, Blue, Green, Red, Yellow };

/// How an animated tile's picture changes with the frame clock c and the world switch s; each
/// picture is a cell of the sprite sheet.
enum class TileMotion : std::uint8_t {
    Still,     ///< keeps its tile-sheet picture
    TwoFrames, ///< still + (c div period) mod 2
    Blink,     ///< still − s × (1 + (c div period) mod 2): two pictures while the switch is on
    RunOn,     ///< still + s × ((c div period) mod 4): four pictures while the switch is on
    RunBack,   ///< still − s × ((c div period) mod 4)
    FlameJet,  ///< bursts through still − 1, still − 2 and still − 3 at the start of every 100
};

struct TileAnimation {
    TileMotion motion = TileMotion::Still;
    std::uint8_t still = 0;  ///< the picture shown while the switch is off or the jet is idle
    std::uint8_t period = 0; ///< frames each picture lasts
};

/// Everything play needs to know about one tile number, worked out once.
struct TileFacts {
    enum Flag : std::uint8_t {
        Solid = 1,      ///< stops the head, the sides and the feet
        Wet = 2,        ///< water
        Climbable = 4,  ///< ladders, poles, nets
        Floating = 8,   ///< low gravity
        Deadly = 16,    ///< a mishap on every touch (flames, lava, spikes)
        RopePasses = 32, ///< the thrown rope goes through it
        Vanishes = 64,  ///< crumbling: the last step, after which the cell takes the tile above
    };

    TileKind kind = TileKind::Scenery;
    std::uint8_t flags = 0;
    DoorColour door = DoorColour::None;
    std::int8_t push = 0;     ///< conveyors: pixels per frame to the right (negative: left)
    std::uint8_t becomes = 0; ///< hidden block: the block shown; glass: broken; crumbling: next step
    std::uint8_t mirrored = 0; ///< the tile that faces the other way (itself when none does)
    TileAnimation animation;

    constexpr bool is(Flag flag) const { return (flags & flag) != 0; }
};

namespace tiles {

/// Tiles with a picture on the tile sheet.
constexpr int WithPicture = 192;
/// The first solid tile; every tile from here to the last with a picture is solid.
constexpr int FirstSolid = 96;

/// The tiles the ending turns to stone: the viewing spot and the platform it stands on.
constexpr std::uint8_t ViewingSpot = 142;
constexpr std::uint8_t ViewingPlatform = 98;

/// The two backgrounds the editor's Edge tool rounds off against each other, and the corner
/// pictures it writes (cut at the top left, top right, bottom right, bottom left).
constexpr std::uint8_t CliffFace = 8;
constexpr std::uint8_t Cushion = 72;
constexpr std::array<std::uint8_t, 4> CliffCushionCorners{11, 10, 2, 3};
constexpr std::array<std::uint8_t, 4> CushionCliffCorners{89, 88, 80, 81};

namespace detail {

constexpr TileAnimation twoFrames(int still, int period)
{
    return {TileMotion::TwoFrames, static_cast<std::uint8_t>(still), static_cast<std::uint8_t>(period)};
}
constexpr TileAnimation moving(TileMotion motion, int still, int period)
{
    return {motion, static_cast<std::uint8_t>(still), static_cast<std::uint8_t>(period)};
}

constexpr std::uint8_t flagsOf(TileKind kind)
{
    switch (kind) {
    case TileKind::Water: return TileFacts::Wet;
    case TileKind::Climbing: return TileFacts::Climbable;
    case TileKind::LowGravity: return TileFacts::Floating;
    case TileKind::Flames:
    case TileKind::Lava:
    case TileKind::Spikes: return TileFacts::Deadly;
    default: return 0;
    }
}

constexpr std::array<TileFacts, 256> build()
{
    std::array<TileFacts, 256> table{};
    const auto at = [&](int n) -> TileFacts& { return table[static_cast<std::size_t>(n)]; };
    for (int n = FirstSolid; n < WithPicture; ++n) {
        at(n).kind = TileKind::Wall;
        at(n).flags |= TileFacts::Solid;
    }
    for (int n = 0; n <= 64; ++n)
        at(n).flags |= TileFacts::RopePasses;
    for (int n = 0; n < 256; ++n)
        at(n).mirrored = static_cast<std::uint8_t>(n);

    // What the engine asks of a tile besides its kind follows from the kind, or comes with it.
    const auto kind = [&](TileKind k, std::initializer_list<int> numbers) {
        for (int n : numbers) {
            at(n).kind = k;
            at(n).flags |= flagsOf(k);
        }
    };
    const auto door = [&](int n, DoorColour colour) {
        kind(TileKind::Door, {n});
        at(n).door = colour;
    };
    const auto conveyor = [&](int n, int push) {
        kind(TileKind::Conveyor, {n});
        at(n).push = static_cast<std::int8_t>(push);
    };
    const auto changing = [&](TileKind k, int n, int becomes) {
        kind(k, {n});
        at(n).becomes = static_cast<std::uint8_t>(becomes);
    };
    kind(TileKind::Water, {5, 48, 49, 56, 57, 86, 87, 90, 91, 92, 93, 94, 95});
    kind(TileKind::Flames, {32});
    kind(TileKind::Lava, {33});
    kind(TileKind::Spikes, {34, 35, 36, 37});
    kind(TileKind::Spring, {38, 39, 68, 69, 70, 71});
    kind(TileKind::Climbing, {40, 41, 42, 43, 65, 66, 67});
    kind(TileKind::SpringLeft, {44, 45, 72, 73, 76, 77});
    kind(TileKind::SpringRight, {46, 47, 74, 75, 78, 79});
    kind(TileKind::LowGravity, {50, 51, 58, 59, 60});
    kind(TileKind::Claw, {52, 53});
    kind(TileKind::FlameJet, {54});
    kind(TileKind::TreasureBox, {55, 82, 83});
    changing(TileKind::HiddenBlock, 61, 135);
    changing(TileKind::HiddenBlock, 62, 157);
    kind(TileKind::ViewingSpot, {ViewingSpot});
    kind(TileKind::Switch, {143});
    // Four steps each; after the last the block is gone.
    for (int first : {144, 160}) {
        for (int n = first; n < first + 3; ++n)
            changing(TileKind::Crumbling, n, n + 1);
        kind(TileKind::Crumbling, {first + 3});
        at(first + 3).flags |= TileFacts::Vanishes;
    }
    door(148, DoorColour::Blue);
    door(149, DoorColour::Green);
    door(150, DoorColour::Red);
    door(151, DoorColour::Yellow);
    changing(TileKind::Glass, 152, 153);
    kind(TileKind::BrokenGlass, {153});
    conveyor(154, -1);
    conveyor(155, 1);
    conveyor(158, -4);
    conveyor(159, 4);
    kind(TileKind::Ice, {156, 157});

    // Tiles that face a side, in pairs: a stamp flipped left to right swaps each for its partner,
    // so that a spring throwing left throws right, a conveyor runs the other way and a left end
    // of grass becomes a right end. The moon's quarters swap too, so that a flipped moon is whole.
    const auto partners = [&](int a, int b) {
        at(a).mirrored = static_cast<std::uint8_t>(b);
        at(b).mirrored = static_cast<std::uint8_t>(a);
    };
    for (const auto& [a, b] : {std::pair{2, 3}, {10, 11}, {28, 29}, {30, 31}, {44, 46}, {45, 47}, {72, 74}, {73, 75},
                               {76, 78}, {77, 79}, {80, 81}, {88, 89}, {90, 91}, {92, 93}, {107, 108}, {109, 110},
                               {113, 114}, {115, 116}, {126, 127}, {129, 130}, {138, 139}, {140, 141}, {154, 155},
                               {158, 159}, {181, 182}, {187, 188}, {189, 190}})
        partners(a, b);

    at(4).animation = twoFrames(106, 8);
    at(5).animation = twoFrames(108, 10);
    at(7).animation = twoFrames(126, 4);
    at(12).animation = twoFrames(104, 8);
    at(15).animation = twoFrames(124, 4);
    at(17).animation = twoFrames(112, 6);
    at(18).animation = twoFrames(114, 4);
    at(25).animation = twoFrames(120, 6);
    at(26).animation = twoFrames(122, 4);
    at(32).animation = twoFrames(100, 10);
    at(49).animation = twoFrames(110, 25);
    at(54).animation = moving(TileMotion::FlameJet, 91, 100);
    at(56).animation = twoFrames(102, 25);
    at(90).animation = twoFrames(128, 25);
    at(91).animation = twoFrames(130, 25);
    at(92).animation = twoFrames(132, 25);
    at(93).animation = twoFrames(134, 25);
    at(143).animation = moving(TileMotion::Blink, 94, 5);
    at(154).animation = moving(TileMotion::RunOn, 96, 5);
    at(155).animation = moving(TileMotion::RunBack, 99, 5);
    at(158).animation = moving(TileMotion::RunOn, 116, 1);
    at(159).animation = moving(TileMotion::RunBack, 119, 1);
    at(172).animation = moving(TileMotion::Blink, 138, 10);
    return table;
}

} // namespace detail

/// One entry for each of the 256 tile numbers.
inline constexpr std::array<TileFacts, 256> Table = detail::build();

} // namespace tiles

inline constexpr const TileFacts& tileFacts(std::uint8_t tile) { return tiles::Table[tile]; }
inline constexpr TileKind tileKind(std::uint8_t tile) { return tiles::Table[tile].kind; }
inline constexpr bool isSolid(std::uint8_t tile) { return tiles::Table[tile].is(TileFacts::Solid); }
inline constexpr bool isWater(std::uint8_t tile) { return tiles::Table[tile].is(TileFacts::Wet); }
inline constexpr bool isClimbable(std::uint8_t tile) { return tiles::Table[tile].is(TileFacts::Climbable); }
inline constexpr bool isFloating(std::uint8_t tile) { return tiles::Table[tile].is(TileFacts::Floating); }
inline constexpr bool isDeadly(std::uint8_t tile) { return tiles::Table[tile].is(TileFacts::Deadly); }
inline constexpr bool ropePasses(std::uint8_t tile) { return tiles::Table[tile].is(TileFacts::RopePasses); }
inline constexpr bool isAnimated(std::uint8_t tile) { return tiles::Table[tile].animation.motion != TileMotion::Still; }
inline constexpr std::uint8_t mirroredTile(std::uint8_t tile) { return tiles::Table[tile].mirrored; }

/// The tile's name as the world's builders call it, for the editor and for messages; "no
/// picture" for 192..255.
std::string_view tileName(std::uint8_t tile);

} // namespace poronpa
