#pragma once

#include "audio/AudioBackend.h"
#include "audio/AudioSystem.h"

#include <memory>

namespace poronpa {

/// The one Sound and one clsBGMAPI over back ends it owns.
class BackendAudioSystem : public AudioSystem {
public:
    BackendAudioSystem(std::unique_ptr<WavePlayer> player, std::unique_ptr<MusicDevice> device);

    Sound& sound() override { return sound_; }
    clsBGMAPI& music() override { return music_; }

private:
    std::unique_ptr<WavePlayer> player_;
    std::unique_ptr<MusicDevice> device_;
    Sound sound_;
    clsBGMAPI music_;
};

/// Plays nothing.
class SilentWavePlayer : public WavePlayer {
public:
    void play(const std::string&) override {}
};

/// A music device that is not there: nothing opens and the status query gets no answer, so the
/// music never reports a tune as ended.
class SilentMusicDevice : public MusicDevice {
public:
    void open(const std::string&) override {}
    void play() override {}
    void playFromStart() override {}
    void stop() override {}
    void close() override {}
    MusicStatus status() override { return MusicStatus::NoAnswer; }
};

} // namespace poronpa
