// The map editor: starts like the game, but keeps the editor and its palette on screen. Its Game
// button hands over to the game window over the map as edited.

#include "app/base/FileLocations.h"
#include "app/base/FileNames.h"
#include "app/base/Language.h"
#include "app/qt/GameLauncher.h"
#include "app/base/StandardOptions.h"
#include "app/qt/StartUp.h"
#include "assets/Pictures.h"
#include "editor/MapEditor.h"
#include "editor/qt/frmMain.h"
#include "route/CheckCommand.h"
#include "world/MapFile.h"
#include "world/MapGrid.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::string_view Usage = R"(Usage: mapdesign [--lang ja|en] [--help] [--version] [WORLD]

The map editor of ポロンパ　ぽぷらん: the world's 5 x 5 areas with the tile palette. The left
button paints the selected tile, the right one centres the view; Ctrl+Z undoes, Ctrl+Y or
Ctrl+Shift+Z redoes. The arrow keys scroll by a cell, Page Up/Down and Home/End by a view, the
wheel by three cells (Shift+wheel sideways); G shows a grid. Shift+drag selects cells, Ctrl+A the
whole area, Escape clears; Ctrl+C/Ctrl+X copy or cut them, also to the clipboard as rows of tile
numbers, and Ctrl+V lifts them as a stamp a left click puts down. Ctrl+click fills the joined
cells of a tile, Ctrl+F the selection; a drag over the palette takes several tiles; X flips the
stamp. Ctrl+S or Save writes the map,
AllMap and 1Map export pictures, Game starts the game on the map as edited. F5 plays the map as
edited from the cell under the pointer and comes back to the editor when that window closes.

mapdesign --check WORLD [--budget SECONDS] [--json] [--plan FILE] [--fresh] checks, without a
window, whether a new game on WORLD can reach the ending, prints the report and keeps the route
found as a replay among the world's files; it exits 0 when the ending was reached, 1 when it was
not, 2 for a file that is not a whole world (mapdesign --check --help says more).

The editor speaks English where the locale is English and Japanese elsewhere, or as the game's
settings or --lang ja|en choose.

WORLD is a world file (62,500 bytes, shared as NAME.ppw) to edit instead of the game's own; a
file that holds no whole world is named and nothing is written. The File menu starts a new
world (Ctrl+N), opens one (Ctrl+O) or one of those opened lately, and saves the world under
another name (Ctrl+Shift+S); the caption names the world and marks unsaved changes with *.
Game and F5 play the world as edited, and the games played keep their saves with that world.

Run from a folder it may write to, the editor reads and writes mapdata.dat beside itself.
Installed, it reads the map the player saved in $XDG_DATA_HOME/poronpa (~/.local/share/poronpa
by default), or the shipped world while there is none, and saves the map and the pictures there.
)";

} // namespace

int main(int argc, char** argv)
{
    using namespace poronpa;
    // The check needs no window: it runs before anything asks for a display.
    if (route::asksForCheck(argc, argv))
        return route::checkCommand(argc, argv);
    if (answerHelpOrVersion(argc, argv, "mapdesign", Usage))
        return 0;
    const LanguageArgument language = takeLanguageArgument(argc, argv, "mapdesign");
    if (!language.error.empty()) {
        std::fprintf(stderr, "%s\n", language.error.c_str());
        return 2;
    }
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) {
        std::fputs("mapdesign: no display; run it in a virtual one with  xvfb-run -a mapdesign\n", stderr);
        return 1;
    }
    avoidStartingSessionBus();
    // The toolkit takes its own options out of the arguments; what is left is the editor's.
    QApplication application(argc, argv);
    if (anyOption(argc, argv) || argc > 2)
        return refuseArguments(Usage);
    const std::filesystem::path world = argc == 2 ? argv[1] : "";
    QApplication::setApplicationName("MapDesign");
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("invalid.poronpa.MapDesign"));
    QApplication::setWindowIcon(pictures::windowIcon());
    installPlayerLanguage(language.language);

    // The game window works on the same map store and may outlive the editor's windows.
    static MapGrid map;
    static MapEditor editor(map, pictures::toSurface(pictures::tileSheet()));
    if (MapGrid whole; !world.empty()) {
        if (const FileStatus status = loadWholeWorld(world, whole); !status.ok()) {
            std::fprintf(stderr, "mapdesign: %s\n", status.error.c_str());
            QMessageBox::critical(nullptr, "MapDesign", QString::fromStdString(status.error));
            return 1;
        }
    }
    const StartFiles files = prepareFiles("mapdesign", world);
    auto* window = new frmMain(editor, playerFile(filenames::World), fileLocations().player);
    window->readMapFrom(files.world);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &frmMain::gameRequested, [window] { openGameWindow(map, window->worldFile()); });
    window->show();
    if (const FileStatus status = world.empty() ? window->loadMapFile() : window->openWorld(world); !status.ok()) {
        QMessageBox::critical(window, "MapDesign", QString::fromStdString(status.error));
        return 1;
    }
    if (!files.notices.isEmpty())
        QMessageBox::warning(window, "MapDesign", files.notices);
    return QApplication::exec();
}
