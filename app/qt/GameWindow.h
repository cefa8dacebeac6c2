#pragma once

#include "app/qt/Gamepads.h"
#include "app/base/Surface.h"
#include "app/qt/VirtualKeys.h"
#include "audio/AudioSystem.h"
#include "screens/qt/TitleScreen.h"
#include "settings/Settings.h"
#include "settings/WindowSettings.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QDialog;
class QLabel;

namespace poronpa {

class AreaCanvasView;
class TemporaryFolder;
struct GameStart;
class EndingSequence;
class GameEngine;
class GamePlayHost;
class GameReplays;
class MapGrid;
class MouseLabel;
class OptionsScreen;
class OverviewSquare;
class PixelView;
class SaveFileStore;

/// The purpose in the name of a test play's scratch folder, which a killed editor leaves behind.
inline constexpr const char* TestPlayFolder = "test-play";

/// The game window: title, options, play and ending all happen in it, by showing and hiding its
/// controls. Closing it in any state stops the music, writes the settings and ends the program.
/// The boxes it opens (prompts, the treasure box dialog, messages) are modal to it by the window's
/// own hand: it ignores its input while one is open and hands the focus back to the box. The
/// toolkit's own window modality would drop a close request to the window under the box, and the
/// window must close in any state.
class GameWindow : public QWidget, private TitleActions {
public:
    static constexpr int ClientWidth = 518;
    static constexpr int ClientHeight = 346;

    /// Loads the window: settings, tables, layout, audio lists. The map must outlive the window.
    GameWindow(const MapGrid& map, std::unique_ptr<AudioSystem> audio, QWidget* parent = nullptr);
    ~GameWindow() override;

    /// Shows the window and the title screen.
    void open();
    /// Shows the window playing at once from `start`, for a test play of the editor: Q answered
    /// Yes closes the window instead of showing the title, closing it calls `ended` instead of
    /// ending the program, and the game saves into a scratch file of its own, apart from the
    /// player's saves.
    void openTestPlay(const GameStart& start, std::function<void()> ended);
    /// Q was answered Yes: the title, or the end of a test play.
    void backToTitle();

    /// True once the window has begun to close.
    bool closing() const { return closing_; }

    /// Opens `box` (which the window takes over) centred over the window and modal to it; `done`
    /// gets its result when it closes, unless the window closes first. Frames wait while a box
    /// is open.
    void openBox(QDialog* box, std::function<void(int)> done = {});
    /// The boxes open over the window, the latest last.
    QList<QDialog*> openBoxes() const;

    GameEngine& engine() const { return *engine_; }
    GamePlayHost& playHost() const { return *host_; }
    /// The games recorded and the replay watched in the window.
    GameReplays& replays() const { return *replays_; }
    Settings& settings() { return settings_; }
    Sound& sound() const { return audio_->sound(); }
    clsBGMAPI& music() const { return audio_->music(); }
    TitleScreen& title() const { return *title_; }
    OptionsScreen& options() const { return *options_; }
    EndingSequence& ending() const { return *ending_; }

    QWidget& picTitle() const { return *picTitle_; }
    QWidget& picFrame() const { return *picFrame_; }
    AreaCanvasView& picGame() const { return *picGame_; }
    OverviewSquare& shpMap(int index) const { return *shpMap_.at(static_cast<std::size_t>(index)); }
    QLabel& imgItem(int item) const { return *imgItem_.at(static_cast<std::size_t>(item)); }
    MouseLabel& lblBeta2() const { return *lblBeta2_; }
    QLabel& lblDPS() const { return *lblDPS_; }
    /// "セーブしました" beside the item box, for a few seconds after each save that was written.
    QLabel& lblSaved() const { return *lblSaved_; }
    void showSavedNote();

    /// The game's own 518 × 346 pixels, where every control lies; the window shows them magnified.
    QWidget& client() const { return *client_; }
    PixelView& view() const { return *view_; }
    /// The magnification the window shows the client at now.
    int scale() const;
    /// Magnifies the window 1..4 times (Ctrl with plus, minus, 0), as far as the screen has room.
    void setScale(int scale);
    bool fullScreen() const;
    /// Full screen: the client as large as whole pixels allow, centred on black (F11, Alt+Enter).
    void setFullScreen(bool on);

    const KeyMap& keyMap() const { return keyMap_; }
    Gamepads& gamepads() { return gamepads_; }
    /// Shows the window "操作説明" (F1) and waits until it is closed; the keys held before it
    /// opened count as let go, as after the game's own questions.
    void showControlsHelp();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The title menu's requests, answered by the play engine.
    void resetGame() override;
    void enterStartArea() override;
    void continueGame() override;
    void runGame() override;
    const AreaCounters& deathCounts() const override;
    void showBox(QDialog* box) override { openBox(box); }

    void layOutPlayScreen();
    /// Shows the window as the settings ask and takes its key events.
    void showWindow();
    /// Sizes the window and places the magnified client in it, for the scale asked and the screen.
    void layOutWindow();
    /// A box of fixed size drawn in pixels of its own (the treasure box) in a frame that shows it
    /// at the window's magnification, closing with it; any other box as it is.
    QDialog* magnified(QDialog* box);
    /// Carries out the window's own keys; false for a key that is not one of them.
    bool windowKey(const QKeyEvent& key);
    /// A gamepad button as the key it stands for, pressed or let go where the keyboard's would be.
    void padButtonChanged(PadButton button, bool down);

    std::unique_ptr<AudioSystem> audio_;
    clsINI ini_;
    Settings settings_;
    QImage background_;
    Surface tileSheet_;
    Surface spriteSheet_;
    std::unique_ptr<GameEngine> engine_;
    /// The player's saves, and a test play's apart from them.
    std::unique_ptr<SaveFileStore> playerSaves_;
    std::unique_ptr<SaveFileStore> testPlayStore_;
    std::unique_ptr<GamePlayHost> host_;
    std::unique_ptr<GameReplays> replays_;
    QList<QPointer<QDialog>> boxes_;

    QWidget* client_ = nullptr;
    PixelView* view_ = nullptr;
    /// The magnification asked for (Ctrl keys, the settings file, the first-start rule).
    int scale_ = 1;
    QWidget* picFrame_ = nullptr;
    AreaCanvasView* picGame_ = nullptr;
    std::array<OverviewSquare*, 25> shpMap_{};
    std::array<QLabel*, 10> imgItem_{};
    MouseLabel* lblBeta2_ = nullptr;
    QLabel* lblDPS_ = nullptr;
    QLabel* lblSaved_ = nullptr;
    QTimer savedNoteTimer_;
    QWidget* picTitle_ = nullptr;
    std::unique_ptr<TitleScreen> title_;
    std::unique_ptr<OptionsScreen> options_;
    std::unique_ptr<EndingSequence> ending_;
    QTimer tmrBGMLoop_;
    WindowSettings windowSettings_;
    KeyMap keyMap_;
    Gamepads gamepads_;
    /// The key each gamepad button pressed, and the window it went to, so that letting go of the
    /// button lets go of that key there, whatever has happened in between.
    struct PadKey {
        QPointer<QWindow> target;
        QKeyCombination key{Qt::Key_unknown};
    };
    std::array<PadKey, PadButtonCount> padKeys_{};
    bool exposed_ = false;
    bool closing_ = false;
    /// Set for a test play: called when the window closes.
    std::function<void()> testPlayEnded_;
    std::unique_ptr<TemporaryFolder> testPlaySaves_;
};

} // namespace poronpa
