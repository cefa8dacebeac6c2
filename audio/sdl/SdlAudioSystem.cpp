#include "audio/AudioSystem.h"
#include "audio/BackendAudioSystem.h"
#include "audio/sdl/SdlMusicDevice.h"
#include "audio/sdl/SdlWavePlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>
#include <iostream>

namespace poronpa {

namespace {

constexpr const char* soundFont = SdlMusicDevice::gameSoundFont;

/// The audio subsystem and the mixer's device, open for as long as the object lives. The
/// window belongs to the other toolkit, so only audio is initialised here.
class MixerSession {
public:
    MixerSession()
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::cerr << "poronpa: no sound device (" << SDL_GetError() << "); playing without sound or music\n";
            return;
        }
        subsystem_ = true;
        hasSoundFont_ = std::filesystem::exists(soundFont);
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            std::cerr << "poronpa: no sound device (" << Mix_GetError() << "); playing without sound or music\n";
            return;
        }
        open_ = true;
        Mix_AllocateChannels(SdlWavePlayer::channelsUsed);
        if (!hasSoundFont_)
            std::cerr << "poronpa: soundfont " << soundFont << " missing; playing without music\n";
    }
    ~MixerSession()
    {
        if (open_)
            Mix_CloseAudio();
        if (subsystem_)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    MixerSession(const MixerSession&) = delete;
    MixerSession& operator=(const MixerSession&) = delete;

    bool canPlayEffects() const { return open_; }
    bool canPlayMusic() const { return open_ && hasSoundFont_; }

private:
    bool subsystem_ = false;
    bool open_ = false;
    bool hasSoundFont_ = false;
};

/// The mixer session outlives the players that use it: members are destroyed in reverse order.
class SdlAudioSystem : public AudioSystem {
public:
    SdlAudioSystem()
        : backends_(session_.canPlayEffects() ? std::unique_ptr<WavePlayer>(std::make_unique<SdlWavePlayer>())
                                              : std::make_unique<SilentWavePlayer>(),
                    session_.canPlayMusic() ? std::unique_ptr<MediaCommands>(std::make_unique<SdlMusicDevice>(soundFont))
                                            : std::make_unique<SilentMediaCommands>())
    {
    }

    Sound& sound() override { return backends_.sound(); }
    clsBGMAPI& music() override { return backends_.music(); }

private:
    MixerSession session_;
    BackendAudioSystem backends_;
};

} // namespace

std::unique_ptr<AudioSystem> AudioSystem::create(bool silent)
{
    if (silent)
        return createSilentAudioSystem();
    return std::make_unique<SdlAudioSystem>();
}

} // namespace poronpa
