#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace poronpa::play {

/// Something the frame asks of the shell besides drawing.
struct Request {
    enum class Kind : std::uint8_t {
        Sound,       ///< play sound effect `value` once
        Music,       ///< play tune `value`, looping
        TreasureBox, ///< open the treasure box dialog for the BoxContent `value`
        SaveFailed,  ///< the save asked for failed, for FrameEvents::reasons[`value`]
        LoadFailed,  ///< the load asked for failed, for FrameEvents::reasons[`value`]
        MissGag,     ///< play the mishap scene with the phrase `value`
    };
    Kind kind;
    int value;

    bool operator==(const Request& other) const = default;
};

/// A picture the rules put on the canvas over the area; the painter finds it on the sprite sheet.
enum class Picture : std::uint8_t {
    Hero,      ///< frame: heroAnimationFrame()
    Crumbling, ///< dust over a crumbling block, frames 0 and 1
    Bump,      ///< stars of a head bump, frames 0 and 1
    Splash,    ///< a splash in the water, frames 0 to 3; any other shows nothing
};

/// One step of putting the frame on the canvas, for the painter; in the order the frame made
/// them, since a block saved under a sprite must hold whatever the canvas showed at that moment.
struct DrawOp {
    enum class Kind : std::uint8_t {
        Begin,   ///< a frame starts: put back what last frame's sprites covered
        Area,    ///< area (a, b) was entered: paint it whole; the blocks saved before belong to the old picture
        Cell,    ///< the cell (a, b) now holds tile c
        Sprite,  ///< Picture c, frame d, masked, at canvas (a, b)
        Overlay, ///< tile c pressed (a spring at work) shown at canvas (a, b) until the next frame
        View,    ///< the view is at scroll (a, b): animate the tiles in it at frame count c, switch d
        Show,    ///< lay the overlays and sprites on the canvas and show the view
        Stones,  ///< the viewing spot and its platform turn to stone
    };
    Kind kind;
    int a = 0, b = 0, c = 0, d = 0;

    bool operator==(const DrawOp& other) const = default;
};

/// What happened since the shell last took the events: a frame, or a title action (a new game,
/// a continued one). The shell answers the requests; the painter carries out the drawing.
struct FrameEvents {
    std::vector<Request> requests;
    /// Why a save or a load failed, for the player, in their own words (the file's error).
    std::vector<std::string> reasons;
    std::vector<DrawOp> drawing;
    /// Something held the loop up (an area entered, a load, a prompt, a dialog, a message, the
    /// mishap scene): the next frame is due one interval after the shell is done with it.
    bool held = false;

    bool empty() const { return requests.empty() && drawing.empty() && !held; }

    void clear()
    {
        requests.clear();
        reasons.clear();
        drawing.clear();
        held = false;
    }
};

} // namespace poronpa::play
