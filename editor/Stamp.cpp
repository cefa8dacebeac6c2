#include "editor/Stamp.h"

#include "world/TileFacts.h"

namespace poronpa {

Stamp mirrored(const Stamp& stamp)
{
    Stamp result = stamp;
    for (int row = 0; row < stamp.height; ++row)
        for (int column = 0; column < stamp.width; ++column)
            result.tiles[static_cast<std::size_t>(stamp.width * row + column)] =
                mirroredTile(stamp.at(stamp.width - 1 - column, row));
    return result;
}

} // namespace poronpa
