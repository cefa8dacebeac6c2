#pragma once

#include <QObject>
#include <QTimer>

#include <array>
#include <string>
#include <vector>

class QWidget;

namespace poronpa {

class Sound;
class clsBGMAPI;
class EndingBackdrop;

/// The window's part of the ending: the game window turns dark blue around the last view of the
/// play area, the music stops, and after four ticks of 60 ms the ending tune plays once and the
/// closing text appears. Nothing changes after that until the window is closed.
class EndingSequence : public QObject {
public:
    /// The closing text, one entry per printed line (the empty seventh line included).
    static const std::array<std::string, 9>& closingText();

    /// `panelControls` are hidden when the ending starts (overview squares, item icons, labels).
    EndingSequence(QWidget& window, QWidget& viewFrame, std::vector<QWidget*> panelControls, Sound& sound,
                   clsBGMAPI& music);

    /// The world's best times (records::bestTimeLine lines), printed under the closing text.
    void setBestTimes(std::vector<std::string> lines) { bestTimes_ = std::move(lines); }

    void StartEnding();
    /// Stops the timeline (the window is closing).
    void stop() { tmrEnding_.stop(); }

    bool started() const { return started_; }
    int EndingTick() const { return endingTick_; }
    const QTimer& tmrEnding() const { return tmrEnding_; }

private:
    void tmrEnding_Timer();

    QWidget& window_;
    QWidget& viewFrame_;
    std::vector<QWidget*> panelControls_;
    Sound& sound_;
    clsBGMAPI& music_;
    EndingBackdrop* backdrop_;
    QTimer tmrEnding_;
    std::vector<std::string> bestTimes_;
    int endingTick_ = 0;
    bool started_ = false;
};

} // namespace poronpa
