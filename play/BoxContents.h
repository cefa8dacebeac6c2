#pragma once

#include <cstdint>

namespace poronpa {

/// What every treasure box of area (areaX, areaY) holds: an item number (0..9), a memo
/// (101..106) or BoxEmpty. The table is the engine's; the map only says where boxes stand.
std::int16_t areaBoxContent(int areaX, int areaY);

} // namespace poronpa
