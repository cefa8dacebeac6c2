// Synthesizes the game's sound effects into wave files.
//   poronpa-sfxgen <output directory>
#include "Effects.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: poronpa-sfxgen <output directory>\n");
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        for (const poronpa::sfx::Effect& effect : poronpa::sfx::gameEffects())
            poronpa::sfx::writeWave((std::filesystem::path(argv[1]) / effect.fileName).string(), effect.make());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "poronpa-sfxgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
