#pragma once

#include "play/script/KeyScript.h"
#include "app/sim/SimHost.h"
#include "play/GameEngine.h"
#include "world/MapGrid.h"

#include <memory>
#include <vector>

namespace poronpa::route {

/// The area cells of a state; states that did not change a cell share one copy.
using SharedCells = std::shared_ptr<const std::array<std::array<std::uint8_t, 51>, 51>>;

/// Everything needed to put the engine back into a earlier frame, packed small: a search keeps
/// hundreds of thousands of them.
struct Snapshot {
    std::vector<std::uint8_t> fields; ///< the game state without its area cells and held keys
    SharedCells cells;
    sim::KeySet keyHeld;    ///< the engine's held-key table
    sim::KeySet scriptKeys; ///< what the key script held in the last frame, as the runner knows it
    std::int64_t frame = 0;
    bool ending = false;
};

/// The play engine run headless exactly as the simulator runs it: a new game, then one frame at a
/// time with the keys the script holds in it.
class EngineDriver {
public:
    explicit EngineDriver(const MapGrid& map);

    /// A new game as the simulator starts it (in the home meadow unless `start` moves it), the
    /// loop begun, no key held.
    void startNewGame(const GameStart& start = {});

    /// Runs one frame with these keys held by the script. Returns false once the loop has ended
    /// (the ending began).
    bool step(const sim::KeySet& keys);

    Snapshot save() const;
    /// `reuse` may offer the cells of a related snapshot, shared when they are equal.
    Snapshot save(const SharedCells& reuse) const;
    void restore(const Snapshot& snapshot);

    const GameState& state() const { return engine_.state(); }
    const MapGrid& map() const { return map_; }
    /// BoxContent of every treasure box dialog opened in the last frame.
    const std::vector<int>& dialogs() const { return host_.frameRequests().boxContents; }
    bool ending() const { return ending_; }
    std::int64_t frame() const { return frame_; }

private:
    const MapGrid& map_;
    sim::SimHost host_;
    GameEngine engine_;
    play::FrameRunner runner_{engine_, host_};
    std::int64_t frame_ = 0;
    bool ending_ = false;
};

} // namespace poronpa::route
