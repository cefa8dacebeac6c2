#pragma once

// Files that are not what a loader expects (a pipe, a device, a huge sparse file) and a way to run
// a loader on them that fails the test, instead of hanging it, when the loader blocks.

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace poronpa::test {

enum class Hostile {
    Pipe,       ///< a named pipe nobody writes into
    Device,     ///< a link to a device that never ends
    HugeSparse, ///< 2 GB, nearly all hole, with `head` at its start and `tail` at its end
};

inline const char* describe(Hostile kind)
{
    switch (kind) {
    case Hostile::Pipe: return "a named pipe";
    case Hostile::Device: return "a link to /dev/zero";
    case Hostile::HugeSparse: return "a 2 GB sparse file";
    }
    return "?";
}

constexpr off_t HugeSparseSize = off_t{2} << 30;

/// Puts a file of the given kind at `path`.
inline void makeHostile(const std::filesystem::path& path, Hostile kind, const std::string& head = {},
                        const std::string& tail = {})
{
    std::filesystem::remove(path);
    switch (kind) {
    case Hostile::Pipe:
        ::mkfifo(path.c_str(), 0644);
        return;
    case Hostile::Device:
        std::filesystem::create_symlink("/dev/zero", path);
        return;
    case Hostile::HugeSparse: {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        [[maybe_unused]] ssize_t n = ::pwrite(fd, head.data(), head.size(), 0);
        n = ::pwrite(fd, tail.data(), tail.size(), HugeSparseSize - static_cast<off_t>(tail.size()));
        [[maybe_unused]] const int truncated = ::ftruncate(fd, HugeSparseSize);
        ::close(fd);
        return;
    }
    }
}

/// Disk space a file takes, in bytes.
inline std::uintmax_t diskUsage(const std::filesystem::path& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return static_cast<std::uintmax_t>(status.st_blocks) * 512;
}

/// The last `count` bytes of a file.
inline std::string lastBytes(const std::filesystem::path& path, std::size_t count)
{
    std::string bytes(count, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat status {};
    ::fstat(fd, &status);
    const ssize_t n = ::pread(fd, bytes.data(), count, status.st_size - static_cast<off_t>(count));
    ::close(fd);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

/// Runs `work` in a child process and gives back the text it returned, or nothing when it did
/// not finish within `limit` (the child is then killed) or died.
inline std::optional<std::string> withinDeadline(const std::function<std::string()>& work,
                                                 std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        const std::string result = work();
        std::size_t done = 0;
        while (done < result.size()) {
            const ssize_t n = ::write(channel[1], result.data() + done, result.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string result;
    bool finished = false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd wait{channel[0], POLLIN, 0};
        if (::poll(&wait, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n <= 0) {
            finished = true;
            break;
        }
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    if (!finished)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!finished || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return result;
}

} // namespace poronpa::test
