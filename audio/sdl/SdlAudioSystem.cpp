#include "audio/sdl/SdlAudioSystem.h"

#include "audio/BackendAudioSystem.h"
#include "audio/sdl/SdlMusicDevice.h"
#include "audio/sdl/SdlWavePlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <vector>

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

/// A back end that stands in until the device is open, then passes everything on.
class PendingWavePlayer : public WavePlayer {
public:
    void play(const std::string& path) override
    {
        if (player_)
            player_->play(path);
    }
    void attach(std::unique_ptr<WavePlayer> player) { player_ = std::move(player); }

private:
    std::unique_ptr<WavePlayer> player_;
};

class PendingMediaCommands : public MediaCommands {
public:
    std::string send(const std::string& command) override
    {
        if (device_)
            return device_->send(command);
        // A status query gets no answer, as from a device that is not there: the music then
        // never takes a tune for ended before it has begun.
        if (command.starts_with("status"))
            return {};
        // Whatever was opened before a close has been let go of again.
        if (command.starts_with("close"))
            waiting_.clear();
        else
            waiting_.push_back(command);
        return {};
    }
    void attach(std::unique_ptr<MediaCommands> device)
    {
        device_ = std::move(device);
        for (const std::string& command : waiting_)
            device_->send(command);
        waiting_.clear();
    }

private:
    std::unique_ptr<MediaCommands> device_;
    std::vector<std::string> waiting_;
};

/// The mixer session outlives the players that use it: members are destroyed in reverse order.
class SdlAudioSystem : public AudioSystem {
public:
    explicit SdlAudioSystem(bool openNow)
        : SdlAudioSystem(std::make_unique<PendingWavePlayer>(), std::make_unique<PendingMediaCommands>())
    {
        if (openNow)
            openDevice();
    }

    Sound& sound() override { return backends_.sound(); }
    clsBGMAPI& music() override { return backends_.music(); }

    void openDevice() override
    {
        if (session_)
            return;
        session_.emplace();
        player_->attach(session_->canPlayEffects() ? std::unique_ptr<WavePlayer>(std::make_unique<SdlWavePlayer>())
                                                   : std::make_unique<SilentWavePlayer>());
        device_->attach(session_->canPlayMusic()
                            ? std::unique_ptr<MediaCommands>(std::make_unique<SdlMusicDevice>(soundFont))
                            : std::make_unique<SilentMediaCommands>());
    }

private:
    SdlAudioSystem(std::unique_ptr<PendingWavePlayer> player, std::unique_ptr<PendingMediaCommands> device)
        : player_(player.get()), device_(device.get()), backends_(std::move(player), std::move(device))
    {
    }

    std::optional<MixerSession> session_;
    PendingWavePlayer* player_;     // owned by backends_
    PendingMediaCommands* device_;  // owned by backends_
    BackendAudioSystem backends_;
};

} // namespace

std::unique_ptr<AudioSystem> createAudioSystem() { return std::make_unique<SdlAudioSystem>(true); }

std::unique_ptr<AudioSystem> createAudioSystemOpeningLater() { return std::make_unique<SdlAudioSystem>(false); }

} // namespace poronpa
