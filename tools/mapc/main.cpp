#include "app/SafeFile.h"
#include "tools/mapc/MapSource.h"
#include "world/MapFile.h"

#include <cstdio>
#include <string>

using namespace poronpa;

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: poronpa-mapc compile MAP_FOLDER OUTPUT.dat\n"
                 "       poronpa-mapc decompile INPUT.dat MAP_FOLDER\n");
    return 2;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "poronpa-mapc: %s\n", message.c_str());
    return 1;
}

int compile(const std::filesystem::path& folder, const std::filesystem::path& output)
{
    MapGrid map;
    if (auto status = mapsource::compileWorld(folder, map); !status.ok())
        return fail(status.error);
    const auto bytes = mapFileBytes(map);
    if (auto status = writeFileAtomically(output, bytes); !status.ok())
        return fail(status.error);
    return 0;
}

int decompile(const std::filesystem::path& input, const std::filesystem::path& folder)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (auto status = readWholeFile(input, bytes, &exists); !status.ok())
        return fail(status.error);
    // Only a whole map comes back byte for byte; a short file or a longer one's tail would not.
    if (!exists || bytes.size() != MapGrid::FileBytes)
        return fail(input.string() + ": a map file has exactly 62500 bytes");
    MapGrid map;
    if (auto status = loadMap(input, map); !status.ok())
        return fail(status.error);
    if (auto status = mapsource::decompileWorld(map, folder); !status.ok())
        return fail(status.error);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return usage();
    const std::string command = argv[1];
    if (command == "compile")
        return compile(argv[2], argv[3]);
    if (command == "decompile")
        return decompile(argv[2], argv[3]);
    return usage();
}
