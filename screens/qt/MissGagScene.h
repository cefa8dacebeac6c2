#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <functional>

class QWidget;

namespace poronpa {

class ScenePicture;

/// The mishap scene in the view frame `frame` (320 × 320, black) while `canvas`, its child, is
/// hidden: the hero at the bottom, the phrase in the middle, and a soul rising one pixel a step
/// for 41 steps, each step more than two frame intervals after the one before (the first two
/// follow each other at once). It runs on its own timer from the moment it is made; `done` is
/// called, from the event loop, once the canvas is back. Destroying the scene ends it at once.
class MissGagScene : public QObject {
public:
    MissGagScene(QWidget& frame, QWidget& canvas, int phraseIndex, int frameInterval, std::function<void()> done);
    ~MissGagScene() override;

    /// Steps drawn so far, 1..41.
    int stepsShown() const { return rise_ + 1; }
    bool finished() const { return finished_; }

    /// The wait after the last step drawn is over: the next step, or the end after the last.
    /// The timer calls it; tests may call it directly instead of running an event loop.
    void advance();

private:
    void drawStep();
    void tick();

    QPointer<ScenePicture> scene_;
    QPointer<QWidget> canvas_;
    std::function<void()> done_;
    QTimer timer_;
    QElapsedTimer clock_;
    std::int64_t lastStep_ = 0;
    std::int64_t stepSpan_ = 0;
    int x0_ = 0, y0_ = 0;
    int rise_ = 0;
    bool finished_ = false;
};

} // namespace poronpa
