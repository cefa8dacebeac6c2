#include "play/GameEngineImpl.h"

#include "play/Animation.h"
#include "play/PlayNumbers.h"
#include "world/AreaDrawing.h"

#include <cmath>

namespace poronpa {

void GameEngine::Impl::drawFrame()
{
    if (!drawingWanted)
        return;
    int scrollX = play::nearest(static_cast<double>(s.ViewAnchorX) - s.HeroX);
    int scrollY = play::nearest(static_cast<double>(s.ViewAnchorY) - s.HeroY);
    ClampScroll(scrollX, scrollY);
    draw(play::DrawOp::Kind::View, scrollX, scrollY, s.FrameClock, s.SwitchOn);

    const int hero = play::heroAnimationFrame(s);
    if (hero != play::NoFrame)
        PushSprite(static_cast<int>(std::floor(s.HeroX)), static_cast<int>(std::floor(s.HeroY)), play::Picture::Hero,
                   hero);
    if (s.BumpTimer > 0)
        PushSprite(s.BumpX, s.BumpY, play::Picture::Bump, (s.BumpTimer / 4) % 2);
    if (s.SplashTimer > 0)
        PushSprite(s.SplashX, s.SplashY, play::Picture::Splash, s.SplashTimer / 5);
    draw(play::DrawOp::Kind::Show);
}

} // namespace poronpa
