#pragma once

#include "audio/AudioBackend.h"
#include "audio/AudioSystem.h"

#include <memory>

namespace poronpa {

/// The one Sound and one clsBGMAPI over back ends it owns.
class BackendAudioSystem : public AudioSystem {
public:
    BackendAudioSystem(std::unique_ptr<WavePlayer> player, std::unique_ptr<MediaCommands> device);

    Sound& sound() override { return sound_; }
    clsBGMAPI& music() override { return music_; }

private:
    std::unique_ptr<WavePlayer> player_;
    std::unique_ptr<MediaCommands> device_;
    Sound sound_;
    clsBGMAPI music_;
};

/// Plays nothing.
class SilentWavePlayer : public WavePlayer {
public:
    void play(const std::string&) override {}
};

/// A music device that is not there: every command fails and the status query gets no answer,
/// so the music never reports a tune as ended.
class SilentMediaCommands : public MediaCommands {
public:
    std::string send(const std::string&) override { return {}; }
};

} // namespace poronpa
