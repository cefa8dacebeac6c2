#include "audio/BackendAudioSystem.h"

namespace poronpa {

BackendAudioSystem::BackendAudioSystem(std::unique_ptr<WavePlayer> player, std::unique_ptr<MusicDevice> device)
    : player_(std::move(player)), device_(std::move(device)), sound_(*player_), music_(*device_)
{
}

} // namespace poronpa
