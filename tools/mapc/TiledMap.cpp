#include "tools/mapc/TiledMap.h"

#include "assets/Pictures.h"
#include "world/AreaDrawing.h"
#include "world/SheetCells.h"
#include "world/TileFacts.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>
#include <sys/stat.h>
#include <vector>

namespace poronpa::tiledmap {

namespace {

constexpr int Side = MapGrid::StoredSize;
constexpr int TilesetRows = TilesetTiles / sheet::Columns;
// Tiled keeps the top bits of a tile id for flips and rotations.
constexpr std::uint32_t TransformBits = 0xF0000000u;
constexpr std::int64_t LargestTileId = ~TransformBits;
// Far more than a world's file needs (its cells take well under a megabyte even with wide ids and
// generous spacing), yet small enough that reading it costs little memory: the text is held
// whole, and again as the layer's text.
constexpr std::size_t MostFileBytes = std::size_t{8} << 20;

std::span<const std::uint8_t> bytesOf(const QByteArray& data)
{
    return {reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())};
}

FileStatus writeFile(const std::filesystem::path& path, const QByteArray& data)
{
    return writeFileAtomically(path, bytesOf(data));
}

/// Reads an XML file of Tiled and reports what is wrong with it as "file:line: reason".
class XmlFile {
public:
    explicit XmlFile(std::filesystem::path path) : path_(std::move(path)) {}

    /// Reads the file and steps onto its root element, which must be `root`.
    std::optional<FileStatus> open(const char* root)
    {
        bool exists = false;
        if (FileStatus status = readFileHead(path_, MostFileBytes + 1, bytes_, &exists); !status.ok())
            return status;
        if (!exists)
            return FileStatus{path_.string() + ": the file does not exist"};
        if (bytes_.size() > MostFileBytes)
            return fail("the file is larger than " + std::to_string(MostFileBytes >> 20) +
                            " MiB, far more than a map of the world needs",
                        1);
        // The reader keeps a reference to the bytes, which live as long as this file.
        xml_.addData(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes_.data()), static_cast<qsizetype>(bytes_.size())));
        xml_.setEntityResolver(&entities_);
        while (!xml_.atEnd() && xml_.readNext() != QXmlStreamReader::StartElement) {
            // Entities of a file's own would put text into the map that the file does not show,
            // or bring in other files; Tiled writes none.
            if (xml_.tokenType() == QXmlStreamReader::DTD && !xml_.entityDeclarations().isEmpty())
                return fail("the file declares the entity " + xml_.entityDeclarations().front().name().toString().toStdString() +
                            OwnEntitiesOnly);
        }
        if (!xml_.isStartElement())
            return brokenOr("the file holds no XML element");
        if (auto problem = entityProblem())
            return problem;
        if (xml_.name() != QLatin1String(root))
            return fail("the root element is <" + xml_.name().toString().toStdString() + ">, not <" + root + ">");
        return std::nullopt;
    }

    /// A reference to an entity other than XML's own five met so far, which the reader would
    /// have passed over as if it were not there.
    std::optional<FileStatus> entityProblem() const
    {
        if (entities_.first.isEmpty())
            return std::nullopt;
        return fail("the entity &" + entities_.first.toStdString() + "; is not declared" + OwnEntitiesOnly);
    }

    QXmlStreamReader& xml() { return xml_; }

    FileStatus fail(const std::string& reason, qint64 line = -1) const
    {
        return {path_.string() + ":" + std::to_string(line < 0 ? xml_.lineNumber() : line) + ": " + reason};
    }

    /// The reader's own error when the XML is broken, else `reason`.
    FileStatus brokenOr(const std::string& reason) const
    {
        if (auto problem = entityProblem())
            return *problem;
        if (xml_.hasError())
            return fail("broken XML: " + xml_.errorString().toStdString());
        return fail(reason);
    }

    /// An attribute of the current element as a whole number, or nothing when it is absent or not one.
    std::optional<std::int64_t> number(const char* name) const
    {
        const auto text = xml_.attributes().value(QLatin1String(name));
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok);
        return ok ? std::optional<std::int64_t>(value) : std::nullopt;
    }

    /// Reads on to the end of the document, so that broken XML anywhere is found.
    std::optional<FileStatus> finish()
    {
        while (!xml_.atEnd())
            xml_.readNext();
        if (xml_.hasError())
            return brokenOr("");
        return entityProblem();
    }

    const std::filesystem::path& path() const { return path_; }

