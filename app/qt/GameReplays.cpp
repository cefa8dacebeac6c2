#include "app/qt/GameReplays.h"

#include "app/base/FileNames.h"
#include "play/SaveFileStore.h"
#include "world/WorldPlaces.h"

#include <iostream>

namespace poronpa {

GameReplays::GameReplays(const MapGrid& map, const SaveFileStore& playerSaves, const std::filesystem::path& world)
    : map_(map), playerSaves_(playerSaves), worldFile_(world.empty() ? std::filesystem::path(filenames::World) : world),
      recordings_(worldPlayerFile(world, filenames::Replays),
                  [](const std::string& text) { std::cerr << "poronpa: " + text + "\n"; })
{
}

GameReplays::~GameReplays() = default;

void GameReplays::loopStarts(const GameState& state, int frameRate)
{
    if (fromTitle_)
        recordings_.begin(state, continued_, frameRate, map_, playerSaves_.file(), worldFile_);
    fromTitle_ = false;
}

} // namespace poronpa
