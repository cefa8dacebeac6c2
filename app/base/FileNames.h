#pragma once

#include <string>

namespace poronpa {

/// The names of the files the programs read and write, each spelt here alone: the player's
/// folder and the program's folder hold them under these names (see FileLocations.h).
namespace filenames {

/// The world: shipped with the program, and the editor's own copy among the player's files.
inline constexpr const char* World = "mapdata.dat";
/// The ring of saved games.
inline constexpr const char* Saves = "savedata.dat";
/// The options, the window's size and the player's keys.
inline constexpr const char* Settings = "zembo.ini";
/// The folder of recorded games.
inline constexpr const char* Replays = "replays";
/// The five best times of the runs that reached the ending, beside the saves of their world.
inline constexpr const char* BestTimes = "besttimes.txt";
/// The recording of the best run, which its ghost plays, beside the saves of its world.
inline constexpr const char* Ghost = "best.replay";
/// The worlds opened most recently, one file a line, newest first.
inline constexpr const char* RecentWorlds = "recent-worlds.txt";
/// The folder of the folders that keep each other world's saves and replays.
inline constexpr const char* Worlds = "worlds";
/// The editor's picture of the whole world.
inline constexpr const char* WorldPicture = "allmap.bmp";

/// The editor's picture of one area: "map" + area column + area row + ".bmp", such as "map23.bmp".
inline std::string areaPicture(int areaX, int areaY)
{
    return "map" + std::to_string(areaX) + std::to_string(areaY) + ".bmp";
}

} // namespace filenames

} // namespace poronpa
