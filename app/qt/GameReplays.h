#pragma once

#include "app/base/TemporaryFolder.h"
#include "replay/Recordings.h"
#include "replay/ReplayPlayer.h"
#include "play/SaveFileStore.h"

#include <filesystem>
#include <memory>
#include <optional>

class QKeyEvent;

namespace poronpa {

class GameEngine;
class GameWindow;
class MapGrid;

/// The purpose in the name of the folder a watched replay keeps its saves in.
inline constexpr const char* WatchedReplayFolder = "replay";

/// The replays of the game window. Every game played in it is recorded, from the title's start
/// to the title, the ending or the window closing, into the replay folder beside the player's
/// files; and a replay may be watched in it (poronpa --replay FILE) at the speed it was played,
/// with its sounds, the player's keys doing nothing but stop it (Q) and run it four times as fast
/// while F is held. The window's play loop tells it when a loop starts and ends and hands it each
/// frame.
class GameReplays {
public:
    /// `playerSaves` are the saves the player's games use, recorded at each game's start.
    GameReplays(GameWindow& window, const MapGrid& map, SaveFileStore& playerSaves);
    ~GameReplays();

    /// The title's choice: a new game or a continued one, recorded by the loop that follows.
    void started(bool continued)
    {
        continued_ = continued;
        fromTitle_ = true;
    }
    /// The play loop has begun: recording begins for a game the title started (not for a replay
    /// watched, nor for the editor's test play, whose start and saves are its own).
    void loopStarts();
    /// The play loop is over (the title, the ending, the window closing): the recording's last
    /// write, or the end of watching.
    void loopEnds();

    /// The game being recorded, told what each frame does; null when nothing is recorded.
    replay::ReplaySession* recording() { return recordings_.current(); }

    /// Reads the replay and plays it; one that cannot be played is named in a message box, and
    /// the title stays.
    void watch(const std::filesystem::path& file);
    bool watching() const { return player_ != nullptr; }
    /// Hands the engine the replay's keys for the next frame; false when the replay is over or
    /// was stopped.
    bool nextFrame(GameEngine& engine);
    /// A key of the window while a replay is watched; every key is the watch's then.
    void key(const QKeyEvent& event);
    /// The treasure box dialog of a replay: it pages on and closes by itself.
    void showTreasureBox(int boxContent, std::function<void()> done);

private:
    GameWindow& window_;
    const MapGrid& map_;
    SaveFileStore& playerSaves_;
    replay::Recordings recordings_;
    bool continued_ = false;
    bool fromTitle_ = false;

    std::optional<TemporaryFolder> watchFolder_;
    std::unique_ptr<replay::ReplayPlayer> player_;
    bool stopAsked_ = false;
};

} // namespace poronpa
