#include "app/base/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <optional>
#include <string_view>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
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

/// Takes an exclusive advisory lock on `fd`, waiting at most `patience`. The wait is a blocking
/// one on a thread of its own, so that the lock passes to whoever asked first as the kernel queues
/// them (a writer that only polled could starve behind a busy one); a thread given up on keeps
/// waiting on its own copy of the descriptor and lets the lock go the moment it gets it.
bool lockWithin(int fd, std::chrono::milliseconds patience)
{
    int result;
    while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result == 0)
        return true;
    if (errno != EWOULDBLOCK)
        return true; // a folder that cannot be locked is written without waiting, as before

    struct Waiter {
        std::mutex mutex;
        std::condition_variable done;
        bool locked = false;
        bool givenUp = false;
    };
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return false;
    auto waiter = std::make_shared<Waiter>();
    try {
        std::thread([waiter, copy] {
            // The copy shares the lock with `fd`: taken here, it is held by the caller.
            while (::flock(copy, LOCK_EX) != 0 && errno == EINTR) {
            }
            std::lock_guard<std::mutex> lock(waiter->mutex);
            if (waiter->givenUp)
                ::flock(copy, LOCK_UN);
            ::close(copy);
            waiter->locked = true;
            waiter->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        ::close(copy);
        return false;
    }
    std::unique_lock<std::mutex> lock(waiter->mutex);
    if (waiter->done.wait_for(lock, patience, [&] { return waiter->locked; }))
        return true;
    waiter->givenUp = true;
    return false;
}

/// The turn of this program's writers in one folder: an advisory lock on the folder itself, so
/// that it covers the file and every temporary file beside it, survives the renames, and leaves
/// nothing behind. A folder that cannot be locked is written without waiting, as before; one whose
/// lock another program keeps beyond `patience` is not ours to write in for now.
class FolderTurn {
public:
    explicit FolderTurn(const std::filesystem::path& folder, std::chrono::milliseconds patience)
        : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd_.get() >= 0)
            taken_ = lockWithin(fd_.get(), patience);
    }
    /// The folder, open for reading (-1 when it could not be opened).
    int fd() const { return fd_.get(); }
    /// False when another program kept the folder's lock for longer than we would wait.
    bool taken() const { return taken_; }

private:
    Descriptor fd_;
    bool taken_ = true;
};

// A save waits this long for another writer before it fails as a file that cannot be written:
// long enough for any writer of ours to finish, short enough that the window is never held.
constexpr std::chrono::milliseconds WriterPatience{2000};
// Clearing up what a killed writer left can always wait for the next start.
constexpr std::chrono::milliseconds CleanerPatience{500};

FileStatus folderBusy(const std::filesystem::path& path)
{
    return {describe(path, "cannot be written", "another program keeps its folder locked")};
}

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

/// What is at a writer's target now, when it may be replaced: nothing, or a regular file its owner
/// lets us write. A device, a pipe, a socket or a folder in the file's place is never ours to
/// replace, whatever the folder allows (a superuser's rename would put a plain file in place of
/// the system's own device).
struct Replaceable {
    FileStatus status;
    bool exists = false;
    mode_t mode = 0;
};

Replaceable replaceable(const std::filesystem::path& named, const std::filesystem::path& target)
{
    Replaceable what;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            what.status = {describe(named, "cannot be written", errno)};
        return what;
    }
    what.exists = true;
    what.mode = existing.st_mode;
    if (S_ISDIR(existing.st_mode))
        what.status = {describe(named, "cannot be written", "it is a folder")};
    else if (!S_ISREG(existing.st_mode))
        what.status = {describe(named, "cannot be written", "not a regular file")};
    // Renaming over a file needs only the folder's permission; the file's own says whether its
    // owner wants it kept as it is.
    else if ((existing.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0)
        what.status = {describe(named, "cannot be written", EACCES)};
    return what;
}

/// Writes `head` (and the old file's tail) into a fresh file beside `target`, then renames it over
/// `target`. Runs inside the folder's turn, once `replaceable` allowed it.
FileStatus replace(const std::filesystem::path& named, const std::filesystem::path& target, std::span<const std::uint8_t> head,
                   const OldFile& old, const Replaceable& existing, const FolderTurn& turn)
{
    std::filesystem::path temporary = target;
    temporary += std::string(TemporaryInfix) + std::string(TemporaryRandomChars, 'X');
    std::string pattern = temporary.string();
    Descriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0)
        return {describe(named, "cannot be written", errno)};

    // Keep the permissions the old file had, so a save does not change who may read it.
    ::fchmod(fd.get(), existing.exists ? existing.mode & 07777 : 0644);

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

