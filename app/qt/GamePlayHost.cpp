#include "app/qt/GamePlayHost.h"

#include "app/qt/AreaCanvasView.h"
#include "app/qt/InputRouter.h"
#include "app/qt/SidePanel.h"
#include "replay/ReplaySession.h"
#include "screens/MessageTables.h"
#include "screens/qt/MissGagScene.h"

namespace poronpa {

GamePlayHost::GamePlayHost(PlaySurroundings& surroundings, const PlayScreen& screen, GameEngine& engine,
                           const MapGrid& map, const Surface& tileSheet, const Surface& spriteSheet)
    : surroundings_(surroundings), screen_(screen), engine_(engine), painter_(map, tileSheet, spriteSheet)
{
    screen_.canvas.setSurface(&painter_.canvas());
    clock_.start();
    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { frameTimerFired(); });
}

GamePlayHost::~GamePlayHost() = default;

void GamePlayHost::playSound(int number)
{
    surroundings_.playSound(number);
}

void GamePlayHost::playMusic(int tune)
{
    surroundings_.playMusic(tune);
}

void GamePlayHost::takeEvents() { runner_.takeEvents(); }

void GamePlayHost::frameBegins(const GameState& state)
{
    if (replay::ReplaySession* recording = surroundings_.recording())
        recording->beginFrame(state);
}

void GamePlayHost::openTreasureBox(int content)
{
    moments_.push_back([this, content](std::function<void()> done) {
        surroundings_.showTreasureBox(content, std::move(done));
    });
}

void GamePlayHost::tellFailure(std::string message)
{
    moments_.push_back([this, message = std::move(message)](std::function<void()> done) {
        surroundings_.tellFailure(message, std::move(done));
    });
}

void GamePlayHost::saveFailed(const std::string& reason)
{
    if (replay::ReplaySession* recording = surroundings_.recording())
        recording->failed(replay::Failure::Kind::Save);
    tellFailure(texts::saveFailedText(reason));
}

void GamePlayHost::loadFailed(const std::string& reason)
{
    if (replay::ReplaySession* recording = surroundings_.recording())
        recording->failed(replay::Failure::Kind::Load);
    tellFailure(texts::loadFailedText(reason));
}

void GamePlayHost::playMishap(int phrase)
{
    moments_.push_back([this, phrase](std::function<void()> done) {
        missGag_ = std::make_unique<MissGagScene>(screen_.frame, screen_.canvas, phrase, engine_.state().FrameInterval,
                                                 std::move(done));
    });
}

void GamePlayHost::show(const play::FrameEvents& events, const GameState& state)
{
    frameHeld_ = frameHeld_ || events.held;
    AreaCanvasView& view = screen_.canvas;
    if (painter_.paint(events, state)) {
        view.move(painter_.scrollX(), painter_.scrollY());
        view.update();
    } else if (!events.drawing.empty()) {
        view.update();
    }
    syncPanel();
    // The area is marked saved in once a save has been written (one that failed leaves it
    // unmarked, and the mark is cleared as an area is entered): the player is told on the panel.
    const bool savedHere = state.SavedHere != 0;
    if (savedHere && !savedHere_)
        screen_.panel.noteSaved();
    savedHere_ = savedHere;
}

void GamePlayHost::syncPanel()
{
    const GameState& s = engine_.state();
    screen_.panel.show(s);
    for (int i = 0; i < 2; ++i) {
        const RopeLine& line = s.RopeLines[static_cast<std::size_t>(i)];
        screen_.canvas.setRopeLine(i, line.visible, line.x, line.y1, line.y2);
    }
}

void GamePlayHost::setSpeed(int speed)
{
    tickBase_ = tickCount();
    realBase_ = clock_.elapsed();
    speed_ = speed;
}

void GamePlayHost::startFrameTimer(std::int64_t delay)
{
    frameTimer_.start(static_cast<int>((delay + speed_ - 1) / speed_));
}

