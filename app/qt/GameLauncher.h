#pragma once

class QWidget;

namespace poronpa {

class MapGrid;

/// Opens the game window `frmGame` over a loaded map store, runs its load (settings, tables,
/// layout, audio lists, title) and shows it. The map store must outlive the window. Used by the
/// start-up hand-over and by the editor's Game button.
QWidget* openGameWindow(MapGrid& map);

} // namespace poronpa
