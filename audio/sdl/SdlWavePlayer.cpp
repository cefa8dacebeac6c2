#include "audio/sdl/SdlWavePlayer.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <iostream>

namespace poronpa {

namespace {

constexpr double fadeSeconds = 0.005;

/// Runs on the audio thread for each piece of a channel's samples before they are mixed.
void SDLCALL fadeWhenAsked(int, void* stream, int length, void* data)
{
    auto& fade = *static_cast<SdlWavePlayer::Fade*>(data);
    if (!fade.asked.load(std::memory_order_acquire))
        return;
    auto* samples = static_cast<std::int16_t*>(stream);
    const int frames = length / static_cast<int>(sizeof(std::int16_t)) / fade.channels;
    if (fade.framesLeft < 0)
        fade.framesLeft = fade.fadeFrames;
    for (int n = 0; n < frames; ++n) {
        const double gain = static_cast<double>(fade.framesLeft) / fade.fadeFrames;
        for (int c = 0; c < fade.channels; ++c) {
            std::int16_t& sample = samples[n * fade.channels + c];
            sample = static_cast<std::int16_t>(sample * gain);
        }
        fade.framesLeft = std::max(0, fade.framesLeft - 1);
    }
}

} // namespace

SdlWavePlayer::~SdlWavePlayer()
{
    Mix_HaltChannel(-1);
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
    if (!found->second)
        return;
    if (current_ >= 0 && Mix_Playing(current_))
        fades_[static_cast<std::size_t>(current_)].asked.store(true, std::memory_order_release);
    current_ = (current_ + 1) % channelsUsed;
    // Halting the channel drops its fade, so the new effect starts at full level.
    Mix_HaltChannel(current_);
    Fade& fade = fades_[static_cast<std::size_t>(current_)];
    int rate = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &fade.channels);
    fade.fadeFrames = std::max(1, static_cast<int>(fadeSeconds * rate));
    fade.framesLeft = -1;
    fade.asked.store(false, std::memory_order_release);
    Mix_RegisterEffect(current_, fadeWhenAsked, nullptr, &fade);
    Mix_PlayChannel(current_, found->second, 0);
}

} // namespace poronpa
