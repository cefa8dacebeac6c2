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
    /// Plays effect `soundNumber` (1-based) once, at once, cutting off the effect still sounding.
    void PlayAsync(int soundNumber);

    const std::vector<std::string>& files() const { return files_; }

private:
    WavePlayer& player_;
    std::vector<std::string> files_;
};

} // namespace poronpa
