#pragma once

#include "app/base/Language.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QApplication;

namespace poronpa {

class MapGrid;

/// Whether a display can be reached, without a word.
bool displaySet();
/// Whether a display can be reached; without one, the line that says how to run the game in a
/// virtual one has been printed.
bool displayAvailable();

/// Keeps the libraries the window uses (the toolkit, the sound library) from starting a message
/// bus session of their own when none is running: each would spawn helper processes and hold up
/// the first paint for nothing the game needs. A running session is used as before.
void avoidStartingSessionBus();

/// Puts the program into the player's language: the one --lang named, else the one chosen in the
/// settings file, else the locale's (app/base/Language.h).
void installPlayerLanguage(std::optional<Language> argument);

/// What a program needs before its first window: the player's folder made ready, what writers
/// killed mid-write left in it removed (and in the folder of `world`, a world named by the player,
/// when it is not the default one), and the world file chosen (app/base/FileLocations.h): `world`
/// when named. What had to be worked around (a folder that cannot be used, a damaged map of the
/// player's) has been written on standard error after `program` and is returned for a message
/// box; empty when all is well.
struct StartFiles {
    std::filesystem::path world;
    QString notices;
};
StartFiles prepareFiles(const char* program, const std::filesystem::path& world = {});

/// The world a game is to play, as its command line decides: the `world` named, when it holds a
/// whole world; else, for a `replay` that names the world it was recorded on, that world where it
/// is found (replay/ReplayWorld.h); else the default world (an empty `world`). `error` is the one
/// line that says why the game cannot start (a world file that is not a whole world, a replay's
/// world found nowhere); nothing has been written either way.
struct WorldChoice {
    std::filesystem::path world;
    std::string error;
};
WorldChoice worldToPlay(const std::filesystem::path& world, const std::filesystem::path& replay);

/// The hidden start-up: loads the world `chosen` into the map store, then opens the game window.
/// When the game cannot start (the choice's error, a map that cannot be read), the reason is
/// written on standard error and named in a message box, and nothing is opened (the result is
/// empty). A world other than the default is put first among the recent worlds. With a `replay`,
/// the window plays it once it has opened.
std::unique_ptr<QWidget> startUp(MapGrid& map, const WorldChoice& chosen = {}, const std::filesystem::path& replay = {});

} // namespace poronpa
