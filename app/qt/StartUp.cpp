#include "app/qt/StartUp.h"

#include "app/base/FileNames.h"
#include "app/qt/GameLauncher.h"
#include "app/qt/PlayRecords.h"
#include "app/qt/ReplayInput.h"
#include "app/qt/GameWindow.h"
#include "app/base/FileLocations.h"
#include "world/WorldFileChoice.h"
#include "app/base/SafeFile.h"
#include "app/base/TemporaryFolder.h"
#include "replay/ReplayFolder.h"
#include "screens/MessageTables.h"
#include "screens/qt/Translations.h"
#include "settings/Settings.h"
#include "play/SavedGame.h"
#include "world/MapFile.h"
#include "world/MapGrid.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace poronpa {

bool displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    // A platform chosen on purpose (offscreen in the tests) needs no display.
    if (set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM"))
        return true;
    std::fputs("poronpa: no display; run it in a virtual one with  xvfb-run -a poronpa\n", stderr);
    return false;
}

void avoidStartingSessionBus()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address)
        return;
    // A session started with the user's login listens here; the library finds it by itself.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        std::error_code error;
        if (std::filesystem::is_socket(std::filesystem::path(runtime) / "bus", error))
            return;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

void installPlayerLanguage(std::optional<Language> argument)
{
    const std::filesystem::path settings = playerFile(filenames::Settings);
    installLanguage(startLanguage(argument, settings.empty() ? std::string() : languageSetting(ProfileFile(settings))));
}

namespace {

/// Every file of the player's the programs replace.
std::vector<std::filesystem::path> playerFilesWritten()
{
    std::vector<std::string> names{filenames::World, filenames::Saves, filenames::Settings, filenames::WorldPicture};
    for (int ax = 0; ax < MapGrid::Areas; ++ax)
        for (int ay = 0; ay < MapGrid::Areas; ++ay)
            names.push_back(filenames::areaPicture(ax, ay));
    std::vector<std::filesystem::path> files;
    for (const std::string& name : names)
        if (const auto file = playerFile(name); !file.empty())
            files.push_back(file);
    return files;
}

} // namespace

StartFiles prepareFiles(const char* program)
{
    // A write beyond the file-size limit fails like a full disk instead of ending the program.
    ignoreFileSizeSignal();
    const WorldFile world = worldFileToRead();
    QStringList notices;
    for (const std::string& notice : {preparePlayerFolder(), world.notice}) {
        if (notice.empty())
            continue;
        std::fprintf(stderr, "%s: %s\n", program, notice.c_str());
        notices << QString::fromStdString(notice);
    }
    removeStaleTemporaries(playerFilesWritten());
    // What a game killed mid-way left: the replay it was writing, the saves of the editor's test
    // play or of a replay watched.
    if (const auto replays = playerFile(filenames::Replays); !replays.empty())
        removeStaleTemporariesIn(replays, replay::isOwnReplayName);
    TemporaryFolder::removeLeftovers({TestPlayFolder, WatchedReplayFolder, GhostFolder});
    return {world.path, notices.join(QStringLiteral("\n\n"))};
}

std::unique_ptr<QWidget> startUp(MapGrid& map, const std::filesystem::path& replay)
{
    const StartFiles files = prepareFiles("poronpa");
    const QString title = QString::fromStdString(texts::ApplicationTitle);
    if (const FileStatus status = loadMap(files.world, map); !status.ok()) {
        QMessageBox::critical(nullptr, title, QString::fromStdString(status.error));
        return nullptr;
    }
    // The game goes on without what could not be used; the player is told once, before the title.
    if (!files.notices.isEmpty())
        QMessageBox::warning(nullptr, title, files.notices);
    auto* window = static_cast<GameWindow*>(openGameWindow(map));
    // From the window's own event loop, as the title's menu starts a game.
    if (!replay.empty())
        QTimer::singleShot(0, window, [window, replay] { window->session().watch(replay); });
    return std::unique_ptr<QWidget>(window);
}

} // namespace poronpa
