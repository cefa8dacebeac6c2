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
    /// The same system with its device opened later, by openDevice: the window shows its first
    /// picture before the sound library probes the devices and the synthesizer starts. Until
    /// then effects are dropped (none can sound yet) and music commands wait their turn.
    static std::unique_ptr<AudioSystem> createOpeningLater();
    virtual ~AudioSystem() = default;

    /// Opens the device of a system made by createOpeningLater and hands it the music commands
    /// given so far; does nothing for the others or when called again.
    virtual void openDevice() {}

    virtual Sound& sound() = 0;
    virtual clsBGMAPI& music() = 0;
};

} // namespace poronpa
