#pragma once

#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"

#include <memory>

namespace poronpa {

/// The program's one Sound and one clsBGMAPI over the best back end available: the sound device
/// through SDL2_mixer, or silence (with one line on standard error saying what is missing).
class AudioSystem {
public:
    /// silent = true never touches a sound device (tests, the simulator).
    static std::unique_ptr<AudioSystem> create(bool silent = false);
    virtual ~AudioSystem() = default;

    virtual Sound& sound() = 0;
    virtual clsBGMAPI& music() = 0;
};

} // namespace poronpa
