#pragma once

#include "audio/AudioBackend.h"

#include <string>
#include <vector>

namespace poronpa {

/// The numbered sound effects: a list of wave files beside the program and a master switch.
class Sound {
public:
    explicit Sound(WavePlayer& player) : player_(player) {}

    /// When false, PlayAsync plays nothing. False when created.
    bool SoundOn = false;

    /// Registers the next effect: the program's directory and the file name.
    void Add(const std::string& fileName);
    /// Plays effect `soundNumber` (1-based) once; the flags are the classic loop, async and
    /// no-stop flags, which every caller passes as 0, 1, 0.
    void PlayAsync(int soundNumber, int loopFlag = 0, int asyncFlag = 1, int noStopFlag = 0);

    const std::vector<std::string>& files() const { return files_; }

private:
    WavePlayer& player_;
    std::vector<std::string> files_;
};

} // namespace poronpa
