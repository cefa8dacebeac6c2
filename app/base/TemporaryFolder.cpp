#include "app/base/TemporaryFolder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace poronpa {

namespace {

constexpr const char* Prefix = "poronpa-";
constexpr std::size_t RandomChars = 6; // mkdtemp's XXXXXX

// A folder in use holds an open-file-description read lock on itself. Unlike a lock taken with
// flock it leaves the folder's own turn of writers (SafeFile's) free, and unlike a classic record
// lock it does not go when some other descriptor of the folder is closed; like both, it ends with
// the process however that ends.
bool markInUse(int fd)
{
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool inUse(int fd)
{
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    // A folder whose locks cannot be asked about is taken for one in use.
    return ::fcntl(fd, F_OFD_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
}

bool sameFile(int fd, const std::filesystem::path& path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

void removeAll(const std::filesystem::path& path)
{
    // Whatever was made read-only inside must not keep the folder from going.
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

/// Whether `name` is poronpa-<one of purposes>-XXXXXX.
bool leftoverName(const std::string& name, const std::vector<std::string>& purposes)
{
    return std::any_of(purposes.begin(), purposes.end(), [&](const std::string& purpose) {
        const std::string stem = Prefix + purpose + "-";
        return name.size() == stem.size() + RandomChars && name.starts_with(stem) &&
               std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                           [](unsigned char c) { return std::isalnum(c) != 0; });
    });
}

} // namespace

TemporaryFolder::TemporaryFolder(const std::string& purpose)
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return;
    // A cleaner that looked in the moment between a folder's making and its marking may have
    // taken it: then it is made afresh. (That moment is a few system calls long; a cleaner that
    // looked in it and removes only after the check below would go unseen.)
    for (int attempt = 0; attempt < 3 && path_.empty(); ++attempt) {
        std::string pattern = (base / (Prefix + purpose + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            return;
        const int fd = ::open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (!markInUse(fd) || !sameFile(fd, pattern)) {
            ::close(fd);
            continue;
        }
        lock_ = fd;
        path_ = pattern;
    }
}

TemporaryFolder::~TemporaryFolder()
{
    if (!path_.empty() && !kept_)
        removeAll(path_);
    if (lock_ >= 0)
        ::close(lock_);
}

void TemporaryFolder::removeLeftovers(const std::vector<std::string>& purposes)
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return;
    DIR* listing = ::opendir(base.c_str());
    if (!listing)
        return;
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(listing))
        if (leftoverName(entry->d_name, purposes))
            candidates.emplace_back(entry->d_name);
    ::closedir(listing);

    for (const std::string& name : candidates) {
        const std::filesystem::path folder = base / name;
        struct stat status {};
        // Only a folder of this user's: another user's is theirs to clear, and a link is no folder.
        if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::geteuid())
            continue;
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (!inUse(fd) && sameFile(fd, folder))
            removeAll(folder);
        ::close(fd);
    }
}

} // namespace poronpa
