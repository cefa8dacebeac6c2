#include "app/base/StandardOptions.h"

#include <cstdio>

#ifndef PORONPA_VERSION
#define PORONPA_VERSION "unknown"
#endif

namespace poronpa {

std::string_view programVersion()
{
    return PORONPA_VERSION;
}

bool answerHelpOrVersion(int argc, char** argv, std::string_view program, std::string_view usage)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fwrite(usage.data(), 1, usage.size(), stdout);
            return true;
        }
        if (arg == "--version") {
            std::printf("%.*s %.*s\n", static_cast<int>(program.size()), program.data(),
                        static_cast<int>(programVersion().size()), programVersion().data());
            return true;
        }
    }
    return false;
}

int refuseArguments(std::string_view usage)
{
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return 2;
}

bool anyOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-' && argv[i][1] != '\0')
            return true;
    return false;
}

} // namespace poronpa
