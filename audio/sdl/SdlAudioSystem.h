#pragma once

#include "audio/AudioSystem.h"

#include <memory>

namespace poronpa {

/// Sound and music over the sound device through SDL2_mixer, or silence where the device or the
/// soundfont is missing (with one line on standard error saying what is missing).
std::unique_ptr<AudioSystem> createAudioSystem();

/// The same with its device opened later, by openDevice: the window shows its first picture
/// before the sound library probes the devices and the synthesizer starts. Until then effects
/// are dropped (none can sound yet) and the music's calls wait their turn.
std::unique_ptr<AudioSystem> createAudioSystemOpeningLater();

} // namespace poronpa
