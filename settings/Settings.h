#pragma once

#include "settings/ProfileFile.h"

#include <cstdint>
#include <string>

namespace poronpa {

/// The options kept between runs.
struct Settings {
    std::int16_t BGM = 0;      ///< 0 music off, anything else on
    std::int16_t SE = 0;       ///< 0 sound effects off, anything else on
    std::int32_t FrameRate = 0; ///< frames per second wished for; read, never written
    std::int16_t RunTimer = 0; ///< 0 the run timer hidden, anything else shown in the side panel
    std::int16_t Ghost = 0;    ///< 0 no ghost, anything else the best run's ghost in a new game
    std::string Language;      ///< "ja" or "en" as chosen in the options screen; empty follows the locale
};

/// The settings file of the program: its name in the player's folder, and the two routines that
/// move the options between the file and memory.
class clsINI {
public:
    /// Sets the path to the player's folder (beside the program unless it is installed) and the
    /// file name.
    void InitINI(const std::string& iniFileName);
    void InitINIAt(const std::filesystem::path& path) { file_ = ProfileFile(path); }

    const ProfileFile& file() const { return file_; }
    ProfileFile& file() { return file_; }

private:
    ProfileFile file_;
};

/// Reads the settings; a file without its marker is a first run, which sets music and effects on
/// and writes the file at once. Values beyond the variables' range are held at its limits. A file
/// that exists but cannot be read (not a regular file, or too large) counts as a first run and is
/// left as it is; the status says why, for the caller to tell, and so it does when the first
/// run's file cannot be written.
FileStatus LoadSettings(clsINI& ini, Settings& settings);

/// The language chosen in the settings file ("ja", "en"), read alone: the programs choose their
/// language before anything else of the file is needed. Empty when none was chosen.
std::string languageSetting(const ProfileFile& file);

/// Writes the marker and the BGM and SE values, and RunTimer and Ghost once the player has
/// switched them on (a file that never had them keeps its lines as they were); FrameRate is left
/// as the file has it. A file that
/// cannot be written (its owner made it read-only, it is no regular file, it would grow too
/// large) is left as it is, and the status says why.
FileStatus SaveSettings(clsINI& ini, const Settings& settings);

} // namespace poronpa
