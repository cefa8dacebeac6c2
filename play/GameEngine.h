#pragma once

#include "play/FrameEvents.h"
#include "play/GameState.h"
#include "world/MapGrid.h"


#include <filesystem>
#include <memory>
#include <string>

namespace poronpa {

class SaveStore;

/// A question a frame asks the player before it can go on.
enum class Question {
    None,
    Load,        ///< L held: "ロードしますか？"
    BackToTitle, ///< Q held: "タイトルに戻りますか？"
};

/// The text of a question in the player's language, as its message box shows it.
std::string questionText(Question question);

/// The title's two ways into a game.
enum class TitleChoice {
    NewGame,  ///< はじめから
    Continue, ///< つづきから
};

/// How a step ended.
enum class StepEnd {
    Next,     ///< the frame is done; the next one follows
    Asking,   ///< the frame waits for the answer to question()
    ToTitle,  ///< Q was answered Yes: the shell shows the title, which resets the game
    Ending,   ///< the arrival at the viewing spot ran out; the ending has begun
    Stopped,  ///< StopLoop was set: the loop ends after this frame
};

/// The play engine: the rules that take the game state from one frame to the next. The state is
/// one value that may be read, copied and put back whole; everything a frame does besides
/// changing it (sounds, music, dialogs, messages, the mishap scene, drawing) comes out as
/// events, which the shell answers and the painter draws. A frame that needs an answer (the L and
/// Q prompts) stops at its question and goes on when the answer comes.
class GameEngine {
public:
    /// The map store the areas are copied from; it must outlive the engine.
    explicit GameEngine(const MapGrid& map);
    ~GameEngine();
    GameEngine(const GameEngine&) = delete;
    GameEngine& operator=(const GameEngine&) = delete;

    GameState& state();
    const GameState& state() const;

    /// Whether the events describe the drawing of the frames; a tool that paints nothing (the
    /// simulator, the route finder) leaves it off and saves the time. The state is the same.
    void setDrawingWanted(bool wanted);

    /// The FrameRate setting, read when the loop begins.
    void setFrameRate(std::int32_t frameRate);
    /// Where SaveGame and LoadGame keep the ring of saves; the store must outlive its use. Until
    /// one is given, every save fails and nothing is there to load.
    void setSaveStore(SaveStore& store);

    void NewGame();
    void EnterArea();
    void ClearKeys();
    /// Restores the save made `back` saves before the latest; a missing file starts a new game.
    /// Returns false when nothing was loaded: the slot was never written, or the file could not be
    /// read (the host has been asked to say why).
    bool LoadGame(int back);
    /// Used by the title's "つづきから": loads the latest save, or starts a new game when there is
    /// none (no file, or a slot never written).
    void ContinueGame();
    /// A new game moved and equipped as `start` says, its area entered.
    void startNewGame(const GameStart& start);
    /// The game the title's choice starts, as the title starts it: the game reset, then the
    /// start area entered (moved as `start` says, for a tool) or the latest save continued.
    void startFromTitle(TitleChoice choice, const GameStart& start = {});

    /// The start of the loop: the frame interval from the FrameRate setting, no key held.
    void beginLoop();

    /// Key events between frames (virtual key codes); ignored once the ending has begun.
    void keyDown(int virtualKey);
    void keyUp(int virtualKey);

    /// Runs the next frame, up to its end or to a question.
    StepEnd step();
    /// The question the frame waits for, or None.
    Question question() const;
    /// Answers the question; the frame goes on from where it stopped.
    StepEnd answer(bool yes);

    /// What happened since the events were last cleared, in order.
    const play::FrameEvents& events() const;
    void clearEvents();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace poronpa
