#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace poronpa::soak {

/// A key script for poronpa-sim of exactly `frames` frames: runs of held keys of random length,
/// mostly moving and jumping, now and then saving, loading a save some way back, pressing Enter,
/// and very rarely quitting to the title.
std::string randomKeyScript(std::mt19937_64& random, std::int64_t frames);

} // namespace poronpa::soak
