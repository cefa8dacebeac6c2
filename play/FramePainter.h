#pragma once

#include "app/base/Surface.h"
#include "play/FrameEvents.h"
#include "play/GameState.h"
#include "world/MapGrid.h"

#include <array>

namespace poronpa::play {

/// The hero's picture of animation frame `frame` (play/Animation.h) on its own, as the painter lays
/// it on the canvas: 32 × 32, with alpha 0 where the canvas would show through. What the window
/// draws over the canvas for a ghost.
Surface heroPicture(const Surface& spriteSheet, int frame);

/// Puts the frames on the area canvas: it carries out the drawing a frame's events ask for,
/// reading the game state and changing nothing of it. The rules name the pictures; the painter
/// knows where they lie on the sheets. The whole area is painted when it is entered; a frame then
/// repaints only what changed, saving the canvas under each sprite and overlay and putting it
/// back at the start of the next frame.
class FramePainter {
public:
    FramePainter(const MapGrid& map, const Surface& tileSheet, const Surface& spriteSheet);

    /// The 1600 × 1600 area canvas.
    const Surface& canvas() const { return canvas_; }

    /// Draws what `events` ask for. Returns true when a frame was completed: the view is then to
    /// be shown at (scrollX(), scrollY()).
    bool paint(const FrameEvents& events, const GameState& state);

    int scrollX() const { return scrollX_; }
    int scrollY() const { return scrollY_; }

private:
    static constexpr int ListSize = 11;
    struct Block {
        int x = 0, y = 0, column = 0, row = 0;
    };

    void begin();
    void saveUnder(int x, int y);
    void queue(std::array<Block, ListSize>& list, int& count, const Block& block);
    void animateTiles(const GameState& state, int frameClock, int switchOn);
    void show();
    void turnToStone(const GameState& state);

    const MapGrid& map_;
    const Surface& tileSheet_;
    const Surface& spriteSheet_;
    Surface canvas_;
    Surface saveUnderStrip_;
    std::array<int, ListSize> saveUnderX_{}, saveUnderY_{};
    int saveUnderCount_ = 0;
    std::array<Block, ListSize> sprites_{};
    int spriteCount_ = 0;
    std::array<Block, ListSize> overlays_{};
    int overlayCount_ = 0;
    int scrollX_ = 0, scrollY_ = 0;
};

} // namespace poronpa::play
