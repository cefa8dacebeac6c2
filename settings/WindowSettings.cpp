#include "settings/WindowSettings.h"

#include <algorithm>
#include <ostream>

namespace poronpa {

namespace {

constexpr const char* WindowSection = "Window";

bool allDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void report(std::ostream& problems, const std::string& key, const std::string& value, const char* instead)
{
    problems << "poronpa: zembo.ini: [" << WindowSection << "] " << key << '=' << quotedForMessage(value) << ' '
             << instead << '\n';
}

} // namespace

std::string quotedForMessage(const std::string& value)
{
    constexpr std::size_t shown = 40;
    std::string text = "\"";
    for (std::size_t i = 0; i < value.size() && i < shown; ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        text += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    return text + (value.size() > shown ? "...\"" : "\"");
}

void LoadWindowSettings(const clsINI& ini, WindowSettings& window, std::ostream& problems)
{
    window = WindowSettings{};
    const ProfileFile& file = ini.file();

    const std::string scale = file.read(WindowSection, "Scale");
    if (allDigits(scale) && scale.size() <= 2 && std::stoi(scale) >= 1 && std::stoi(scale) <= WindowSettings::MaxScale)
        window.Scale = std::stoi(scale);
    else if (!scale.empty())
        report(problems, "Scale", scale, "is not a scale of 1 to 4; the screen's size chooses one");

    const std::string fullScreen = file.read(WindowSection, "FullScreen");
    if (fullScreen == "1")
        window.FullScreen = true;
    else if (!fullScreen.empty() && fullScreen != "0")
        report(problems, "FullScreen", fullScreen, "is neither 0 nor 1; starting in a window");
}

FileStatus SaveWindowSettings(clsINI& ini, const WindowSettings& window)
{
    return ini.file().write({{WindowSection, "Scale", std::to_string(window.Scale)},
                             {WindowSection, "FullScreen", window.FullScreen ? "1" : "0"}});
}

std::vector<std::pair<std::string, std::string>> ReadKeySettings(const clsINI& ini)
{
    std::vector<std::pair<std::string, std::string>> keys;
    for (const std::string& action : ini.file().keys("Keys"))
        if (std::string name = ini.file().read("Keys", action); !name.empty())
            keys.emplace_back(action, std::move(name));
    return keys;
}

} // namespace poronpa
