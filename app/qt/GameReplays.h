#pragma once

#include "replay/Recordings.h"

#include <filesystem>

namespace poronpa {

class MapGrid;
class SaveFileStore;
struct GameState;

/// The games recorded in the game window. Every game the title starts is recorded, from its start
/// to the title, the ending or the window closing, into the replay folder of the world played; a
/// replay watched and the editor's test play, whose start and saves are their own, are not.
class GameReplays {
public:
    /// `playerSaves` are the saves the player's games use, recorded at each game's start; `world`
    /// is the file the map was read from, empty for the default world (see worldPlayerFile).
    GameReplays(const MapGrid& map, const SaveFileStore& playerSaves, const std::filesystem::path& world);
    ~GameReplays();

    /// The title's choice: a new game or a continued one, recorded by the loop that follows.
    void started(bool continued)
    {
        continued_ = continued;
        fromTitle_ = true;
    }
    /// The play loop has begun at `state`: recording begins for a game the title started.
    void loopStarts(const GameState& state, int frameRate);
    /// The play loop is over (the title, the ending, the window closing): the recording's last write.
    void loopEnds() { recordings_.end(); }

    /// Waits until the recordings handed over are written (the last game's, read at its ending).
    void flush() { recordings_.flush(); }

    /// The game being recorded, told what each frame does; null when nothing is recorded.
    replay::ReplaySession* recording() { return recordings_.current(); }

private:
    const MapGrid& map_;
    const SaveFileStore& playerSaves_;
    /// The world named in each replay's header.
    std::filesystem::path worldFile_;
    replay::Recordings recordings_;
    bool continued_ = false;
    bool fromTitle_ = false;
};

} // namespace poronpa
