#pragma once

#include "app/base/SafeFile.h"
#include "play/FrameRunner.h"
#include "play/GameEngine.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayPlayer.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace poronpa::records {

/// Where the ghost's hero is to be drawn: its picture (play/Animation.h's hero frame) with its
/// top-left corner on the area canvas.
struct GhostSighting {
    int frame = 0;
    int x = 0, y = 0;

    bool operator==(const GhostSighting&) const = default;
};

/// The hero of a world's best run, beside the player's game. The run's replay steps an engine of
/// its own through the real rules, a frame for each frame of the player's run, so that the ghost is
/// where it was at that time of the run and can never drift. It plays no sound, draws nothing and
/// touches no save of the player's: the saves the run began with lie in a folder of its own.
class Ghost {
public:
    /// `replay` is the best run's, read and checked; `folder` is the ghost's own and outlives it.
    Ghost(const MapGrid& map, replay::Replay replay, std::filesystem::path folder);
    ~Ghost();
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    /// The ghost at `frames` frames into its run: stepped on to it, or started again and stepped
    /// on when the player's run went back (a save loaded). False when it cannot be there: its run
    /// ended before, or its saves could not be put in place.
    bool seek(std::int64_t frames);

    /// The frames run so far.
    std::int64_t frames() const { return frames_; }
    /// Whether its run goes on (it has not yet ended).
    bool running() const { return running_; }
    /// The ghost's game as it stands.
    const GameState& state() const { return engine_->state(); }

    /// Where to draw its hero over the area (`areaX`, `areaY`) the player is in; nothing when it
    /// is in another area, has fallen out of the world, or its run is over.
    std::optional<GhostSighting> sighting(int areaX, int areaY) const;

private:
    class SilentHost;

    /// Back to the run's start, before its first frame.
    bool restart();

    const MapGrid& map_;
    const replay::Replay replay_;
    const std::filesystem::path folder_;
    std::unique_ptr<SilentHost> host_;
    std::unique_ptr<GameEngine> engine_;
    std::unique_ptr<replay::ReplayPlayer> player_;
    std::unique_ptr<play::FrameRunner> runner_;
    std::int64_t frames_ = 0;
    bool running_ = false;
};

} // namespace poronpa::records
