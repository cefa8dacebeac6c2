#include "editor/MapEditor.h"

#include "app/base/FileNames.h"
#include "editor/BitmapFile.h"
#include "editor/BulkTools.h"
#include "editor/TileNumberText.h"
#include "editor/WorldPicture.h"
#include "world/AreaDrawing.h"
#include "world/MapFile.h"
#include "world/SheetCells.h"
#include "world/TileFacts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace poronpa {

namespace {

const std::uint32_t OverviewBackground = rgb(255, 255, 255);
const std::uint32_t GridColour = rgb(1, 0, 0);
const std::uint32_t MarkerColour = rgb(255, 0, 0);

/// A pointer position to the nearest whole pixel, halves to even.
int wholePixel(double position) { return static_cast<int>(std::nearbyint(position)); }

std::string offsetCaption(int x, int y) { return "(X,Y)=(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

/// A pointer position's cell, rounded down also left of and above the picture.
int cellOf(double position)
{
    const int pixel = wholePixel(position);
    return pixel >= 0 ? pixel / sheet::CellSize : -((-pixel + sheet::CellSize - 1) / sheet::CellSize);
}

/// The rectangle with corners `a` and `b`, both inside it, kept to `columns` × `rows` cells.
CellRect spanning(CanvasCell a, CanvasCell b, int columns, int rows)
{
    const auto inside = [](int c, int count) { return std::clamp(c, 0, count - 1); };
    const int left = inside(std::min(a.column, b.column), columns);
    const int top = inside(std::min(a.row, b.row), rows);
    const int right = inside(std::max(a.column, b.column), columns);
    const int bottom = inside(std::max(a.row, b.row), rows);
    return {left, top, right - left + 1, bottom - top + 1};
}

/// Where a brush `size` cells long lands for a cell `offset` cells from the stroke's start:
/// on the start's grid of steps, also before the start.
int brushStep(int offset, int size) { return (offset >= 0 ? offset / size : -((-offset + size - 1) / size)) * size; }

} // namespace

MapEditor::MapEditor(MapGrid& map, Surface tileSheet)
    : map_(map), tileSheet_(std::move(tileSheet)), canvas_(AreaCanvasSize, AreaCanvasSize),
      overview_(OverviewSize, OverviewSize, OverviewBackground)
{
    // No line at 50: the overview's edge closes the last row and column of squares.
    for (int k = 0; k < MapGrid::Areas; ++k) {
        overview_.fillRect(OverviewCellSize * k, 0, 1, OverviewSize, GridColour);
        overview_.fillRect(0, OverviewCellSize * k, OverviewSize, 1, GridColour);
    }
}

bool MapEditor::modified() const { return history_.modified() || (stroke_ && !stroke_->empty()); }

FileStatus MapEditor::load(const std::filesystem::path& path, const std::function<void()>& showProgress)
{
    finishStroke();
    // Read into a fresh grid, so that a file that fails leaves the map alone and a short file
    // leaves no cells of the map loaded before.
    MapGrid loaded;
    std::vector<std::uint8_t> head;
    const FileStatus status = loadMap(
        path, loaded,
        [&](const std::string& caption) {
            status_ = caption;
            if (showProgress)
                showProgress();
        },
        &head);
    if (!status.ok())
        return status;
    noted_[path] = std::move(head);
    map_ = loaded;
    history_.clear();
    selectArea(0, 0);
    loaded_ = true;
    return status;
}

void MapEditor::newWorld()
{
    finishStroke();
    map_ = MapGrid{};
    history_.clear();
    selectArea(0, 0);
    loaded_ = true;
}

FileStatus MapEditor::save(const std::filesystem::path& path, const std::function<void()>& showProgress)
{
    finishStroke();
    const FileStatus status = saveMap(path, map_, [&](const std::string& caption) {
        status_ = caption;
        if (showProgress)
            showProgress();
    });
    if (status.ok()) {
        history_.markSaved();
        const auto bytes = mapFileBytes(map_);
        noted_[path].assign(bytes.begin(), bytes.end());
    } else {
        status_ = translate("MapEditor", SaveFailedStatus);
    }
    return status;
}

void MapEditor::noteFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> head;
    readMapFileHead(path, head);
    noted_[path] = std::move(head);
}

bool MapEditor::changedSinceNoted(const std::filesystem::path& path) const
{
    const auto noted = noted_.find(path);
    if (noted == noted_.end())
        return false;
    std::vector<std::uint8_t> head;
    readMapFileHead(path, head);
    return head != noted->second;
}

