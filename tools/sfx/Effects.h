#pragma once

#include "Synth.h"

#include <string>
#include <vector>

namespace poronpa::sfx {

/// One of the game's effects: its file name and the sound it makes.
struct Effect {
    std::string fileName;
    Signal (*make)();
};

/// The fifteen effects in the order the game numbers them.
const std::vector<Effect>& gameEffects();

} // namespace poronpa::sfx
