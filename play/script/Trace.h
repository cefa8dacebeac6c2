#pragma once

#include "play/GameState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace poronpa::sim {

/// The shortest decimal text that reads back as the same float (160, 1498.25, 1e-04, -0).
std::string formatFloat(float value);

/// The CSV header of the frame trace.
std::string traceHeader();

/// What the host saw during one frame besides the game state.
struct FrameRequests {
    std::vector<int> sounds;       ///< effect numbers in the order they were requested
    std::vector<int> boxContents;  ///< BoxContent of each treasure box dialog opened
};

/// One trace line (without the newline) for the state after frame `frame`.
std::string traceLine(std::int64_t frame, const GameState& state, const FrameRequests& requests);

/// The summary that always ends the simulator's output (without the newline).
std::string endLine(std::int64_t frames, const GameState& state, bool ending);

} // namespace poronpa::sim
