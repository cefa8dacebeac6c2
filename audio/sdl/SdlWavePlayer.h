#pragma once

#include "audio/AudioBackend.h"

#include <array>
#include <atomic>
#include <map>
#include <string>

struct Mix_Chunk;

namespace poronpa {

/// Effects on the mixer's channels, one sounding at a time: a new effect cuts off the one still
/// sounding, which fades out over 5 ms on its own channel so that the cut does not click. Each
/// file is read once, on its first play; a file that cannot be read is named once on standard
/// error and stays silent.
class SdlWavePlayer : public WavePlayer {
public:
    /// The channels the mixer must have: an effect fading out must not be cut by the one after
    /// next, even when several start within a frame.
    static constexpr int channelsUsed = 3;

    SdlWavePlayer() = default;
    ~SdlWavePlayer() override;
    SdlWavePlayer(const SdlWavePlayer&) = delete;
    SdlWavePlayer& operator=(const SdlWavePlayer&) = delete;

    void play(const std::string& path) override;

    /// The fade of one channel: asked for by the player, carried out sample by sample on the
    /// audio thread.
    struct Fade {
        std::atomic<bool> asked{false};
        int framesLeft = -1;
        int fadeFrames = 1;
        int channels = 2;
    };

private:
    std::map<std::string, Mix_Chunk*> chunks_;
    std::array<Fade, channelsUsed> fades_;
    int current_ = -1;
};

} // namespace poronpa
