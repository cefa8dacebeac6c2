#pragma once

#include "app/qt/GamePlayHost.h"
#include "app/qt/GameReplays.h"
#include "app/qt/InputRouter.h"
#include "play/SaveFileStore.h"
#include "screens/qt/EndingSequence.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/TitleScreen.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QDialog;
class QKeyEvent;

namespace poronpa {

class AudioSystem;
class PlayRecords;
class ReplayInput;
class TemporaryFolder;
struct GameStart;
struct Settings;

/// The purpose in the name of a test play's scratch folder, which a killed editor leaves behind.
inline constexpr const char* TestPlayFolder = "test-play";

/// What the session needs of the window it plays in: boxes opened over it, modal to it by the
/// window's own hand.
class BoxHost {
public:
    virtual ~BoxHost() = default;
    /// Opens `box` (taken over) over the window; `done` gets its result when it closes, unless
    /// the window closes first.
    virtual void openBox(QDialog* box, std::function<void(int)> done) = 0;
    /// A box is open over the window.
    virtual bool boxOpen() const = 0;
    /// The window, which boxes are made over.
    virtual QWidget& boxParent() = 0;
};

/// The controls of the window the session shows its states on.
struct SessionScreens {
    /// The game's own pixels, which the ending darkens around the play area.
    QWidget& client;
    /// The title picture, over the whole client, which the title and options screens lie on.
    QWidget& picTitle;
    PlayScreen play;
};

/// One game window's session: the title (and its options screen), a game played, a replay
/// watched and the ending are its states, and it alone moves from one to the next. It owns the
/// engine and the play loop, answers what the loop asks as its state decides (a replay's keys,
/// answers and failures are the recorded game's), and routes the window's input to the source
/// the frames follow.
class PlaySession : private TitleActions, private PlaySurroundings {
public:
    enum class State {
        Title,    ///< the title menu or the options screen; no game runs
        Playing,  ///< a game of the player's (from the title, or the editor's test play)
        Watching, ///< a replay plays, from its reading to its end
        Ending,   ///< the ending runs, until the window closes
        Closed,   ///< the window is closing: nothing more happens
    };

    /// The session over `map` and the window's `screens` and `boxes`, in the title state's
    /// place but not yet showing it. `settings` and `keyMap` are the window's and outlive it.
    /// `world` is the file the map was read from, empty for the default world: the player's games
    /// keep their saves and replays in that world's folder (see worldPlayerFile).
    PlaySession(const MapGrid& map, const std::filesystem::path& world, AudioSystem& audio, Settings& settings,
                const KeyMap& keyMap, BoxHost& boxes, const SessionScreens& screens, const Surface& tileSheet,
                const Surface& spriteSheet);
    ~PlaySession() override;

    State state() const { return state_; }
    /// The file the map was read from; empty for the default world.
    const std::filesystem::path& world() const { return world_; }

    /// The title: its picture shown and focused, its tune, a fresh game behind it.
    void showTitle();
    /// Plays at once from `start` (the editor's test play), with saves of its own apart from the
    /// player's; Q answered Yes calls `over` instead of showing the title.
    void startTestPlay(const GameStart& start, std::function<void()> over);
    /// Reads the replay and watches it; one that cannot be played is named in a message box and
    /// the title stays.
    void watch(const std::filesystem::path& file);
    /// The window is closing: the loop stops, and the music and the ending with it.
    void close();

    /// A key of the window's other than its own commands: the frames' source takes it while the
    /// loop runs.
    void key(const QKeyEvent& event);
    /// A gamepad button pressed or let go, as the key it stands for where the keyboard is.
    void padButton(PadButton button, bool down, const QWindow* game);
    /// The keys held now count as let go (the window lost the keyboard to another).
    void letGoOfKeys();
    /// The keys held before a box opened must be pressed again after it, as after the game's own
    /// questions.
    void forgetHeldKeys();
    /// The last box over the window has closed: frames that waited for it go on.
    void boxesClosed();

    GameEngine& engine() const { return *engine_; }
    GamePlayHost& host() const { return *host_; }
    InputRouter& router() { return input_; }
    TitleScreen& title() const { return *title_; }
    OptionsScreen& options() const { return *options_; }
    EndingSequence& ending() const { return *ending_; }
    const SessionScreens& screens() const { return screens_; }

private:
    // The title menu's requests.
    void resetGame() override;
    void enterStartArea() override;
    void continueGame() override;
    void runGame() override;
    const AreaCounters& deathCounts() const override;
    void showBox(QDialog* box) override;

    // What the play loop asks of it.
    InputSource& input() override { return input_.source(); }
    replay::ReplaySession* recording() override { return replays_.recording(); }
    void playSound(int number) override;
    void playMusic(int tune) override;
    void showTreasureBox(int content, std::function<void()> done) override;
    void tellFailure(const std::string& message, std::function<void()> done) override;
    void ask(const std::string& question, std::function<void(bool)> answered) override;
    bool boxOpen() const override { return boxes_.boxOpen(); }
    void loopStarts() override;
    void loopEnds() override;
    void finished(StepEnd end) override;

    /// Tells the player something, over the window and on standard error.
    void tell(bool warning, const std::string& text, std::function<void()> then = {});
    /// The loop starts in `state` with the title out of the way.
    void play(State state);

    const MapGrid& map_;
    std::filesystem::path world_;
    AudioSystem& audio_;
    Settings& settings_;
    const KeyMap& keyMap_;
    BoxHost& boxes_;
    SessionScreens screens_;
    State state_ = State::Title;

    std::unique_ptr<GameEngine> engine_;
    /// The player's saves, and a test play's apart from them.
    SaveFileStore playerSaves_;
    std::unique_ptr<TemporaryFolder> testPlayFolder_;
    std::unique_ptr<SaveFileStore> testPlaySaves_;
    std::function<void()> testPlayOver_;

    InputRouter input_;
    std::unique_ptr<GamePlayHost> host_;
    GameReplays replays_;
    std::unique_ptr<ReplayInput> watched_;
    /// The run timer, the best times and the ghost.
    std::unique_ptr<PlayRecords> records_;

    std::unique_ptr<TitleScreen> title_;
    std::unique_ptr<OptionsScreen> options_;
    std::unique_ptr<EndingSequence> ending_;
};

} // namespace poronpa
