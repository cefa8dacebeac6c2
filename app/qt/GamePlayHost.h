#pragma once

#include "play/FramePacing.h"
#include "play/FramePainter.h"
#include "play/FrameRunner.h"
#include "play/GameEngine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace poronpa {

class AreaCanvasView;
class InputSource;
class MissGagScene;
class SidePanel;

namespace replay {
class ReplaySession;
}

/// What the play loop needs of its surroundings: where the frames' keys come from, the game
/// being recorded, and who shows and answers what a frame asks for. The play session gives it,
/// as the state it is in (a game played or a replay watched) decides.
class PlaySurroundings {
public:
    virtual ~PlaySurroundings() = default;
    /// The source the next frame's keys come from.
    virtual InputSource& input() = 0;
    /// The game being recorded, told what each frame does; null when nothing is recorded.
    virtual replay::ReplaySession* recording() = 0;
    virtual void playSound(int number) = 0;
    virtual void playMusic(int tune) = 0;
    /// Shows the treasure box dialog of `content`; `done` once it has closed.
    virtual void showTreasureBox(int content, std::function<void()> done) = 0;
    /// Tells of a save or load that failed, in `message`; `done` once it has been read.
    virtual void tellFailure(const std::string& message, std::function<void()> done) = 0;
    /// Asks the player `question`; `answered` gets the answer.
    virtual void ask(const std::string& question, std::function<void(bool)> answered) = 0;
    /// A box is open over the window, from outside the frames too: frames wait for it.
    virtual bool boxOpen() const = 0;
    /// The loop has begun, after the engine's.
    virtual void loopStarts() = 0;
    /// The loop is over, or the window is closing: no frame follows.
    virtual void loopEnds() = 0;
    /// The loop is over for `end`: the title asked for (Q answered Yes, a replay over) or the ending.
    virtual void finished(StepEnd end) = 0;
};

/// Where the frames are shown: the area canvas in its frame on the play screen, and the panel.
struct PlayScreen {
    QWidget& frame;
    AreaCanvasView& canvas;
    SidePanel& panel;
};

/// The play loop of the game window: a precise timer runs the engine's frames at their due
/// times, through a frame runner, with the keys the input source holds for each. The frame's
/// requests are answered (sounds, music, the side panel, the picture); the prompts, the treasure
/// box dialog and messages open over the window, and the mishap scene plays in the view, while
/// the loop waits for them. Nothing here blocks: the window's own event loop runs throughout.
class GamePlayHost : public QObject, private play::FrameHost {
public:
    /// Shows the frames on `screen`, whose canvas shows the host's canvas from now on.
    GamePlayHost(PlaySurroundings& surroundings, const PlayScreen& screen, GameEngine& engine, const MapGrid& map,
                 const Surface& tileSheet, const Surface& spriteSheet);
    ~GamePlayHost() override;

    /// The area canvas the frames are painted on.
    const Surface& canvas() const { return painter_.canvas(); }

    /// Answers what the engine asked for outside a frame (a new game's area, a continued game).
    void takeEvents();
    /// Starts the loop: no key held, the first frame at once. It runs until Q is answered Yes
    /// (the title is shown), the ending begins, or stop().
    void startLoop();
    /// The window is closing: no further frame, scene or answer.
    void stop();
    bool playing() const { return playing_; }
    /// A prompt, dialog, message or the mishap scene is holding the loop up.
    bool holding() const { return holding_; }
    /// The last box the window had open over it has closed: frames that waited for it go on.
    void boxesClosed();

    /// The steady millisecond clock the frames are paced by.
    std::int64_t tickCount() const { return tickBase_ + (clock_.elapsed() - realBase_) * speed_; }
    /// From now on the clock runs this many times as fast as the real one (a replay watched faster).
    void setSpeed(int speed);
    int speed() const { return speed_; }

    void playSound(int number) override;
    void playMusic(int tune) override;

    /// Told when a frame starts after its wait: its due time and the clock (for measuring).
    std::function<void(std::int64_t due, std::int64_t now)> frameStarted;
    /// Told when a frame has run to its end, with the state it left (the ghost follows it).
    std::function<void(const GameState& state)> frameEnded;

private:
    void frameBegins(const GameState& state) override;
    std::optional<bool> ask(Question question) override;
    void openTreasureBox(int content) override;
    void saveFailed(const std::string& reason) override;
    void loadFailed(const std::string& reason) override;
    void playMishap(int phrase) override;
    void show(const play::FrameEvents& events, const GameState& state) override;
    void frameEnds(StepEnd end, const GameState& state) override;

    void frame();
    /// The frame timer set to fire after `delay` milliseconds of the frames' clock.
    void startFrameTimer(std::int64_t delay);
    void nextMoment();
    void scheduleFrame();
    void frameTimerFired();
    void syncPanel();
    void tellFailure(std::string message);

    PlaySurroundings& surroundings_;
    PlayScreen screen_;
    GameEngine& engine_;
    play::FrameRunner runner_{engine_, *this};
    play::FramePainter painter_;
    play::FramePacer pacer_;
    play::FrameRateCount fps_;
    QElapsedTimer clock_;
    int speed_ = 1;
    std::int64_t realBase_ = 0; ///< the real clock when the speed last changed
    std::int64_t tickBase_ = 0; ///< the frames' clock then
    QTimer frameTimer_;
    std::unique_ptr<MissGagScene> missGag_;

    /// What holds the frame up, in the order the frame asked: each one opens and calls back when
    /// it is over.
    std::deque<std::function<void(std::function<void()>)>> moments_;
    StepEnd finish_ = StepEnd::Next;
    bool frameHeld_ = false;
    bool firstFrame_ = false;
    bool playing_ = false;
    bool holding_ = false;
    bool stopped_ = false;
    bool waitingForBoxes_ = false;
    /// The area was marked saved in when the events were last shown.
    bool savedHere_ = false;
};

} // namespace poronpa
