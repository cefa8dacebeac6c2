#pragma once

#include "settings/Settings.h"

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace poronpa {

/// How the game window was shown when the program last ended, kept in a section of its own
/// beside the options so that their lines stay as they are.
struct WindowSettings {
    static constexpr int MaxScale = 4;
    int Scale = 0;           ///< 1..MaxScale; 0 when none is kept and the screen decides
    bool FullScreen = false;
};

/// Reads the [Window] section. A value that is not one the game writes (garbage, out of range)
/// leaves that field at its default and is reported as one line on `problems`; a missing section
/// is no problem.
void LoadWindowSettings(const clsINI& ini, WindowSettings& window, std::ostream& problems);

/// Writes the [Window] section, leaving every other line of the file as it is; says why when the
/// file could not be written.
FileStatus SaveWindowSettings(clsINI& ini, const WindowSettings& window);

/// The player's own keys: every line of the [Keys] section that gives a value, as (action, key
/// name) in the file's order, the first line of a name counting. The file is only read; the
/// actions and the key names are the window's to understand, and to report when it does not.
std::vector<std::pair<std::string, std::string>> ReadKeySettings(const clsINI& ini);

/// A value from the file fit to be quoted in a message: control and non-ASCII bytes shown as '?',
/// long values cut short.
std::string quotedForMessage(const std::string& value);

} // namespace poronpa
