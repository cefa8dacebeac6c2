// The map editor: starts like the game, but keeps the editor and its palette on screen. Its Game
// button hands over to the game window over the map as edited.

#include "app/GameLauncher.h"
#include "app/ProgramDirectory.h"
#include "app/StartUp.h"
#include "assets/Pictures.h"
#include "editor/MapEditor.h"
#include "editor/frmMain.h"
#include "world/MapGrid.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    using namespace poronpa;
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) {
        std::fputs("mapdesign: no display; run it in a virtual one with  xvfb-run -a mapdesign\n", stderr);
        return 1;
    }
    avoidStartingSessionBus();
    QApplication application(argc, argv);
    QApplication::setApplicationName("MapDesign");
    QApplication::setWindowIcon(pictures::windowIcon());
    installJapaneseTranslation(application);

    // The game window works on the same map store and may outlive the editor's windows.
    static MapGrid map;
    static MapEditor editor(map, pictures::toSurface(pictures::tileSheet()));
    auto* window = new frmMain(editor, programDirectory() / "mapdata.dat", programDirectory());
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &frmMain::gameRequested, [] { openGameWindow(map); });
    window->show();
    if (const FileStatus status = window->loadMapFile(); !status.ok()) {
        QMessageBox::critical(window, "MapDesign", QString::fromStdString(status.error));
        return 1;
    }
    return QApplication::exec();
}
