#pragma once

#include "play/GameState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace poronpa::sim {

/// The simulator's command line.
struct SimOptions {
    std::optional<std::string> mapFile;   ///< absent: the world the game would read
    std::optional<std::string> saveFile;  ///< absent: savedata.dat in a fresh temporary directory
    bool continueGame = false;
    GameStart start;                      ///< --area, --pos, --items and --switch
    std::int32_t frameRate = 0;
    std::optional<std::string> inputFile; ///< "-" for standard input; absent: no key is held
    std::optional<std::int64_t> frames;   ///< absent: until the input script ends
    bool trace = false;
    /// A replay to play instead of a key script: it brings its own start, saves and frame rate.
    std::optional<std::string> replayFile;
    bool check = false; ///< exit 3 when the replay's end line is not the one it recorded
};

/// Reads the arguments after the program name. On a bad argument returns false with `error`
/// saying which and why.
bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

} // namespace poronpa::sim
