#pragma once

#include "app/qt/GamePlayHost.h"
#include "app/qt/GameWindow.h"
#include "app/qt/SidePanel.h"
#include "app/base/ProgramDirectory.h"
#include "audio/BackendAudioSystem.h"
#include "tests/support/TempDir.h"
#include "world/MapGrid.h"

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace poronpa::test {

/// Sound and music that remember what they were asked: the wave files started and the calls made
/// to the music device ("open PATH", "play", "play from start", "stop", "close"). The device
/// reports a tune as playing until told otherwise.
struct AudioLog {
    std::vector<std::string> waves;
    std::vector<std::string> commands;
    MusicStatus statusReply = MusicStatus::Playing;

    /// How many of the calls made so far start a tune (an open of that file).
    int opensOf(const std::string& file) const
    {
        int n = 0;
        for (const std::string& c : commands)
            if (c.rfind("open ", 0) == 0 && c.find(file) != std::string::npos)
                ++n;
        return n;
    }
    int wavesOf(const std::string& file) const
    {
        int n = 0;
        for (const std::string& w : waves)
            if (w.size() >= file.size() && w.compare(w.size() - file.size(), file.size(), file) == 0)
                ++n;
        return n;
    }
};

class RecordingWavePlayer : public WavePlayer {
public:
    explicit RecordingWavePlayer(AudioLog& log) : log_(log) {}
    void play(const std::string& path) override { log_.waves.push_back(path); }

private:
    AudioLog& log_;
};

class RecordingMusicDevice : public MusicDevice {
public:
    explicit RecordingMusicDevice(AudioLog& log) : log_(log) {}
    void open(const std::string& path) override { log_.commands.push_back("open " + path); }
    void play() override { log_.commands.push_back("play"); }
    void playFromStart() override { log_.commands.push_back("play from start"); }
    void stop() override { log_.commands.push_back("stop"); }
    void close() override { log_.commands.push_back("close"); }
    MusicStatus status() override { return log_.statusReply; }

private:
    AudioLog& log_;
};

inline std::unique_ptr<AudioSystem> recordingAudio(AudioLog& log)
{
    return std::make_unique<BackendAudioSystem>(std::make_unique<RecordingWavePlayer>(log),
                                                std::make_unique<RecordingMusicDevice>(log));
}

/// A world that is all background, with a floor of plain solid blocks under the start position
/// of a new game, so that the hero stands still while a test looks at the play screen.
inline MapGrid floorMap()
{
    MapGrid map;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        map.setCell(x, 4 * MapGrid::AreaCells + 48, 100);
    return map;
}

/// A game window in a program directory of its own, loaded and opened as at start-up.
struct OpenWindow {
    TempDir dir;
    MapGrid map = floorMap();
    AudioLog audio;
    std::unique_ptr<GameWindow> window;

    /// `settings` becomes zembo.ini before the window loads, when given.
    explicit OpenWindow(const std::string* settings = nullptr)
    {
        setProgramDirectory(dir.path());
        if (settings)
            writeText(dir / "zembo.ini", *settings);
        window = std::make_unique<GameWindow>(map, recordingAudio(audio));
        window->open();
        window->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window.get());
    }
    ~OpenWindow() { setProgramDirectory({}); }

    std::string settingsFile() const { return readText(dir / "zembo.ini"); }
};

/// Runs `action` once the event loop next runs: the way a test acts from inside the game's own
/// loop or a modal box.
inline void soon(std::function<void()> action, int delayMs = 0)
{
    QTimer::singleShot(delayMs, qApp, std::move(action));
}

/// Runs `action` from the event loop once `ready` holds, or at the latest after `deadlineMs`
/// (the test then finds what did not happen): for what a test waits for inside the game's own
/// loop, which a busy machine runs slower than a fixed delay allows for.
inline void when(std::function<bool()> ready, std::function<void()> action, int deadlineMs = 10000)
{
    auto* poll = new QTimer(qApp);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        if (!ready() && !clock.hasExpired(deadlineMs))
            return;
        poll->stop(); // the action may run an event loop of its own
        poll->deleteLater();
        action();
    });
    poll->start(5);
}

/// The message box on screen, or null.
inline QMessageBox* shownMessageBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    return nullptr;
}

/// The box open over the game window (the latest), or null.
inline QDialog* shownBox(const GameWindow& window)
{
    const QList<QDialog*> boxes = window.openBoxes();
    return boxes.isEmpty() ? nullptr : boxes.back();
}

/// While it lives, calls `action` with the first message box that opens, from the event loop.
class WhenMessageBoxOpens {
public:
    explicit WhenMessageBoxOpens(std::function<void(QMessageBox&)> action) : action_(std::move(action))
    {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (QMessageBox* box = shownMessageBox()) {
                poll_.stop();
                action_(*box);
            }
        });
        poll_.start();
    }

private:
    std::function<void(QMessageBox&)> action_;
    QTimer poll_;
};

/// Steps that each wait for a condition and then act, run from a timer in whatever loop is
/// running (the play loop, a modal box): a test drives the game from inside them. A step whose
/// condition is not met within the deadline ends the run and closes the window, so that the loop
/// it waits in unwinds; `failedAt` then names it.
class Steps {
public:
    Steps(GameWindow& window, int deadlineMs = 20000) : window_(window), deadlineMs_(deadlineMs)
    {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, [this] { next(); });
    }

    Steps& then(std::string name, std::function<bool()> until, std::function<void()> act)
    {
        steps_.push_back({std::move(name), std::move(until), std::move(act)});
        return *this;
    }
    void start()
    {
        clock_.start();
        poll_.start();
    }
    bool done() const { return !poll_.isActive() && failedAt.empty() && index_ == steps_.size(); }

    std::string failedAt;

private:
    struct Step {
        std::string name;
        std::function<bool()> until;
        std::function<void()> act;
    };
    void next()
    {
        if (index_ == steps_.size()) {
            poll_.stop();
            return;
        }
        Step& step = steps_[index_];
        if (step.until()) {
            ++index_;
            clock_.restart();
            // Acting may run a loop of its own (a game, a box); this timer must go on inside it.
            QTimer::singleShot(0, step.act);
        } else if (clock_.elapsed() > deadlineMs_) {
            failedAt = step.name;
            poll_.stop();
            window_.close();
        }
    }

    GameWindow& window_;
    int deadlineMs_;
    std::vector<Step> steps_;
    std::size_t index_ = 0;
    QTimer poll_;
    QElapsedTimer clock_;
};

inline bool sameColour(const QColor& a, const QColor& b)
{
    return a.rgb() == b.rgb();
}

} // namespace poronpa::test
