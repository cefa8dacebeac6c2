#pragma once

#include "world/MapGrid.h"

#include <QLabel>
#include <QTimer>

#include <array>
#include <vector>

namespace poronpa {

class MouseLabel;
class OverviewSquare;
struct GameState;

/// The side panel beside the play screen: the overview of the areas, the items held, the edition
/// word, the frame rate and the note of a save written. The play loop shows the game on it
/// through show(), showFrameRate() and noteSaved() alone; its controls are laid on the client
/// area and are the client's.
class SidePanel {
public:
    explicit SidePanel(QWidget& client);

    /// The areas visited with their colours, the items held and, when it is shown, the run's
    /// time, as in `state`.
    void show(const GameState& state);
    /// The run timer in the item box's heading, shown or not (the player's setting).
    void showRunTimer(bool shown);
    /// The frames per second, in the panel's bottom corner.
    void showFrameRate(const QString& text);
    /// "セーブしました" beside the item box for a few seconds: a save was written.
    void noteSaved();
    /// The note of a save is taken away at once (a new game is not the last game's).
    void clearSavedNote();
    /// Every control of the panel, which the ending hides.
    std::vector<QWidget*> controls() const;

    OverviewSquare& shpMap(int index) const { return *shpMap_.at(static_cast<std::size_t>(index)); }
    QLabel& imgItem(int item) const { return *imgItem_.at(static_cast<std::size_t>(item)); }
    MouseLabel& lblBeta2() const { return *lblBeta2_; }
    QLabel& lblDPS() const { return *lblDPS_; }
    QLabel& lblSaved() const { return *lblSaved_; }
    QLabel& lblRunTime() const { return *lblRunTime_; }

private:
    std::array<OverviewSquare*, MapGrid::Areas * MapGrid::Areas> shpMap_{};
    std::array<QLabel*, 10> imgItem_{};
    MouseLabel* lblBeta2_ = nullptr;
    QLabel* lblDPS_ = nullptr;
    QLabel* lblSaved_ = nullptr;
    QLabel* lblRunTime_ = nullptr;
    bool runTimerShown_ = false;
    std::int32_t runFramesShown_ = 0;
    QTimer savedNoteTimer_;
};

} // namespace poronpa
