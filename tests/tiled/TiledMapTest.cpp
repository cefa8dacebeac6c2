#include "tests/support/TempDir.h"
#include "tools/mapc/TiledMap.h"
#include "world/MapFile.h"
#include "world/TileFacts.h"

#include <QImage>
#include <QImageReader>
#include <QProcess>

#include <gtest/gtest.h>

using namespace poronpa;
using poronpa::test::TempDir;

namespace {

struct Finished {
    int exitCode = -1;
    std::string errors;
};

Finished run(const char* program, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    const bool finished = process.waitForFinished(120'000);
    EXPECT_TRUE(finished) << program << " did not finish";
    return {finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError().toStdString()};
}

QString q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

/// A map whose cells run through every tile number, 0 to 255, in an order no row repeats.
MapGrid everyTileMap()
{
    MapGrid map;
    for (int y = 0; y < MapGrid::StoredSize; ++y)
        for (int x = 0; x < MapGrid::StoredSize; ++x)
            map.setCell(x, y, static_cast<std::uint8_t>((7 * x + 13 * y + x * y) % 256));
    return map;
}

void saveWholeMap(const std::filesystem::path& path, const MapGrid& map)
{
    const auto bytes = mapFileBytes(map);
    ASSERT_TRUE(writeFileAtomically(path, bytes).ok());
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

} // namespace

// Export, then import through the command line, straight and after Tiled itself has saved the map
// (with its tileset apart and embedded): the map file comes back byte for byte.
TEST(TiledMap, RoundTripKeepsEveryByte)
{
    TempDir dir;
    const MapGrid map = everyTileMap();
    saveWholeMap(dir / "world.dat", map);
    const auto original = test::readBytes(dir / "world.dat");

    ASSERT_EQ(run(PORONPA_MAPC, {"export-tmx", q(dir / "world.dat"), q(dir / "tiled")}).exitCode, 0);
    for (const char* name : {"world.tmx", tiledmap::TilesetFileName, tiledmap::TilesetPictureName})
        EXPECT_TRUE(std::filesystem::exists(dir / "tiled" / name)) << name;
    // Each tile's name goes with it into Tiled, as its kind.
    const std::string tileset = test::readText(dir / "tiled" / tiledmap::TilesetFileName);
    for (const int tile : {0, 40, 150, 255}) {
        const std::string property = "<tile id=\"" + std::to_string(tile) + "\">\n  <properties>\n   <property name=\"kind\" value=\"" +
                                     std::string(tileName(static_cast<std::uint8_t>(tile))) + "\"/>";
        EXPECT_NE(tileset.find(property), std::string::npos) << property;
    }

    struct Case {
        const char* name;
        QStringList tiledOptions; // empty: the exported file as it is
    };
    std::vector<Case> cases{{"as exported", {}}};
    if (*TILED_PROGRAM) {
        cases.push_back({"saved by Tiled", {"--export-map", "tmx"}});
        cases.push_back({"saved by Tiled, tileset embedded", {"--embed-tilesets", "--export-map", "tmx"}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto tmx = dir / "tiled" / "world.tmx";
        if (!c.tiledOptions.empty()) {
            const auto saved = dir / "tiled" / "saved.tmx";
            ASSERT_EQ(run(TILED_PROGRAM, c.tiledOptions + QStringList{q(tmx), q(saved)}).exitCode, 0);
            tmx = saved;
        }
        std::filesystem::remove(dir / "back.dat");
        const Finished imported = run(PORONPA_MAPC, {"import-tmx", q(tmx), q(dir / "back.dat")});
        ASSERT_EQ(imported.exitCode, 0) << imported.errors;
        EXPECT_EQ(test::readBytes(dir / "back.dat"), original);
    }
}

// A TMX the world cannot be made of is refused with one line naming the file and the fault, exit
// status 2, and the target map left as it was.
TEST(TiledMap, RefusesWhatIsNotTheWorldAndKeepsTheTarget)
{
    TempDir dir;
    ASSERT_TRUE(tiledmap::exportMap(everyTileMap(), QImage(256, 768, QImage::Format_RGB32), dir.path(), "good").ok());
    const std::string good = test::readText(dir / "good.tmx");
    const std::string layer = " <layer id=\"1\" name=\"world\" width=\"250\" height=\"250\">";
    const std::string firstCells = "<data encoding=\"csv\">\n1,8,";

    const struct {
        const char* fault;
        std::function<void(std::string&)> change;
        const char* reason;
    } cases[] = {
        {"another size", [](std::string& t) { replaceOnce(t, "width=\"250\" height=\"250\" tilewidth", "width=\"240\" height=\"250\" tilewidth"); },
         "240 × 250"},
        {"a layer of another size", [&](std::string& t) { replaceOnce(t, layer, " <layer id=\"1\" name=\"world\" width=\"250\" height=\"249\">"); },
         "layer is not 250 × 250"},
        {"two tile layers", [](std::string& t) { replaceOnce(t, "</map>", " <layer id=\"2\" name=\"more\" width=\"250\" height=\"250\"/>\n</map>"); },
         "more than one layer"},
        {"an object layer besides", [](std::string& t) { replaceOnce(t, "</map>", " <objectgroup id=\"2\" name=\"things\"/>\n</map>"); },
         "more than one layer"},
        {"a flipped tile", [&](std::string& t) { replaceOnce(t, firstCells, "<data encoding=\"csv\">\n2147483649,8,"); },
         "cell (0, 0) is flipped"},
        {"a tile id beyond the tileset", [&](std::string& t) { replaceOnce(t, firstCells, "<data encoding=\"csv\">\n1,300,"); },
         "cell (1, 0) holds tile id 300"},
        {"a cell that is not a number", [&](std::string& t) { replaceOnce(t, firstCells, "<data encoding=\"csv\">\n1,x8,"); },
         "'x8'"},
        {"a cell too few", [&](std::string& t) { replaceOnce(t, firstCells, "<data encoding=\"csv\">\n8,"); },
         "62499 cells"},
        {"a missing external tileset", [](std::string& t) { replaceOnce(t, "source=\"tiles.tsx\"", "source=\"gone.tsx\""); },
         "gone.tsx does not exist"},
        {"a second tileset", [](std::string& t) { replaceOnce(t, "</map>", " <tileset firstgid=\"300\" source=\"tiles.tsx\"/>\n</map>"); },
         "2 tilesets"},
        {"compressed data", [](std::string& t) { replaceOnce(t, "encoding=\"csv\"", "encoding=\"base64\" compression=\"zlib\""); },
         "stored as base64"},
        {"broken XML", [](std::string& t) { t.resize(t.size() - 20); }, "broken XML"},
        {"another kind of file", [](std::string& t) { t = "<?xml version=\"1.0\"?>\n<tileset/>\n"; }, "root element is <tileset>"},
    };

    std::vector<unsigned char> target(MapGrid::FileBytes, 42);
    test::writeBytes(dir / "target.dat", target);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        std::string text = good;
        c.change(text);
        test::writeText(dir / "bad.tmx", text);
        const Finished imported = run(PORONPA_MAPC, {"import-tmx", q(dir / "bad.tmx"), q(dir / "target.dat")});
        EXPECT_EQ(imported.exitCode, 2);
        EXPECT_NE(imported.errors.find((dir / "bad.tmx").string() + ":"), std::string::npos) << imported.errors;
        EXPECT_NE(imported.errors.find(c.reason), std::string::npos) << imported.errors;
        EXPECT_EQ(std::count(imported.errors.begin(), imported.errors.end(), '\n'), 1) << imported.errors;
        EXPECT_EQ(test::readBytes(dir / "target.dat"), target);
    }
}

// Tiled's own renderer draws the exported world exactly as the game's picture tool draws it,
// the marker of the numbers without a picture included.
TEST(TiledMap, TiledRendersTheWorldAsTheGameDoes)
{
    if (!*TMXRASTERIZER_PROGRAM)
        GTEST_SKIP() << "tmxrasterizer (Debian's tiled package, installed by tools/setup.sh) is missing";
    TempDir dir;
    MapGrid world;
    ASSERT_TRUE(loadMap(PORONPA_BUILT_MAP, world).ok());
    for (int tile = 0; tile < tiledmap::TilesetTiles; ++tile)
        world.setCell(tile % MapGrid::StoredSize, tile / MapGrid::StoredSize, static_cast<std::uint8_t>(tile));
    saveWholeMap(dir / "world.dat", world);

    ASSERT_EQ(run(PORONPA_MAPC, {"export-tmx", q(dir / "world.dat"), q(dir / "tiled")}).exitCode, 0);
    const Finished rendered = run(TMXRASTERIZER_PROGRAM, {q(dir / "tiled" / "world.tmx"), q(dir / "tiled.png")});
    ASSERT_EQ(rendered.exitCode, 0) << rendered.errors;
    const Finished drawn = run(PORONPA_WORLDPNG, {q(dir / "world.dat"), q(dir / "game")});
    ASSERT_EQ(drawn.exitCode, 0) << drawn.errors;

    QImageReader::setAllocationLimit(512); // megabytes: the whole world is 8000 × 8000
    const QImage tiled = QImage(q(dir / "tiled.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(tiled.size(), QSize(8000, 8000));
    for (int ay = 0; ay < MapGrid::Areas; ++ay)
        for (int ax = 0; ax < MapGrid::Areas; ++ax) {
            const QImage area = QImage(q(dir / "game" / ("area_" + std::to_string(ax) + "_" + std::to_string(ay) + ".png")))
                                    .convertToFormat(QImage::Format_RGB32);
            EXPECT_TRUE(area == tiled.copy(1600 * ax, 1600 * ay, 1600, 1600)) << "area (" << ax << ", " << ay << ")";
        }
}
