#pragma once

namespace poronpa {

/// Geometry of the two 256 × 768 sheets: 8 columns × 24 rows of 32 × 32 cells, cell n at
/// column n mod 8, row n div 8.
namespace sheet {
constexpr int CellSize = 32;
constexpr int Columns = 8;
constexpr int Rows = 24;
constexpr int Width = CellSize * Columns;
constexpr int Height = CellSize * Rows;
constexpr int Cells = Columns * Rows;

constexpr int cellX(int n) { return CellSize * (n % Columns); }
constexpr int cellY(int n) { return CellSize * (n / Columns); }
} // namespace sheet

/// Cells of the sprite sheet that are drawn whole.
namespace sprites {
constexpr int StoneBlock = 139; ///< covers the viewing spot and its platform in the ending
constexpr int Soul = 178;       ///< rises above the hero in the mishap scene
constexpr int Memo = 183;       ///< treasure box dialog: a memo
constexpr int HeroFront = 186;  ///< the mishap scene's hero
constexpr int Dud = 191;        ///< treasure box dialog: empty box, missing offerings
} // namespace sprites

} // namespace poronpa
