#pragma once

#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace poronpa::replay {

/// One game being recorded: its keys in memory, written to its file at once, every `period`
/// while the game goes on, and a last time when it ends.
class ReplaySession {
public:
    ReplaySession(ReplayWriter& writer, std::filesystem::path path, const ReplayHeader& header,
                  std::chrono::steady_clock::duration period = std::chrono::seconds(5));

    ReplayRecorder& recorder() { return recorder_; }
    const std::filesystem::path& path() const { return path_; }

    /// After each frame; writes what there is when it is time.
    void afterFrame();

    /// The game is over and `endLine` is how the simulator would sum it up: the last write.
    void finish(const std::string& endLine);

private:
    void write(std::string closing);

    ReplayWriter& writer_;
    std::filesystem::path path_;
    std::string header_;
    std::chrono::steady_clock::duration period_;
    std::chrono::steady_clock::time_point lastWrite_;
    ReplayRecorder recorder_;
    bool finished_ = false;
};

} // namespace poronpa::replay
