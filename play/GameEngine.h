#pragma once

#include "app/Surface.h"
#include "play/GameState.h"
#include "play/PlayHost.h"
#include "world/MapGrid.h"

#include <filesystem>
#include <memory>

namespace poronpa {

/// How a run of GameLoop ended.
enum class LoopExit {
    ToTitle,  ///< Q answered Yes; the host has been asked to show the title
    Ending,   ///< the arrival at the viewing spot ran out; the ending has begun
    Stopped,  ///< StopLoop was set (or the window closed)
};

/// The play engine: the game state and everything a frame does to it. It reads the map store and
/// the two sheets, draws into its own area canvas and asks its host for everything else.
class GameEngine {
public:
    GameEngine(const MapGrid& map, const Surface& tileSheet, const Surface& spriteSheet, PlayHost& host);
    ~GameEngine();

    GameState& state();
    const GameState& state() const;

    /// The 1600 × 1600 area canvas everything in play is drawn into.
    const Surface& canvas() const;

    /// When false the engine skips all drawing (the simulator's fast path); the state is the same.
    void setDrawingEnabled(bool enabled);

    /// The FrameRate setting, read when GameLoop starts.
    void setFrameRate(std::int32_t frameRate);
    /// Where SaveGame and LoadGame keep the ring of saves.
    void setSaveFile(const std::filesystem::path& path);

    void NewGame();
    void EnterArea();
    void ClearKeys();
    /// Restores the save made `back` saves before the latest; a missing file starts a new game.
    /// Returns false when nothing was loaded because that slot was never written.
    bool LoadGame(int back);
    /// Used by the title's "つづきから": loads the latest save, or starts a new game when there is
    /// none (no file, or a slot never written).
    void ContinueGame();

    /// Runs frames until a way out is taken.
    LoopExit GameLoop();

    /// GameLoop's parts, for a host that drives frames itself (the simulator): the loop's start,
    /// then one frame at a time. runFrame returns false when the loop would end, with the way out
    /// in `exit`.
    void beginLoop();
    bool runFrame(LoopExit& exit);

    /// Key events of the game window (virtual key codes); ignored once the ending has begun.
    void keyDown(int virtualKey);
    void keyUp(int virtualKey);
    /// The window is closing: the loop ends at once.
    void requestStop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace poronpa
