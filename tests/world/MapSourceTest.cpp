#include "tests/support/TempDir.h"
#include "tools/mapc/MapSource.h"

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::mapsource;
using poronpa::test::TempDir;

namespace {

const char* const SmallLegend =
    "; notes are ignored\n"
    "..    0  air\n"
    "##  100  ground\n"
    "\n"
    "Hh   40  ladder\n";

Legend smallLegend()
{
    Legend legend;
    EXPECT_TRUE(Legend::parse(SmallLegend, "legend.txt", legend).ok());
    return legend;
}

std::string gridText(const std::string& row, int rows = AreaSide)
{
    std::string text;
    for (int i = 0; i < rows; ++i)
        text += row + "\n";
    return text;
}

/// A map whose cells run through every tile number, no two rows alike.
MapGrid patternedMap()
{
    MapGrid map;
    for (int x = 0; x < MapGrid::StoredSize; ++x)
        for (int y = 0; y < MapGrid::StoredSize; ++y)
            map.setCell(x, y, static_cast<std::uint8_t>((x * 31 + y * 7) % 256));
    return map;
}

} // namespace

TEST(Legend, NamedCodesAndHexadecimalTileNumbers)
{
    const Legend legend = smallLegend();
    EXPECT_EQ(legend.tile("##"), 100);
    EXPECT_EQ(legend.tile("Hh"), 40);
    EXPECT_EQ(legend.tile("C8"), 200);
    EXPECT_EQ(legend.tile("ff"), std::nullopt); // only upper-case digits are numbers
    EXPECT_EQ(legend.tile("xx"), std::nullopt);
    EXPECT_EQ(legend.code(100), "##");
    EXPECT_EQ(legend.code(101), "65");
    EXPECT_EQ(legend.code(255), "FF");
}

TEST(Legend, RejectsAmbiguousOrMalformedLines)
{
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"#  100\n", "two visible characters"},
        {"### 100\n", "two visible characters"},
        {"1F 100\n", "hexadecimal"},
        {"## 256\n", "0 to 255"},
        {"## -1\n", "0 to 255"},
        {"## ten\n", "0 to 255"},
        {"##\n", "0 to 255"},
        {"## 100\n## 101\n", "defined twice"},
        {"## 100\n%% 100\n", "already has the code"},
    };
    for (const auto& c : cases) {
        Legend legend;
        const SourceStatus status = Legend::parse(c.text, "legend.txt", legend);
        EXPECT_NE(status.error.find(c.reason), std::string::npos) << c.text << " gave: " << status.error;
        EXPECT_EQ(status.error.rfind("legend.txt:", 0), 0u) << status.error;
    }
}

TEST(AreaSource, ReadsNotesAndGridAndWritesThemBack)
{
    const Legend legend = smallLegend();
    std::string row = std::string(96, '.') + "HhC8";
    const std::string text = "; the home meadow\n; start here\n" + gridText(row, 49) + std::string(100, '#') + "\n";

    AreaSource area;
    ASSERT_TRUE(parseArea(text, "a.txt", legend, area).ok());
    EXPECT_EQ(area.notes.size(), 2u);
    EXPECT_EQ(area.cells[0][48], 40);
    EXPECT_EQ(area.cells[0][49], 200);
    EXPECT_EQ(area.cells[49][0], 100);
    EXPECT_EQ(formatArea(area, legend), text);

    // Sources edited on another system keep their line ends readable.
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    AreaSource fromCrlf;
    ASSERT_TRUE(parseArea(crlf, "a.txt", legend, fromCrlf).ok());
    EXPECT_EQ(fromCrlf.cells, area.cells);
}

TEST(AreaSource, ReportsWhereTheGridIsWrong)
{
    const Legend legend = smallLegend();
    const std::string good(100, '.');
    const struct {
        std::string text;
        const char* where;
    } cases[] = {
        {gridText(good, 49), "a.txt:1: the grid has 49 lines"},
        {"; note\n" + gridText(good, 51), "a.txt:2: the grid has 51 lines"},
        {gridText(good, 3) + good + ".\n" + gridText(good, 46), "a.txt:4: a grid line has 100 characters"},
        {gridText(good, 7) + "..xx" + good.substr(4) + "\n" + gridText(good, 42), "a.txt:8: unknown code 'xx' in column 1"},
    };
    for (const auto& c : cases) {
        AreaSource area;
        const SourceStatus status = parseArea(c.text, "a.txt", legend, area);
        EXPECT_EQ(status.error.rfind(c.where, 0), 0u) << status.error;
    }
}

TEST(WorldSources, AnyMapComesBackByteForByteAndNotesSurvive)
{
    const MapGrid map = patternedMap();

    TempDir dir;
    test::writeText(dir / LegendFileName, SmallLegend);
    test::writeText(dir / areaFileName(3, 1), "; castle roof\n" + gridText(std::string(100, '.')));
    ASSERT_TRUE(decompileWorld(map, dir.path()).ok());
    EXPECT_EQ(test::readText(dir / areaFileName(3, 1)).rfind("; castle roof\n", 0), 0u);
    EXPECT_EQ(test::readText(dir / areaFileName(0, 0)).rfind("; area (0, 0)\n", 0), 0u);

    MapGrid back;
    ASSERT_TRUE(compileWorld(dir.path(), back).ok());
    EXPECT_EQ(back, map);
}

// A folder that did not exist, or one without a legend, compiles as decompiling left it; a legend
// that is there is kept as it is.
TEST(WorldSources, ADecompiledFolderCompilesAsItStands)
{
    const MapGrid map = patternedMap();

    TempDir dir;
    const auto folder = dir / "new" / "world";
    ASSERT_TRUE(decompileWorld(map, folder).ok());
    MapGrid back;
    const SourceStatus compiled = compileWorld(folder, back);
    ASSERT_TRUE(compiled.ok()) << compiled.error;
    EXPECT_EQ(back, map);

    test::writeText(folder / LegendFileName, SmallLegend);
    ASSERT_TRUE(decompileWorld(map, folder).ok());
    EXPECT_EQ(test::readText(folder / LegendFileName), SmallLegend);
    ASSERT_TRUE(compileWorld(folder, back).ok());
    EXPECT_EQ(back, map);
}

TEST(WorldSources, MissingAreaIsNamed)
{
    TempDir dir;
    test::writeText(dir / LegendFileName, SmallLegend);
    MapGrid map;
    const SourceStatus status = compileWorld(dir.path(), map);
    EXPECT_NE(status.error.find("area_0_0.txt: missing"), std::string::npos) << status.error;
}
