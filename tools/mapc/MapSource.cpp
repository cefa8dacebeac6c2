#include "tools/mapc/MapSource.h"

#include "app/base/SafeFile.h"
#include "world/TileCode.h"

#include <charconv>
#include <sstream>

namespace poronpa::mapsource {

namespace {

SourceStatus failure(const std::string& fileName, int line, const std::string& reason)
{
    return {fileName + ":" + std::to_string(line) + ": " + reason};
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool isCodeCharacter(char c) { return c > ' ' && c < 127; }

std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

SourceStatus readText(const std::filesystem::path& path, std::string& text)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (FileStatus status = readWholeFile(path, bytes, &exists); !status.ok())
        return {status.error};
    if (!exists)
        return {path.string() + ": missing"};
    text.assign(bytes.begin(), bytes.end());
    return {};
}

/// The legend a new source folder starts with: the areas are written in tile numbers alone, and
/// the notes tell how to name tiles with codes of one's own.
constexpr const char* EmptyLegend =
    "; Codes of these sources. Each cell of an area file is two characters; a line here such as\n"
    ";   ##  100  ground\n"
    "; makes a code of two visible characters stand for a tile number (0 to 255). Two hexadecimal\n"
    "; digits (\"00\" to \"FF\") always mean that tile number and need no line here, so codes never\n"
    "; consist of two of them. Decompiling again into this folder writes the areas with these codes.\n";

SourceStatus writeText(const std::filesystem::path& path, const std::string& text)
{
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    return {writeFileAtomically(path, bytes).error};
}

} // namespace

SourceStatus Legend::parse(const std::string& text, const std::string& fileName, Legend& legend)
{
    legend = Legend{};
    const auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const auto fields = words(lines[i]);
        if (fields.empty() || fields[0][0] == CommentMark)
            continue;
        const std::string& code = fields[0];
        if (code.size() != CodeWidth || !isCodeCharacter(code[0]) || !isCodeCharacter(code[1]))
            return failure(fileName, lineNumber, "a code is two visible characters, not '" + code + "'");
        if (readTileCode(code))
            return failure(fileName, lineNumber, "'" + code + "' is a tile number in hexadecimal and cannot be a code");
        int tile = -1;
        const std::string number = fields.size() > 1 ? fields[1] : "";
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), tile);
        if (number.empty() || error != std::errc{} || end != number.data() + number.size() || tile < 0 || tile > 255)
            return failure(fileName, lineNumber, "code '" + code + "' needs a tile number from 0 to 255");
        if (legend.tiles_.count(code))
            return failure(fileName, lineNumber, "code '" + code + "' is defined twice");
        if (!legend.codes_[static_cast<std::size_t>(tile)].empty())
            return failure(fileName, lineNumber, "tile " + std::to_string(tile) + " already has the code '" + legend.codes_[static_cast<std::size_t>(tile)] + "'");
        legend.tiles_[code] = static_cast<std::uint8_t>(tile);
        legend.codes_[static_cast<std::size_t>(tile)] = code;
    }
    return {};
}

std::optional<std::uint8_t> Legend::tile(const std::string& code) const
{
    if (const auto tile = readTileCode(code))
        return tile;
    const auto found = tiles_.find(code);
    if (found == tiles_.end())
        return std::nullopt;
    return found->second;
}

std::string Legend::code(std::uint8_t tile) const
{
    const std::string& named = codes_[tile];
    return named.empty() ? tileCode(tile) : named;
}

