#pragma once

#include "app/base/TemporaryFolder.h"
#include "app/qt/InputRouter.h"
#include "replay/ReplayPlayer.h"

#include <filesystem>
#include <memory>
#include <string>

namespace poronpa {

class GamePlayHost;
class MapGrid;

/// The purpose in the name of the folder a watched replay keeps its saves in.
inline constexpr const char* WatchedReplayFolder = "replay";

/// A replay watched in the window, as the source of the frames' keys: it plays at the speed it was
/// played, answers every question Yes as the recorded game did (the recording kept only those),
/// and pages through the treasure box by itself. The player's keys do nothing but stop it (Q) and
/// run it four times as fast while F is held.
class ReplayInput : public InputSource {
public:
    /// Reads the replay in `file` and sets `engine` up at its start, with saves in a folder of
    /// their own; null with `error` set when it cannot be played. The engine's saves and frame
    /// rate are the replay's afterwards, even then: whoever watches puts them back.
    static std::unique_ptr<ReplayInput> open(const std::filesystem::path& file, GameEngine& engine,
                                             GamePlayHost& host, const KeyMap& keyMap, std::string& error);

    /// See ReplayPlayer::anotherMapNote.
    std::string anotherMapNote(const MapGrid& map) const { return player_->anotherMapNote(map); }

    bool nextFrame(KeySet& keys) override;
    void key(const QKeyEvent& event) override;
    std::optional<bool> answersItself() const override { return true; }
    void treasureBoxOpened(frmGetItem& dialog) override;

    ReplayInput(GamePlayHost& host, const KeyMap& keyMap);

private:
    GamePlayHost& host_;
    const KeyMap& keyMap_;
    TemporaryFolder folder_{WatchedReplayFolder};
    std::unique_ptr<replay::ReplayPlayer> player_;
    bool stopAsked_ = false;
};

} // namespace poronpa
