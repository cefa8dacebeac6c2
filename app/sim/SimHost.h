#pragma once

#include "play/FrameRunner.h"
#include "play/script/Trace.h"

#include <functional>
#include <string>

namespace poronpa::sim {

/// The simulator's answers to what a frame asks: every question answered Yes, every dialog opened
/// and closed at once by OK on each page, the mishap scene taking no time; and a record of the
/// frame's sounds and dialogs for the trace.
class SimHost : public play::FrameHost {
public:
    /// `reportMessage` receives the messages the game would show in a message box.
    explicit SimHost(std::function<void(const std::string&)> reportMessage);

    const FrameRequests& frameRequests() const { return requests_; }
    bool endingStarted() const { return endingStarted_; }

    void frameBegins(const GameState& state) override;
    std::optional<bool> ask(Question question) override;
    void playSound(int number) override;
    void openTreasureBox(int content) override;
    void saveFailed(const std::string& reason) override;
    void loadFailed(const std::string& reason) override;
    void frameEnds(StepEnd end, const GameState& state) override;

private:
    std::function<void(const std::string&)> reportMessage_;
    FrameRequests requests_;
    bool endingStarted_ = false;
};

} // namespace poronpa::sim