/// Follows the links of `path`, takes the turn of its target's folder and looks at what lies at
/// the target; `write` does the rest when that may be replaced.
FileStatus inTurn(const std::filesystem::path& path,
                  const std::function<FileStatus(const std::filesystem::path& target, const Replaceable& existing,
                                                 const FolderTurn& turn)>& write)
{
    std::filesystem::path target;
    if (FileStatus followed = followLinks(path, target); !followed.ok())
        return followed;
    const FolderTurn turn(target.parent_path(), WriterPatience);
    if (!turn.taken())
        return folderBusy(path);
    const Replaceable existing = replaceable(path, target);
    if (!existing.status.ok())
        return existing.status;
    return write(target, existing, turn);
}

/// updateFile's work inside the folder's turn.
FileStatus updateInTurn(const std::filesystem::path& path, const std::filesystem::path& target, const Replaceable& existing,
                        const FolderTurn& turn, std::size_t headLimit, LongerFile longer,
                        const std::function<void(std::vector<std::uint8_t>& head, bool exists)>& change)
{
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
    // Cutting the head to fit would drop what the file's owner wrote at its end: the file stays
    // as it is instead.
    if (head.size() > headLimit)
        return {describe(path, "cannot be written", "it would grow beyond " + std::to_string(headLimit) + " bytes")};
    // The tail stays at its own offset.
    if (old.size > old.tailFrom)
        head.resize(headLimit);
    return replace(path, target, head, old, existing, turn);
}

/// The name of the file a temporary file of ours was to replace, or nothing for any other name.
std::optional<std::string_view> temporaryFor(std::string_view name)
{
    const std::string_view infix = TemporaryInfix;
    if (name.size() <= infix.size() + TemporaryRandomChars)
        return std::nullopt;
    const std::string_view random = name.substr(name.size() - TemporaryRandomChars);
    const std::string_view base = name.substr(0, name.size() - TemporaryRandomChars - infix.size());
    if (name.substr(base.size(), infix.size()) != infix ||
        !std::all_of(random.begin(), random.end(), [](unsigned char c) { return std::isalnum(c) != 0; }))
        return std::nullopt;
    return base;
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
    return inTurn(path, [&](const std::filesystem::path& target, const Replaceable& existing, const FolderTurn& turn) {
        return replace(path, target, bytes, OldFile{}, existing, turn);
    });
}

FileStatus updateFile(const std::filesystem::path& path, std::size_t headLimit, LongerFile longer,
                      const std::function<void(std::vector<std::uint8_t>& head, bool exists)>& change)
{
    return inTurn(path, [&](const std::filesystem::path& target, const Replaceable& existing, const FolderTurn& turn) {
        return updateInTurn(path, target, existing, turn, headLimit, longer, change);
    });
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
    // Not a structured binding: a lambda may not capture one in every compiler the fuzzers use.
    for (const auto& folderAndNames : byFolder) {
        const std::vector<std::string>& names = folderAndNames.second;
        removeStaleTemporariesIn(folderAndNames.first, [&names](std::string_view base) {
            return std::find(names.begin(), names.end(), base) != names.end();
        });
    }
}

void removeStaleTemporariesIn(const std::filesystem::path& folder, const std::function<bool(std::string_view)>& ours)
{
    // Inside the folder's turn no writer of ours is between creating a temporary file and
    // renaming or removing it: whatever is left was left by one that was killed.
    const FolderTurn turn(folder, CleanerPatience);
    if (turn.fd() < 0 || !turn.taken())
        return;
    DIR* listing = ::fdopendir(::fcntl(turn.fd(), F_DUPFD_CLOEXEC, 0));
    if (!listing)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (const auto base = temporaryFor(name); base && ours(*base))
            stale.emplace_back(name);
    }
    ::closedir(listing);
    for (const std::string& name : stale) {
        struct stat status {};
        if (::fstatat(turn.fd(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
            ::unlinkat(turn.fd(), name.c_str(), 0);
    }
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace poronpa
