#pragma once

#include "replay/ReplaySession.h"
#include "replay/ReplayWriter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace poronpa::replay {

/// Every game of a run of the game, recorded into a file of its own in the replay folder and
/// written on a thread of its own. When the folder cannot be written (a full disk, a read-only
/// folder, no folder at all), `report` says so once and the run goes on without recording.
class Recordings {
public:
    /// `folder` empty: there is nowhere to keep replays.
    Recordings(std::filesystem::path folder, std::function<void(const std::string&)> report);
    /// Ends the game being recorded and waits for its last write.
    ~Recordings();
    Recordings(const Recordings&) = delete;
    Recordings& operator=(const Recordings&) = delete;

    /// A game has started (its area entered, or the continued game loaded) and its first frame is
    /// next: recording begins. Returns the game's session, or null when nothing is recorded.
    /// `world` is the file the map was read from (see startHeader).
    ReplaySession* begin(const GameState& state, bool continued, std::int32_t frameRate, const MapGrid& map,
                         const std::filesystem::path& saveFile, const std::filesystem::path& world = {});
    /// The game being recorded, or null.
    ReplaySession* current();
    /// The game is over: its last write, with the end line of its last whole frame.
    void end();
    /// Waits until what has been handed over is written.
    void flush() { writer_.flush(); }

private:
    std::filesystem::path folder_;
    std::function<void(const std::string&)> report_;
    ReplayWriter writer_;
    std::optional<ReplaySession> session_;
    bool reportedNoFolder_ = false;
};

} // namespace poronpa::replay
