#pragma once

#include "app/base/Surface.h"
#include "records/BestTimes.h"

#include <QImage>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace poronpa {

class AreaCanvasView;
class MapGrid;
class SaveFileStore;
class SidePanel;
class TemporaryFolder;
struct GameState;
struct Settings;

namespace records {
class Ghost;
}

/// The purpose in the name of the ghost's scratch folder, which a killed game leaves behind.
inline constexpr const char* GhostFolder = "ghost";

/// The run timer, the best times and the ghost as the game window shows them. A game the title
/// starts is a run: the timer follows its frames in the side panel (when the player switched it
/// on), reaching the ending records it in the world's best times, and a new game brings the
/// world's ghost along (when switched on), drawn over the area the player is in. The world's
/// records lie beside its save file.
class PlayRecords {
public:
    /// All outlive it. `saves` are the player's, whose folder is the world's.
    PlayRecords(const MapGrid& map, const Settings& settings, const SaveFileStore& saves, SidePanel& panel,
                AreaCanvasView& canvas, const Surface& spriteSheet);
    ~PlayRecords();

    /// The title started a game: a new one, or one continued from a save.
    void titleStarted(bool newGame);
    /// The play loop begins; `recording` is the file the game is recorded into (empty: none). It
    /// plays the game the title started, if titleStarted() came since the last loop; else a game
    /// that is no run (a replay watched, the editor's test play).
    void loopStarts(const std::filesystem::path& recording);
    /// A frame ran to its end: the ghost follows the run's frames.
    void frameEnded(const GameState& state);
    /// The loop is over: the ghost goes.
    void loopEnds();
    /// The run reached the ending: it is recorded in the best times once `flushRecording` has
    /// written its recording whole. What went wrong is told on standard error.
    void reachedEnding(const GameState& state, const std::function<void()>& flushRecording);

    /// The world's best times as the ending and the options screen show them, fastest first.
    std::vector<std::string> bestTimeLines() const;

private:
    std::filesystem::path folder() const;
    const QImage& heroPicture(int frame);

    const MapGrid& map_;
    const Settings& settings_;
    const SaveFileStore& saves_;
    SidePanel& panel_;
    AreaCanvasView& canvas_;
    const Surface& spriteSheet_;

    bool titleStarted_ = false;
    bool newGame_ = false;
    /// The loop plays a run the title started.
    bool run_ = false;
    std::filesystem::path recording_;
    std::unique_ptr<TemporaryFolder> ghostFolder_;
    std::unique_ptr<records::Ghost> ghost_;
    /// The hero's pictures the ghost has shown, by frame.
    std::map<int, QImage> pictures_;
};

} // namespace poronpa