void GamePlayHost::startLoop()
{
    runner_.beginLoop();
    surroundings_.loopStarts();
    pacer_.begin(tickCount(), engine_.state().FrameInterval);
    fps_.begin();
    playing_ = true;
    finish_ = StepEnd::Next;
    frameHeld_ = false;
    firstFrame_ = true;
    takeEvents();
    nextMoment();
}

void GamePlayHost::stop()
{
    // A frame a question is still open in is not kept.
    surroundings_.loopEnds();
    stopped_ = true;
    playing_ = false;
    holding_ = false;
    frameTimer_.stop();
    moments_.clear();
    missGag_.reset();
}

void GamePlayHost::frame()
{
    InputSource& input = surroundings_.input();
    // Keys held before the window let go of them are pressed anew, not carried on.
    if (input.keysCleared())
        runner_.letGoOfKeys();
    KeySet held;
    if (!input.nextFrame(held)) {
        // The replay is over, or was stopped: the title, as after Q.
        finish_ = StepEnd::ToTitle;
        nextMoment();
        return;
    }
    runner_.runFrame(held);
    nextMoment();
}

std::optional<bool> GamePlayHost::ask(Question question)
{
    // A source that answers for itself (a replay: Yes, as the simulator does) is not asked.
    if (const std::optional<bool> answer = surroundings_.input().answersItself())
        return answer;
    moments_.push_back([this, question](std::function<void()>) {
        // The answer goes on with the frame, which decides what holds it up next.
        surroundings_.ask(questionText(question), [this](bool yes) {
            if (replay::ReplaySession* recording = surroundings_.recording(); recording && !yes)
                recording->declineQuestion();
            runner_.answer(yes);
            nextMoment();
        });
    });
    return std::nullopt;
}

void GamePlayHost::frameEnds(StepEnd end, const GameState& state)
{
    finish_ = end;
    if (replay::ReplaySession* recording = surroundings_.recording())
        recording->endFrame(state, end == StepEnd::Ending);
    if (frameEnded)
        frameEnded(state);
}

void GamePlayHost::nextMoment()
{
    if (stopped_)
        return;
    if (!moments_.empty()) {
        holding_ = true;
        auto open = std::move(moments_.front());
        moments_.pop_front();
        open([this] { nextMoment(); });
        return;
    }
    holding_ = false;
    missGag_.reset();
    // The frame is over, with everything it asked for answered.
    if (frameHeld_)
        pacer_.rebase(tickCount());
    frameHeld_ = false;
    if (finish_ != StepEnd::Next && finish_ != StepEnd::Asking)
        surroundings_.loopEnds();
    switch (finish_) {
    case StepEnd::Next:
    case StepEnd::Asking:
        scheduleFrame();
        break;
    case StepEnd::ToTitle:
        playing_ = false;
        surroundings_.finished(finish_);
        takeEvents();
        break;
    case StepEnd::Ending:
        playing_ = false;
        surroundings_.finished(finish_);
        break;
    case StepEnd::Stopped:
        playing_ = false;
        break;
    }
}

void GamePlayHost::scheduleFrame()
{
    if (firstFrame_) {
        firstFrame_ = false;
        frame();
        return;
    }
    startFrameTimer(pacer_.delay(tickCount()));
}

void GamePlayHost::boxesClosed()
{
    if (!waitingForBoxes_ || !playing_)
        return;
    waitingForBoxes_ = false;
    pacer_.rebase(tickCount());
    scheduleFrame();
}

void GamePlayHost::frameTimerFired()
{
    if (!playing_ || holding_)
        return;
    // A box opened over the window from outside the frames (the play count) stops them too.
    if (surroundings_.boxOpen()) {
        waitingForBoxes_ = true;
        return;
    }
    const std::int64_t now = tickCount();
    if (const std::int64_t wait = pacer_.delay(now); wait > 0) {
        startFrameTimer(wait);
        return;
    }
    if (frameStarted)
        frameStarted(pacer_.due() + pacer_.interval(), now);
    pacer_.frameStarts(now);
    if (auto text = fps_.frame(play::secondsSinceMidnight()))
        screen_.panel.showFrameRate(QString::fromStdString(*text));
    frame();
}

} // namespace poronpa
