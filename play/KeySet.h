#pragma once

#include <bitset>

namespace poronpa {

/// The keys held in one frame, indexed by virtual key code.
using KeySet = std::bitset<256>;

} // namespace poronpa
