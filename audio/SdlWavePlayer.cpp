#include "audio/SdlWavePlayer.h"

#include <SDL_mixer.h>

#include <iostream>

namespace poronpa {

namespace {
constexpr int effectChannel = 0;
}

SdlWavePlayer::~SdlWavePlayer()
{
    Mix_HaltChannel(effectChannel);
    for (auto& [path, chunk] : chunks_)
        if (chunk)
            Mix_FreeChunk(chunk);
}

void SdlWavePlayer::play(const std::string& path)
{
    auto found = chunks_.find(path);
    if (found == chunks_.end()) {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (!chunk)
            std::cerr << "poronpa: sound effect " << path << " cannot be played (" << Mix_GetError() << ")\n";
        found = chunks_.emplace(path, chunk).first;
    }
    if (found->second)
        Mix_PlayChannel(effectChannel, found->second, 0);
}

} // namespace poronpa
