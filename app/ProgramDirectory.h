#pragma once

#include <filesystem>

namespace poronpa {

/// The directory of the running executable: where the program keeps its map, saves, settings,
/// sounds and tunes.
std::filesystem::path programDirectory();

/// Overrides programDirectory() for this process (tests and tools that run the engine on files
/// of their own).
void setProgramDirectory(const std::filesystem::path& directory);

} // namespace poronpa
