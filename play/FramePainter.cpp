#include "play/FramePainter.h"

#include "play/Animation.h"
#include "world/AreaDrawing.h"
#include "world/SheetCells.h"
#include "world/TileFacts.h"

namespace poronpa::play {

namespace {
constexpr int Cell = sheet::CellSize;

/// Where a picture's frame lies on the sprite sheet, as its image's column and row (its mask is
/// the row below); false for a frame the sheet does not have.
bool spriteCell(Picture picture, int frame, int& column, int& row)
{
    switch (picture) {
    case Picture::Hero:
        column = frame % sheet::Columns;
        row = (frame / sheet::Columns) * 2;
        return true;
    case Picture::Crumbling:
        column = frame;
        row = 8;
        return true;
    case Picture::Bump:
        column = 2 + frame;
        row = 8;
        return true;
    case Picture::Splash:
        // The splash's first frame would lie beyond the sheet's last column: nothing shows then.
        column = 4 + frame;
        row = 8;
        return column < sheet::Columns;
    }
    return false;
}

/// A sprite laid on `canvas` at its top left as the frames lay it: the mask erases the sprite's
/// shape, the image is then laid in by XOR.
void laySprite(Surface& canvas, int x, int y, const Surface& spriteSheet, int column, int row)
{
    canvas.bitBlt(x, y, Cell, Cell, spriteSheet, column * Cell, (row + 1) * Cell, RasterOp::SrcErase);
    canvas.bitBlt(x, y, Cell, Cell, spriteSheet, column * Cell, row * Cell, RasterOp::SrcInvert);
}

} // namespace

Surface heroPicture(const Surface& spriteSheet, int frame)
{
    int column = 0, row = 0;
    spriteCell(Picture::Hero, frame, column, row);
    // Laid on black and on white: a pixel that shows each background as it was lets the canvas
    // through.
    Surface onBlack(Cell, Cell, rgb(0, 0, 0));
    Surface onWhite(Cell, Cell, rgb(255, 255, 255));
    laySprite(onBlack, 0, 0, spriteSheet, column, row);
    laySprite(onWhite, 0, 0, spriteSheet, column, row);
    std::uint32_t* picture = onBlack.data();
    const std::uint32_t* other = onWhite.data();
    for (int i = 0; i < Cell * Cell; ++i)
        if (picture[i] == rgb(0, 0, 0) && other[i] == rgb(255, 255, 255))
            picture[i] = 0;
    return onBlack;
}

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
        case DrawOp::Kind::Sprite: {
            int column = 0, row = 0;
            if (spriteCell(static_cast<Picture>(op.c), op.d, column, row))
                queue(sprites_, spriteCount_, Block{op.a, op.b, column, row});
            break;
        }
        case DrawOp::Kind::Overlay: {
            // The pressed picture is the next cell of the tile sheet; a tile in the sheet's last
            // column has none and keeps its own.
            const int column = op.c % sheet::Columns;
            queue(overlays_, overlayCount_,
                  Block{op.a, op.b, column == sheet::Columns - 1 ? column : column + 1, op.c / sheet::Columns});
            break;
        }
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

void FramePainter::queue(std::array<Block, ListSize>& list, int& count, const Block& block)
{
    // The background is saved now, while the canvas still shows what lies under the block.
    if (saveUnderCount_ >= ListSize)
        return;
    saveUnder(block.x, block.y);
    list[static_cast<std::size_t>(count++)] = block;
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
    for (int i = 0; i < spriteCount_; ++i) {
        const Block& b = sprites_[static_cast<std::size_t>(i)];
        laySprite(canvas_, b.x, b.y, spriteSheet_, b.column, b.row);
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
