#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace poronpa {

// A world is any file holding a whole map. The one played without naming a file (the shipped
// world, or the player's map that the editor saved apart from it) is the default world: its saves
// and replays are the player's own files as they always were. Every other world keeps its own in
// a folder of its own among the player's files, so that playing a friend's world never touches
// the saves of the default one.

/// The extension of a world handed from one player to another.
inline constexpr const char* WorldExtension = ".ppw";

/// The file as one world is known by: absolute, with links and "." and ".." resolved as far as
/// the file system allows, so that two spellings of one file name one world.
std::filesystem::path worldIdentity(const std::filesystem::path& world);

/// True for the default world's file (either of the two places it can lie), however spelt.
bool isDefaultWorld(const std::filesystem::path& world);

/// A world's name as a person knows it: its file name without the extension.
std::string worldName(const std::filesystem::path& world);

/// The name of the folder that keeps a world's saves and replays: its name made safe for any file
/// system, a hyphen and eight hexadecimal digits from its identity, so that two files of one name
/// in different places keep apart, e.g. "castle-3f09a1c2".
std::string worldFolderName(const std::filesystem::path& world);

/// Where a world's saves, replays and other files of the player's lie: the player's folder for the
/// default world, else its worlds/ folder's folder for that world (not created here). Empty when
/// there is no folder of the player's.
std::filesystem::path worldDataFolder(const std::filesystem::path& world);

/// A file of a world's among the player's (its saves, its replay folder) by name: in
/// worldDataFolder(world), the player's folder for the default world or an empty `world`. Empty
/// when there is no folder of the player's.
std::filesystem::path worldPlayerFile(const std::filesystem::path& world, const std::string& name);

/// The replay of the route the latest check of a world found, among the world's files: the next
/// check starts from what of it still holds, and the game can show it. Empty when there is no
/// folder of the player's.
std::filesystem::path checkedRouteFile(const std::filesystem::path& world);

/// The route handed over with a world: a file beside it of the world's name and "-route.replay"
/// (the shipped world carries its own so), which a check takes over, as far as it still plays,
/// when it kept none of its own.
std::filesystem::path routeBesideWorld(const std::filesystem::path& world);

/// The route a check of the world starts from: the one its last check kept, else the one handed
/// over beside it; empty when there is neither.
std::string routeToTakeOver(const std::filesystem::path& world);

/// The worlds opened most recently, newest first, as the player's list keeps them (files that are
/// gone are still listed: the caller decides what to do with them).
std::vector<std::filesystem::path> recentWorlds();

/// Puts a world first in the recent list, which keeps `RecentWorldsKept` at most. Empty when
/// the list was written; else a sentence naming the file and the reason.
std::string rememberRecentWorld(const std::filesystem::path& world);

/// Takes a world out of the recent list, such as one whose file is gone. Empty when the list was
/// written (or did not name it); else a sentence naming the file and the reason.
std::string forgetRecentWorld(const std::filesystem::path& world);

inline constexpr std::size_t RecentWorldsKept = 8;

/// The recent list's rules on a list in memory, for the tests and the writer.
std::vector<std::filesystem::path> withRecentWorld(std::vector<std::filesystem::path> list, const std::filesystem::path& world);

} // namespace poronpa
