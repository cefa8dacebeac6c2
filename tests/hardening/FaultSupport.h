#pragma once

#include "tests/support/TempDir.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace poronpa::test {

/// What a finished program left: its exit status (-1 when killed by a signal) and its output.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;

    /// The lines of standard error.
    std::vector<std::string> errLines() const
    {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = err.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(err.substr(start, end - start));
        return lines;
    }
};

/// Runs a program to its end with `input` on standard input. `fileSizeLimit` caps the size of
/// every file it writes, as a full disk would; the signal that limit raises is left at its
/// default, which ends the program unless the program itself ignores it.
inline ProgramRun runProgram(const std::vector<std::string>& args, const std::string& input = {},
                             std::optional<rlim_t> fileSizeLimit = std::nullopt)
{
    TempDir io;
    writeText(io / "in", input);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open((io / "in").c_str(), O_RDONLY);
        const int out = ::open((io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open((io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (fileSizeLimit) {
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{*fileSizeLimit, *fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProgramRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(io / "out");
    run.err = readText(io / "err");
    return run;
}

/// A directory nobody may write to while the object lives. Permissions do not stop the
/// superuser, so for it the directory is mounted over itself read-only instead; `ok()` is false
/// when neither can be done here.
class ReadOnlyDirectory {
public:
    explicit ReadOnlyDirectory(const std::filesystem::path& path) : path_(path)
    {
        if (::geteuid() != 0) {
            std::filesystem::permissions(path_, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
            ok_ = true;
            return;
        }
        mounted_ = ::mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) == 0;
        ok_ = mounted_ && ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyDirectory()
    {
        if (mounted_)
            ::umount2(path_.c_str(), MNT_DETACH);
        else
            std::filesystem::permissions(path_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    }
    ReadOnlyDirectory(const ReadOnlyDirectory&) = delete;
    ReadOnlyDirectory& operator=(const ReadOnlyDirectory&) = delete;

    bool ok() const { return ok_; }

private:
    std::filesystem::path path_;
    bool mounted_ = false;
    bool ok_ = false;
};

/// A small disk of its own (a memory file system mounted on a fresh directory), which the
/// superuser can fill up. `ok()` is false where mounting is not allowed.
class SmallDisk {
public:
    explicit SmallDisk(std::size_t bytes)
    {
        const std::string options = "size=" + std::to_string(bytes);
        ok_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (ok_)
            ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool ok() const { return ok_; }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }
    const std::filesystem::path& path() const { return dir_.path(); }

    /// Fills the disk with a file of its own until only `freeBytes` (rounded down to whole
    /// pages) are left.
    void leaveFree(std::size_t freeBytes) const
    {
        const auto filler = dir_ / "filler";
        std::filesystem::remove(filler);
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::vector<char> page(4096, 'x');
        while (::write(fd, page.data(), page.size()) > 0) {
        }
        ::close(fd);
        const auto full = std::filesystem::file_size(filler);
        std::filesystem::resize_file(filler, full > freeBytes ? full - freeBytes : 0);
    }

private:
    TempDir dir_;
    bool ok_ = false;
};

/// The names in a directory, sorted.
inline std::vector<std::string> directoryNames(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace poronpa::test