private:
    /// Notes the first entity the file names without declaring it (allowed once a DTD outside
    /// the file is named) and leaves it unresolved.
    struct UndeclaredEntities : QXmlStreamEntityResolver {
        QString first;
        QString resolveUndeclaredEntity(const QString& name) override
        {
            if (first.isEmpty())
                first = name;
            return {};
        }
    };

    static constexpr const char* OwnEntitiesOnly = "; a map may use XML's own entities alone (&amp; &lt; &gt; &quot; &apos;)";

    std::filesystem::path path_;
    std::vector<std::uint8_t> bytes_;
    UndeclaredEntities entities_;
    QXmlStreamReader xml_;
};

/// The one tileset a map may use: its first tile id and how many tiles it has.
struct Tileset {
    std::int64_t firstId = 0;
    std::int64_t tiles = 0;
};

/// The tile layer's ids as the file has them, row by row, with the line each row starts on.
struct Layer {
    std::vector<std::uint32_t> ids;
    std::vector<qint64> cellLines;
};

std::optional<FileStatus> readTileCount(XmlFile& file, std::int64_t& tiles)
{
    const auto count = file.number("tilecount");
    if (!count || *count < 1)
        return file.fail("the tileset does not say how many tiles it has (tilecount)");
    tiles = *count;
    return std::nullopt;
}

/// Where an external tileset lies: only a regular file in the map's own folder, so that a map
/// from elsewhere cannot make the import read a system file, a device or a pipe.
std::optional<FileStatus> tilesetBeside(XmlFile& file, const QString& source, std::filesystem::path& path)
{
    const std::string name = source.toStdString();
    if (name.find('/') != std::string::npos || name == "." || name == "..")
        return file.fail("the tileset " + name + " is not a file beside the map; keep it in the map's folder or embed it in the map");
    path = file.path().parent_path() / name;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return file.fail("the tileset " + name + " does not exist");
    if (!S_ISREG(status.st_mode))
        return file.fail("the tileset " + name + " is not a regular file beside the map; keep it in the map's folder or embed it in the map");
    return std::nullopt;
}

std::optional<FileStatus> readTileset(XmlFile& file, Tileset& tileset)
{
    // Checked before any arithmetic on it: the last id of the tileset must not overflow.
    const auto firstId = file.number("firstgid");
    if (!firstId || *firstId < 1 || *firstId > LargestTileId)
        return file.fail("a tileset needs a first tile id (firstgid) from 1 to " + std::to_string(LargestTileId));
    tileset.firstId = *firstId;
    const QString source = file.xml().attributes().value(QLatin1String("source")).toString();
    if (source.isEmpty()) {
        if (auto problem = readTileCount(file, tileset.tiles))
            return problem;
        file.xml().skipCurrentElement();
        return std::nullopt;
    }
    std::filesystem::path path;
    if (auto problem = tilesetBeside(file, source, path))
        return problem;
    XmlFile external(path);
    if (auto problem = external.open("tileset"))
        return problem;
    if (auto problem = readTileCount(external, tileset.tiles))
        return problem;
    if (auto problem = external.finish())
        return problem;
    file.xml().skipCurrentElement();
    return std::nullopt;
}

std::optional<FileStatus> readCsv(XmlFile& file, Layer& layer)
{
    QXmlStreamReader& xml = file.xml();
    qint64 line = xml.lineNumber();
    const QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (xml.hasError())
        return file.brokenOr("");
    if (auto problem = file.entityProblem())
        return problem;
    const qsizetype size = text.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        for (; i < size && text[i].isSpace(); ++i)
            if (text[i] == u'\n')
                ++line;
    };
    for (skipBlanks(); i < size;) {
        const qsizetype start = i;
        while (i < size && text[i] != u',' && !text[i].isSpace())
            ++i;
        const QStringView field = QStringView(text).mid(start, i - start);
        // A world has no more cells: the rest of the file is not worth reading or keeping.
        if (layer.ids.size() == static_cast<std::size_t>(MapGrid::FileBytes))
            return file.fail("the layer holds more than " + std::to_string(MapGrid::FileBytes) + " cells", line);
        bool ok = false;
        const qulonglong id = field.toULongLong(&ok);
        if (!ok || id > 0xFFFFFFFFu)
            return file.fail(field.isEmpty() ? std::string("a cell of the layer is empty")
                                             : "'" + field.toString().toStdString() + "' in the layer is not a tile id",
                             line);
        layer.ids.push_back(static_cast<std::uint32_t>(id));
        layer.cellLines.push_back(line);
        skipBlanks();
        if (i < size && text[i] != u',')
            return file.fail("the layer's tile ids are not separated by commas", line);
        if (i < size) {
            ++i;
            skipBlanks();
            if (i == size)
                return file.fail("a cell of the layer is empty", line);
        }
    }
    return std::nullopt;
}

