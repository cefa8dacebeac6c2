#pragma once

#include "world/MapGrid.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace poronpa::mapsource {

// The world's text sources: a legend that names tile numbers with two-character codes, and one
// file per area whose 50 lines of 50 codes draw the area cell by cell. Two characters per cell
// make the cells of a monospaced listing roughly square, so the text reads like the map.
//
// Any two hexadecimal digits (upper case, "00" to "FF") stand for that tile number directly, so
// every possible map can be written even where the legend has no code; the legend may therefore
// not define such codes.

constexpr int CodeWidth = 2;
constexpr int AreaSide = MapGrid::AreaCells;
constexpr char CommentMark = ';';

/// Outcome of reading or writing sources: empty on success, else "file:line: reason".
struct SourceStatus {
    std::string error;
    bool ok() const { return error.empty(); }
};

/// Two-character codes and the tile numbers they stand for; each tile has at most one code, so
/// the sources written for a map are unique.
class Legend {
public:
    /// Reads lines of "CODE TILE [description]"; blank lines and lines starting with ';' are notes.
    static SourceStatus parse(const std::string& text, const std::string& fileName, Legend& legend);

    std::optional<std::uint8_t> tile(const std::string& code) const;
    /// The legend's code for a tile, or its two hexadecimal digits when the legend has none.
    std::string code(std::uint8_t tile) const;

private:
    std::map<std::string, std::uint8_t> tiles_;
    std::array<std::string, 256> codes_;
};

/// One area as its source file has it: the notes above the grid and the grid's tile numbers.
struct AreaSource {
    std::vector<std::string> notes; ///< whole lines, each starting with ';'
    std::array<std::array<std::uint8_t, AreaSide>, AreaSide> cells{}; ///< [row][column]
};

/// Reads an area file: any notes, then exactly 50 lines of 50 codes.
SourceStatus parseArea(const std::string& text, const std::string& fileName, const Legend& legend, AreaSource& area);
std::string formatArea(const AreaSource& area, const Legend& legend);

/// File name of area (ax, ay) inside the map folder, such as "area_2_4.txt".
std::string areaFileName(int ax, int ay);
constexpr const char* LegendFileName = "legend.txt";

/// Reads the legend and all 25 area files of a folder into the world.
SourceStatus compileWorld(const std::filesystem::path& folder, MapGrid& map);

/// Writes the world as area files into a folder, with that folder's legend when it has one (else
/// every cell as hexadecimal digits, beside a legend of notes alone, so that the folder compiles
/// as it stands). An area file that is already there keeps its notes.
SourceStatus decompileWorld(const MapGrid& map, const std::filesystem::path& folder);

} // namespace poronpa::mapsource
