#include "app/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace poronpa {

namespace {

constexpr const char* TemporaryInfix = ".tmp-";
constexpr std::size_t TemporaryRandomChars = 6; // mkstemp's XXXXXX
constexpr int MostLinksFollowed = 40;           // as the kernel's own limit

std::string describe(const std::filesystem::path& path, const char* what, const std::string& reason)
{
    return path.string() + ": " + what + " (" + reason + ")";
}

std::string describe(const std::filesystem::path& path, const char* what, int error)
{
    return describe(path, what, std::strerror(error));
}

/// A file descriptor closed with its owner.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

/// The turn of this program's writers in one folder: an advisory lock on the folder itself, so
/// that it covers the file and every temporary file beside it, survives the renames, and leaves
/// nothing behind. A folder that cannot be locked is written without waiting, as before.
class FolderTurn {
public:
    explicit FolderTurn(const std::filesystem::path& folder)
        : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd_.get() >= 0)
            while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    /// The folder, open for reading (-1 when it could not be opened).
    int fd() const { return fd_.get(); }

private:
    Descriptor fd_;
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t size, off_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

/// Reads from `fd` until its end or `limit` bytes.
bool readUpTo(int fd, std::size_t limit, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::uint8_t buffer[65536];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return true;
}

/// Why a file could not be opened or read: what failed and the reason, or nothing.
struct Problem {
    const char* what = nullptr;
    std::string reason;
    explicit operator bool() const { return what != nullptr; }
    FileStatus about(const std::filesystem::path& path) const { return {describe(path, what, reason)}; }
};

/// Opens a file for reading without waiting for a writer or a device, and only when it is a
/// regular file. A missing file leaves `fd` closed and is no problem.
Problem openRegular(const std::filesystem::path& path, Descriptor& fd, struct stat& status)
{
    fd.reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT ? Problem{} : Problem{"cannot be opened", std::strerror(errno)};
    if (::fstat(fd.get(), &status) != 0)
        return {"cannot be read", std::strerror(errno)};
    if (S_ISDIR(status.st_mode))
        return {"cannot be read", std::strerror(EISDIR)};
    if (!S_ISREG(status.st_mode))
        return {"cannot be read", "not a regular file"};
    return {};
}

Problem tooLarge(std::size_t limit) { return {"cannot be read", "larger than " + std::to_string(limit) + " bytes"}; }

FileStatus readFrom(const std::filesystem::path& path, std::size_t limit, bool wholeFile, std::vector<std::uint8_t>& bytes,
                    bool* exists)
{
    bytes.clear();
    Descriptor fd;
    struct stat status {};
    const Problem problem = openRegular(path, fd, status);
    if (exists)
        *exists = fd.get() >= 0;
    if (problem)
        return problem.about(path);
    if (fd.get() < 0)
        return {};
    if (wholeFile && static_cast<std::uintmax_t>(status.st_size) > limit)
        return tooLarge(limit).about(path);
    // One byte more than allowed tells a file that grew while it was read.
    if (!readUpTo(fd.get(), wholeFile ? limit + 1 : limit, bytes)) {
        const int error = errno;
        bytes.clear();
        return {describe(path, "cannot be read", error)};
    }
    if (bytes.size() > limit) {
        bytes.clear();
        return tooLarge(limit).about(path);
    }
    return {};
}

/// The file a path finally names, following symbolic links, so that a write replaces the target
/// and leaves the link in place.
FileStatus followLinks(const std::filesystem::path& path, std::filesystem::path& target)
{
    target = path;
    for (int followed = 0;; ++followed) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return {};
        if (followed == MostLinksFollowed)
            return {describe(path, "cannot be written", ELOOP)};
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(target, error);
        if (error)
            return {describe(path, "cannot be written", error.value())};
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
}

/// Copies the bytes of `from` between `begin` and `end` to the same offsets of `to`, skipping the
/// holes of a sparse file so that the copy takes no more disk than the original.
bool copyRange(int from, int to, off_t begin, off_t end)
{
    std::vector<std::uint8_t> buffer(1 << 16);
    off_t position = begin;
    while (position < end) {
        off_t data = ::lseek(from, position, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break; // nothing but a hole up to the end
            if (errno != EINVAL && errno != EOPNOTSUPP)
                return false;
            data = position; // a file system that cannot tell: copy everything
        }
        if (data >= end)
            break;
        off_t hole = ::lseek(from, data, SEEK_HOLE);
        if (hole < 0 || hole > end)
            hole = end;
        for (off_t at = data; at < hole;) {
            const ssize_t n = ::pread(from, buffer.data(), static_cast<std::size_t>(std::min<off_t>(hole - at, static_cast<off_t>(buffer.size()))), at);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            if (n == 0)
                return true; // the file was cut short meanwhile: the rest reads as zeros
            if (!writeAll(to, buffer.data(), static_cast<std::size_t>(n), at))
                return false;
            at += n;
        }
        position = hole;
    }
    return true;
}

/// The old file a replacement copies its tail from.
struct OldFile {
    int fd = -1;
    off_t size = 0;
    off_t tailFrom = 0; ///< the tail is copied when the file is longer than this
};

/// Writes `head` (and the old file's tail) into a fresh file beside `target`, then renames it over
/// `target`. Runs inside the folder's turn.
FileStatus replace(const std::filesystem::path& named, const std::filesystem::path& target, std::span<const std::uint8_t> head,
                   const OldFile& old, const FolderTurn& turn)
{
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // Renaming over a file needs only the folder's permission; the file's own says whether its
    // owner wants it kept as it is.
    if (exists && S_ISREG(existing.st_mode) && ((existing.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0))
        return {describe(named, "cannot be written", EACCES)};

    std::filesystem::path temporary = target;
    temporary += std::string(TemporaryInfix) + std::string(TemporaryRandomChars, 'X');
    std::string pattern = temporary.string();
    Descriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0)
        return {describe(named, "cannot be written", errno)};

    // Keep the permissions the old file had, so a save does not change who may read it.
    ::fchmod(fd.get(), exists ? existing.st_mode & 07777 : 0644);

    int error = 0;
    if (!writeAll(fd.get(), head.data(), head.size(), 0))
        error = errno;
    if (error == 0 && old.fd >= 0 && old.size > old.tailFrom) {
        if (!copyRange(old.fd, fd.get(), old.tailFrom, old.size) || ::ftruncate(fd.get(), old.size) != 0)
            error = errno;
    }
    if (error == 0 && ::fsync(fd.get()) != 0)
        error = errno;
    if (::close(fd.release()) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(pattern.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(pattern.c_str());
        return {describe(named, "cannot be written", error)};
    }
    // Make the rename itself durable.
    if (turn.fd() >= 0)
        ::fsync(turn.fd());
    return {};
}

bool isTemporaryOf(const std::string& name, const std::string& file)
{
    const std::string prefix = file + TemporaryInfix;
    if (name.size() != prefix.size() + TemporaryRandomChars || !name.starts_with(prefix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

} // namespace

FileStatus readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, bool* exists, std::size_t limit)
{
    return readFrom(path, limit, true, bytes, exists);
}

FileStatus readFileHead(const std::filesystem::path& path, std::size_t limit, std::vector<std::uint8_t>& bytes, bool* exists)
{
    return readFrom(path, limit, false, bytes, exists);
}

FileStatus writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path target;
    if (FileStatus followed = followLinks(path, target); !followed.ok())
        return followed;
    const FolderTurn turn(target.parent_path());
    return replace(path, target, bytes, OldFile{}, turn);
}

FileStatus updateFile(const std::filesystem::path& path, std::size_t headLimit, LongerFile longer,
                      const std::function<void(std::vector<std::uint8_t>& head, bool exists)>& change)
{
    std::filesystem::path target;
    if (FileStatus followed = followLinks(path, target); !followed.ok())
        return followed;
    const FolderTurn turn(target.parent_path());

    Descriptor fd;
    struct stat status {};
    if (const Problem problem = openRegular(target, fd, status))
        return problem.about(path);
    std::vector<std::uint8_t> head;
    OldFile old;
    if (fd.get() >= 0) {
        old.fd = fd.get();
        old.size = status.st_size;
        old.tailFrom = static_cast<off_t>(headLimit);
        if (longer == LongerFile::Refuse && old.size > old.tailFrom)
            return tooLarge(headLimit).about(path);
        if (!readUpTo(fd.get(), headLimit, head))
            return {describe(path, "cannot be read", errno)};
    }
    change(head, fd.get() >= 0);
    if (head.size() > headLimit)
        head.resize(headLimit);
    // The tail stays at its own offset.
    if (old.size > old.tailFrom)
        head.resize(headLimit);
    return replace(path, target, head, old, turn);
}

void removeStaleTemporaries(const std::vector<std::filesystem::path>& files)
{
    std::map<std::filesystem::path, std::vector<std::string>> byFolder;
    for (const auto& file : files) {
        // Beside a link's target, where its writers work, and beside the link, where they
        // worked while it was a file of its own.
        byFolder[file.parent_path()].push_back(file.filename().string());
        std::filesystem::path target;
        if (followLinks(file, target).ok() && target != file)
            byFolder[target.parent_path()].push_back(target.filename().string());
    }
    for (const auto& [folder, names] : byFolder) {
        // Inside the folder's turn no writer of ours is between creating a temporary file and
        // renaming or removing it: whatever is left was left by one that was killed.
        const FolderTurn turn(folder);
        if (turn.fd() < 0)
            continue;
        DIR* listing = ::fdopendir(::dup(turn.fd()));
        if (!listing)
            continue;
        std::vector<std::string> stale;
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (std::any_of(names.begin(), names.end(), [&](const std::string& file) { return isTemporaryOf(name, file); }))
                stale.push_back(name);
        }
        ::closedir(listing);
        for (const std::string& name : stale) {
            struct stat status {};
            if (::fstatat(turn.fd(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
                ::unlinkat(turn.fd(), name.c_str(), 0);
        }
    }
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace poronpa