void MapEditor::overviewRelease(double x, double y)
{
    const int px = wholePixel(x);
    const int py = wholePixel(y);
    if (px < 0 || py < 0 || px >= OverviewSize || py >= OverviewSize)
        return;
    finishStroke();
    // The last pixel column and row belong to the last squares, not to a sixth area.
    selectArea(std::min(px / OverviewCellSize, MapGrid::Areas - 1), std::min(py / OverviewCellSize, MapGrid::Areas - 1));
}

void MapEditor::selectArea(int ax, int ay)
{
    // A selection is of the area it was made in; a lifted stamp goes along, to be put down here.
    selection_.reset();
    selectionAnchor_.reset();
    drawMarker(OverviewBackground);
    areaX_ = ax;
    areaY_ = ay;
    drawMarker(MarkerColour);
    DrawArea(map_, areaX_, areaY_, tileSheet_, canvas_);
}

void MapEditor::drawMarker(std::uint32_t colour)
{
    // An outline one pixel inside the square's grid lines.
    constexpr int side = OverviewCellSize - 1;
    const int x = OverviewCellSize * areaX_ + 1;
    const int y = OverviewCellSize * areaY_ + 1;
    overview_.fillRect(x, y, side, 1, colour);
    overview_.fillRect(x, y + side - 1, side, 1, colour);
    overview_.fillRect(x, y, 1, side, colour);
    overview_.fillRect(x + side - 1, y, 1, side, colour);
}

void MapEditor::arrowClick(int index)
{
    // Far beyond the edge; the clamp brings it back onto the edge.
    constexpr int FarAway = -32767;
    int left = scrollLeft_;
    int top = scrollTop_;
    switch (index) {
    case 0: top = 0; break;
    case 1: left = FarAway; break;
    case 2: top = FarAway; break;
    case 3: left = 0; break;
    default: return;
    }
    moveView(left, top);
    status_ = offsetCaption(scrollLeft_, scrollTop_);
}

void MapEditor::scrollCells(int columns, int rows)
{
    // The offset of the view's edge onto the next cell boundary in the direction of travel, so
    // that a view left between cells by a right-button centring lines up with the grid again.
    const auto scrolled = [](int offset, int cells) {
        if (cells == 0)
            return offset;
        const int edge = -offset;
        int cell = edge / sheet::CellSize;
        if (cells > 0 && edge < 0 && edge % sheet::CellSize != 0)
            --cell;
        if (cells < 0 && edge > 0 && edge % sheet::CellSize != 0)
            ++cell;
        return -sheet::CellSize * (cell + cells);
    };
    moveView(scrolled(scrollLeft_, columns), scrolled(scrollTop_, rows));
    status_ = offsetCaption(scrollLeft_, scrollTop_);
}

void MapEditor::moveView(int left, int top)
{
    ClampScroll(left, top);
    scrollLeft_ = left;
    scrollTop_ = top;
}

void MapEditor::palettePress(double x, double y)
{
    paletteAnchor_ = CanvasCell{cellOf(x), cellOf(y)};
    paletteDrag_.reset();
}

void MapEditor::paletteMove(unsigned heldButtons, double x, double y)
{
    if (paletteAnchor_ && heldButtons == LeftButton)
        paletteDrag_ = spanning(*paletteAnchor_, {cellOf(x), cellOf(y)}, sheet::Columns, sheet::Rows);
}

void MapEditor::paletteRelease(double x, double y)
{
    const std::optional<CanvasCell> anchor = paletteAnchor_;
    paletteAnchor_.reset();
    paletteDrag_.reset();
    const int px = wholePixel(x);
    const int py = wholePixel(y);
    if (px < 0 || py < 0 || px >= sheet::Width || py >= sheet::Height)
        return;
    const CanvasCell cell{px / sheet::CellSize, py / sheet::CellSize};
    // A press outside the sheet was dragged in: the tile released on alone.
    const bool anchorOnSheet = anchor && anchor->column >= 0 && anchor->row >= 0 &&
                               anchor->column < sheet::Columns && anchor->row < sheet::Rows;
    choosePalette(spanning(anchorOnSheet ? *anchor : cell, cell, sheet::Columns, sheet::Rows));
}

