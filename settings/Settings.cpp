#include "settings/Settings.h"

#include "app/base/FileLocations.h"

#include <limits>

namespace poronpa {

void clsINI::InitINI(const std::string& iniFileName)
{
    file_ = ProfileFile(playerFile(iniFileName));
}

namespace {

template <typename Int>
Int readNumber(const ProfileFile& file, const std::string& section, const std::string& key)
{
    const double v = leadingNumber(file.read(section, key));
    return static_cast<Int>(roundToRange(v, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max()));
}

} // namespace

FileStatus LoadSettings(clsINI& ini, Settings& settings)
{
    const ProfileFile& file = ini.file();
    FileStatus status = file.readable();
    if (!file.read("INIExist", "Dummy").empty()) {
        settings.BGM = readNumber<std::int16_t>(file, "Option", "BGM");
        settings.SE = readNumber<std::int16_t>(file, "Option", "SE");
        settings.FrameRate = readNumber<std::int32_t>(file, "Option", "FrameRate");
        settings.RunTimer = readNumber<std::int16_t>(file, "Option", "RunTimer");
        settings.Ghost = readNumber<std::int16_t>(file, "Option", "Ghost");
        settings.Language = languageSetting(file);
    } else {
        settings.BGM = 1;
        settings.SE = 1;
        // A file that cannot be read is the reason to tell, not that it cannot be written either.
        if (const FileStatus written = SaveSettings(ini, settings); status.ok())
            status = written;
    }
    return status;
}

std::string languageSetting(const ProfileFile& file) { return file.read("Option", "Language"); }

FileStatus SaveSettings(clsINI& ini, const Settings& settings)
{
    // In one rewrite, so that a file that cannot take them all (its owner made it read-only, it
    // would grow too large) is left exactly as it was.
    std::vector<ProfileFile::Value> values{{"INIExist", "Dummy", "True"},
                                           {"Option", "BGM", std::to_string(settings.BGM)},
                                           {"Option", "SE", std::to_string(settings.SE)}};
    for (const auto& [key, value] : {std::pair{"RunTimer", settings.RunTimer}, std::pair{"Ghost", settings.Ghost}})
        if (value != 0 || !ini.file().read("Option", key).empty())
            values.push_back({"Option", key, std::to_string(value)});
    // Written once chosen: until then the game follows the locale, as a file without it says.
    if (!settings.Language.empty())
        values.push_back({"Option", "Language", settings.Language});
    return ini.file().write(values);
}

} // namespace poronpa
