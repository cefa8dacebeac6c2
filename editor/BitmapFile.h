#pragma once

#include "app/base/SafeFile.h"
#include "app/base/Surface.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace poronpa {

/// The surface as a plain 24-bit Windows bitmap file: the two headers, then the rows from the
/// bottom up, each padded to a multiple of four bytes.
std::vector<std::uint8_t> encodeBitmap(const Surface& picture);

/// Writes the surface as a 24-bit bitmap file, replacing any file of that name whole.
FileStatus saveBitmap(const std::filesystem::path& path, const Surface& picture);

} // namespace poronpa
