#pragma once

#include "play/FrameEvents.h"
#include "play/GameEngine.h"
#include "play/KeySet.h"

#include <optional>
#include <string>

namespace poronpa::play {

/// Whoever runs the frames: the window, the simulator, the route finder, a replay, a test. The
/// runner tells it what each frame asks for and does; every call but ask() may be left as it is.
class FrameHost {
public:
    virtual ~FrameHost() = default;

    /// The frame's keys are in and its step is next (a recording notes the keys the engine holds).
    virtual void frameBegins(const GameState& state);
    /// The frame stopped at `question`: the answer, or nothing when the host gives it later through
    /// FrameRunner::answer() (a message box the player answers).
    virtual std::optional<bool> ask(Question question) = 0;

    // What the engine asks of the host besides drawing, in the order asked.
    virtual void playSound(int number);
    virtual void playMusic(int tune);
    virtual void openTreasureBox(int content);
    /// The save asked for failed; `reason` is the file's error, for the player.
    virtual void saveFailed(const std::string& reason);
    virtual void loadFailed(const std::string& reason);
    virtual void playMishap(int phrase);

    /// After the requests of the same events: their drawing and whether the loop was held up,
    /// with the state as it stands (which an answer may have changed with nothing drawn).
    virtual void show(const FrameEvents& events, const GameState& state);

    /// The frame ran to its end as `end` says (never Asking).
    virtual void frameEnds(StepEnd end, const GameState& state);
};

/// Runs the engine's frames for a host. Each frame comes with the keys held in it, as one set:
/// the runner hands the engine a key-down for each key newly held and a key-up for each let go,
/// runs the step, asks the host the frame's questions and hands it the events, in order.
class FrameRunner {
public:
    /// Both must outlive the runner.
    FrameRunner(GameEngine& engine, FrameHost& host)
        : engine_(engine), host_(host), state_(engine.state()), events_(engine.events())
    {
    }

    /// The loop begins with no key held.
    void beginLoop();

    /// Runs the next frame with `held` the keys held in it. Returns how it ended: Asking when the
    /// host will answer later, through answer().
    StepEnd runFrame(const KeySet& held);
    /// The host's answer to the question the frame waits at; the frame goes on from there.
    StepEnd answer(bool yes);

    /// Hands the host what the engine asked for outside a frame (a new game's area, a continued
    /// game).
    void takeEvents();

    /// Every key is let go (a key-up each), and a key held in the next frame is pressed anew:
    /// the keys held before a box opened over the game must be pressed again after it.
    void letGoOfKeys();

    /// The keys the last frame held, as the runner handed them to the engine.
    const KeySet& held() const { return held_; }
    /// Puts back what held() said when a copy of the game state was taken.
    void restoreHeld(const KeySet& held) { held_ = held; }

private:
    void pressKeys(const KeySet& held);
    StepEnd settle(StepEnd end);

    GameEngine& engine_;
    FrameHost& host_;
    // The engine keeps both in one place for its life; a frame reads them without asking it.
    const GameState& state_;
    const FrameEvents& events_;
    KeySet held_;
};

} // namespace poronpa::play
