#pragma once

#include "app/base/Language.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

class QApplication;

namespace poronpa {

class MapGrid;

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
/// killed mid-write left in it removed, and the world file chosen (app/base/FileLocations.h). What had to be worked around (a folder that cannot be used,
/// a damaged map of the player's) has been written on standard error after `program` and is
/// returned for a message box; empty when all is well.
struct StartFiles {
    std::filesystem::path world;
    QString notices;
};
StartFiles prepareFiles(const char* program);

/// The hidden start-up: loads the world into the map store, then opens the game window. When the
/// map cannot be read, a message box names the file and the reason and nothing is opened (the
/// result is empty). With a `replay`, the window plays it once it has opened.
std::unique_ptr<QWidget> startUp(MapGrid& map, const std::filesystem::path& replay = {});

} // namespace poronpa
