#include "app/qt/GamePlayHost.h"

#include "app/qt/AreaCanvasView.h"
#include "app/qt/GameReplays.h"
#include "app/qt/GameWindow.h"
#include "app/qt/OverviewSquare.h"
#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"
#include "screens/qt/EndingSequence.h"
#include "screens/MessageTables.h"
#include "screens/qt/MissGagScene.h"
#include "screens/qt/TreasureBoxDialog.h"

#include <QLabel>
#include <QMessageBox>

#include <iostream>

namespace poronpa {

GamePlayHost::GamePlayHost(GameWindow& window, GameEngine& engine, const MapGrid& map, const Surface& tileSheet,
                           const Surface& spriteSheet)
    : window_(window), engine_(engine), painter_(map, tileSheet, spriteSheet)
{
    clock_.start();
    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { frameTimerFired(); });
}

GamePlayHost::~GamePlayHost() = default;

void GamePlayHost::playSound(int number)
{
    window_.sound().PlayAsync(number);
}

void GamePlayHost::playMusic(int tune)
{
    window_.music().BGMPlay(tune, false);
}

void GamePlayHost::takeEvents()
{
    const play::FrameEvents& events = engine_.events();
    for (const play::Request& request : events.requests) {
        const int value = request.value;
        switch (request.kind) {
        case play::Request::Kind::Sound:
            playSound(value);
            break;
        case play::Request::Kind::Music:
            playMusic(value);
            break;
        case play::Request::Kind::TreasureBox:
            moments_.push_back([this, value](std::function<void()> done) {
                if (window_.replays().watching())
                    window_.replays().showTreasureBox(value, std::move(done));
                else
                    window_.openBox(new frmGetItem(&window_, value, window_.sound()), [done](int) { done(); });
            });
            break;
        case play::Request::Kind::SaveFailed:
        case play::Request::Kind::LoadFailed: {
            const std::string& reason = events.reasons[static_cast<std::size_t>(value)];
            const std::string message = request.kind == play::Request::Kind::SaveFailed ? texts::saveFailedText(reason)
                                                                                         : texts::loadFailedText(reason);
            if (replay::ReplaySession* recording = window_.replays().recording())
                recording->requested(request);
            // A replay's failures are the recorded game's, not the watcher's.
            if (window_.replays().watching()) {
                std::cerr << "poronpa: the replay: " << message << '\n';
                break;
            }
            const QString text = QString::fromStdString(message);
            moments_.push_back([this, text](std::function<void()> done) {
                window_.openBox(new QMessageBox(QMessageBox::Warning, QString::fromStdString(texts::ApplicationTitle),
                                                text, QMessageBox::Ok, &window_),
                                [done](int) { done(); });
            });
            break;
        }
        case play::Request::Kind::MissGag:
            moments_.push_back([this, value](std::function<void()> done) {
                missGag_ = std::make_unique<MissGagScene>(window_.picFrame(), window_.picGame(), value,
                                                         engine_.state().FrameInterval, std::move(done));
            });
            break;
        }
    }
    frameHeld_ = frameHeld_ || events.held;
    AreaCanvasView& view = window_.picGame();
    if (painter_.paint(events, engine_.state())) {
        view.move(painter_.scrollX(), painter_.scrollY());
        view.update();
    } else if (!events.drawing.empty()) {
        view.update();
    }
    engine_.clearEvents();
    syncPanel();
    // The area is marked saved in once a save has been written (one that failed leaves it
    // unmarked, and the mark is cleared as an area is entered): the player is told on the panel.
    const bool savedHere = engine_.state().SavedHere != 0;
    if (savedHere && !savedHere_)
        window_.showSavedNote();
    savedHere_ = savedHere;
}

void GamePlayHost::syncPanel()
{
    const GameState& s = engine_.state();
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r)
            window_.shpMap(c + 5 * r).setMiniMapColour(s.MiniMapColor[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
    for (int item = 0; item < ItemCount; ++item)
        window_.imgItem(item).setVisible(s.ItemHeld[static_cast<std::size_t>(item)] != 0);
    for (int i = 0; i < 2; ++i) {
        const RopeLine& line = s.RopeLines[static_cast<std::size_t>(i)];
        window_.picGame().setRopeLine(i, line.visible, line.x, line.y1, line.y2);
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
    engine_.beginLoop();
    window_.replays().loopStarts();
    keys_.clear();
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
    window_.replays().loopEnds();
    stopped_ = true;
    playing_ = false;
    holding_ = false;
    frameTimer_.stop();
    moments_.clear();
    missGag_.reset();
}

void GamePlayHost::frame()
{
    GameReplays& replays = window_.replays();
    if (!replays.watching()) {
        keys_.deliver(engine_);
    } else if (!replays.nextFrame(engine_)) {
        // The replay is over, or was stopped: the title, as after Q.
        finish_ = StepEnd::ToTitle;
        nextMoment();
        return;
    }
    if (replay::ReplaySession* recording = replays.recording())
        recording->beginFrame(engine_.state());
    afterStep(engine_.step());
}

void GamePlayHost::afterStep(StepEnd end)
{
    takeEvents();
    if (end == StepEnd::Asking && window_.replays().watching()) {
        // A replay answers every question Yes, as the simulator does: the recording kept only those.
        afterStep(engine_.answer(true));
        return;
    }
    if (end == StepEnd::Asking) {
        ask(engine_.question());
    } else {
        finish_ = end;
        if (replay::ReplaySession* recording = window_.replays().recording())
            recording->endFrame(engine_.state(), end == StepEnd::Ending);
    }
    nextMoment();
}

void GamePlayHost::ask(Question question)
{
    moments_.push_back([this, question](std::function<void()>) {
        auto* box = new QMessageBox(QMessageBox::Question, QString::fromStdString(texts::ApplicationTitle),
                                    QString::fromStdString(questionText(question)),
                                    QMessageBox::Yes | QMessageBox::No, &window_);
        // The answer goes on with the frame, which decides what holds it up next.
        window_.openBox(box, [this](int answer) {
            const bool yes = answer == QMessageBox::Yes;
            if (replay::ReplaySession* recording = window_.replays().recording(); recording && !yes)
                recording->declineQuestion();
            afterStep(engine_.answer(yes));
        });
    });
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
        window_.replays().loopEnds();
    switch (finish_) {
    case StepEnd::Next:
    case StepEnd::Asking:
        scheduleFrame();
        break;
    case StepEnd::ToTitle:
        playing_ = false;
        window_.backToTitle();
        takeEvents();
        break;
    case StepEnd::Ending:
        playing_ = false;
        window_.ending().StartEnding();
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
    if (!window_.openBoxes().isEmpty()) {
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
        window_.lblDPS().setText(QString::fromStdString(*text));
    frame();
}

} // namespace poronpa
