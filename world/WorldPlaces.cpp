#include "world/WorldPlaces.h"

#include "app/base/FileLocations.h"
#include "app/base/FileNames.h"
#include "app/base/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <system_error>

namespace poronpa {

namespace {

/// Longest name part of a world's folder, in bytes: the rest of the name must fit in any file
/// system's limit of 255.
constexpr std::size_t FolderNameBytes = 48;

std::uint64_t fnv1a(const std::string& text)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ULL;
    return h;
}

} // namespace

std::filesystem::path worldIdentity(const std::filesystem::path& world)
{
    std::error_code error;
    auto absolute = std::filesystem::absolute(world, error);
    if (error)
        absolute = world;
    auto canonical = std::filesystem::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : canonical;
}

bool isDefaultWorld(const std::filesystem::path& world)
{
    const FileLocations where = fileLocations();
    const auto identity = worldIdentity(world);
    if (identity == worldIdentity(where.shipped / filenames::World))
        return true;
    return !where.player.empty() && identity == worldIdentity(where.player / filenames::World);
}

std::string worldName(const std::filesystem::path& world) { return world.stem().string(); }

std::string worldFolderName(const std::filesystem::path& world)
{
    std::string name;
    // Bytes of names in other scripts are kept whole (a person can still read them); only what a
    // file system or a shell could take amiss is replaced.
    for (unsigned char c : worldName(world)) {
        const bool plain = c >= 0x80 || std::isalnum(c) || c == '-' || c == '_' || c == '.';
        name += plain ? static_cast<char>(c) : '_';
    }
    if (name.size() > FolderNameBytes) {
        name.resize(FolderNameBytes);
        // Never leave half a character of UTF-8 at the cut.
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
            name.pop_back();
        if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0)
            name.pop_back();
    }
    if (name.empty() || name.front() == '.')
        name = "world" + name;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(fnv1a(worldIdentity(world).string()) & 0xFFFFFFFFu));
    return name + "-" + digits;
}

std::filesystem::path worldDataFolder(const std::filesystem::path& world)
{
    const auto player = fileLocations().player;
    if (player.empty() || isDefaultWorld(world))
        return player;
    return player / filenames::Worlds / worldFolderName(world);
}

std::filesystem::path worldPlayerFile(const std::filesystem::path& world, const std::string& name)
{
    const auto folder = world.empty() ? fileLocations().player : worldDataFolder(world);
    return folder.empty() ? folder : folder / name;
}

std::filesystem::path checkedRouteFile(const std::filesystem::path& world)
{
    const auto folder = worldDataFolder(world);
    return folder.empty() ? folder : folder / (worldName(world) + "-route.replay");
}

std::filesystem::path routeBesideWorld(const std::filesystem::path& world)
{
    return world.parent_path() / (worldName(world) + "-route.replay");
}

std::string routeToTakeOver(const std::filesystem::path& world)
{
    for (const auto& file : {checkedRouteFile(world), routeBesideWorld(world)}) {
        std::vector<std::uint8_t> bytes;
        bool exists = false;
        if (!file.empty() && readWholeFile(file, bytes, &exists).ok() && exists && !bytes.empty())
            return std::string(bytes.begin(), bytes.end());
    }
    return {};
}

std::vector<std::filesystem::path> recentWorlds()
{
    std::vector<std::filesystem::path> list;
    const auto file = playerFile(filenames::RecentWorlds);
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (file.empty() || !readWholeFile(file, bytes, &exists, std::size_t{1} << 20).ok() || !exists)
        return list;
    std::string line;
    const auto take = [&] {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && std::filesystem::path(line).is_absolute() && list.size() < RecentWorldsKept)
            list.emplace_back(line);
        line.clear();
    };
    for (std::uint8_t byte : bytes) {
        if (byte == '\n')
            take();
        else
            line += static_cast<char>(byte);
    }
    take();
    return list;
}

std::vector<std::filesystem::path> withRecentWorld(std::vector<std::filesystem::path> list, const std::filesystem::path& world)
{
    const auto identity = worldIdentity(world);
    std::erase_if(list, [&](const std::filesystem::path& p) { return worldIdentity(p) == identity; });
    list.insert(list.begin(), identity);
    if (list.size() > RecentWorldsKept)
        list.resize(RecentWorldsKept);
    return list;
}

namespace {

std::string writeRecentWorlds(const std::vector<std::filesystem::path>& list)
{
    const auto file = playerFile(filenames::RecentWorlds);
    if (file.empty())
        return {};
    std::string text;
    for (const auto& path : list) {
        // A name with a line end in it cannot be listed one a line; it is left out, not split.
        if (path.string().find_first_of("\r\n") == std::string::npos)
            text += path.string() + "\n";
    }
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    return writeFileAtomically(file, bytes).error;
}

} // namespace

std::string rememberRecentWorld(const std::filesystem::path& world)
{
    return writeRecentWorlds(withRecentWorld(recentWorlds(), world));
}

std::string forgetRecentWorld(const std::filesystem::path& world)
{
    auto list = recentWorlds();
    const auto identity = worldIdentity(world);
    if (std::erase_if(list, [&](const std::filesystem::path& p) { return worldIdentity(p) == identity; }) == 0)
        return {};
    return writeRecentWorlds(list);
}

} // namespace poronpa
