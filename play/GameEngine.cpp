#include "play/GameEngineImpl.h"

#include "audio/SoundNumbers.h"
#include "play/KeyCodes.h"

#include "screens/MessageTables.h"
#include "world/AreaDrawing.h"

#include <cmath>
#include <string>

namespace poronpa {

namespace {
constexpr std::int32_t DefaultFrameInterval = 13;

/// Milliseconds per frame for a FrameRate setting; rates outside 50..120 (a missing setting
/// among them) fall back to the default.
std::int32_t frameIntervalFor(std::int32_t frameRate)
{
    if (frameRate < 50 || frameRate > 120)
        return DefaultFrameInterval;
    return static_cast<std::int32_t>(std::nearbyint(1000.0 / frameRate + 1.0));
}

} // namespace

GameEngine::Impl::Impl(const MapGrid& grid, const Surface& tiles, const Surface& spriteCells, PlayHost& playHost)
    : map(grid), tileSheet(tiles), spriteSheet(spriteCells), host(playHost), canvas(AreaCanvasSize, AreaCanvasSize),
      saveUnderStrip(32 * ListSize, 32)
{
    saveUnderX.fill(-1);
}

void GameEngine::Impl::ClearKeys() { s.KeyHeld.fill(false); }

void GameEngine::Impl::rebaseFrameClock() { frameDue = host.tickCount(); }

void GameEngine::Impl::beginLoop()
{
    s.FrameInterval = frameIntervalFor(frameRate);
    fpsShownAt = 0;
    fpsCount = 0;
    rebaseFrameClock();
    s.StopLoop = false;
    ClearKeys();
}

bool GameEngine::Impl::runFrame(LoopExit& exit)
{
    restoreSaveUnders();
    motionStep();

    if (s.HeroState < 10) {
        saveWithDiary();
        if (held(keys::L)) {
            if (host.askYesNo("ロードしますか？")) {
                int back = 0;
                for (int digit = 0; digit <= 9; ++digit)
                    if (held(keys::Digit0 + digit))
                        back = digit;
                LoadGame(back);
            }
            ClearKeys();
            rebaseFrameClock();
        }
        if (held(keys::Q)) {
            if (host.askYesNo("タイトルに戻りますか？")) {
                s.StopLoop = true;
                releaseRope();
                host.showTitle();
                exit = LoopExit::ToTitle;
                return false;
            }
            ClearKeys();
            rebaseFrameClock();
        }
    }

    moveHero();
    crossAreaEdges();

    s.OnSlippery = 0;
    s.PrevState = s.HeroState;
    if (s.EventTimer == 0)
        s.HeroState = StateFree;

    tileTests();

    placeView();
    s.FrameClock = static_cast<std::int16_t>((s.FrameClock + 1) % 1000);
    drawFrame();

    if (!host.processEvents() || closing) {
        exit = LoopExit::Stopped;
        return false;
    }

    // Pacing: each frame starts strictly after its due time; a backlog of more than two frames
    // is dropped rather than caught up in a burst.
    host.waitUntilAfter(static_cast<std::uint32_t>(frameDue + s.FrameInterval));
    frameDue += s.FrameInterval;
    const std::int64_t earliest = static_cast<std::int64_t>(host.tickCount()) - 2 * s.FrameInterval;
    if (frameDue < earliest)
        frameDue = earliest;

    // The rate label is rewritten about once a second with the frames counted since; a clock
    // that went back past midnight starts a new second at once.
    const float now = static_cast<float>(host.secondsSinceMidnight());
    if (static_cast<double>(fpsShownAt) + 1 < now || now < fpsShownAt) {
        host.setFpsText(std::to_string(fpsCount) + " fps");
        fpsCount = 0;
        fpsShownAt = now;
    }
    ++fpsCount;

    if (s.DiaryTimer > 0)
        --s.DiaryTimer;

    if (s.EventTimer > 0) {
        --s.EventTimer;
        if (s.EventTimer == 1) {
            if (s.HeroState == StateArrived) {
                StartEnding();
                exit = LoopExit::Ending;
                return false;
            }
            if (random.next() < 0.05) {
                host.playMissGag(texts::missPhraseIndex(random.next()), s.FrameInterval);
                rebaseFrameClock();
            }
            respawn();
        }
    }

    if (s.StopLoop) {
        releaseRope();
        exit = LoopExit::Stopped;
        return false;
    }
    return true;
}

// --- Public interface ------------------------------------------------------------------------

GameEngine::GameEngine(const MapGrid& map, const Surface& tileSheet, const Surface& spriteSheet, PlayHost& host)
    : impl_(std::make_unique<Impl>(map, tileSheet, spriteSheet, host))
{
}

GameEngine::~GameEngine() = default;

GameState& GameEngine::state() { return impl_->s; }
const GameState& GameEngine::state() const { return impl_->s; }
const Surface& GameEngine::canvas() const { return impl_->canvas; }

void GameEngine::setDrawingEnabled(bool enabled)
{
    if (enabled == impl_->drawingEnabled)
        return;
    impl_->drawingEnabled = enabled;
    // Cells changed while drawing was off never reached the canvas, and the blocks saved under
    // the last sprites are stale.
    impl_->saveUnderCount = 0;
    if (enabled)
        impl_->redrawWholeArea();
}

void GameEngine::setFrameRate(std::int32_t frameRate) { impl_->frameRate = frameRate; }
void GameEngine::setSaveFile(const std::filesystem::path& path) { impl_->saveFile = path; }

void GameEngine::NewGame() { impl_->NewGame(); }
void GameEngine::EnterArea() { impl_->EnterArea(); }
void GameEngine::ClearKeys() { impl_->ClearKeys(); }
bool GameEngine::LoadGame(int back) { return impl_->LoadGame(back); }

void GameEngine::ContinueGame()
{
    if (!impl_->LoadGame(0)) {
        impl_->NewGame();
        impl_->EnterArea();
    }
}

LoopExit GameEngine::GameLoop()
{
    LoopExit exit = LoopExit::Stopped;
    impl_->beginLoop();
    while (impl_->runFrame(exit)) {
    }
    return exit;
}

void GameEngine::beginLoop() { impl_->beginLoop(); }
bool GameEngine::runFrame(LoopExit& exit) { return impl_->runFrame(exit); }

void GameEngine::keyDown(int virtualKey)
{
    if (!impl_->s.InputOff && virtualKey >= 0 && virtualKey < 256)
        impl_->s.KeyHeld[static_cast<std::size_t>(virtualKey)] = true;
}

void GameEngine::keyUp(int virtualKey)
{
    if (!impl_->s.InputOff && virtualKey >= 0 && virtualKey < 256)
        impl_->s.KeyHeld[static_cast<std::size_t>(virtualKey)] = false;
}

void GameEngine::requestStop()
{
    impl_->closing = true;
    impl_->s.StopLoop = true;
}

} // namespace poronpa
