#pragma once

#include "audio/AudioSystem.h"

#include <filesystem>
#include <functional>
#include <memory>

class QWidget;

namespace poronpa {

class MapGrid;
struct GameStart;

/// Opens the game window `frmGame` over a loaded map store, runs its load (settings, tables,
/// layout, audio lists, title) and shows it. The map store must outlive the window. Used by the
/// start-up hand-over and by the editor's Game button. `world` is the file the map was read from,
/// empty for the default world: the games played keep their saves and replays in that world's
/// folder (world/WorldPlaces.h), and the title names a world other than the default one.
QWidget* openGameWindow(MapGrid& map, const std::filesystem::path& world = {});

/// Opens the game window for a test play of the editor on a copy of `map`, playing at once from
/// `start` (see GameWindow::openTestPlay). `ended` is called when the window closes; the window
/// then goes away with its copy of the map. Without `audio` the game's own sound is opened.
QWidget* openTestPlay(const MapGrid& map, const GameStart& start, std::function<void()> ended,
                      std::unique_ptr<AudioSystem> audio = nullptr);

} // namespace poronpa
