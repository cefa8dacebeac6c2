// Synthesizes the game's sound effects into wave files, each at the loudness of its importance.
//   poronpa-sfxgen <output directory>
#include "Effects.h"
#include "app/base/StandardOptions.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace {

constexpr std::string_view Usage =
    "Usage: poronpa-sfxgen <output directory>\n"
    "Synthesizes the game's sound effects into wave files there, each at the loudness of its\n"
    "importance.\n";

} // namespace

int main(int argc, char** argv)
{
    if (poronpa::answerHelpOrVersion(argc, argv, "poronpa-sfxgen", Usage))
        return 0;
    if (argc != 2 || poronpa::anyOption(argc, argv))
        return poronpa::refuseArguments(Usage);
    try {
        std::filesystem::create_directories(argv[1]);
        for (const poronpa::sfx::Effect& effect : poronpa::sfx::gameEffects()) {
            const poronpa::sfx::Rendered rendered = poronpa::sfx::render(effect);
            const double target = poronpa::sfx::loudnessTarget(effect.importance);
            if (rendered.loudness < target - 0.05)
                std::fprintf(stderr, "poronpa-sfxgen: %s reaches only %.1f LUFS of %.1f under the peak ceiling\n",
                             fileName(effect).c_str(), rendered.loudness, target);
            poronpa::sfx::writeWave((std::filesystem::path(argv[1]) / fileName(effect)).string(), rendered.signal);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "poronpa-sfxgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
