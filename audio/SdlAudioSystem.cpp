#include "audio/AudioSystem.h"
#include "audio/BackendAudioSystem.h"
#include "audio/SdlMusicDevice.h"
#include "audio/SdlWavePlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>
#include <iostream>

namespace poronpa {

namespace {

constexpr const char* soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

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
        // The system's default soundfont setting would otherwise win over ours.
        hasSoundFont_ = std::filesystem::exists(soundFont);
        if (hasSoundFont_)
            Mix_SetSoundFonts(soundFont);
        hasMidi_ = (Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) != 0;
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            std::cerr << "poronpa: no sound device (" << Mix_GetError() << "); playing without sound or music\n";
            return;
        }
        open_ = true;
        Mix_AllocateChannels(1);
        // The synthesizer plays at full gain; a quarter lower leaves the effects room on top.
        Mix_VolumeMusic(MIX_MAX_VOLUME * 3 / 4);
        if (!hasSoundFont_)
            std::cerr << "poronpa: soundfont " << soundFont << " missing; playing without music\n";
        else if (!hasMidi_)
            std::cerr << "poronpa: no MIDI synthesizer (" << Mix_GetError() << "); playing without music\n";
    }
    ~MixerSession()
    {
        if (open_)
            Mix_CloseAudio();
        if (subsystem_) {
            Mix_Quit();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    MixerSession(const MixerSession&) = delete;
    MixerSession& operator=(const MixerSession&) = delete;

    bool canPlayEffects() const { return open_; }
    bool canPlayMusic() const { return open_ && hasSoundFont_ && hasMidi_; }

private:
    bool subsystem_ = false;
    bool open_ = false;
    bool hasSoundFont_ = false;
    bool hasMidi_ = false;
};

/// The mixer session outlives the players that use it: members are destroyed in reverse order.
class SdlAudioSystem : public AudioSystem {
public:
    SdlAudioSystem()
        : backends_(session_.canPlayEffects() ? std::unique_ptr<WavePlayer>(std::make_unique<SdlWavePlayer>())
                                              : std::make_unique<SilentWavePlayer>(),
                    session_.canPlayMusic() ? std::unique_ptr<MediaCommands>(std::make_unique<SdlMusicDevice>())
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