void MapEditor::choosePalette(const CellRect& frame)
{
    paletteChoice_ = frame;
    selectedCol_ = frame.column;
    selectedRow_ = frame.row;
    brush_ = Stamp{frame.width, frame.height, {}};
    for (int row = frame.row; row < frame.row + frame.height; ++row)
        for (int column = frame.column; column < frame.column + frame.width; ++column)
            brush_.tiles.push_back(static_cast<std::uint8_t>(sheet::Columns * row + column));
}

void MapEditor::canvasPress(MouseButton button, double x, double y, unsigned modifiers)
{
    hoverAt(x, y);
    if (button == LeftButton) {
        finishStroke();
        const CanvasCell cell{cellOf(x), cellOf(y)};
        pressTaken_ = true;
        if (floating_) {
            putDownFloating();
        } else if (modifiers & ControlModifier) {
            MapEdit edit = fillConnected(map_, areaX_, areaY_, cell.column, cell.row, static_cast<std::uint8_t>(selectedTile()));
            pushAndShow(std::move(edit), {0, 0, MapGrid::AreaCells, MapGrid::AreaCells});
        } else if ((modifiers & ShiftModifier) || tool_ == CanvasTool::Select) {
            selectionAnchor_ = cell;
            spanSelection(cell);
        } else if (selection_ && !selection_->contains(cell.column, cell.row)) {
            selection_.reset();
            status_.clear();
        } else {
            pressTaken_ = false;
            stroke_.emplace(AreaPosition{areaX_, areaY_});
            brushOrigin_ = cell;
            paintLineTo(x, y);
        }
    } else if (button == RightButton) {
        moveView(wholePixel(ViewSize / 2 - x), wholePixel(ViewSize / 2 - y));
        // The cell at the view's top-left corner, not the pixel offsets.
        status_ = offsetCaption(-(scrollLeft_ / sheet::CellSize), -(scrollTop_ / sheet::CellSize));
    }
}

void MapEditor::canvasMove(unsigned heldButtons, double x, double y)
{
    hoverAt(x, y);
    if (heldButtons == LeftButton && selectionAnchor_)
        spanSelection({cellOf(x), cellOf(y)});
    else if (heldButtons == LeftButton && !pressTaken_ && !selectionAnchor_)
        paintLineTo(x, y);
    else
        strokeEnd_.reset(); // where the pointer went meanwhile is not to be painted
}

void MapEditor::canvasRelease(unsigned stillHeldButtons)
{
    if (!(stillHeldButtons & LeftButton)) {
        finishStroke();
        selectionAnchor_.reset();
        pressTaken_ = false;
    }
}

void MapEditor::spanSelection(CanvasCell to)
{
    selection_ = spanning(*selectionAnchor_, to, MapGrid::AreaCells, MapGrid::AreaCells);
    status_ = withArguments(translate("MapEditor", "範囲選択 %1×%2 マス"),
                            {std::to_string(selection_->width), std::to_string(selection_->height)});
}

void MapEditor::selectAll()
{
    finishStroke();
    selectionAnchor_ = CanvasCell{0, 0};
    spanSelection({MapGrid::AreaCells - 1, MapGrid::AreaCells - 1});
    selectionAnchor_.reset();
}

bool MapEditor::escape()
{
    if (floating_)
        floating_.reset();
    else if (selection_)
        selection_.reset();
    else
        return false;
    status_.clear();
    return true;
}

bool MapEditor::copySelection()
{
    finishStroke();
    if (!selection_)
        return false;
    copied_ = copyCells(map_, areaX_, areaY_, *selection_);
    showStampStatus(PORONPA_TR("MapEditor", "コピー"), *copied_);
    return true;
}

bool MapEditor::cutSelection()
{
    if (!copySelection())
        return false;
    pushAndShow(fillCells(map_, areaX_, areaY_, *selection_, backgroundTile(map_, areaX_, areaY_)), *selection_);
    showStampStatus(PORONPA_TR("MapEditor", "切り取り"), *copied_);
    return true;
}

bool MapEditor::fillSelection()
{
    finishStroke();
    if (!selection_)
        return false;
    pushAndShow(fillCells(map_, areaX_, areaY_, *selection_, static_cast<std::uint8_t>(selectedTile())), *selection_);
    return true;
}

bool MapEditor::liftCopy()
{
    if (!copied_)
        return false;
    liftStamp(*copied_);
    return true;
}

void MapEditor::liftStamp(Stamp stamp)
{
    finishStroke();
    floating_ = std::move(stamp);
    showStampStatus(PORONPA_TR("MapEditor", "貼り付け"), *floating_);
}

