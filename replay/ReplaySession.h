#pragma once

#include "play/GameState.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace poronpa::replay {

/// The header of a game that has just started (a new game's area entered, or the continued game
/// loaded), before its first frame: the saves are read as they are now. `world` is the file the
/// map was read from, named in the header when given.
ReplayHeader startHeader(const GameState& state, bool continued, std::int32_t frameRate, const MapGrid& map,
                         const std::filesystem::path& saveFile, const std::filesystem::path& world = {});

/// The keys of the script's names that the engine holds now.
sim::KeySet heldKeys(const GameState& state);

/// One game being recorded: its keys in memory, written to its file at once, every `period`
/// while the game goes on, and a last time when it ends. The host tells it what happens to each
/// frame.
class ReplaySession {
public:
    /// `start` is the state the header was made from.
    ReplaySession(ReplayWriter& writer, std::filesystem::path path, const ReplayHeader& header, const GameState& start,
                  std::chrono::steady_clock::duration period = std::chrono::seconds(5));

    const std::filesystem::path& path() const { return path_; }
    ReplayRecorder& recorder() { return recorder_; }

    /// A frame begins with the keys the engine holds after the window's key events.
    void beginFrame(const GameState& state) { recorder_.beginFrame(heldKeys(state)); }
    /// The frame's question was answered No.
    void declineQuestion() { recorder_.declineQuestion(); }
    /// Saving or loading failed in this frame.
    void failed(Failure::Kind kind) { recorder_.failed(kind); }
    /// The frame ran to its end; `ending` when the ending began in it.
    void endFrame(const GameState& state, bool ending);

    /// The game is over (the title, the ending, the window closing, even inside a frame): the
    /// last write, with the end line of the last whole frame.
    void finish();

private:
    void write(std::string closing);

    ReplayWriter& writer_;
    std::filesystem::path path_;
    std::string header_;
    std::chrono::steady_clock::duration period_;
    std::chrono::steady_clock::time_point lastWrite_;
    ReplayRecorder recorder_;
    std::string endLine_;
    bool finished_ = false;
};

} // namespace poronpa::replay
