#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace poronpa {

/// What the play engine asks of its surroundings while it runs. The game window answers with
/// widgets, timers, dialogs and sound; the headless simulator with a key script and a fake clock.
/// Every call is synchronous: a modal question or dialog returns when it has been answered.
class PlayHost {
public:
    virtual ~PlayHost() = default;

    // --- Time and window events ---------------------------------------------------------------
    /// A steady millisecond clock (the tick count).
    virtual std::uint32_t tickCount() = 0;
    /// Sleeps until tickCount() is strictly greater than `tick`.
    virtual void waitUntilAfter(std::uint32_t tick) = 0;
    /// Seconds since midnight, for the once-a-second frame-rate display.
    virtual double secondsSinceMidnight() = 0;
    /// Lets pending window events run once; key events reach the engine's keyDown/keyUp here.
    /// Returns false when the program is ending (the window was closed): the engine then leaves
    /// the game loop at once, without finishing the frame.
    virtual bool processEvents() = 0;

    // --- Sound -----------------------------------------------------------------------------
    /// Sound effect 1..15, once, asynchronously.
    virtual void playSound(int number) = 0;
    /// Tune 1..4 (the music's BGMPlay); notLoop true plays it once.
    virtual void playMusic(int tune, bool notLoop) = 0;
    virtual void stopMusic() = 0;

    // --- Modal moments ---------------------------------------------------------------------
    /// A Yes/No question with the question icon, captioned with the application title.
    virtual bool askYesNo(const std::string& question) = 0;
    /// A message with an OK button (used to say that the game could not be saved).
    virtual void showMessage(const std::string& message) = 0;
    /// The treasure box dialog for a BoxContent value; returns when it has closed.
    virtual void showTreasureBox(int boxContent) = 0;
    /// The mishap scene with the phrase already chosen; `frameInterval` paces its 41 steps.
    virtual void playMissGag(int phraseIndex, int frameInterval) = 0;

    // --- Screens -----------------------------------------------------------------------------
    /// The player confirmed the return to the title: show it (the title screen resets the game).
    virtual void showTitle() = 0;
    /// The ending has begun: the window's part of it (the engine has already drawn the stones).
    virtual void startEnding() = 0;

    // --- What the window shows ------------------------------------------------------------
    /// The canvas has been drawn for this frame; show it moved to (scrollX, scrollY) in the view.
    virtual void presentView(int scrollX, int scrollY) = 0;
    /// A rope line over the canvas (index 0 or 1), in canvas pixels.
    virtual void setRopeLine(int index, bool visible, int x, int y1, int y2) = 0;
    /// The 25 overview squares from MiniMapColor, indexed [column][row]: -1 hollow, else the fill.
    virtual void updateMiniMap(const std::array<std::array<std::int32_t, 5>, 5>& colours) = 0;
    /// Shows or hides the inventory icon of an item.
    virtual void setItemIconVisible(int item, bool visible) = 0;
    /// The frame-rate label's text, such as "60 fps".
    virtual void setFpsText(const std::string& text) = 0;
};

} // namespace poronpa
