#pragma once

#include "world/MapGrid.h"

namespace poronpa::bench {

/// The start area: a floor with walls at both ends, waterfalls and flame pictures behind the
/// hero every third cell, a strip of conveyor and a few platforms to jump under.
inline MapGrid busyWorld()
{
    MapGrid map;
    const int x0 = 100, y0 = 200;
    for (int c = 0; c < 50; ++c) {
        map.setCell(x0 + c, y0 + 48, c >= 20 && c < 26 ? 155 : 96);
        for (int r = 36; r < 48; ++r)
            if ((c + r) % 3 == 0)
                map.setCell(x0 + c, y0 + r, (c % 2) == 0 ? 4 : 7);
        if (c % 7 == 3)
            map.setCell(x0 + c, y0 + 43, 97);
    }
    for (int r = 30; r < 48; ++r) {
        map.setCell(x0 + 1, y0 + r, 96);
        map.setCell(x0 + 48, y0 + r, 96);
    }
    return map;
}

} // namespace poronpa::bench
