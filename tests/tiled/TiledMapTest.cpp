#include "tests/support/TempDir.h"
#include "tools/mapc/TiledMap.h"
#include "world/MapFile.h"
#include "world/TileFacts.h"

#include <QImage>
#include <QImageReader>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

    // Tilesets beside the map that are no regular file, and one in a folder below it.
    ASSERT_EQ(::mkfifo((dir / "pipe.tsx").c_str(), 0600), 0);
    std::filesystem::create_symlink(tiledmap::TilesetFileName, dir / "link.tsx");
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::copy_file(dir / tiledmap::TilesetFileName, dir / "sub" / tiledmap::TilesetFileName);
    const auto tilesetNamed = [](const std::string& source) {
        return [source](std::string& t) { replaceOnce(t, "source=\"tiles.tsx\"", "source=\"" + source + "\""); };
    };
    const auto withDtd = [&](const std::string& doctype, const std::string& cells) {
        return [=](std::string& t) {
            replaceOnce(t, "<map ", doctype + "\n<map ");
            replaceOnce(t, firstCells, "<data encoding=\"csv\">\n" + cells);
        };
    };
    const std::string elsewhere = "<!DOCTYPE map SYSTEM \"map.dtd\">";
    const auto firstId = [](const std::string& id) {
        return [id](std::string& t) { replaceOnce(t, "firstgid=\"1\"", "firstgid=\"" + id + "\""); };
    };

    const struct {
        const char* fault;
        std::function<void(std::string&)> change;
        const char* reason;
    } hostile[] = {
        // Entities other than XML's own would put cells into the map that the file does not show.
        {"an external entity", withDtd("<!DOCTYPE map [<!ENTITY xxe SYSTEM \"/etc/hostname\">]>", "1&xxe;2,8,"), "declares the entity xxe;"},
        {"an entity of the file's own", withDtd("<!DOCTYPE map [<!ENTITY one \"1\">]>", "&one;,8,"), "declares the entity one;"},
        {"a parameter entity", withDtd("<!DOCTYPE map [<!ENTITY % p SYSTEM \"/etc/hostname\"> %p;]>", "1,8,"), "declares the entity p;"},
        {"an entity of a DTD elsewhere in a cell", withDtd(elsewhere, "1&xxe;2,8,"), "the entity &xxe; is not declared"},
        {"an entity of a DTD elsewhere in an attribute",
         [&](std::string& t) {
             withDtd(elsewhere, "1,8,")(t);
             tilesetNamed("&ts;")(t);
         },
         "the entity &ts; is not declared"},
        // Only regular files beside the map are read as its tileset.
        {"a tileset by an absolute path", tilesetNamed("/etc/passwd"), "tileset /etc/passwd is not a file beside the map"},
        {"a tileset up the tree", tilesetNamed("../../etc/hostname"), "not a file beside the map"},
        {"a tileset that is a device", tilesetNamed("/dev/zero"), "not a file beside the map"},
        {"a tileset in a folder below", tilesetNamed("sub/tiles.tsx"), "not a file beside the map"},
        {"a tileset that is a pipe", tilesetNamed("pipe.tsx"), "pipe.tsx is not a regular file"},
        {"a tileset that is a link", tilesetNamed("link.tsx"), "link.tsx is not a regular file"},
        {"a tileset that is the folder", tilesetNamed(".."), "not a file beside the map"},
        // The first id is judged before the last one is worked out from it.
        {"a first id past the largest", firstId("268435456"), "firstgid) from 1 to 268435455"},
        {"the largest first id of all", firstId("9223372036854775807"), "firstgid) from 1 to 268435455"},
        // Reading stops at the first cell the world has no room for, and at a size no map needs.
        {"a cell too many, then a bad one", [](std::string& t) { replaceOnce(t, "\n</data>", ",1,x\n</data>"); },
         "the layer holds more than 62500 cells"},
        {"a file larger than any map",
         [](std::string& t) { replaceOnce(t, "</map>", "</map>\n<!--" + std::string(std::size_t{8} << 20, ' ') + "-->\n"); },
         "larger than 8 MiB"},
    };

    std::vector<unsigned char> target(MapGrid::FileBytes, 42);
    test::writeBytes(dir / "target.dat", target);
    const auto refused = [&](const char* fault, const std::function<void(std::string&)>& change, const char* reason) {
        SCOPED_TRACE(fault);
        std::string text = good;
        change(text);
        test::writeText(dir / "bad.tmx", text);
        const Finished imported = run(PORONPA_MAPC, {"import-tmx", q(dir / "bad.tmx"), q(dir / "target.dat")});
        EXPECT_EQ(imported.exitCode, 2);
        EXPECT_NE(imported.errors.find((dir / "bad.tmx").string() + ":"), std::string::npos) << imported.errors;
        EXPECT_NE(imported.errors.find(reason), std::string::npos) << imported.errors;
        EXPECT_EQ(std::count(imported.errors.begin(), imported.errors.end(), '\n'), 1) << imported.errors;
        EXPECT_EQ(test::readBytes(dir / "target.dat"), target);
    };
    for (const auto& c : cases)
        refused(c.fault, c.change, c.reason);
    for (const auto& c : hostile)
        refused(c.fault, c.change, c.reason);
}

// What XML itself offers and older Tiled wrote is still read: a DTD named by the document, its
// own five entities and character references.
TEST(TiledMap, ReadsXmlsOwnEntitiesAndANamedDtd)
{
    TempDir dir;
    const MapGrid map = everyTileMap();
    ASSERT_TRUE(tiledmap::exportMap(map, QImage(256, 768, QImage::Format_RGB32), dir.path(), "good").ok());
    std::string text = test::readText(dir / "good.tmx");
    replaceOnce(text, "<map ", "<!DOCTYPE map SYSTEM \"http://mapeditor.org/dtd/1.0/map.dtd\">\n<map ");
    replaceOnce(text, "name=\"world\"", "name=\"&amp;&lt;&gt;&quot;&apos;\"");
    replaceOnce(text, "<data encoding=\"csv\">\n1,8,", "<data encoding=\"csv\">\n&#49;,&#x38;,");
    test::writeText(dir / "good.tmx", text);
    const Finished imported = run(PORONPA_MAPC, {"import-tmx", q(dir / "good.tmx"), q(dir / "back.dat")});
    ASSERT_EQ(imported.exitCode, 0) << imported.errors;
    MapGrid back;
    ASSERT_TRUE(loadMap(dir / "back.dat", back).ok());
    EXPECT_EQ(back, map);
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
