#pragma once

#include "audio/AudioBackend.h"

#include <map>
#include <string>

struct Mix_Chunk;

namespace poronpa {

/// Effects on the mixer's one effect channel, so that a new effect cuts off the one sounding.
/// Each file is read once, on its first play; a file that cannot be read is named once on
/// standard error and stays silent.
class SdlWavePlayer : public WavePlayer {
public:
    SdlWavePlayer() = default;
    ~SdlWavePlayer() override;
    SdlWavePlayer(const SdlWavePlayer&) = delete;
    SdlWavePlayer& operator=(const SdlWavePlayer&) = delete;

    void play(const std::string& path) override;

private:
    std::map<std::string, Mix_Chunk*> chunks_;
};

} // namespace poronpa
