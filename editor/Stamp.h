#pragma once

#include <cstdint>
#include <vector>

namespace poronpa {

/// A rectangle of cells of an area, column and row of its top-left cell and its size in cells.
struct CellRect {
    int column = 0;
    int row = 0;
    int width = 0;
    int height = 0;
    bool contains(int c, int r) const { return c >= column && r >= row && c < column + width && r < row + height; }
    bool operator==(const CellRect&) const = default;
};

/// A rectangle of tile numbers taken from the map, the palette or the clipboard, to be put down
/// elsewhere as it is.
struct Stamp {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> tiles; ///< row by row, `width` × `height`

    std::uint8_t at(int column, int row) const { return tiles[static_cast<std::size_t>(width * row + column)]; }
    bool operator==(const Stamp&) const = default;
};

/// The stamp mirrored left to right: the columns in the other order and every tile that faces a
/// side turned into its partner facing the other one.
Stamp mirrored(const Stamp& stamp);

} // namespace poronpa
