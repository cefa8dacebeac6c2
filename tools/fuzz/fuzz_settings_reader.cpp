#include "settings/Settings.h"
#include "tools/fuzz/FuzzFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file("zembo.ini", data, size);
    poronpa::clsINI ini;
    ini.InitINIAt(file.path());
    poronpa::Settings settings;
    poronpa::LoadSettings(ini, settings);
    poronpa::SaveSettings(ini, settings);
    // What was written must read back as written.
    poronpa::Settings again;
    poronpa::LoadSettings(ini, again);
    if (again.BGM != settings.BGM || again.SE != settings.SE)
        std::abort();
    return 0;
}
