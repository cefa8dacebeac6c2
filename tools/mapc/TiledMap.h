#pragma once

#include "app/base/SafeFile.h"
#include "world/MapGrid.h"

#include <QByteArray>
#include <QImage>

#include <filesystem>
#include <string>

namespace poronpa::tiledmap {

// The world as a map of the Tiled editor: one tile layer of 250 × 250 cells in CSV, whose tile
// ids are the tile numbers plus one (Tiled keeps 0 for an empty cell), over a tileset of the
// game's own tile sheet. The sheet is extended by the marker the game draws for the numbers
// 192..255 that have no picture, so that every map can go to Tiled and come back unchanged.

constexpr int TilesetTiles = 256;
constexpr const char* TilesetFileName = "tiles.tsx";
constexpr const char* TilesetPictureName = "tiles.png";
constexpr const char* LayerName = "world";
/// The tile property that names what a tile is, in the words of the world's builders.
constexpr const char* KindProperty = "kind";

/// The tileset's picture: 8 columns of 32 rows, tile n where the game's sheet has it.
QImage tilesetPicture(const QImage& tileSheet);

/// The TSX text naming `pictureName` as its image, with each tile's name as its kind property.
QByteArray tilesetText(const std::string& pictureName);

/// The TMX text of the world, over the external tileset `tilesetName`.
QByteArray mapText(const MapGrid& map, const std::string& tilesetName);

/// Writes `stem`.tmx, the tileset and its picture into `folder` (made when missing).
FileStatus exportMap(const MapGrid& map, const QImage& tileSheet, const std::filesystem::path& folder,
                     const std::string& stem);

/// Reads a TMX file into `map`. Anything that is not one 250 × 250 tile layer of unflipped tile
/// ids from a single tileset of up to 256 tiles is refused with "file:line: reason", leaving
/// `map` as it was.
FileStatus importMap(const std::filesystem::path& path, MapGrid& map);

} // namespace poronpa::tiledmap
