#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace poronpa {

/// Outcome of a file operation: empty when it succeeded, otherwise a sentence for the user that
/// names the file and the reason.
struct FileStatus {
    std::string error;
    bool ok() const { return error.empty(); }
};

/// The most a reader takes from a file when its caller knows no smaller bound.
inline constexpr std::size_t DefaultReadLimit = std::size_t{64} << 20;

// Every reader here opens without waiting (a pipe or a device in a file's place would otherwise
// hold the program before its window) and accepts regular files only; anything else is reported
// as a file that cannot be read.

/// Reads a whole file. A missing file is not an error: `exists` tells it apart from an empty one.
/// A file longer than `limit` bytes is an error that says so.
FileStatus readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, bool* exists = nullptr,
                         std::size_t limit = DefaultReadLimit);

/// Reads at most the first `limit` bytes of a file, for formats that use no more; the rest of a
/// longer file is never read. A missing file is not an error, as for readWholeFile.
FileStatus readFileHead(const std::filesystem::path& path, std::size_t limit, std::vector<std::uint8_t>& bytes,
                        bool* exists = nullptr);

// Every writer here replaces a file so that a crash or a full disk at any moment leaves either the
// old file or the new one, never a mixture: the bytes go to a file beside it, are flushed to the
// disk, and that file is renamed over the old one. A symbolic link is written through (its target
// is replaced, the link stays); a file its owner made read-only is not replaced, nor is anything
// but a regular file (a device, a pipe, a folder), and no file's mode is ever changed. Writers of
// this program in one folder take turns, so that a read-modify-write is never interleaved; a
// writer waits a second or two at most for its turn, then fails as for a file it may not write.

/// Writes a whole file.
FileStatus writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

/// What updateFile does with a file longer than the part it changes.
enum class LongerFile {
    KeepTail, ///< the bytes beyond the head stay as they are, copied without being read in whole
    Refuse,   ///< the file is not changed and the error says it is too large
};

/// Changes the first `headLimit` bytes of a file in one turn of the folder's writers: `change`
/// gets them (fewer for a shorter file, none for a missing one, `exists` telling which) and may
/// change and lengthen them up to `headLimit`; a change beyond that is refused, the file left as it
/// was. A file longer than `headLimit` is kept or refused as `longer` says; holes in a kept tail
/// stay holes.
FileStatus updateFile(const std::filesystem::path& path, std::size_t headLimit, LongerFile longer,
                      const std::function<void(std::vector<std::uint8_t>& head, bool exists)>& change);

/// Removes the temporary files that writers killed mid-write left beside `files`. Writers still
/// at work are waited for, so only what nobody will finish is removed; a folder whose writer takes
/// longer than half a second is left for the next time.
void removeStaleTemporaries(const std::vector<std::filesystem::path>& files);

/// The same for the files in `folder` whose names `ours` accepts, for writers whose files are
/// named as they go (the replays).
void removeStaleTemporariesIn(const std::filesystem::path& folder, const std::function<bool(std::string_view name)>& ours);

/// Makes a write beyond the process's file-size limit fail like a full disk instead of ending the
/// process with a signal.
void ignoreFileSizeSignal();

} // namespace poronpa
