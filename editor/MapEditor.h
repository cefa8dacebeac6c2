#pragma once

#include "app/base/SafeFile.h"
#include "app/base/Surface.h"
#include "editor/EditHistory.h"
#include "play/GameState.h"
#include "world/MapGrid.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace poronpa {

/// Mouse buttons as the editor's views report them; a set of held buttons is their bitwise or.
enum MouseButton : unsigned { NoButton = 0, LeftButton = 1, RightButton = 2, MiddleButton = 4 };

/// A cell of the area canvas, column and row 0..49.
struct CanvasCell {
    int column = 0;
    int row = 0;
    bool operator==(const CanvasCell&) const = default;
};

/// The map editor without its windows: the area canvas, the overview, the view's position, the
/// status text, the current area and the selected tile, and every operation of the editor and
/// its palette. The windows show this state and hand it their clicks; pointer positions are in
/// the pixels of the picture they fall on.
class MapEditor {
public:
    static constexpr int OverviewSize = 51;
    static constexpr int OverviewCellSize = 10;
    /// Where the canvas sits in the view frame until the first navigation.
    static constexpr int DesignLeft = 20;
    static constexpr int DesignTop = 8;
    static constexpr const char* WorldPictureName = "allmap.bmp";

    /// Works on `map`, which must outlive the editor; tiles are drawn from `tileSheet`.
    MapEditor(MapGrid& map, Surface tileSheet);

    const MapGrid& map() const { return map_; }
    const Surface& tileSheet() const { return tileSheet_; }
    /// The kept image of the area canvas, 1600 × 1600.
    const Surface& canvas() const { return canvas_; }
    /// The kept image of the overview of the 5 × 5 areas, 51 × 51.
    const Surface& overview() const { return overview_; }
    /// The canvas's left and top inside the view frame.
    int scrollLeft() const { return scrollLeft_; }
    int scrollTop() const { return scrollTop_; }
    /// The status label's text.
    const std::string& status() const { return status_; }
    int areaX() const { return areaX_; }
    int areaY() const { return areaY_; }
    int selectedCol() const { return selectedCol_; }
    int selectedRow() const { return selectedRow_; }
    int selectedTile() const { return 8 * selectedRow_ + selectedCol_; }
    /// The canvas cell under the pointer, or none once it has left the canvas.
    std::optional<CanvasCell> hoveredCell() const { return hovered_; }
    /// The hovered cell's column and row in the area and its tile, such as
    /// "列 12 行 7 — タイル 40: ladder (in the castle)";
    /// empty when no cell is hovered.
    std::string hoveredText() const;
    /// A tile's number and name, as the palette and the editor show it.
    static std::string tileText(std::uint8_t tile);
    /// Saving is possible once a map has been loaded.
    bool canSave() const { return loaded_; }
    /// The map holds edits that are not in its file.
    bool modified() const;

    /// Reads the map file, showing each progress caption in the status text and calling
    /// `showProgress` after it, then selects area (0, 0). A file that cannot be read leaves
    /// everything as it was.
    FileStatus load(const std::filesystem::path& path, const std::function<void()>& showProgress = {});
    /// Writes the map file with the same progress captions; after a failure the status text says
    /// that the map was not saved.
    FileStatus save(const std::filesystem::path& path, const std::function<void()>& showProgress = {});
    static constexpr const char* SaveFailedStatus = "Save できませんでした";

    /// Notes what a map file holds now, so that a later change by another program is noticed.
    /// Load and Save note the file they read or wrote.
    void noteFile(const std::filesystem::path& path);
    /// Whether a noted map file holds something else than it did when last noted: another
    /// editor saved it meanwhile, and a Save would undo that.
    bool changedSinceNoted(const std::filesystem::path& path) const;

    /// A mouse release on the overview: selects the area under the pointer, moves the marker
    /// and draws the area. A release outside the overview, after a drag, is ignored.
    void overviewRelease(double x, double y);
    /// An arrow of the pad, 0 up, 1 right, 2 down, 3 left: the view goes to that edge of the
    /// area and the status text shows the canvas's offsets.
    void arrowClick(int index);
    /// Scrolls the view by whole cells, `columns` to the right and `rows` down, onto the cell
    /// grid and no further than the area's edges; the status text shows the canvas's offsets as
    /// after an arrow of the pad.
    void scrollCells(int columns, int rows);
    /// A mouse release on the palette picture: selects the tile under the pointer. A release
    /// outside the picture, after a drag, is ignored.
    void paletteRelease(double x, double y);

    /// A press on the canvas: the left button paints, the right one centres the view there.
    void canvasPress(MouseButton button, double x, double y);
    /// A move over the canvas: the cell under the pointer becomes the hovered one, and while the
    /// left button alone is held every cell on the line from the pointer's last position to this
    /// one is painted, so a fast drag leaves no gaps. Cells outside the canvas are not painted.
    void canvasMove(unsigned heldButtons, double x, double y);
    /// The pointer has left the canvas: no cell is hovered.
    void canvasLeave() { hovered_.reset(); }
    /// A release on the canvas: a paint stroke ends with the left button.
    void canvasRelease(unsigned stillHeldButtons);

    /// Covers the current area with the selected tile.
    void fill();
    /// Replaces one tile number by another in the whole world, redraws the current area and says
    /// in the status text how many cells changed. Returns a message, and changes nothing, when
    /// either text holds no number or one outside 0 to 255.
    std::string replace(std::string_view fromText, std::string_view toText);
    /// Turns the corners where ground meets rock in the current area into corner tiles.
    void edge();

    /// Where a test play of the map starts: in the current area, the hero on the hovered cell or,
    /// with none, on the cell at the view's centre (kept off the area's seams), holding `items`.
    GameStart testPlayStart(const std::vector<int>& items) const;

    /// Takes back the latest paint stroke or tool; false when there is nothing to undo.
    bool undo();
    /// Makes the latest undone step again; false when there is nothing to redo.
    bool redo();

    /// Writes the whole-world picture into `directory`.
    FileStatus exportWorld(const std::filesystem::path& directory) const;
    /// Writes the canvas's kept image into `directory` under the current area's name.
    FileStatus exportArea(const std::filesystem::path& directory) const;
    /// "map" + area column + area row + ".bmp", such as "map23.bmp".
    static std::string areaPictureName(int ax, int ay);

private:
    void selectArea(int ax, int ay);
    void drawMarker(std::uint32_t colour);
    void paintLineTo(double x, double y);
    void paintCell(int cx, int cy);
    void hoverAt(double x, double y);
    void finishStroke();
    void showEdit(const MapEdit& edit);
    void moveView(int left, int top);

    MapGrid& map_;
    Surface tileSheet_;
    Surface canvas_;
    Surface overview_;
    int scrollLeft_ = DesignLeft;
    int scrollTop_ = DesignTop;
    std::string status_ = "Label1";
    int areaX_ = 0;
    int areaY_ = 0;
    int selectedCol_ = 0;
    int selectedRow_ = 0;
    bool loaded_ = false;
    EditHistory history_;
    std::optional<MapEdit> stroke_;
    std::optional<CanvasCell> hovered_;
    /// Where the pointer was at the stroke's last press or move, in cells; outside the canvas
    /// too, so that a drag coming back in paints from the edge it crossed.
    std::optional<CanvasCell> strokeEnd_;
    /// The map files' contents as last noted.
    std::map<std::filesystem::path, std::vector<std::uint8_t>> noted_;
};

} // namespace poronpa
