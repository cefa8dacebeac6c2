#include "app/qt/GameLauncher.h"

#include "app/qt/GameWindow.h"

namespace poronpa {

QWidget* openGameWindow(MapGrid& map)
{
    auto* window = new GameWindow(map, AudioSystem::create());
    window->open();
    return window;
}

} // namespace poronpa
