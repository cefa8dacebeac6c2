#include "play/GameEngineImpl.h"

#include "play/Animation.h"
#include "play/PlayNumbers.h"
#include "world/AreaDrawing.h"
#include "world/SheetCells.h"

#include <cmath>

namespace poronpa {

namespace {

constexpr int Cell = sheet::CellSize;

} // namespace

void GameEngine::Impl::restoreSaveUnders()
{
    if (drawingEnabled)
        for (int i = 0; i < saveUnderCount; ++i)
            canvas.bitBlt(saveUnderX[static_cast<std::size_t>(i)], saveUnderY[static_cast<std::size_t>(i)], Cell, Cell,
                          saveUnderStrip, i * Cell, 0, RasterOp::SrcCopy);
    saveUnderCount = 0;
    spriteCount = 0;
    overlayCount = 0;
}

void GameEngine::Impl::SaveUnder(int x, int y)
{
    const auto i = static_cast<std::size_t>(saveUnderCount);
    saveUnderStrip.bitBlt(static_cast<int>(i) * Cell, 0, Cell, Cell, canvas, x, y, RasterOp::SrcCopy);
    saveUnderX[i] = x;
    saveUnderY[i] = y;
    ++saveUnderCount;
}

void GameEngine::Impl::PushSprite(int x, int y, int column, int row)
{
    if (!drawingEnabled || saveUnderCount >= ListSize)
        return;
    SaveUnder(x, y);
    sprites[static_cast<std::size_t>(spriteCount++)] = Block{x, y, column, row};
}

void GameEngine::Impl::PushOverlay(int x, int y, int column, int row)
{
    if (!drawingEnabled || saveUnderCount >= ListSize)
        return;
    SaveUnder(x, y);
    overlays[static_cast<std::size_t>(overlayCount++)] = Block{x, y, column, row};
}

void GameEngine::Impl::DrawCell(int c, int r)
{
    if (drawingEnabled)
        drawTile(canvas, c * Cell, r * Cell, tileSheet, cellAt(c, r));
}

void GameEngine::Impl::redrawWholeArea()
{
    for (int c = 0; c < MapGrid::AreaCells; ++c)
        for (int r = 0; r < MapGrid::AreaCells; ++r)
            DrawCell(c, r);
}

void GameEngine::Impl::placeView()
{
    scrollX = play::nearest(static_cast<double>(s.ViewAnchorX) - s.HeroX);
    scrollY = play::nearest(static_cast<double>(s.ViewAnchorY) - s.HeroY);
    ClampScroll(scrollX, scrollY);
}

void GameEngine::Impl::drawAnimatedTiles()
{
    // The 11 × 11 cells that are wholly or partly in view.
    const int firstColumn = -(scrollX / Cell);
    const int firstRow = -(scrollY / Cell);
    for (int c = firstColumn; c <= firstColumn + 10 && c <= 50; ++c)
        for (int r = firstRow; r <= firstRow + 10 && r <= 50; ++r) {
            const std::uint8_t t = s.AreaCells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            if (!play::isAnimatedTile(t))
                continue;
            const int f = play::tileAnimationFrame(t, s.FrameClock, s.SwitchOn);
            canvas.bitBlt(c * Cell, r * Cell, Cell, Cell, spriteSheet, sheet::cellX(f), sheet::cellY(f),
                          RasterOp::SrcCopy);
        }
}

void GameEngine::Impl::drawFrame()
{
    if (!drawingEnabled) {
        // The effects' countdowns belong to the state; only their pictures are skipped.
        if (s.BumpTimer > 0)
            --s.BumpTimer;
        if (s.SplashTimer > 0)
            --s.SplashTimer;
        return;
    }
    drawAnimatedTiles();

    const int hero = play::heroAnimationFrame(s);
    if (hero != play::NoFrame)
        PushSprite(static_cast<int>(std::floor(s.HeroX)), static_cast<int>(std::floor(s.HeroY)), hero % 8,
                   (hero / 8) * 2);
    if (s.BumpTimer > 0) {
        PushSprite(s.BumpX, s.BumpY, 2 + (s.BumpTimer / 4) % 2, 8);
        --s.BumpTimer;
    }
    if (s.SplashTimer > 0) {
        // The splash's first frame would lie beyond the sheet's last column: nothing shows then.
        const int column = 4 + s.SplashTimer / 5;
        if (column < sheet::Columns)
            PushSprite(s.SplashX, s.SplashY, column, 8);
        --s.SplashTimer;
    }

    for (int i = 0; i < overlayCount; ++i) {
        const Block& o = overlays[static_cast<std::size_t>(i)];
        canvas.bitBlt(o.x, o.y, Cell, Cell, tileSheet, o.column * Cell, o.row * Cell, RasterOp::SrcCopy);
    }
    // Masked sprites: the mask erases the sprite's shape, the image is then laid in by XOR.
    for (int i = 0; i < spriteCount; ++i) {
        const Block& b = sprites[static_cast<std::size_t>(i)];
        canvas.bitBlt(b.x, b.y, Cell, Cell, spriteSheet, b.column * Cell, (b.row + 1) * Cell, RasterOp::SrcErase);
        canvas.bitBlt(b.x, b.y, Cell, Cell, spriteSheet, b.column * Cell, b.row * Cell, RasterOp::SrcInvert);
    }
    host.presentView(scrollX, scrollY);
}

} // namespace poronpa
