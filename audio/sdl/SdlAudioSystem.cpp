#include "audio/sdl/SdlAudioSystem.h"

#include "audio/BackendAudioSystem.h"
#include "audio/sdl/SdlMusicDevice.h"
#include "audio/sdl/SdlWavePlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>
#include <functional>
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

class PendingMusicDevice : public MusicDevice {
public:
    void open(const std::string& path) override
    {
        pass([path](MusicDevice& device) { device.open(path); });
    }
    void play() override { pass(&MusicDevice::play); }
    void playFromStart() override { pass(&MusicDevice::playFromStart); }
    void stop() override { pass(&MusicDevice::stop); }
    void close() override
    {
        if (device_)
            device_->close();
        // Whatever was opened before a close has been let go of again.
        waiting_.clear();
    }
    MusicStatus status() override
    {
        // No answer until the device is there, as from a device that is not: the music then never
        // takes a tune for ended before it has begun.
        return device_ ? device_->status() : MusicStatus::NoAnswer;
    }
    void attach(std::unique_ptr<MusicDevice> device)
    {
        device_ = std::move(device);
        for (const auto& call : waiting_)
            call(*device_);
        waiting_.clear();
    }

private:
    void pass(std::function<void(MusicDevice&)> call)
    {
        if (device_)
            call(*device_);
        else
            waiting_.push_back(std::move(call));
    }

    std::unique_ptr<MusicDevice> device_;
    std::vector<std::function<void(MusicDevice&)>> waiting_;
};

/// The mixer session outlives the players that use it: members are destroyed in reverse order.
class SdlAudioSystem : public AudioSystem {
public:
    explicit SdlAudioSystem(bool openNow)
        : SdlAudioSystem(std::make_unique<PendingWavePlayer>(), std::make_unique<PendingMusicDevice>())
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
                            ? std::unique_ptr<MusicDevice>(std::make_unique<SdlMusicDevice>(soundFont))
                            : std::make_unique<SilentMusicDevice>());
    }

private:
    SdlAudioSystem(std::unique_ptr<PendingWavePlayer> player, std::unique_ptr<PendingMusicDevice> device)
        : player_(player.get()), device_(device.get()), backends_(std::move(player), std::move(device))
    {
    }

    std::optional<MixerSession> session_;
    PendingWavePlayer* player_;     // owned by backends_
    PendingMusicDevice* device_;    // owned by backends_
    BackendAudioSystem backends_;
};

} // namespace

std::unique_ptr<AudioSystem> createAudioSystem() { return std::make_unique<SdlAudioSystem>(true); }

std::unique_ptr<AudioSystem> createAudioSystemOpeningLater() { return std::make_unique<SdlAudioSystem>(false); }

} // namespace poronpa