std::optional<FileStatus> readLayer(XmlFile& file, Layer& layer)
{
    QXmlStreamReader& xml = file.xml();
    if (file.number("width") != Side || file.number("height") != Side)
        return file.fail("the layer is not 250 × 250 cells");
    bool hasData = false;
    while (xml.readNextStartElement()) {
        if (auto problem = file.entityProblem())
            return problem;
        if (xml.name() != QLatin1String("data")) {
            xml.skipCurrentElement();
            continue;
        }
        const auto attributes = xml.attributes();
        const QString encoding = attributes.value(QLatin1String("encoding")).toString();
        if (encoding != QLatin1String("csv") || attributes.hasAttribute(QLatin1String("compression")))
            return file.fail("the layer is stored as " + (encoding.isEmpty() ? std::string("XML") : encoding.toStdString()) +
                             "; save it with the tile layer format CSV");
        if (auto problem = readCsv(file, layer))
            return problem;
        hasData = true;
    }
    if (xml.hasError())
        return file.brokenOr("");
    if (!hasData)
        return file.fail("the layer has no data");
    return std::nullopt;
}

std::optional<FileStatus> readMap(XmlFile& file, std::vector<Tileset>& tilesets, Layer& layer, int& layers)
{
    QXmlStreamReader& xml = file.xml();
    if (file.number("width") != Side || file.number("height") != Side)
        return file.fail("the map is " + xml.attributes().value(QLatin1String("width")).toString().toStdString() + " × " +
                         xml.attributes().value(QLatin1String("height")).toString().toStdString() +
                         " cells; the world is 250 × 250");
    if (file.number("infinite") == 1)
        return file.fail("the map is infinite; the world is 250 × 250 cells");
    while (xml.readNextStartElement()) {
        // An attribute naming an unknown entity reads as the reference's own text.
        if (auto problem = file.entityProblem())
            return problem;
        const auto name = xml.name();
        if (name == QLatin1String("tileset")) {
            tilesets.emplace_back();
            if (auto problem = readTileset(file, tilesets.back()))
                return problem;
        } else if (name == QLatin1String("layer") || name == QLatin1String("objectgroup") ||
                   name == QLatin1String("imagelayer") || name == QLatin1String("group")) {
            if (++layers > 1)
                return file.fail("the map has more than one layer; the world is one tile layer");
            if (name != QLatin1String("layer"))
                return file.fail("the map's layer is not a tile layer");
            if (auto problem = readLayer(file, layer))
                return problem;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return file.brokenOr("");
    return std::nullopt;
}

using Attributes = std::initializer_list<std::pair<const char*, QString>>;

void writeAttributes(QXmlStreamWriter& xml, Attributes attributes)
{
    for (const auto& [name, value] : attributes)
        xml.writeAttribute(name, value);
}

/// A document laid out as Tiled lays out its own files, so that saving it in Tiled changes
/// nothing but Tiled's version; `body` writes what lies inside the root element.
template <typename Body>
QByteArray tiledDocument(const char* root, Attributes attributes, Body body)
{
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(root);
    xml.writeAttribute("version", "1.8");
    writeAttributes(xml, attributes);
    body(xml);
    // Closes every element still open.
    xml.writeEndDocument();
    return text;
}

} // namespace

QImage tilesetPicture(const QImage& tileSheet)
{
    const Surface sheet = pictures::toSurface(tileSheet);
    Surface tileset(sheet::Width, sheet::CellSize * TilesetRows);
    for (int tile = 0; tile < TilesetTiles; ++tile)
        drawTile(tileset, sheet::cellX(tile), sheet::cellY(tile), sheet, static_cast<std::uint8_t>(tile));
    return pictures::toImage(tileset);
}

QByteArray tilesetText(const std::string& pictureName)
{
    return tiledDocument("tileset",
                         {{"name", "poronpa"},
                          {"tilewidth", QString::number(sheet::CellSize)},
                          {"tileheight", QString::number(sheet::CellSize)},
                          {"tilecount", QString::number(TilesetTiles)},
                          {"columns", QString::number(sheet::Columns)}},
                         [&](QXmlStreamWriter& xml) {
                             xml.writeEmptyElement("image");
                             writeAttributes(xml, {{"source", QString::fromStdString(pictureName)},
                                                   {"width", QString::number(sheet::Width)},
                                                   {"height", QString::number(sheet::CellSize * TilesetRows)}});
                             for (int tile = 0; tile < TilesetTiles; ++tile) {
                                 xml.writeStartElement("tile");
                                 xml.writeAttribute("id", QString::number(tile));
                                 xml.writeStartElement("properties");
                                 xml.writeEmptyElement("property");
                                 const auto name = tileName(static_cast<std::uint8_t>(tile));
                                 writeAttributes(xml, {{"name", KindProperty}, {"value", QString::fromUtf8(name)}});
                                 xml.writeEndElement();
                                 xml.writeEndElement();
                             }
                         });
}

QByteArray mapText(const MapGrid& map, const std::string& tilesetName)
{
    QString csv = "\n";
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            csv += QString::number(map.cell(x, y) + 1);
            if (x < Side - 1 || y < Side - 1)
                csv += u',';
        }
        csv += u'\n';
    }
    const QString side = QString::number(Side);
    return tiledDocument("map",
                         {{"orientation", "orthogonal"},
                          {"renderorder", "right-down"},
                          {"width", side},
                          {"height", side},
                          {"tilewidth", QString::number(sheet::CellSize)},
                          {"tileheight", QString::number(sheet::CellSize)},
                          {"infinite", "0"},
                          {"nextlayerid", "2"},
                          {"nextobjectid", "1"}},
                         [&](QXmlStreamWriter& xml) {
                             xml.writeEmptyElement("tileset");
                             writeAttributes(xml, {{"firstgid", "1"}, {"source", QString::fromStdString(tilesetName)}});
                             xml.writeStartElement("layer");
                             writeAttributes(xml, {{"id", "1"}, {"name", LayerName}, {"width", side}, {"height", side}});
                             xml.writeStartElement("data");
                             writeAttributes(xml, {{"encoding", "csv"}});
                             xml.writeCharacters(csv);
                         });
}

