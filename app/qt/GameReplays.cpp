#include "app/qt/GameReplays.h"

#include "app/base/FileLocations.h"
#include "app/base/FileNames.h"
#include "play/SaveFileStore.h"

#include <iostream>

namespace poronpa {

GameReplays::GameReplays(const MapGrid& map, const SaveFileStore& playerSaves)
    : map_(map), playerSaves_(playerSaves),
      recordings_(playerFile(filenames::Replays), [](const std::string& text) { std::cerr << "poronpa: " + text + "\n"; })
{
}

GameReplays::~GameReplays() = default;

void GameReplays::loopStarts(const GameState& state, int frameRate)
{
    if (fromTitle_)
        recordings_.begin(state, continued_, frameRate, map_, playerSaves_.file());
    fromTitle_ = false;
}

} // namespace poronpa
