#pragma once

#include <filesystem>
#include <string>

namespace poronpa {

/// Where the program's files live. Run from a folder it may write to (the build folder, a
/// portable copy), every file lies beside the executable. Installed, or run from a folder it may
/// not write to, the shipped files are read where they lie and the player's own files go to a
/// folder of the player's.
struct FileLocations {
    /// The world, the sound effects and the tunes as shipped.
    std::filesystem::path shipped;
    /// Saves, settings, the map as the editor saves it and the exported pictures. Empty when no
    /// folder of the player's can be named (no home at all).
    std::filesystem::path player;

    bool apart() const { return shipped != player; }
    bool operator==(const FileLocations&) const = default;
};

/// What the choice rests on.
struct LocationFacts {
    std::filesystem::path programDirectory;
    /// The running user may create files in the program's directory.
    bool programDirectoryWritable = false;
    /// The shipped files lie in the data folder of an installation (games/ beside share/games/
    /// poronpa/ under one prefix), named here; empty when the program is not installed.
    std::filesystem::path installedData;
    /// HOME, or the account's home folder when HOME is unset or empty.
    std::string home;
    /// XDG_DATA_HOME as set; only an absolute path counts.
    std::string dataHome;
};

/// The rule: installed, the shipped files come from the data folder and the player's go to
/// $XDG_DATA_HOME/poronpa (~/.local/share/poronpa by default), even where the superuser could
/// write beside the program; otherwise everything stays beside the program when its directory is
/// writable, and only the player's files move to that folder when it is not.
FileLocations chooseLocations(const LocationFacts& facts);

/// The facts of this process: the program's directory (see programDirectory()), the file system
/// and the environment.
LocationFacts currentLocationFacts();

/// chooseLocations(currentLocationFacts()).
FileLocations fileLocations();

/// A shipped file (the world, an effect, a tune) by name.
std::filesystem::path shippedFile(const std::string& name);

/// A file of the player's by name; empty when there is no folder of the player's.
std::filesystem::path playerFile(const std::string& name);

/// Makes sure the player's folder exists and may be written to, creating it when it lies apart
/// from the program. Empty when it can be used; otherwise a sentence naming the folder and the
/// reason (saves and settings will then not be kept).
std::string preparePlayerFolder();

} // namespace poronpa