SourceStatus parseArea(const std::string& text, const std::string& fileName, const Legend& legend, AreaSource& area)
{
    area = AreaSource{};
    const auto lines = splitLines(text);
    std::size_t first = 0;
    while (first < lines.size() && !lines[first].empty() && lines[first][0] == CommentMark)
        area.notes.push_back(lines[first++]);

    const std::size_t rows = lines.size() - first;
    if (rows != AreaSide)
        return failure(fileName, static_cast<int>(first) + 1, "the grid has " + std::to_string(rows) + " lines instead of 50");
    for (int row = 0; row < AreaSide; ++row) {
        const std::string& line = lines[first + static_cast<std::size_t>(row)];
        const int lineNumber = static_cast<int>(first) + row + 1;
        if (line.size() != AreaSide * CodeWidth)
            return failure(fileName, lineNumber, "a grid line has 100 characters (50 codes), this one " + std::to_string(line.size()));
        for (int column = 0; column < AreaSide; ++column) {
            const std::string code = line.substr(static_cast<std::size_t>(column * CodeWidth), CodeWidth);
            const auto tile = legend.tile(code);
            if (!tile)
                return failure(fileName, lineNumber, "unknown code '" + code + "' in column " + std::to_string(column));
            area.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = *tile;
        }
    }
    return {};
}

std::string formatArea(const AreaSource& area, const Legend& legend)
{
    std::string text;
    for (const auto& note : area.notes)
        text += note + "\n";
    for (const auto& row : area.cells) {
        for (std::uint8_t tile : row)
            text += legend.code(tile);
        text += "\n";
    }
    return text;
}

std::string areaFileName(int ax, int ay) { return "area_" + std::to_string(ax) + "_" + std::to_string(ay) + ".txt"; }

SourceStatus compileWorld(const std::filesystem::path& folder, MapGrid& map)
{
    std::string text;
    if (SourceStatus status = readText(folder / LegendFileName, text); !status.ok())
        return status;
    Legend legend;
    if (SourceStatus status = Legend::parse(text, (folder / LegendFileName).string(), legend); !status.ok())
        return status;

    MapGrid world;
    for (int ay = 0; ay < MapGrid::Areas; ++ay) {
        for (int ax = 0; ax < MapGrid::Areas; ++ax) {
            const auto path = folder / areaFileName(ax, ay);
            if (SourceStatus status = readText(path, text); !status.ok())
                return status;
            AreaSource area;
            if (SourceStatus status = parseArea(text, path.string(), legend, area); !status.ok())
                return status;
            for (int j = 0; j < AreaSide; ++j)
                for (int i = 0; i < AreaSide; ++i)
                    world.setCell(AreaSide * ax + i, AreaSide * ay + j, area.cells[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)]);
        }
    }
    map = world;
    return {};
}

SourceStatus decompileWorld(const MapGrid& map, const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return {folder.string() + ": " + error.message()};

    Legend legend;
    std::string text;
    const auto legendPath = folder / LegendFileName;
    if (std::filesystem::exists(legendPath)) {
        if (SourceStatus status = readText(legendPath, text); !status.ok())
            return status;
        if (SourceStatus status = Legend::parse(text, legendPath.string(), legend); !status.ok())
            return status;
    } else {
        // Compile needs a legend, so the folder compiles as it stands; the areas written without
        // one use none of its codes.
        if (SourceStatus status = writeText(legendPath, EmptyLegend); !status.ok())
            return status;
    }

    for (int ay = 0; ay < MapGrid::Areas; ++ay) {
        for (int ax = 0; ax < MapGrid::Areas; ++ax) {
            const auto path = folder / areaFileName(ax, ay);
            AreaSource area;
            if (std::filesystem::exists(path)) {
                if (SourceStatus status = readText(path, text); !status.ok())
                    return status;
                for (const auto& line : splitLines(text)) {
                    if (line.empty() || line[0] != CommentMark)
                        break;
                    area.notes.push_back(line);
                }
            } else {
                area.notes.push_back("; area (" + std::to_string(ax) + ", " + std::to_string(ay) + ")");
            }
            for (int j = 0; j < AreaSide; ++j)
                for (int i = 0; i < AreaSide; ++i)
                    area.cells[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = map.areaCell(ax, ay, i, j);
            if (SourceStatus status = writeText(path, formatArea(area, legend)); !status.ok())
                return status;
        }
    }
    return {};
}

} // namespace poronpa::mapsource
