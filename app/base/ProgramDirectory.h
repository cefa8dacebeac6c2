#pragma once

#include <filesystem>

namespace poronpa {

/// The directory of the running executable. Where the files live is decided from it by
/// fileLocations() (app/base/FileLocations.h).
std::filesystem::path programDirectory();

/// Overrides programDirectory() for this process (tests and tools that run the engine on files
/// of their own); an empty path ends the override.
void setProgramDirectory(const std::filesystem::path& directory);

} // namespace poronpa