FileStatus exportMap(const MapGrid& map, const QImage& tileSheet, const std::filesystem::path& folder,
                     const std::string& stem)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return {folder.string() + ": " + error.message()};

    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    tilesetPicture(tileSheet).save(&buffer, "PNG");

    if (FileStatus status = writeFile(folder / TilesetPictureName, picture); !status.ok())
        return status;
    if (FileStatus status = writeFile(folder / TilesetFileName, tilesetText(TilesetPictureName)); !status.ok())
        return status;
    return writeFile(folder / (stem + ".tmx"), mapText(map, TilesetFileName));
}

FileStatus importMap(const std::filesystem::path& path, MapGrid& map)
{
    XmlFile file(path);
    if (auto problem = file.open("map"))
        return *problem;
    std::vector<Tileset> tilesets;
    Layer layer;
    int layers = 0;
    if (auto problem = readMap(file, tilesets, layer, layers))
        return *problem;
    if (auto problem = file.finish())
        return *problem;

    if (layers == 0)
        return file.fail("the map has no tile layer", 1);
    if (tilesets.empty())
        return file.fail("the map has no tileset", 1);
    if (tilesets.size() > 1)
        return file.fail("the map uses " + std::to_string(tilesets.size()) + " tilesets; the world uses one", 1);
    if (layer.ids.size() != static_cast<std::size_t>(MapGrid::FileBytes))
        return file.fail("the layer holds " + std::to_string(layer.ids.size()) + " cells instead of 62500",
                         layer.cellLines.empty() ? 1 : layer.cellLines.front());

    const Tileset& tileset = tilesets.front();
    const std::int64_t lastId = tileset.firstId + std::min<std::int64_t>(tileset.tiles, TilesetTiles) - 1;
    MapGrid loaded;
    for (std::size_t k = 0; k < layer.ids.size(); ++k) {
        const std::uint32_t id = layer.ids[k];
        const int x = static_cast<int>(k % Side);
        const int y = static_cast<int>(k / Side);
        const std::string cell = "cell (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        if (id & TransformBits)
            return file.fail(cell + " is flipped or rotated; the game draws tiles only as they are", layer.cellLines[k]);
        if (id == 0)
            continue;
        if (id < tileset.firstId || id > lastId)
            return file.fail(cell + " holds tile id " + std::to_string(id) + ", outside the tileset's ids " +
                                 std::to_string(tileset.firstId) + " to " + std::to_string(lastId),
                             layer.cellLines[k]);
        loaded.setCell(x, y, static_cast<std::uint8_t>(id - tileset.firstId));
    }
    map = loaded;
    return {};
}

} // namespace poronpa::tiledmap
