#include "app/base/SafeFile.h"
#include "app/base/StandardOptions.h"
#include "tools/mapc/MapSource.h"
#include "world/MapFile.h"

#ifdef PORONPA_MAPC_TILED
#include "assets/Pictures.h"
#include "tools/mapc/TiledMap.h"
#endif

#include <cstdio>
#include <string>

using namespace poronpa;

namespace {

constexpr std::string_view Usage = "Usage: poronpa-mapc compile MAP_FOLDER OUTPUT.dat\n"
                                   "       poronpa-mapc decompile INPUT.dat MAP_FOLDER\n"
#ifdef PORONPA_MAPC_TILED
                                   "       poronpa-mapc export-tmx INPUT.dat FOLDER\n"
                                   "       poronpa-mapc import-tmx INPUT.tmx OUTPUT.dat\n"
#endif
                                   "compile makes the world's map file from the area files and legend of a map\n"
                                   "source folder; decompile writes a map file back as such a folder"
#ifdef PORONPA_MAPC_TILED
                                   "; export-tmx\nand import-tmx take a map file to a Tiled map with its tile set and back"
#endif
                                   ".\n";

int usage()
{
    return refuseArguments(Usage);
}

/// Reports a failure; `status` 2 says the input was refused, 1 that the work could not be done.
int fail(const std::string& message, int status = 1)
{
    std::fprintf(stderr, "poronpa-mapc: %s\n", message.c_str());
    return status;
}

int compile(const std::filesystem::path& folder, const std::filesystem::path& output)
{
    MapGrid map;
    if (auto status = mapsource::compileWorld(folder, map); !status.ok())
        return fail(status.error);
    if (auto status = writeFileAtomically(output, mapFileBytes(map)); !status.ok())
        return fail(status.error);
    return 0;
}

/// Reads a whole map file; the error is empty when it succeeded.
std::string readWholeMap(const std::filesystem::path& input, MapGrid& map)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (auto status = readWholeFile(input, bytes, &exists); !status.ok())
        return status.error;
    // Only a whole map comes back byte for byte; a short file or a longer one's tail would not.
    if (!exists || bytes.size() != MapGrid::FileBytes)
        return input.string() + ": a map file has exactly 62500 bytes";
    return loadMap(input, map).error;
}

int decompile(const std::filesystem::path& input, const std::filesystem::path& folder)
{
    MapGrid map;
    if (auto error = readWholeMap(input, map); !error.empty())
        return fail(error);
    if (auto status = mapsource::decompileWorld(map, folder); !status.ok())
        return fail(status.error);
    return 0;
}

#ifdef PORONPA_MAPC_TILED
int exportTmx(const std::filesystem::path& input, const std::filesystem::path& folder)
{
    MapGrid map;
    if (auto error = readWholeMap(input, map); !error.empty())
        return fail(error);
    if (auto status = tiledmap::exportMap(map, pictures::tileSheet(), folder, input.stem().string()); !status.ok())
        return fail(status.error);
    return 0;
}

int importTmx(const std::filesystem::path& input, const std::filesystem::path& output)
{
    MapGrid map;
    if (auto status = tiledmap::importMap(input, map); !status.ok())
        return fail(status.error, 2);
    if (auto status = writeFileAtomically(output, mapFileBytes(map)); !status.ok())
        return fail(status.error);
    return 0;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (answerHelpOrVersion(argc, argv, "poronpa-mapc", Usage))
        return 0;
    if (argc != 4 || anyOption(argc, argv))
        return usage();
    const std::string command = argv[1];
    if (command == "compile")
        return compile(argv[2], argv[3]);
    if (command == "decompile")
        return decompile(argv[2], argv[3]);
#ifdef PORONPA_MAPC_TILED
    if (command == "export-tmx")
        return exportTmx(argv[2], argv[3]);
    if (command == "import-tmx")
        return importTmx(argv[2], argv[3]);
#endif
    return usage();
}