bool MapEditor::paste(std::string_view clipboardText)
{
    if (clipboardText.empty())
        return liftCopy();
    if (auto stamp = readStampText(clipboardText)) {
        liftStamp(std::move(*stamp));
        return true;
    }
    // Not the copy made here, which another program's text has replaced on the clipboard.
    status_ = translate("MapEditor", NotStampStatus);
    return true;
}

void MapEditor::flipStamp()
{
    if (floating_) {
        floating_ = mirrored(*floating_);
        showStampStatus(PORONPA_TR("MapEditor", "左右反転"), *floating_);
    } else if (brush_.width == 1 && brush_.height == 1) {
        const std::uint8_t partner = mirroredTile(brush_.tiles.front());
        choosePalette({partner % sheet::Columns, partner / sheet::Columns, 1, 1});
    } else {
        brush_ = mirrored(brush_);
        showStampStatus(PORONPA_TR("MapEditor", "左右反転"), brush_);
    }
}

void MapEditor::showStampStatus(const char* what, const Stamp& stamp)
{
    status_ = withArguments(translate("MapEditor", "%1 %2×%3 マス"),
                            {translate("MapEditor", what), std::to_string(stamp.width), std::to_string(stamp.height)});
}

void MapEditor::putDownFloating()
{
    const CanvasCell at = hovered_.value_or(CanvasCell{});
    MapEdit edit(AreaPosition{areaX_, areaY_});
    putStamp(map_, edit, areaX_, areaY_, at.column, at.row, *floating_);
    pushAndShow(std::move(edit), {at.column, at.row, floating_->width, floating_->height});
    floating_.reset();
    status_.clear();
}

void MapEditor::pushAndShow(MapEdit edit, const CellRect& cells)
{
    history_.push(std::move(edit));
    drawCells(cells);
}

void MapEditor::drawCells(const CellRect& cells)
{
    const int right = std::min(cells.column + cells.width, MapGrid::AreaCells);
    const int bottom = std::min(cells.row + cells.height, MapGrid::AreaCells);
    for (int cy = std::max(cells.row, 0); cy < bottom; ++cy)
        for (int cx = std::max(cells.column, 0); cx < right; ++cx)
            drawTile(canvas_, sheet::CellSize * cx, sheet::CellSize * cy, tileSheet_, map_.areaCell(areaX_, areaY_, cx, cy));
}

void MapEditor::hoverAt(double x, double y)
{
    const int px = wholePixel(x);
    const int py = wholePixel(y);
    if (px < 0 || py < 0 || px >= AreaCanvasSize || py >= AreaCanvasSize)
        hovered_.reset();
    else
        hovered_ = CanvasCell{px / sheet::CellSize, py / sheet::CellSize};
}

std::string MapEditor::hoveredText() const
{
    if (!hovered_)
        return {};
    const std::uint8_t tile = map_.areaCell(areaX_, areaY_, hovered_->column, hovered_->row);
    return withArguments(translate("MapEditor", "列 %1 行 %2 — %3"),
                         {std::to_string(hovered_->column), std::to_string(hovered_->row), tileText(tile)});
}

std::string MapEditor::tileText(std::uint8_t tile)
{
    return withArguments(translate("MapEditor", "タイル %1: %2"), {std::to_string(tile), std::string(tileName(tile))});
}

void MapEditor::paintLineTo(double x, double y)
{
    const CanvasCell to{cellOf(x), cellOf(y)};
    const CanvasCell from = strokeEnd_.value_or(to);
    strokeEnd_ = to;
    // The pointer is sampled, not followed: a fast drag jumps over cells, which the line between
    // two samples gives back (Bresenham's, one cell per step along the longer axis).
    const int dx = std::abs(to.column - from.column);
    const int dy = -std::abs(to.row - from.row);
    const int stepX = from.column < to.column ? 1 : -1;
    const int stepY = from.row < to.row ? 1 : -1;
    int error = dx + dy;
    for (CanvasCell cell = from;;) {
        paintCell(cell.column, cell.row);
        if (cell == to)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            cell.column += stepX;
        }
        if (twice <= dx) {
            error += dx;
            cell.row += stepY;
        }
    }
}

