#include "editor/BulkTools.h"
#include "editor/MapEditor.h"
#include "editor/TileNumberText.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/TempDir.h"
#include "world/MapFile.h"
#include "world/TileFacts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace poronpa;
using poronpa::test::solidTileSheet;
using poronpa::test::tileColour;
using poronpa::test::TempDir;

namespace {

/// An editor over a map of its own, with area (0, 0) selected as after a load.
struct Editor {
    MapGrid map;
    MapEditor editor{map, solidTileSheet()};

    Editor() { editor.overviewRelease(0, 0); }

    void selectArea(int ax, int ay) { editor.overviewRelease(10 * ax + 5, 10 * ay + 5); }
    void selectTile(int t) { editor.paletteRelease(32 * (t % 8) + 1, 32 * (t / 8) + 1); }
    /// The tile whose colour the canvas shows in cell (cx, cy), or -1 for anything else.
    int canvasTile(int cx, int cy) const
    {
        const std::uint32_t colour = editor.canvas().pixel(32 * cx + 16, 32 * cy + 16);
        for (int t = 0; t < sheet::Cells; ++t)
            if (tileColour(t) == colour)
                return t;
        return -1;
    }
};

} // namespace

TEST(TileNumberText, ReadsLikeTheReplaceBoxes)
{
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"", {}},         {"abc", {}},     {" -", {}},    {".", {}},        {".5", 0},
        {"  17", 17},     {"17 \t", 17},  {"2.5", 2},       {"12abc", {}},    {"1e3", {}},
        {"0x10", {}},     {"2.5.1", {}},   {"7 8", {}},      {"\xef\xbc\x91", {}},
        {"3.5", 4},       {"0.5", 0},      {"2.51", 3},   {"+7", 7},        {"-0.4", 0},
        {"255", 255},     {"255.5", {}},   {"256", {}},   {"-1", {}},       {"99999999999999999999", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readTileNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(MapEditorNavigation, OverviewReleaseSelectsTheAreaAndMovesTheMarker)
{
    const struct {
        double x, y;
        int ax, ay;
    } cases[] = {{0, 0, 0, 0}, {49, 9, 4, 0}, {25, 37, 2, 3}, {50, 50, 4, 4}, {9.5, 0, 1, 0}};
    for (const auto& c : cases) {
        Editor e;
        e.map.setCell(50 * c.ax + 3, 50 * c.ay + 4, 9);
        e.editor.overviewRelease(c.x, c.y);
        EXPECT_EQ(e.editor.areaX(), c.ax) << c.x << "," << c.y;
        EXPECT_EQ(e.editor.areaY(), c.ay) << c.x << "," << c.y;
        EXPECT_EQ(e.canvasTile(3, 4), 9) << "the canvas shows the area";
    }

    Editor e;
    e.editor.overviewRelease(25, 37);
    const Surface& overview = e.editor.overview();
    const std::uint32_t red = rgb(255, 0, 0), white = rgb(255, 255, 255), grid = rgb(1, 0, 0);
    for (int k = 21; k <= 29; ++k) {
        EXPECT_EQ(overview.pixel(k, 31), red);
        EXPECT_EQ(overview.pixel(k, 39), red);
        EXPECT_EQ(overview.pixel(21, k + 10), red);
        EXPECT_EQ(overview.pixel(29, k + 10), red);
    }
    EXPECT_EQ(overview.pixel(25, 35), white);
    EXPECT_EQ(overview.pixel(20, 35), grid);
    EXPECT_EQ(overview.pixel(45, 50), white) << "no grid line at 50";
    EXPECT_EQ(overview.pixel(50, 45), white);
    EXPECT_EQ(overview.pixel(1, 1), white) << "the old marker is erased";

    e.editor.overviewRelease(60, 10);
    EXPECT_EQ(e.editor.areaX(), 2) << "a release dragged outside the overview changes nothing";
    EXPECT_EQ(e.editor.areaY(), 3);
}

TEST(MapEditorNavigation, ArrowPadMovesTheViewToAnEdge)
{
    Editor e;
    ASSERT_EQ(e.editor.scrollLeft(), 20);
    ASSERT_EQ(e.editor.scrollTop(), 8);
    const struct {
        int arrow;
        const char* status;
    } steps[] = {{2, "(X,Y)=(0,-1280)"}, {1, "(X,Y)=(-1280,-1280)"}, {3, "(X,Y)=(0,-1280)"}, {0, "(X,Y)=(0,0)"}};
    for (const auto& step : steps) {
        e.editor.arrowClick(step.arrow);
        EXPECT_EQ(e.editor.status(), step.status);
    }

    e.editor.canvasPress(RightButton, 760, 460);
    ASSERT_EQ(e.editor.scrollLeft(), -600);
    ASSERT_EQ(e.editor.scrollTop(), -300);
    e.editor.arrowClick(3);
    EXPECT_EQ(e.editor.scrollLeft(), 0);
    EXPECT_EQ(e.editor.scrollTop(), -300);
}

TEST(MapEditorNavigation, RightPressCentresTheViewAndShowsTheCornerCell)
{
    const struct {
        double x, y;
        int left, top;
        const char* status;
    } cases[] = {{800, 800, -640, -640, "(X,Y)=(20,20)"},
                 {100, 100, 0, 0, "(X,Y)=(0,0)"},
                 {1590, 10, -1280, 0, "(X,Y)=(40,0)"},
                 {1430, 200, -1270, -40, "(X,Y)=(39,1)"}};
    for (const auto& c : cases) {
        Editor e;
        e.editor.canvasPress(RightButton, c.x, c.y);
        EXPECT_EQ(e.editor.scrollLeft(), c.left);
        EXPECT_EQ(e.editor.scrollTop(), c.top);
        EXPECT_EQ(e.editor.status(), c.status);
        EXPECT_EQ(e.map, MapGrid{}) << "a right press paints nothing";
    }
}

TEST(MapEditorNavigation, PaletteReleaseSelectsTheTileUnderThePointer)
{
    Editor e;
    e.editor.paletteRelease(40, 70);
    EXPECT_EQ(e.editor.selectedCol(), 1);
    EXPECT_EQ(e.editor.selectedRow(), 2);
    EXPECT_EQ(e.editor.selectedTile(), 17);
    e.editor.paletteRelease(255, 767);
    EXPECT_EQ(e.editor.selectedTile(), 191);

    // Released after a drag off the picture: there is no tile there to select.
    e.editor.paletteRelease(256, 10);
    e.editor.paletteRelease(10, -1);
    EXPECT_EQ(e.editor.selectedTile(), 191);
}

TEST(MapEditorPainting, LeftPressPaintsTheCellUnderThePointer)
{
    Editor e;
    e.selectArea(1, 2);
    e.selectTile(17);
    e.editor.canvasPress(LeftButton, 70, 40);
    e.editor.canvasRelease(NoButton);
    EXPECT_EQ(e.map.cell(52, 101), 17);
    EXPECT_EQ(e.editor.canvas().pixel(64, 32), tileColour(17));
    EXPECT_EQ(e.editor.canvas().pixel(95, 63), tileColour(17));
    EXPECT_EQ(e.editor.canvas().pixel(96, 63), tileColour(0));

    const struct {
        double x, y;
        int cx, cy;
    } cases[] = {{31, 31, 0, 0}, {0, 0, 0, 0}, {32, 0, 1, 0}, {1599, 1599, 49, 49}};
    for (const auto& c : cases) {
        Editor f;
        f.selectTile(5);
        f.editor.canvasPress(LeftButton, c.x, c.y);
        EXPECT_EQ(f.map.cell(c.cx, c.cy), 5) << c.x << "," << c.y;
        EXPECT_EQ(f.canvasTile(c.cx, c.cy), 5);
    }
}

TEST(MapEditorPainting, OnlyALeftOnlyDragPaintsAndNeverOutsideTheCanvas)
{
    Editor e;
    e.selectTile(5);
    e.editor.canvasPress(LeftButton, 10, 10);
    for (int x = 40; x < 200; x += 32)
        e.editor.canvasMove(LeftButton, x, 10);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(e.map.cell(x, 0), 5) << x;
    EXPECT_EQ(e.map.cell(6, 0), 0);
    e.editor.canvasMove(LeftButton | RightButton, 10, 100);
    e.editor.canvasMove(MiddleButton, 10, 132);
    e.editor.canvasMove(NoButton, 10, 164);
    EXPECT_EQ(e.map.cell(0, 3), 0);
    EXPECT_EQ(e.map.cell(0, 4), 0);
    EXPECT_EQ(e.map.cell(0, 5), 0);

    // Off the canvas of the world's last area: to its right and below lie column and row 250,
    // which must stay 0, and to its left and above the neighbouring areas. (The lines between
    // those positions cross the area itself, whose cells they paint.)
    Editor edge;
    edge.selectArea(4, 4);
    edge.selectTile(5);
    edge.editor.canvasPress(LeftButton, 1590, 1590);
    for (const auto& [x, y] : {std::pair{1620.0, 800.0}, {800.0, 1650.0}, {-10.0, 800.0}, {800.0, -31.0}, {-40.0, -40.0}})
        edge.editor.canvasMove(LeftButton, x, y);
    for (int x = 0; x < MapGrid::Size; ++x) {
        for (int y = 0; y < MapGrid::Size; ++y) {
            if (x < 200 || y < 200 || x == 250 || y == 250) {
                ASSERT_EQ(edge.map.cell(x, y), 0) << x << "," << y;
            }
        }
    }
}

TEST(MapEditorPainting, AFastDragPaintsEveryCellThePointerPassedBetweenTwoSamples)
{
    using Cells = std::vector<CanvasCell>;
    const auto row = [](int y, int from, int to) {
        Cells cells;
        for (int x = from; x <= to; ++x)
            cells.push_back({x, y});
        return cells;
    };
    const auto centre = [](int cell) { return 32.0 * cell + 16; };
    struct Move {
        unsigned buttons;
        double x, y;
    };
    const struct {
        const char* what;
        double pressX, pressY;
        std::vector<Move> moves;
        Cells painted;
    } drags[] = {
        {"along a row in three jumps", 16, 16, {{LeftButton, centre(3), 16}, {LeftButton, centre(6), 16}, {LeftButton, centre(9), 16}}, row(0, 0, 9)},
        {"back along a row", centre(30), centre(4), {{LeftButton, centre(25), centre(4)}}, row(4, 25, 30)},
        {"a diagonal", 16, 16, {{LeftButton, centre(4), centre(4)}}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"steeply up", centre(2), centre(6), {{LeftButton, centre(4), centre(0)}},
         {{2, 6}, {2, 5}, {3, 4}, {3, 3}, {3, 2}, {4, 1}, {4, 0}}},
        {"out over the edge and back further down", centre(49), 16,
         {{LeftButton, 1700, 16}, {LeftButton, centre(49), centre(4)}}, {{49, 0}, {49, 4}}},
        {"with the right button held on the way", 16, 16,
         {{LeftButton | RightButton, 16, centre(8)}, {LeftButton, 16, centre(12)}, {LeftButton, 16, centre(14)}},
         {{0, 0}, {0, 12}, {0, 13}, {0, 14}}},
    };
    for (const auto& drag : drags) {
        Editor e;
        e.selectTile(9);
        e.editor.canvasPress(LeftButton, drag.pressX, drag.pressY);
        for (const Move& move : drag.moves)
            e.editor.canvasMove(move.buttons, move.x, move.y);
        e.editor.canvasRelease(NoButton);
        for (int cx = 0; cx < MapGrid::AreaCells; ++cx) {
            for (int cy = 0; cy < MapGrid::AreaCells; ++cy) {
                const bool expected = std::find(drag.painted.begin(), drag.painted.end(), CanvasCell{cx, cy}) != drag.painted.end();
                EXPECT_EQ(e.map.cell(cx, cy), expected ? 9 : 0) << drag.what << ": cell " << cx << "," << cy;
                EXPECT_EQ(e.canvasTile(cx, cy), expected ? 9 : 0) << drag.what << ": canvas " << cx << "," << cy;
            }
        }
        // The whole stroke is one step.
        EXPECT_TRUE(e.editor.undo());
        EXPECT_EQ(e.map, MapGrid{}) << drag.what;
    }
}

TEST(MapEditorTools, FillCoversTheCurrentAreaOnly)
{
    Editor e;
    e.selectArea(2, 1);
    e.selectTile(17);
    e.editor.fill();
    for (int x = 0; x < 250; ++x)
        for (int y = 0; y < 250; ++y)
            ASSERT_EQ(e.map.cell(x, y), (x >= 100 && x < 150 && y >= 50 && y < 100) ? 17 : 0) << x << "," << y;
    for (const auto& [cx, cy] : {std::pair{0, 0}, {49, 0}, {0, 49}, {49, 49}, {20, 30}})
        EXPECT_EQ(e.canvasTile(cx, cy), 17);
}

TEST(MapEditorTools, ReplaceSwapsATileEverywhereAndSaysHowMany)
{
    Editor e;
    e.map.setCell(0, 0, 3);
    e.map.setCell(249, 249, 3);
    e.map.setCell(120, 7, 3);
    e.map.setCell(121, 7, 4);
    e.map.setCell(160, 160, 3);
    e.selectArea(3, 3);
    e.editor.scrollCells(2, 3);
    EXPECT_EQ(e.editor.replace("3", "0"), "");
    EXPECT_EQ(e.map.cell(0, 0), 0);
    EXPECT_EQ(e.map.cell(249, 249), 0);
    EXPECT_EQ(e.map.cell(120, 7), 0);
    EXPECT_EQ(e.map.cell(121, 7), 4);
    EXPECT_EQ(e.editor.status(), "Replace 3>0: 4 マスを置き換えました");
    // The view stays where it was, and shows the change.
    EXPECT_EQ(e.editor.areaX(), 3);
    EXPECT_EQ(e.editor.areaY(), 3);
    EXPECT_EQ(e.editor.scrollLeft(), -32);
    EXPECT_EQ(e.editor.scrollTop(), -64);
    EXPECT_EQ(e.canvasTile(10, 10), 0);

    e.map.setCell(5, 5, 2);
    e.editor.replace(" 2.5", "12 ");
    EXPECT_EQ(e.map.cell(5, 5), 12);
}

TEST(MapEditorTools, ReplaceWithoutATileNumberChangesNothingAndSaysWhy)
{
    const struct {
        const char* from;
        const char* to;
        const char* says;
    } cases[] = {{"256", "0", "「256」"}, {"0", "-1", "「-1」"}, {"1", "300.2", "「300.2」"},
                 {"", "", "左の欄が空"}, {"abc", "5", "「abc」"}, {"3", " ", "右の欄が空"},
                 {"1e3", "5", "「1e3」"},   {"1", "0x10", "「0x10」"}};
    for (const auto& c : cases) {
        Editor e;
        e.map.setCell(1, 1, 1);
        e.selectArea(2, 2);
        const MapGrid before = e.map;
        const std::string message = e.editor.replace(c.from, c.to);
        EXPECT_NE(message.find(c.says), std::string::npos) << c.from << " > " << c.to << ": " << message;
        EXPECT_EQ(e.map, before);
        EXPECT_EQ(e.editor.areaX(), 2);
        EXPECT_FALSE(e.editor.modified());
    }
}

TEST(MapEditorTools, EdgeTurnsCornersByTheSnapshot)
{
    // Cells are (x, y) in the world; the area is given with each case.
    struct Cell {
        int x, y, tile;
    };
    const struct {
        const char* what;
        int ax, ay;
        std::vector<Cell> cells;
        std::vector<Cell> expected;
    } cases[] = {
        {"ground with rock above and left", 0, 0, {{10, 10, 8}, {10, 9, 72}, {9, 10, 72}}, {{10, 10, 11}}},
        {"ground with rock above, left and right: the last matching corner wins", 0, 0,
         {{10, 10, 8}, {10, 9, 72}, {9, 10, 72}, {11, 10, 72}}, {{10, 10, 10}}},
        {"ground with rock below and left", 0, 0, {{10, 10, 8}, {10, 11, 72}, {9, 10, 72}}, {{10, 10, 3}}},
        {"rock with ground above and left", 0, 0, {{10, 10, 72}, {10, 9, 8}, {9, 10, 8}}, {{10, 10, 89}}},
        {"rock with ground below and right", 0, 0, {{10, 10, 72}, {10, 11, 8}, {11, 10, 8}}, {{10, 10, 80}}},
        {"rock with two ground corners stays rock", 0, 0, {{10, 10, 72}, {10, 9, 8}, {9, 10, 8}, {11, 10, 8}},
         {{10, 10, 72}}},
        {"the first row and column never change", 0, 0, {{0, 10, 8}, {0, 9, 72}, {1, 10, 72}, {10, 0, 8}, {9, 0, 72}, {10, 1, 72}},
         {{0, 10, 8}, {10, 0, 8}}},
        {"every test reads the snapshot, not a cell changed before", 0, 0,
         {{10, 10, 72}, {10, 9, 8}, {11, 10, 8}, {11, 9, 72}}, {{10, 10, 88}, {11, 10, 11}}},
        {"the last column sees the next area's first column", 0, 0, {{49, 10, 8}, {49, 9, 72}, {50, 10, 72}},
         {{49, 10, 10}, {50, 10, 72}}},
        {"another area's cells", 2, 3, {{110, 160, 8}, {110, 159, 72}, {109, 160, 72}, {10, 10, 8}, {10, 9, 72}, {9, 10, 72}},
         {{110, 160, 11}, {10, 10, 8}}},
        {"the world's last area sees zeros to the right and below", 4, 4,
         {{249, 249, 72}, {249, 248, 8}, {248, 249, 8}, {249, 230, 8}, {249, 229, 72}, {248, 230, 72}},
         {{249, 249, 89}, {249, 230, 11}, {250, 249, 0}}},
    };
    for (const auto& c : cases) {
        Editor e;
        for (const Cell& cell : c.cells)
            e.map.setCell(cell.x, cell.y, static_cast<std::uint8_t>(cell.tile));
        e.selectArea(c.ax, c.ay);
        e.editor.edge();
        for (const Cell& cell : c.expected)
            EXPECT_EQ(e.map.cell(cell.x, cell.y), cell.tile) << c.what << " at " << cell.x << "," << cell.y;
    }

    Editor shown;
    shown.map.setCell(10, 10, 8);
    shown.map.setCell(10, 9, 72);
    shown.map.setCell(9, 10, 72);
    shown.editor.edge();
    EXPECT_EQ(shown.canvasTile(10, 10), 11) << "the canvas is redrawn";
}

TEST(MapEditorHistory, EveryToolIsUndoneAndRedoneAsOneStep)
{
    const struct {
        const char* tool;
        std::function<void(Editor&)> use;
    } tools[] = {
        {"stroke",
         [](Editor& e) {
             e.selectTile(5);
             e.editor.canvasPress(LeftButton, 10, 10);
             for (int x = 10; x < 300; x += 16)
                 e.editor.canvasMove(LeftButton, x, 10 + x / 4);
             e.editor.canvasMove(LeftButton, 10, 10);
             e.editor.canvasRelease(NoButton);
         }},
        {"fill", [](Editor& e) { e.selectTile(6); e.editor.fill(); }},
        {"replace", [](Editor& e) { e.editor.replace("8", "9"); }},
        {"edge", [](Editor& e) { e.editor.edge(); }},
    };
    for (const auto& tool : tools) {
        Editor e;
        e.map.setCell(0, 0, 8);
        e.map.setCell(10, 10, 8);
        e.map.setCell(10, 9, 72);
        e.map.setCell(9, 10, 72);
        e.map.setCell(200, 200, 8);
        const MapGrid before = e.map;
        tool.use(e);
        const MapGrid after = e.map;
        ASSERT_NE(after, before) << tool.tool;
        EXPECT_TRUE(e.editor.modified()) << tool.tool;

        EXPECT_TRUE(e.editor.undo()) << tool.tool;
        EXPECT_EQ(e.map, before) << tool.tool;
        EXPECT_EQ(e.canvasTile(10, 10), 8) << tool.tool << ": the canvas shows the undone map";
        EXPECT_FALSE(e.editor.modified()) << tool.tool;
        EXPECT_FALSE(e.editor.undo()) << tool.tool << " is one step";

        EXPECT_TRUE(e.editor.redo()) << tool.tool;
        EXPECT_EQ(e.map, after) << tool.tool;
        EXPECT_EQ(e.canvasTile(10, 10), after.cell(10, 10)) << tool.tool;
        EXPECT_FALSE(e.editor.redo()) << tool.tool;
    }
}

TEST(MapEditorHistory, UndoShowsTheAreaOfTheEditAndANewEditDropsTheRedo)
{
    Editor e;
    e.selectArea(3, 1);
    e.selectTile(7);
    e.editor.fill();
    e.selectArea(0, 0);
    e.editor.undo();
    EXPECT_EQ(e.editor.areaX(), 3);
    EXPECT_EQ(e.editor.areaY(), 1);
    EXPECT_EQ(e.map.cell(150, 50), 0);

    e.editor.canvasPress(LeftButton, 0, 0);
    e.editor.canvasRelease(NoButton);
    EXPECT_FALSE(e.editor.redo());
    EXPECT_EQ(e.map.cell(150, 50), 7);
}

TEST(MapEditorFile, LoadShowsProgressSelectsTheFirstAreaAndTracksChanges)
{
    TempDir dir;
    std::vector<unsigned char> bytes(MapGrid::FileBytes, 0);
    bytes[251] = 7; // cell (1, 1)
    test::writeBytes(dir / "mapdata.dat", bytes);

    MapGrid map;
    MapEditor editor(map, solidTileSheet());
    EXPECT_FALSE(editor.canSave());
    std::vector<std::string> shown;
    editor.overviewRelease(30, 30);
    ASSERT_TRUE(editor.load(dir / "mapdata.dat", [&] { shown.push_back(editor.status()); }).ok());
    ASSERT_EQ(shown.size(), 25u);
    EXPECT_EQ(shown[1], "10/240)");
    EXPECT_EQ(editor.status(), "240/240)");
    EXPECT_EQ(editor.areaX(), 0);
    EXPECT_EQ(editor.areaY(), 0);
    EXPECT_EQ(editor.canvas().pixel(40, 40), tileColour(7));
    EXPECT_TRUE(editor.canSave());
    EXPECT_FALSE(editor.modified());

    editor.paletteRelease(40, 70);
    editor.canvasPress(LeftButton, 0, 0);
    EXPECT_TRUE(editor.modified()) << "a stroke still under way counts";
    ASSERT_TRUE(editor.save(dir / "mapdata.dat").ok());
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(editor.status(), "240/240)");
    editor.undo();
    EXPECT_TRUE(editor.modified()) << "the map no longer matches the saved file";
    editor.redo();
    EXPECT_FALSE(editor.modified());
    editor.undo();
    editor.fill();
    editor.redo();
    EXPECT_TRUE(editor.modified()) << "the saved state can no longer be reached";

    // A save that fails says so where the progress was shown.
    std::filesystem::create_directory(dir / "taken");
    EXPECT_FALSE(editor.save(dir / "taken").ok());
    EXPECT_EQ(editor.status(), MapEditor::SaveFailedStatus);

    // A map file that cannot be read leaves the editor as it was.
    const MapGrid before = map;
    std::filesystem::create_directory(dir / "folder");
    EXPECT_FALSE(editor.load(dir / "folder").ok());
    EXPECT_EQ(map, before);
    EXPECT_TRUE(editor.modified());
}

TEST(MapEditorFile, ASaveByAnotherEditorIsNoticedUntilThisOneSavesOrLoadsAgain)
{
    TempDir dir;
    const auto file = dir / "mapdata.dat";
    test::writeBytes(file, std::vector<unsigned char>(MapGrid::FileBytes, 3));
    MapGrid map, theirs;
    MapEditor editor(map, solidTileSheet());
    ASSERT_TRUE(editor.load(file).ok());
    EXPECT_FALSE(editor.changedSinceNoted(file));

    // Another editor saves a cell of its own; touching the file without changing it is no change.
    ASSERT_TRUE(loadMap(file, theirs).ok());
    theirs.setCell(5, 5, 44);
    ASSERT_TRUE(saveMap(file, theirs).ok());
    EXPECT_TRUE(editor.changedSinceNoted(file));
    ASSERT_TRUE(editor.save(file).ok());
    EXPECT_FALSE(editor.changedSinceNoted(file));
    ASSERT_TRUE(saveMap(file, map).ok());
    EXPECT_FALSE(editor.changedSinceNoted(file));
    ASSERT_TRUE(saveMap(file, theirs).ok());
    ASSERT_TRUE(editor.load(file).ok());
    EXPECT_FALSE(editor.changedSinceNoted(file));

    // A file Save writes but Load did not read is noted as it was; its creation is a change.
    const auto own = dir / "own.dat";
    editor.noteFile(own);
    EXPECT_FALSE(editor.changedSinceNoted(own));
    ASSERT_TRUE(saveMap(own, theirs).ok());
    EXPECT_TRUE(editor.changedSinceNoted(own));
}

namespace {

/// An editor on area (1, 1) of a small world: the area is mostly wall 100 over a room of night
/// sky 6 with some day sky 0, so that a cut has a background to find that is not the commonest
/// tile; the neighbouring areas hold tile 0, as the room's edge cells do, so a fill that crossed
/// the area's edge would show; area (4, 4), the world's corner, is blank.
struct HandsEditor : Editor {
    HandsEditor()
    {
        for (int i = 0; i < 50; ++i)
            for (int j = 0; j < 50; ++j)
                map.setCell(50 + i, 50 + j, i < 20 && j < 20 ? 6 : 100);
        for (int i = 0; i < 6; ++i)
            map.setCell(50 + i, 50 + 49, 0); // day sky along the bottom, out to the area's edge
        map.setCell(50 + 3, 50 + 4, 7);
        map.setCell(50 + 4, 50 + 3, 7);
        selectArea(1, 1);
    }
    double at(int cell) const { return 32.0 * cell + 16; }
    void click(int cx, int cy, unsigned modifiers = NoModifier)
    {
        editor.canvasPress(LeftButton, at(cx), at(cy), modifiers);
        editor.canvasRelease(NoButton);
    }
    void select(int c0, int r0, int c1, int r1)
    {
        editor.canvasPress(LeftButton, at(c0), at(r0), ShiftModifier);
        editor.canvasMove(LeftButton, at(c1), at(r1));
        editor.canvasRelease(NoButton);
    }
    /// Hovers the cell and puts the lifted stamp down there.
    void putDown(int cx, int cy)
    {
        editor.canvasMove(NoButton, at(cx), at(cy));
        click(cx, cy);
    }
    int areaCell(int cx, int cy) const { return map.areaCell(editor.areaX(), editor.areaY(), cx, cy); }
};

/// The map cells in which two maps differ, as "x,y:before>after", for messages.
std::vector<std::string> differences(const MapGrid& before, const MapGrid& after)
{
    std::vector<std::string> cells;
    for (int x = 0; x < MapGrid::Size; ++x)
        for (int y = 0; y < MapGrid::Size; ++y)
            if (before.cell(x, y) != after.cell(x, y))
                cells.push_back(std::to_string(x) + "," + std::to_string(y) + ":" + std::to_string(before.cell(x, y)) +
                                ">" + std::to_string(after.cell(x, y)));
    return cells;
}

Stamp stampOf(int width, std::vector<std::uint8_t> tiles)
{
    const int height = static_cast<int>(tiles.size()) / width;
    return Stamp{width, height, std::move(tiles)};
}

} // namespace

TEST(MapEditorHands, EachHandWritesOnlyInsideItsAreaAsOneStep)
{
    using Cells = std::vector<std::string>;
    const struct {
        const char* hand;
        std::function<void(HandsEditor&)> use;
        Cells changed; ///< every map cell that changes, in the order of `differences`
    } cases[] = {
        {"cut fills with the commonest scenery, not the commonest tile",
         [](HandsEditor& e) {
             e.select(19, 19, 20, 20);
             ASSERT_TRUE(e.editor.cutSelection());
         },
         {"69,70:100>6", "70,69:100>6", "70,70:100>6"}},
        {"copy and put down, overhanging the area's right edge",
         [](HandsEditor& e) {
             e.select(2, 3, 4, 4);
             ASSERT_TRUE(e.editor.copySelection());
             ASSERT_TRUE(e.editor.liftCopy());
             e.putDown(48, 30);
         },
         {"98,80:100>6", "98,81:100>6", "99,80:100>6", "99,81:100>7"}},
        {"a stamp over the world's corner stops at the area, not at the grid",
         [](HandsEditor& e) {
             e.selectArea(4, 4);
             e.editor.liftStamp(stampOf(3, {1, 2, 3, 4, 5, 6, 7, 8, 9}));
             e.putDown(48, 48);
         },
         {"248,248:0>1", "248,249:0>4", "249,248:0>2", "249,249:0>5"}},
        {"Ctrl+click fills the four-neighbour run up to the area's edge, not beyond",
         [](HandsEditor& e) {
             e.selectTile(9);
             e.click(2, 49, ControlModifier);
         },
         {"50,99:0>9", "51,99:0>9", "52,99:0>9", "53,99:0>9", "54,99:0>9", "55,99:0>9"}},
        {"Ctrl+click fill leaves a tile joined only by a corner",
         [](HandsEditor& e) {
             e.selectTile(9);
             e.click(4, 3, ControlModifier);
         },
         {"54,53:7>9"}},
        {"Ctrl+F fills the selection",
         [](HandsEditor& e) {
             e.selectTile(5);
             e.select(20, 20, 19, 19);
             ASSERT_TRUE(e.editor.fillSelection());
         },
         {"69,69:6>5", "69,70:100>5", "70,69:100>5", "70,70:100>5"}},
        {"a flipped stamp mirrors its order and its tiles that face a side",
         [](HandsEditor& e) {
             e.editor.liftStamp(stampOf(3, {44, 154, 13}));
             e.editor.flipStamp();
             e.putDown(10, 10);
         },
         {"60,60:6>13", "61,60:6>155", "62,60:6>46"}},
        {"a palette stamp paints in steps of its size from the press",
         [](HandsEditor& e) {
             e.editor.palettePress(32 * 1 + 5, 32 * 2 + 5); // tiles 17, 18 over 25, 26
             e.editor.paletteMove(LeftButton, 32 * 2 + 5, 32 * 3 + 5);
             e.editor.paletteRelease(32 * 2 + 5, 32 * 3 + 5);
             e.editor.canvasPress(LeftButton, e.at(5), e.at(5));
             e.editor.canvasMove(LeftButton, e.at(8), e.at(5));
             e.editor.canvasRelease(NoButton);
         },
         {"55,55:6>17", "55,56:6>25", "56,55:6>18", "56,56:6>26", "57,55:6>17", "57,56:6>25", "58,55:6>18",
          "58,56:6>26"}},
    };
    for (const auto& c : cases) {
        HandsEditor e;
        const MapGrid before = e.map;
        c.use(e);
        const MapGrid after = e.map;
        EXPECT_EQ(differences(before, after), c.changed) << c.hand;
        for (int cx = 0; cx < MapGrid::AreaCells; ++cx)
            for (int cy = 0; cy < MapGrid::AreaCells; ++cy)
                ASSERT_EQ(e.canvasTile(cx, cy), e.areaCell(cx, cy)) << c.hand << ": the canvas at " << cx << "," << cy;
        ASSERT_NE(after, before) << c.hand;
        EXPECT_TRUE(e.editor.modified()) << c.hand;

        ASSERT_TRUE(e.editor.undo()) << c.hand;
        EXPECT_EQ(e.map, before) << c.hand;
        EXPECT_FALSE(e.editor.undo()) << c.hand << " is one step";
        ASSERT_TRUE(e.editor.redo()) << c.hand;
        EXPECT_EQ(e.map, after) << c.hand;
        EXPECT_EQ(e.canvasTile(0, 0), e.areaCell(0, 0)) << c.hand;
    }
}

TEST(MapEditorHands, SelectionFollowsTheDragAndGoesWithEscapeAClickOutsideOrTheArea)
{
    HandsEditor e;
    e.editor.canvasPress(LeftButton, e.at(7), e.at(9), ShiftModifier);
    e.editor.canvasMove(LeftButton, e.at(3), e.at(2));
    e.editor.canvasMove(LeftButton, 1700, -40); // past the canvas: kept to the area
    e.editor.canvasRelease(NoButton);
    EXPECT_EQ(e.editor.selection(), (CellRect{7, 0, 43, 10}));
    EXPECT_EQ(e.editor.status(), "範囲選択 43×10 マス");
    const MapGrid before = e.map;
    EXPECT_EQ(e.map, before) << "selecting paints nothing";

    // A click outside only clears; a click inside paints as ever.
    e.selectTile(5);
    e.click(2, 2);
    EXPECT_EQ(e.editor.selection(), std::nullopt);
    EXPECT_EQ(e.map, before);
    e.select(0, 0, 3, 3);
    e.click(2, 2);
    EXPECT_EQ(e.areaCell(2, 2), 5);
    EXPECT_TRUE(e.editor.selection());

    EXPECT_TRUE(e.editor.escape());
    EXPECT_EQ(e.editor.selection(), std::nullopt);
    EXPECT_FALSE(e.editor.escape());
    EXPECT_FALSE(e.editor.copySelection());
    EXPECT_FALSE(e.editor.cutSelection());
    EXPECT_FALSE(e.editor.fillSelection());
    EXPECT_FALSE(e.editor.liftCopy());
    EXPECT_FALSE(e.editor.paste(""));
    EXPECT_TRUE(e.editor.paste("a grocery list"));
    EXPECT_EQ(e.editor.floatingStamp(), std::nullopt);
    EXPECT_EQ(e.editor.status(), MapEditor::NotStampStatus);
    EXPECT_TRUE(e.editor.paste("0102\n"));
    EXPECT_EQ(e.editor.floatingStamp(), stampOf(2, {1, 2}));
    EXPECT_TRUE(e.editor.escape());

    // The Select tool selects with a plain drag; Ctrl+A takes the whole area.
    e.editor.setTool(CanvasTool::Select);
    e.select(1, 1, 2, 2);
    EXPECT_EQ(e.editor.selection(), (CellRect{1, 1, 2, 2}));
    e.editor.selectAll();
    EXPECT_EQ(e.editor.selection(), (CellRect{0, 0, 50, 50}));
    e.selectArea(2, 2);
    EXPECT_EQ(e.editor.selection(), std::nullopt) << "a selection belongs to its area";

    // Escape drops a lifted stamp before it touches the selection; a drag after putting one
    // down paints nothing.
    e.editor.setTool(CanvasTool::Paint);
    e.editor.selectAll();
    e.editor.liftStamp(stampOf(1, {9}));
    EXPECT_TRUE(e.editor.escape());
    EXPECT_EQ(e.editor.floatingStamp(), std::nullopt);
    EXPECT_TRUE(e.editor.selection());
    e.editor.liftStamp(stampOf(1, {9}));
    e.editor.canvasMove(NoButton, e.at(4), e.at(4));
    e.editor.canvasPress(LeftButton, e.at(4), e.at(4));
    e.editor.canvasMove(LeftButton, e.at(9), e.at(4));
    e.editor.canvasRelease(NoButton);
    EXPECT_EQ(e.areaCell(4, 4), 9);
    for (int cx = 5; cx <= 9; ++cx)
        EXPECT_EQ(e.areaCell(cx, 4), 0) << cx;
}

TEST(MapEditorHands, APaletteDragBecomesTheBrushAndXMirrorsIt)
{
    Editor e;
    e.editor.palettePress(32 * 6 + 3, 32 * 5 + 3);
    e.editor.paletteMove(LeftButton, 32 * 4 + 3, 32 * 5 + 3);
    EXPECT_EQ(e.editor.paletteFrame(), (CellRect{4, 5, 3, 1})) << "the frame follows the drag";
    e.editor.paletteRelease(32 * 4 + 3, 32 * 5 + 3);
    EXPECT_EQ(e.editor.brush(), stampOf(3, {44, 45, 46}));
    EXPECT_EQ(e.editor.selectedTile(), 44);
    e.editor.flipStamp();
    EXPECT_EQ(e.editor.brush(), stampOf(3, {44, 47, 46}));

    // A tile alone flips into its partner on the palette; one without a partner stays.
    e.selectTile(154);
    e.editor.flipStamp();
    EXPECT_EQ(e.editor.selectedTile(), 155);
    EXPECT_EQ(e.editor.paletteFrame(), (CellRect{155 % 8, 155 / 8, 1, 1}));
    e.selectTile(13);
    e.editor.flipStamp();
    EXPECT_EQ(e.editor.selectedTile(), 13);

    // A release off the sheet after a drag chooses nothing.
    e.editor.palettePress(3, 3);
    e.editor.paletteRelease(300, 3);
    EXPECT_EQ(e.editor.brush(), stampOf(1, {13}));
}

TEST(MapEditorHands, MirroredTilesFaceTheOtherWayInPairs)
{
    for (int t = 0; t < 256; ++t) {
        const auto tile = static_cast<std::uint8_t>(t);
        const std::uint8_t partner = mirroredTile(tile);
        EXPECT_EQ(mirroredTile(partner), tile) << t;
        const TileFacts& mine = tileFacts(tile);
        const TileFacts& theirs = tileFacts(partner);
        // What the hero feels is the same but for the side it comes from.
        const auto sideless = [](TileKind kind) { return kind == TileKind::SpringRight ? TileKind::SpringLeft : kind; };
        EXPECT_EQ(sideless(mine.kind), sideless(theirs.kind)) << t;
        EXPECT_EQ(mine.push, -theirs.push) << t;
        EXPECT_EQ(mine.flags, theirs.flags) << t;
        if (mine.kind == TileKind::SpringLeft || mine.kind == TileKind::Conveyor) {
            EXPECT_NE(partner, tile) << t << " faces a side and has no partner";
        }
    }
}

TEST(TileNumberText, StampRowsRoundTripAndOtherTextIsNoStamp)
{
    Stamp every{16, 16, {}};
    for (int t = 0; t < 256; ++t)
        every.tiles.push_back(static_cast<std::uint8_t>(t));
    const std::string text = stampText(every);
    EXPECT_EQ(text.substr(0, 33), "000102030405060708090A0B0C0D0E0F\n");
    EXPECT_EQ(readStampText(text), every);

    const struct {
        const char* text;
        std::optional<Stamp> stamp;
    } cases[] = {
        {"0A1B\r\n2C3D\r\n", stampOf(2, {10, 27, 44, 61})},
        {"; from area_1_1.txt\n\n0A1B  \n2C3D\n\n\n", stampOf(2, {10, 27, 44, 61})},
        {"FF", stampOf(1, {255})},
        {"", {}},
        {"\n\n", {}},
        {"0a1b", {}},
        {"0A1\n", {}},
        {"0A1B\n2C\n", {}},
        {"0A\n\n1B\n", {}},
        {"0A 1B", {}},
        {"..,,", {}},
        {"0A\n;1B\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readStampText(c.text), c.stamp) << '"' << c.text << '"';

    // An area's worth is a stamp; more is not, however long the text.
    const std::string row(100, '0');
    std::string rows;
    for (int k = 0; k < 50; ++k)
        rows += row + "\n";
    EXPECT_TRUE(readStampText(rows));
    EXPECT_FALSE(readStampText(rows + row));
    EXPECT_FALSE(readStampText(row + "00"));
}
