#include "play/FramePainter.h"

#include "play/Animation.h"
#include "world/AreaDrawing.h"
#include "world/SheetCells.h"
#include "world/TileFacts.h"

namespace poronpa::play {

namespace {
constexpr int Cell = sheet::CellSize;
} // namespace

FramePainter::FramePainter(const MapGrid& map, const Surface& tileSheet, const Surface& spriteSheet)
    : map_(map), tileSheet_(tileSheet), spriteSheet_(spriteSheet), canvas_(AreaCanvasSize, AreaCanvasSize),
      saveUnderStrip_(Cell * ListSize, Cell)
{
}

bool FramePainter::paint(const FrameEvents& events, const GameState& state)
{
    bool shown = false;
    for (const DrawOp& op : events.drawing) {
        switch (op.kind) {
        case DrawOp::Kind::Begin:
            begin();
            break;
        case DrawOp::Kind::Area:
            DrawArea(map_, op.a, op.b, tileSheet_, canvas_);
            saveUnderCount_ = 0;
            break;
        case DrawOp::Kind::Cell:
            drawTile(canvas_, op.a * Cell, op.b * Cell, tileSheet_, static_cast<std::uint8_t>(op.c));
            break;
        case DrawOp::Kind::Sprite:
            queue(sprites_, spriteCount_, op);
            break;
        case DrawOp::Kind::Overlay:
            queue(overlays_, overlayCount_, op);
            break;
        case DrawOp::Kind::View:
            scrollX_ = op.a;
            scrollY_ = op.b;
            animateTiles(state, op.c, op.d);
            break;
        case DrawOp::Kind::Show:
            show();
            shown = true;
            break;
        case DrawOp::Kind::Stones:
            turnToStone(state);
            break;
        }
    }
    return shown;
}

void FramePainter::begin()
{
    for (int i = 0; i < saveUnderCount_; ++i)
        canvas_.bitBlt(saveUnderX_[static_cast<std::size_t>(i)], saveUnderY_[static_cast<std::size_t>(i)], Cell, Cell,
                       saveUnderStrip_, i * Cell, 0, RasterOp::SrcCopy);
    saveUnderCount_ = 0;
    spriteCount_ = 0;
    overlayCount_ = 0;
}

void FramePainter::saveUnder(int x, int y)
{
    const auto i = static_cast<std::size_t>(saveUnderCount_);
    saveUnderStrip_.bitBlt(static_cast<int>(i) * Cell, 0, Cell, Cell, canvas_, x, y, RasterOp::SrcCopy);
    saveUnderX_[i] = x;
    saveUnderY_[i] = y;
    ++saveUnderCount_;
}

void FramePainter::queue(std::array<Block, ListSize>& list, int& count, const DrawOp& op)
{
    // The background is saved now, while the canvas still shows what lies under the block.
    if (saveUnderCount_ >= ListSize)
        return;
    saveUnder(op.a, op.b);
    list[static_cast<std::size_t>(count++)] = Block{op.a, op.b, op.c, op.d};
}

void FramePainter::animateTiles(const GameState& state, int frameClock, int switchOn)
{
    // The 11 × 11 cells that are wholly or partly in view.
    const int firstColumn = -(scrollX_ / Cell);
    const int firstRow = -(scrollY_ / Cell);
    for (int c = firstColumn; c <= firstColumn + 10 && c <= 50; ++c)
        for (int r = firstRow; r <= firstRow + 10 && r <= 50; ++r) {
            const std::uint8_t t = state.AreaCells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            if (!isAnimatedTile(t))
                continue;
            const int f = tileAnimationFrame(t, frameClock, switchOn);
            canvas_.bitBlt(c * Cell, r * Cell, Cell, Cell, spriteSheet_, sheet::cellX(f), sheet::cellY(f),
                           RasterOp::SrcCopy);
        }
}

void FramePainter::show()
{
    for (int i = 0; i < overlayCount_; ++i) {
        const Block& o = overlays_[static_cast<std::size_t>(i)];
        canvas_.bitBlt(o.x, o.y, Cell, Cell, tileSheet_, o.column * Cell, o.row * Cell, RasterOp::SrcCopy);
    }
    // Masked sprites: the mask erases the sprite's shape, the image is then laid in by XOR.
    for (int i = 0; i < spriteCount_; ++i) {
        const Block& b = sprites_[static_cast<std::size_t>(i)];
        canvas_.bitBlt(b.x, b.y, Cell, Cell, spriteSheet_, b.column * Cell, (b.row + 1) * Cell, RasterOp::SrcErase);
        canvas_.bitBlt(b.x, b.y, Cell, Cell, spriteSheet_, b.column * Cell, b.row * Cell, RasterOp::SrcInvert);
    }
}

void FramePainter::turnToStone(const GameState& state)
{
    for (int i = 0; i <= 50; ++i)
        for (int j = 0; j <= 50; ++j) {
            const std::uint8_t t = state.AreaCells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            if (t == tiles::ViewingSpot || t == tiles::ViewingPlatform)
                canvas_.bitBlt(32 * i, 32 * j, Cell, Cell, spriteSheet_, sheet::cellX(sprites::StoneBlock),
                               sheet::cellY(sprites::StoneBlock), RasterOp::SrcCopy);
        }
}

} // namespace poronpa::play
