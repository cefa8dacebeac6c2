#pragma once

#include "play/script/KeyScript.h"
#include "replay/ReplayFile.h"
#include "replay/ReplaySaveStore.h"

#include <filesystem>
#include <sstream>

namespace poronpa {
class GameEngine;
}

namespace poronpa::replay {

/// A replay played on an engine as the simulator plays key scripts: the recorded start with the
/// saves it began with (in a folder of the replay's own, never the player's saves), then frame
/// by frame the keys the engine held and the failures the frame's saves met.
class ReplayPlayer {
public:
    /// `replay` has been read and checked whole; `folder` is the replay's own.
    ReplayPlayer(Replay replay, const std::filesystem::path& folder);

    const Replay& replay() const { return replay_; }
    /// When the replay was recorded on another map than `map`: what a watcher is told, naming the
    /// world it needs; else empty (a plain key script never was).
    std::string anotherMapNote(const MapGrid& map) const;

    /// Starts the game as the recording did (a plain key script: as a new game), with the
    /// recorded frame rate. An error names a save file that could not be put in place.
    FileStatus start(GameEngine& engine);

    /// Before each frame: the keys held in it, and the failures of this frame's saves and loads
    /// made ready. False once the replay's frames are used up, with no key held.
    bool nextFrame(KeySet& keys);

    /// The frames handed out so far.
    std::int64_t frames() const { return frames_; }

private:
    Replay replay_;
    std::istringstream text_;
    sim::KeyScriptReader script_;
    sim::KeyFeed feed_;
    ReplaySaveStore saves_;
    std::int64_t frames_ = 0;
};

} // namespace poronpa::replay
