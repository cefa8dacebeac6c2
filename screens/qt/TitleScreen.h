#pragma once

#include "world/MapGrid.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <string>

class QDialog;
class QWidget;

namespace poronpa {

class MouseLabel;
class OptionsScreen;
class Sound;
class clsBGMAPI;

/// Mishaps counted per area.
using AreaCounters = AreaNumbers;

/// What the title menu starts; the game window answers with its play engine.
class TitleActions {
public:
    virtual ~TitleActions() = default;
    /// A fresh game state (NewGame); nothing is drawn.
    virtual void resetGame() = 0;
    /// Enters the start area of the fresh game.
    virtual void enterStartArea() = 0;
    /// Restores the latest save, or prepares a fresh game in the start area when there is none.
    virtual void continueGame() = 0;
    /// Runs the play loop until the player returns to the title, the ending begins or the window
    /// closes.
    virtual void runGame() = 0;
    /// How often the hero was lost in each area.
    virtual const AreaCounters& deathCounts() const = 0;
    /// Opens a box (taken over) over the game window, modal to it.
    virtual void showBox(QDialog* box) = 0;
};

/// The text of the play-count box: one line per area column, each count at least four digits,
/// then the total (CR LF line breaks).
std::string playCountText(const AreaCounters& deathCount);

/// The title screen on the title picture: the three-entry menu, its keyboard shortcuts (space,
/// L, the arrows over the menu and Enter), the "Please wait..." notice while a game is being
/// prepared, and the play-count box opened from the edition word beside the play screen.
class TitleScreen : public QObject {
public:
    TitleScreen(QWidget& picTitle, MouseLabel& lblBeta2, Sound& sound, clsBGMAPI& music, TitleActions& actions);

    /// The options screen that "設 定" opens in place of the menu.
    void setOptionsScreen(OptionsScreen* options) { options_ = options; }

    /// Makes the title current: the picture shown and focused, the title tune once, a fresh game.
    void ShowTitle();
    /// True shows the options screen in place of the menu, false the menu again.
    void ShowOptions(bool show);

    void lblTitle_Click(int index);
    void lblTitle_MouseMove(int index);
    /// A character typed while the title has the keyboard focus.
    void picTitle_KeyPress(int characterCode);
    /// Moves the menu's highlight, the one the pointer gives, `step` entries down (up when
    /// negative), round from one end to the other; with none yet, down starts at the first entry
    /// and up at the last.
    void moveHighlight(int step);
    /// Chooses the highlighted entry, the first when none is.
    void chooseHighlighted();
    /// The menu entry highlighted, or -1 before any is.
    int highlighted() const { return highlighted_; }
    bool optionsShown() const { return optionsShown_; }
    void lblBeta2_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

    MouseLabel& lblTitle(int index) const { return *lblTitle_.at(static_cast<std::size_t>(index)); }
    MouseLabel& lblWait(int index) const { return *lblWait_.at(static_cast<std::size_t>(index)); }
    MouseLabel& lblBeta1() const { return *lblBeta1_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& picTitle_;
    MouseLabel& lblBeta2_;
    Sound& sound_;
    clsBGMAPI& music_;
    TitleActions& actions_;
    OptionsScreen* options_ = nullptr;
    bool optionsShown_ = false;
    int highlighted_ = -1;
    std::array<MouseLabel*, 3> lblTitle_{};
    std::array<MouseLabel*, 2> lblWait_{};
    MouseLabel* lblBeta1_ = nullptr;
};

} // namespace poronpa