void MapEditor::paintCell(int cx, int cy)
{
    // A drag that leaves the canvas would otherwise reach into the neighbouring area or, at the
    // world's edge, beyond the grid; putStamp keeps to the area.
    if (cx < 0 || cy < 0 || cx >= MapGrid::AreaCells || cy >= MapGrid::AreaCells)
        return;
    if (!stroke_)
        stroke_.emplace(AreaPosition{areaX_, areaY_});
    const CanvasCell origin = brushOrigin_.value_or(CanvasCell{cx, cy});
    brushOrigin_ = origin;
    const int column = origin.column + brushStep(cx - origin.column, brush_.width);
    const int row = origin.row + brushStep(cy - origin.row, brush_.height);
    putStamp(map_, *stroke_, areaX_, areaY_, column, row, brush_);
    drawCells({column, row, brush_.width, brush_.height});
}

void MapEditor::finishStroke()
{
    strokeEnd_.reset();
    brushOrigin_.reset();
    if (!stroke_)
        return;
    history_.push(std::move(*stroke_));
    stroke_.reset();
}

void MapEditor::fill()
{
    finishStroke();
    history_.push(fillArea(map_, areaX_, areaY_, static_cast<std::uint8_t>(selectedTile())));
    DrawArea(map_, areaX_, areaY_, tileSheet_, canvas_);
}

std::string MapEditor::replace(std::string_view fromText, std::string_view toText)
{
    finishStroke();
    const auto from = readTileNumber(fromText);
    const auto to = readTileNumber(toText);
    if (!from || !to) {
        const std::string_view wrong = !from ? fromText : toText;
        if (wrong.find_first_not_of(" \t") == std::string_view::npos)
            return !from ? translate("MapEditor", "Replace の左の欄が空のため、何も置き換えていません。")
                         : translate("MapEditor", "Replace の右の欄が空のため、何も置き換えていません。");
        return withArguments(
            translate("MapEditor", "Replace に使えるのは 0 から 255 までのタイル番号です。「%1」は使えないため、何も置き換えていません。"),
            {std::string(wrong)});
    }
    MapEdit edit = replaceTiles(map_, static_cast<std::uint8_t>(*from), static_cast<std::uint8_t>(*to));
    status_ = withArguments(translate("MapEditor", "Replace %1>%2: %3 マスを置き換えました"),
                            {std::to_string(*from), std::to_string(*to), std::to_string(edit.size())});
    history_.push(std::move(edit));
    DrawArea(map_, areaX_, areaY_, tileSheet_, canvas_);
    return {};
}

void MapEditor::edge()
{
    finishStroke();
    history_.push(edgeArea(map_, areaX_, areaY_));
    DrawArea(map_, areaX_, areaY_, tileSheet_, canvas_);
}

GameStart MapEditor::testPlayStart(const std::vector<int>& items) const
{
    const CanvasCell centre{(ViewSize / 2 - scrollLeft_) / sheet::CellSize, (ViewSize / 2 - scrollTop_) / sheet::CellSize};
    const CanvasCell cell = hovered_.value_or(centre);
    // Cells 0 and 49 are the seams with the neighbours: a hero placed there would leave the area
    // on the first frame.
    const auto inside = [](int c) { return std::clamp(c, 1, MapGrid::AreaCells - 2); };
    GameStart start;
    start.AreaX = static_cast<std::int16_t>(areaX_);
    start.AreaY = static_cast<std::int16_t>(areaY_);
    start.HeroX = static_cast<float>(sheet::CellSize * inside(cell.column));
    start.HeroY = static_cast<float>(sheet::CellSize * inside(cell.row));
    start.items = items;
    return start;
}

bool MapEditor::undo()
{
    finishStroke();
    const MapEdit* edit = history_.undo(map_);
    if (edit)
        showEdit(*edit);
    return edit != nullptr;
}

bool MapEditor::redo()
{
    finishStroke();
    const MapEdit* edit = history_.redo(map_);
    if (edit)
        showEdit(*edit);
    return edit != nullptr;
}

void MapEditor::showEdit(const MapEdit& edit)
{
    // An edit made in another area is shown there, so that the user sees what was taken back.
    const auto area = edit.area();
    if (area && *area != AreaPosition{areaX_, areaY_})
        selectArea(area->x, area->y);
    else
        DrawArea(map_, areaX_, areaY_, tileSheet_, canvas_);
}

FileStatus MapEditor::exportWorld(const std::filesystem::path& directory) const
{
    // Drawn on a canvas of its own, so the editor's canvas keeps showing the current area.
    return saveBitmap(directory / filenames::WorldPicture, wholeWorldPicture(map_, tileSheet_));
}

FileStatus MapEditor::exportArea(const std::filesystem::path& directory) const
{
    return saveBitmap(directory / filenames::areaPicture(areaX_, areaY_), canvas_);
}

} // namespace poronpa
