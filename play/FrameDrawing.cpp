#include "play/GameEngineImpl.h"

#include "play/Animation.h"
#include "play/PlayNumbers.h"
#include "world/AreaDrawing.h"
#include "world/SheetCells.h"

#include <cmath>

namespace poronpa {

void GameEngine::Impl::drawFrame()
{
    if (!drawingWanted) {
        // The effects count down whether or not anyone draws them.
        if (s.BumpTimer > 0)
            --s.BumpTimer;
        if (s.SplashTimer > 0)
            --s.SplashTimer;
        return;
    }
    int scrollX = play::nearest(static_cast<double>(s.ViewAnchorX) - s.HeroX);
    int scrollY = play::nearest(static_cast<double>(s.ViewAnchorY) - s.HeroY);
    ClampScroll(scrollX, scrollY);
    draw(play::DrawOp::Kind::View, scrollX, scrollY, s.FrameClock, s.SwitchOn);

    const int hero = play::heroAnimationFrame(s);
    if (hero != play::NoFrame)
        PushSprite(static_cast<int>(std::floor(s.HeroX)), static_cast<int>(std::floor(s.HeroY)), hero % 8,
                   (hero / 8) * 2);
    // The effects count down whether or not anyone draws them.
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
    draw(play::DrawOp::Kind::Show);
}

} // namespace poronpa
