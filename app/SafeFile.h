#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace poronpa {

/// Outcome of a file operation: empty when it succeeded, otherwise a sentence for the user that
/// names the file and the reason.
struct FileStatus {
    std::string error;
    bool ok() const { return error.empty(); }
};

/// Reads a whole file. A missing file is not an error: `exists` tells it apart from an empty one.
FileStatus readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, bool* exists = nullptr);

/// Writes a whole file so that a crash or a full disk at any moment leaves either the old file or
/// the new one, never a mixture: the bytes go to a file beside it, are flushed to the disk, and
/// that file is renamed over the old one.
FileStatus writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace poronpa
