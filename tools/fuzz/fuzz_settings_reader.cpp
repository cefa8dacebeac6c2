#include "app/base/FileNames.h"
#include "settings/Settings.h"
#include "tools/fuzz/FuzzFile.h"

using namespace poronpa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file(filenames::Settings, data, size);
    clsINI ini;
    ini.InitINIAt(file.path());
    const std::string frameRate = ini.file().read("Option", "FrameRate");

    Settings settings;
    LoadSettings(ini, settings);
    SaveSettings(ini, settings);

    // What was written reads back as written, and the hand-written frame rate is untouched.
    Settings again;
    LoadSettings(ini, again);
    require(again.BGM == settings.BGM && again.SE == settings.SE);
    require(ini.file().read("Option", "FrameRate") == frameRate);
    return 0;
}
