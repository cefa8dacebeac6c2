#pragma once

#include "Synth.h"

#include <string>
#include <vector>

namespace poronpa::sfx {

/// How much an effect matters to the player, which sets how loud it plays: the answers to the
/// player's own moves come often and stay lowest, the world's answers a little over them,
/// mishaps clearly over the music, rewards highest of all.
enum class Importance { Feedback, WorldEvent, Mishap, Reward };

/// One of the game's effects: its number (audio/SoundNumbers.h), the sound it makes and its
/// importance.
struct Effect {
    int sound;
    Signal (*make)();
    Importance importance;
};

/// The fifteen effects.
const std::vector<Effect>& gameEffects();

/// The name of the effect's file (audio/AudioFiles.h).
std::string fileName(const Effect& effect);

/// The loudness an effect of this importance plays at: its loudest 400 ms in LUFS, with the
/// mono effect on both speakers as the mixer plays it.
double loudnessTarget(Importance importance);

/// No effect peaks higher, between the samples too (dB of full scale).
constexpr double peakCeiling = -3.0;

/// What an effect reached when brought to its loudness.
struct Rendered {
    Signal signal;
    double loudness;
    double truePeak;
};

/// Makes the effect and brings it to its loudness, or as near as the peak ceiling allows.
Rendered render(const Effect& effect);

} // namespace poronpa::sfx
