#pragma once

#include "app/qt/Gamepads.h"
#include "app/base/Surface.h"
#include "app/qt/PlaySession.h"
#include "app/qt/VirtualKeys.h"
#include "audio/AudioSystem.h"
#include "settings/Settings.h"
#include "settings/WindowSettings.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>

class QDialog;

namespace poronpa {

class AreaCanvasView;
struct GameStart;
class MapGrid;
class PixelView;
class SidePanel;

/// The game window, a frame around the views of its play session (the title picture, the play
/// screen, the side panel), shown magnified. Title, options, play, a replay and the ending are
/// the session's states; the window holds the views, its own keys (help, full screen, scale),
/// the boxes over it, and hands the rest of its input to the session.
/// Closing it in any state stops the music, writes the settings and ends the program.
/// The boxes it opens (prompts, the treasure box dialog, messages) are modal to it by the window's
/// own hand: it ignores its input while one is open and hands the focus back to the box. The
/// toolkit's own window modality would drop a close request to the window under the box, and the
/// window must close in any state.
class GameWindow : public QWidget, private BoxHost {
public:
    static constexpr int ClientWidth = 518;
    static constexpr int ClientHeight = 346;

    /// Loads the window: settings, tables, layout, audio lists. The map must outlive the window.
    /// `world` is the file the map was read from, empty for the default world: another world's
    /// name is shown on the title, and its games keep their saves and replays apart.
    GameWindow(const MapGrid& map, std::unique_ptr<AudioSystem> audio, const std::filesystem::path& world = {},
               QWidget* parent = nullptr);
    ~GameWindow() override;

    /// Shows the window and the title screen.
    void open();
    /// Shows the window playing at once from `start`, for a test play of the editor: Q answered
    /// Yes closes the window instead of showing the title, closing it calls `ended` instead of
    /// ending the program, and the game saves into a scratch file of its own, apart from the
    /// player's saves.
    void openTestPlay(const GameStart& start, std::function<void()> ended);
    /// True once the window has begun to close.
    bool closing() const { return closing_; }

    /// Opens `box` (which the window takes over) centred over the window and modal to it; `done`
    /// gets its result when it closes, unless the window closes first. Frames wait while a box
    /// is open.
    void openBox(QDialog* box, std::function<void(int)> done = {}) override;
    /// The boxes open over the window, the latest last.
    QList<QDialog*> openBoxes() const;

    /// The title, the game, a replay and the ending, as its states.
    PlaySession& session() const { return *session_; }
    SidePanel& panel() const { return *panel_; }
    Settings& settings() { return settings_; }
    Sound& sound() const { return audio_->sound(); }

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
    bool boxOpen() const override { return !openBoxes().isEmpty(); }
    QWidget& boxParent() override { return *this; }

    /// The play screen's controls: the area canvas in its frame, and the side panel.
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
    std::unique_ptr<AudioSystem> audio_;
    clsINI ini_;
    Settings settings_;
    QImage background_;
    Surface tileSheet_;
    Surface spriteSheet_;
    QList<QPointer<QDialog>> boxes_;

    QWidget* client_ = nullptr;
    PixelView* view_ = nullptr;
    /// The magnification asked for (Ctrl keys, the settings file, the first-start rule).
    int scale_ = 1;
    QWidget* picFrame_ = nullptr;
    AreaCanvasView* picGame_ = nullptr;
    std::unique_ptr<SidePanel> panel_;
    QWidget* picTitle_ = nullptr;
    QTimer tmrBGMLoop_;
    WindowSettings windowSettings_;
    KeyMap keyMap_;
    Gamepads gamepads_;
    std::unique_ptr<PlaySession> session_;
    bool exposed_ = false;
    bool closing_ = false;
    /// Set for a test play: called when the window closes.
    std::function<void()> testPlayEnded_;
};

} // namespace poronpa
