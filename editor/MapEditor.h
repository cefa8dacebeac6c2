#pragma once

#include "app/base/SafeFile.h"
#include "app/base/Surface.h"
#include "app/base/Translation.h"
#include "editor/EditHistory.h"
#include "editor/Stamp.h"
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

/// Keys held with a click, as the editor's views report them; a set is their bitwise or.
enum KeyModifier : unsigned { NoModifier = 0, ShiftModifier = 1, ControlModifier = 2 };

/// What a plain left drag on the canvas does: paint the brush, or select a rectangle.
enum class CanvasTool { Paint, Select };

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
    /// What a left click paints: the tiles chosen on the palette, one or a rectangle of them,
    /// flipped as X left them.
    const Stamp& brush() const { return brush_; }
    /// The palette's tiles framed as chosen, in sheet cells; while a drag over the palette is
    /// under way, the tiles it covers so far.
    CellRect paletteFrame() const { return paletteDrag_.value_or(paletteChoice_); }
    CanvasTool tool() const { return tool_; }
    void setTool(CanvasTool tool) { tool_ = tool; }
    /// The selected rectangle of the current area's cells, if any.
    std::optional<CellRect> selection() const { return selection_; }
    /// The stamp lifted by a paste, which follows the pointer with its top-left cell on the
    /// hovered cell until a left click puts it down.
    const std::optional<Stamp>& floatingStamp() const { return floating_; }
    /// What the latest copy or cut took.
    const std::optional<Stamp>& copied() const { return copied_; }
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
    static constexpr const char* SaveFailedStatus = PORONPA_TR("MapEditor", "Save できませんでした");
    /// Starts an empty world, every cell tile 0, as if loaded from no file: nothing to undo,
    /// nothing unsaved, area (0, 0) selected and Save possible.
    void newWorld();

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
    /// A mouse press on the palette picture: where a drag over several tiles starts.
    void palettePress(double x, double y);
    /// A move over the palette: while the left button is held, the frame spans the tiles from the
    /// press to the pointer.
    void paletteMove(unsigned heldButtons, double x, double y);
    /// A mouse release on the palette picture: the brush becomes the tile under the pointer or,
    /// after a drag from another tile, the rectangle of tiles from there to here, with the
    /// rectangle's top-left tile selected. A release outside the picture, after a drag, is ignored.
    void paletteRelease(double x, double y);

    /// A press on the canvas. The right button centres the view there. The left one puts down a
    /// lifted stamp; else, with Ctrl, fills the cells joined to the one clicked that hold its
    /// tile; else, with Shift or the Select tool, starts selecting a rectangle; else, outside a
    /// selection, only clears it; else paints the brush.
    void canvasPress(MouseButton button, double x, double y, unsigned modifiers = NoModifier);
    /// A move over the canvas: the cell under the pointer becomes the hovered one. While the left
    /// button alone is held, a selection started by the press spans from there to the pointer, or
    /// the brush is painted on every cell of the line from the pointer's last position to this one,
    /// so a fast drag leaves no gaps; a brush of several tiles lands in steps of its size from
    /// where the stroke began. Cells outside the canvas are not painted.
    void canvasMove(unsigned heldButtons, double x, double y);
    /// The pointer has left the canvas: no cell is hovered.
    void canvasLeave() { hovered_.reset(); }
    /// A release on the canvas: a paint stroke or a selection ends with the left button.
    void canvasRelease(unsigned stillHeldButtons);

    /// Selects every cell of the current area.
    void selectAll();
    /// Escape: drops a lifted stamp or, with none, clears the selection; false when there was
    /// neither.
    bool escape();
    /// Copies the selection's tiles; false without a selection.
    bool copySelection();
    /// Copies the selection's tiles, then fills it with the area's background tile
    /// (backgroundTile) as one step; false without a selection.
    bool cutSelection();
    /// Fills the selection with the selected tile as one step; false without a selection.
    bool fillSelection();
    /// Lifts what was copied onto the pointer; false when nothing was.
    bool liftCopy();
    /// Lifts `stamp` onto the pointer, such as one read from the clipboard's text.
    void liftStamp(Stamp stamp);
    /// Ctrl+V: lifts the rows of tile codes the clipboard holds (readStampText) or, when it holds
    /// no text, what was copied here. Other text lifts nothing, and the status text says why.
    /// False when nothing changed.
    bool paste(std::string_view clipboardText);
    static constexpr const char* NotStampStatus = PORONPA_TR("MapEditor", "クリップボードの文字はタイル番号の行ではありません");
    /// X: mirrors the lifted stamp or, with none, the brush; a brush of one tile becomes its
    /// partner on the palette.
    void flipStamp();

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

private:
    void selectArea(int ax, int ay);
    void drawMarker(std::uint32_t colour);
    void paintLineTo(double x, double y);
    void paintCell(int cx, int cy);
    void spanSelection(CanvasCell to);
    void putDownFloating();
    void pushAndShow(MapEdit edit, const CellRect& cells);
    void drawCells(const CellRect& cells);
    void showStampStatus(const char* what, const Stamp& stamp);
    void choosePalette(const CellRect& frame);
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
    Stamp brush_{1, 1, {0}};
    CellRect paletteChoice_{0, 0, 1, 1};
    std::optional<CanvasCell> paletteAnchor_;
    std::optional<CellRect> paletteDrag_;
    CanvasTool tool_ = CanvasTool::Paint;
    std::optional<CellRect> selection_;
    /// Where the selection being dragged began, while the left button that began it is held.
    std::optional<CanvasCell> selectionAnchor_;
    std::optional<Stamp> copied_;
    std::optional<Stamp> floating_;
    /// The press did something else than paint (put a stamp down, filled, cleared the
    /// selection): the drag that follows paints nothing.
    bool pressTaken_ = false;
    /// The cell from which a brush of several tiles steps, where the stroke began.
    std::optional<CanvasCell> brushOrigin_;
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
