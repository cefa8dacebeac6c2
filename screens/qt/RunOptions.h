#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace poronpa {

class MouseLabel;
struct Settings;

/// The world's best times as the options screen and the ending show them: a heading that says what
/// the star means, then a line a run (records::bestTimeLine), or a note that there is none yet.
std::vector<QString> bestTimesText(const std::vector<std::string>& lines);

/// The options screen's part for playing a world again: the run timer and the ghost switched on
/// or off (each a heading with "ON" and "OFF", the value not chosen dimmed, as the music's row),
/// and the world's best times. A choice changes the setting at once; the next game follows it.
class RunOptions : public QObject {
public:
    /// Lays out its labels (hidden) on `picTitle`.
    RunOptions(QWidget& picTitle, Settings& settings);

    void setVisible(bool visible);
    /// The best times shown, fastest first, each as a line (records::bestTimeLine).
    void showBestTimes(const std::vector<std::string>& lines);

    /// The labels of the two rows: the timer's heading, ON and OFF, then the ghost's.
    MouseLabel& label(int index) const { return *labels_.at(static_cast<std::size_t>(index)); }
    void label_Click(int index);
    QLabel& bestTimes() const { return *bestTimes_; }

private:
    Settings& settings_;
    std::array<MouseLabel*, 6> labels_{};
    QLabel* bestTimes_ = nullptr;
};

} // namespace poronpa
