#include "app/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace poronpa {

namespace {

std::string describe(const std::filesystem::path& path, const char* what, int error)
{
    return path.string() + ": " + what + " (" + std::strerror(error) + ")";
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

FileStatus readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, bool* exists)
{
    bytes.clear();
    if (exists)
        *exists = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        return {describe(path, "cannot be opened", errno)};
    }
    if (exists)
        *exists = true;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return {describe(path, "cannot be read", error)};
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return {};
}

FileStatus writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp-XXXXXX";
    std::string pattern = temporary.string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return {describe(path, "cannot be written", errno)};

    // Keep the permissions the old file had, so a save does not change who may read it.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    else
        ::fchmod(fd, 0644);

    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(pattern.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(pattern.c_str());
        return {describe(path, "cannot be written", error)};
    }

    // Make the rename itself durable.
    const int dir = ::open(path.parent_path().empty() ? "." : path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace poronpa
