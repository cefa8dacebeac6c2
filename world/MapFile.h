#pragma once

#include "app/base/SafeFile.h"
#include "world/MapGrid.h"

#include <filesystem>
#include <functional>
#include <string>

namespace poronpa {

/// Called after every tenth column (0, 10, ..., 240) with the caption the editor's status label
/// shows, such as "120/240)".
using MapProgress = std::function<void(const std::string& caption)>;

/// Reads the map file into the grid: byte 250·x + y is cell (x, y). A missing file is created
/// empty and leaves the world at tile 0; a short file leaves the cells without a byte at 0; a
/// longer file's extra bytes are never read. Column and row 250 are left as they are. `fileHead`,
/// when given, receives the bytes read.
FileStatus loadMap(const std::filesystem::path& path, MapGrid& map, const MapProgress& progress = {},
                   std::vector<std::uint8_t>* fileHead = nullptr);

/// Reads a world a person named (on a command line, in a file dialog): unlike loadMap, nothing is
/// created and only a whole world is taken. A missing file, one that is not a regular file (a
/// folder, a pipe, a device), one that cannot be read or one shorter than a map is refused with a
/// sentence naming it and the reason, and `map` is left as it was.
FileStatus loadWholeWorld(const std::filesystem::path& path, MapGrid& map);

/// The map file's bytes as loadMap reads them (none for a missing file), to tell whether the file
/// changed since.
FileStatus readMapFileHead(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

/// Writes the grid's stored cells in file order over the first 62,500 bytes of the file, keeping
/// any longer file's tail. The old file stays whole until the new one is complete.
FileStatus saveMap(const std::filesystem::path& path, const MapGrid& map, const MapProgress& progress = {});

/// The map file's bytes for the grid, in file order (column by column).
std::array<std::uint8_t, MapGrid::FileBytes> mapFileBytes(const MapGrid& map);

} // namespace poronpa
