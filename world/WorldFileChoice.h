#pragma once

#include <filesystem>
#include <string>

namespace poronpa {

/// The world file to read at start.
struct WorldFile {
    std::filesystem::path path;
    /// When the player's own map was passed over: a sentence naming it and the reason.
    std::string notice;
};

/// The player's own map when the editor has saved one apart from the shipped world and it is
/// whole; otherwise the shipped world. A player's map that cannot be read or is shorter than a
/// map is left untouched and named in the notice.
WorldFile worldFileToRead();

} // namespace poronpa
