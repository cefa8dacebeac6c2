#pragma once

#include "play/script/Trace.h"
#include "play/GameEngine.h"

#include <functional>
#include <string>

namespace poronpa::sim {

/// The simulator's answers to what a frame asks: every question answered Yes, every dialog opened
/// and closed at once by OK on each page, the mishap scene taking no time; and a record of the
/// frame's sounds and dialogs for the trace.
class SimHost {
public:
    /// `reportMessage` receives the messages the game would show in a message box.
    explicit SimHost(std::function<void(const std::string&)> reportMessage);

    /// Runs the engine's next frame to its end and records what it asked for.
    StepEnd runFrame(GameEngine& engine);

    const FrameRequests& frameRequests() const { return requests_; }
    bool endingStarted() const { return endingStarted_; }

private:
    std::function<void(const std::string&)> reportMessage_;
    FrameRequests requests_;
    bool endingStarted_ = false;
};

} // namespace poronpa::sim
