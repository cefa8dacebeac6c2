#include "audio/BackendAudioSystem.h"

namespace poronpa {

BackendAudioSystem::BackendAudioSystem(std::unique_ptr<WavePlayer> player, std::unique_ptr<MediaCommands> device)
    : player_(std::move(player)), device_(std::move(device)), sound_(*player_), music_(*device_)
{
}

std::unique_ptr<AudioSystem> createSilentAudioSystem()
{
    return std::make_unique<BackendAudioSystem>(std::make_unique<SilentWavePlayer>(),
                                                std::make_unique<SilentMediaCommands>());
}

} // namespace poronpa
