#pragma once

#include "app/sim/Trace.h"
#include "play/PlayHost.h"

#include <functional>

namespace poronpa::sim {

/// The simulator's answer to the engine's requests: a clock that jumps instead of waiting, no
/// window, every question answered Yes, every dialog closed at once, and a record of the sounds
/// and dialogs of the current frame for the trace.
class SimHost : public PlayHost {
public:
    /// `reportMessage` receives the messages the game would show in a message box.
    explicit SimHost(std::function<void(const std::string&)> reportMessage);

    /// Forgets what the previous frame requested.
    void startFrame();
    const FrameRequests& frameRequests() const { return requests_; }
    bool endingStarted() const { return endingStarted_; }

    std::uint32_t tickCount() override;
    void waitUntilAfter(std::uint32_t tick) override;
    double secondsSinceMidnight() override;
    bool processEvents() override;

    void playSound(int number) override;
    void playMusic(int tune, bool notLoop) override;
    void stopMusic() override;

    bool askYesNo(const std::string& question) override;
    void showMessage(const std::string& message) override;
    void showTreasureBox(int boxContent) override;
    void playMissGag(int phraseIndex, int frameInterval) override;

    void showTitle() override;
    void startEnding() override;

    void presentView(int scrollX, int scrollY) override;
    void setRopeLine(int index, bool visible, int x, int y1, int y2) override;
    void updateMiniMap(const std::array<std::array<std::int32_t, 5>, 5>& colours) override;
    void setItemIconVisible(int item, bool visible) override;
    void setFpsText(const std::string& text) override;

private:
    std::function<void(const std::string&)> reportMessage_;
    // Far from zero, so that "now minus two frames" never wraps below it.
    std::uint32_t clock_ = 1'000'000;
    FrameRequests requests_;
    bool endingStarted_ = false;
};

} // namespace poronpa::sim
