#include "app/base/FileLocations.h"

#include "app/base/FileNames.h"
#include "app/base/ProgramDirectory.h"
#include "app/base/SafeFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The installed data folder seen from the installed programs' folder; the build sets it from the
// install layout.
#ifndef PORONPA_SHIPPED_FROM_PROGRAM
#define PORONPA_SHIPPED_FROM_PROGRAM "../share/games/poronpa"
#endif

namespace poronpa {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string accountHome()
{
    if (std::string home = environment("HOME"); !home.empty())
        return home;
    const passwd* account = ::getpwuid(::geteuid());
    return account && account->pw_dir ? account->pw_dir : "";
}

// A relative XDG_DATA_HOME would depend on where the program was started from; the base
// directory rules say to ignore it.
bool usesDataHome(const LocationFacts& facts)
{
    return !facts.dataHome.empty() && facts.dataHome.front() == '/';
}

std::filesystem::path playerFolder(const LocationFacts& facts)
{
    if (usesDataHome(facts))
        return std::filesystem::path(facts.dataHome) / "poronpa";
    if (!facts.home.empty())
        return std::filesystem::path(facts.home) / ".local" / "share" / "poronpa";
    return {};
}

// Access by the effective user; a read-only file system answers no even to the superuser.
bool mayWriteTo(const std::filesystem::path& directory)
{
    return ::faccessat(AT_FDCWD, directory.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string describe(const std::filesystem::path& path, const char* what, int error)
{
    return path.string() + ": " + what + " (" + std::strerror(error) + ")";
}

/// Creates every missing folder on the way, private to the player as the base directory rules
/// ask; empty or a sentence naming the folder that could not be made.
std::string makeFolders(const std::filesystem::path& folder)
{
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return describe(folder, "cannot be created", errno);
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return describe(folder, "cannot be created", ENOTDIR);
    return {};
}

} // namespace

FileLocations chooseLocations(const LocationFacts& facts)
{
    if (!facts.installedData.empty())
        return {facts.installedData, playerFolder(facts)};
    if (facts.programDirectoryWritable)
        return {facts.programDirectory, facts.programDirectory};
    return {facts.programDirectory, playerFolder(facts)};
}

LocationFacts currentLocationFacts()
{
    LocationFacts facts;
    facts.programDirectory = programDirectory();
    facts.programDirectoryWritable = mayWriteTo(facts.programDirectory);
    const auto data = (facts.programDirectory / PORONPA_SHIPPED_FROM_PROGRAM).lexically_normal();
    std::error_code error;
    if (std::filesystem::is_regular_file(data / filenames::World, error))
        facts.installedData = data;
    facts.home = accountHome();
    facts.dataHome = environment("XDG_DATA_HOME");
    return facts;
}

FileLocations fileLocations()
{
    return chooseLocations(currentLocationFacts());
}

std::filesystem::path shippedFile(const std::string& name)
{
    return fileLocations().shipped / name;
}

std::filesystem::path playerFile(const std::string& name)
{
    const FileLocations where = fileLocations();
    return where.player.empty() ? std::filesystem::path() : where.player / name;
}

std::string preparePlayerFolder()
{
    const LocationFacts facts = currentLocationFacts();
    const FileLocations where = chooseLocations(facts);
    const char* consequence = "; saves and settings are not kept";
    if (where.player.empty())
        return std::string("no folder for saves and settings: neither XDG_DATA_HOME nor HOME names one") + consequence;
    if (!where.apart())
        return {};
    // A home folder that is not there is not ours to make.
    std::error_code error;
    if (!usesDataHome(facts) && !std::filesystem::is_directory(facts.home, error))
        return describe(facts.home, "no such home folder", ENOENT) + consequence;
    if (std::string failure = makeFolders(where.player); !failure.empty())
        return failure + consequence;
    if (!mayWriteTo(where.player))
        return describe(where.player, "cannot be written to", errno) + consequence;
    return {};
}

} // namespace poronpa
