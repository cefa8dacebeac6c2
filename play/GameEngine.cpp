#include "play/GameEngineImpl.h"

#include "app/base/Translation.h"
#include "play/FramePacing.h"
#include "play/KeyCodes.h"
#include "play/PlayNumbers.h"

#include <limits>

namespace poronpa {

std::string questionText(Question question)
{
    switch (question) {
    case Question::Load: return translate("Questions", "ロードしますか？");
    case Question::BackToTitle: return translate("Questions", "タイトルに戻りますか？");
    case Question::None: break;
    }
    return {};
}

GameEngine::Impl::Impl(const MapGrid& grid) : map(grid) {}

void GameEngine::Impl::ClearKeys() { s.KeyHeld.fill(false); }

void GameEngine::Impl::failed(play::Request::Kind kind, std::string reason)
{
    request(kind, static_cast<int>(events.reasons.size()));
    events.reasons.push_back(std::move(reason));
}

void GameEngine::Impl::beginLoop()
{
    s.FrameInterval = play::frameIntervalFor(frameRate);
    s.StopLoop = false;
    ClearKeys();
    waiting = Waiting::Nothing;
}

StepEnd GameEngine::Impl::step()
{
    if (waiting != Waiting::Nothing)
        return StepEnd::Asking;
    // Counted before anything of the frame happens, so that a save made in it keeps the frame.
    if (s.RunFrames != UnknownRunFrames && s.RunFrames < std::numeric_limits<std::int32_t>::max())
        ++s.RunFrames;
    draw(play::DrawOp::Kind::Begin);
    motionStep();
    if (s.HeroState >= 10)
        return restOfFrame();
    saveWithDiary();
    if (held(keys::L)) {
        waiting = Waiting::LoadAnswer;
        return StepEnd::Asking;
    }
    return afterLoadPrompt();
}

StepEnd GameEngine::Impl::afterLoadPrompt()
{
    if (held(keys::Q)) {
        waiting = Waiting::TitleAnswer;
        return StepEnd::Asking;
    }
    return restOfFrame();
}

StepEnd GameEngine::Impl::answer(bool yes)
{
    const Waiting question = waiting;
    waiting = Waiting::Nothing;
    switch (question) {
    case Waiting::Nothing:
        return StepEnd::Next;
    case Waiting::LoadAnswer:
        if (yes) {
            // The highest digit held says how many saves back.
            int back = 0;
            for (int digit = 0; digit <= 9; ++digit)
                if (held(keys::Digit0 + digit))
                    back = digit;
            LoadGame(back);
        }
        ClearKeys();
        heldUp();
        return afterLoadPrompt();
    case Waiting::TitleAnswer:
        if (yes) {
            s.StopLoop = true;
            releaseRope();
            return StepEnd::ToTitle;
        }
        ClearKeys();
        heldUp();
        return restOfFrame();
    }
    return StepEnd::Next;
}

void GameEngine::Impl::countDownEffects()
{
    if (s.BumpTimer > 0)
        --s.BumpTimer;
    if (s.SplashTimer > 0)
        --s.SplashTimer;
}

StepEnd GameEngine::Impl::restOfFrame()
{
    moveHero();
    crossAreaEdges();

    s.OnSlippery = 0;
    s.PrevState = s.HeroState;
    if (s.EventTimer == 0)
        s.HeroState = StateFree;

    tileTests();

    s.FrameClock = static_cast<std::int16_t>((s.FrameClock + 1) % FrameClockPeriod);
    drawFrame();
    countDownEffects();

    if (s.DiaryTimer > 0)
        --s.DiaryTimer;

    if (s.EventTimer > 0) {
        --s.EventTimer;
        if (s.EventTimer == 1) {
            if (s.HeroState == StateArrived)
                return StartEnding();
            if (s.Random.next() < 0.05) {
                request(play::Request::Kind::MissGag, play::missPhraseIndex(s.Random.next()));
                heldUp();
            }
            respawn();
        }
    }

    if (s.StopLoop) {
        releaseRope();
        return StepEnd::Stopped;
    }
    return StepEnd::Next;
}

// --- Public interface ------------------------------------------------------------------------

GameEngine::GameEngine(const MapGrid& map) : impl_(std::make_unique<Impl>(map)) {}

GameEngine::~GameEngine() = default;

GameState& GameEngine::state() { return impl_->s; }
const GameState& GameEngine::state() const { return impl_->s; }

void GameEngine::setDrawingWanted(bool wanted) { impl_->drawingWanted = wanted; }
void GameEngine::setFrameRate(std::int32_t frameRate) { impl_->frameRate = frameRate; }
void GameEngine::setSaveStore(SaveStore& store) { impl_->saves = &store; }

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

void GameEngine::startNewGame(const GameStart& start)
{
    impl_->NewGame();
    GameState& s = impl_->s;
    s.AreaX = start.AreaX;
    s.AreaY = start.AreaY;
    s.HeroX = start.HeroX;
    s.HeroY = start.HeroY;
    s.SwitchOn = start.SwitchOn;
    for (const int item : start.items)
        if (item >= 0 && item < ItemCount)
            s.ItemHeld[static_cast<std::size_t>(item)] = 1;
    impl_->EnterArea();
}

void GameEngine::startFromTitle(TitleChoice choice, const GameStart& start)
{
    if (choice == TitleChoice::NewGame) {
        startNewGame(start);
        return;
    }
    // The title has reset the game before either of its choices.
    impl_->NewGame();
    ContinueGame();
}

void GameEngine::beginLoop() { impl_->beginLoop(); }

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

StepEnd GameEngine::step() { return impl_->step(); }

Question GameEngine::question() const
{
    switch (impl_->waiting) {
    case Impl::Waiting::LoadAnswer: return Question::Load;
    case Impl::Waiting::TitleAnswer: return Question::BackToTitle;
    case Impl::Waiting::Nothing: break;
    }
    return Question::None;
}

StepEnd GameEngine::answer(bool yes) { return impl_->answer(yes); }

const play::FrameEvents& GameEngine::events() const { return impl_->events; }
void GameEngine::clearEvents() { impl_->events.clear(); }

} // namespace poronpa
