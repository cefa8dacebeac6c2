#pragma once

#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"

namespace poronpa {

/// The program's one Sound and one clsBGMAPI over the back ends it owns; the sound device's
/// system is made in audio/sdl/SdlAudioSystem.h.
class AudioSystem {
public:
    virtual ~AudioSystem() = default;

    /// Opens the device of a system made to open it later and hands it the music's calls made so
    /// far; does nothing for the others or when called again.
    virtual void openDevice() {}

    virtual Sound& sound() = 0;
    virtual clsBGMAPI& music() = 0;
};

} // namespace poronpa
