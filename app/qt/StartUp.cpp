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
#include "replay/ReplayWorld.h"
#include "screens/MessageTables.h"
#include "screens/qt/Translations.h"
#include "settings/Settings.h"
#include "play/SavedGame.h"
#include "world/MapFile.h"
#include "world/MapGrid.h"
#include "world/WorldPlaces.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace poronpa {

bool displaySet()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    // A platform chosen on purpose (offscreen in the tests) needs no display.
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

bool displayAvailable()
{
    if (displaySet())
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

/// The files of the player's that each world has of its own.
std::vector<std::string> worldFilesWritten()
{
    return {filenames::Saves, runFramesFile(filenames::Saves).string(), filenames::BestTimes, filenames::Ghost};
}

/// Every file of the player's the programs replace.
std::vector<std::filesystem::path> playerFilesWritten()
{
    std::vector<std::string> names{filenames::World, filenames::Settings, filenames::WorldPicture, filenames::RecentWorlds};
    for (const std::string& name : worldFilesWritten())
        names.push_back(name);
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

StartFiles prepareFiles(const char* program, const std::filesystem::path& named)
{
    // A write beyond the file-size limit fails like a full disk instead of ending the program.
    ignoreFileSizeSignal();
    const WorldFile world = named.empty() ? worldFileToRead() : WorldFile{named, {}};
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
    if (!named.empty() && !isDefaultWorld(named)) {
        std::vector<std::filesystem::path> files;
        for (const std::string& name : worldFilesWritten())
            if (const auto file = worldPlayerFile(named, name); !file.empty())
                files.push_back(file);
        removeStaleTemporaries(files);
        if (const auto replays = worldPlayerFile(named, filenames::Replays); !replays.empty())
            removeStaleTemporariesIn(replays, replay::isOwnReplayName);
    }
    TemporaryFolder::removeLeftovers({TestPlayFolder, WatchedReplayFolder, GhostFolder});
    return {world.path, notices.join(QStringLiteral("\n\n"))};
}

WorldChoice worldToPlay(const std::filesystem::path& world, const std::filesystem::path& replay)
{
    if (!world.empty()) {
        const auto cells = std::make_unique<MapGrid>();
        if (const FileStatus status = loadWholeWorld(world, *cells); !status.ok())
            return {{}, status.error};
        return {world, {}};
    }
    replay::Replay recorded;
    // A replay that cannot be read, or a plain key script, is the window's to name, as before.
    if (replay.empty() || !replay::readReplay(replay, recorded).ok() || !recorded.header)
        return {};
    const auto defaultWorld = worldFileToRead().path;
    const auto found = replay::findReplayWorld(*recorded.header, replay, recentWorlds(), defaultWorld);
    if (found.empty())
        return {{}, replay.string() + ": this replay was recorded on " + replay::neededWorld(*recorded.header) +
                        ", found neither beside it nor among the recent worlds; name the world:  poronpa WORLD --replay " +
                        replay.string()};
    return {found == defaultWorld ? std::filesystem::path() : found, {}};
}

std::unique_ptr<QWidget> startUp(MapGrid& map, const WorldChoice& chosen, const std::filesystem::path& replay)
{
    const QString title = QString::fromStdString(texts::ApplicationTitle);
    const auto refuse = [&](const std::string& error) {
        std::fprintf(stderr, "poronpa: %s\n", error.c_str());
        QMessageBox::critical(nullptr, title, QString::fromStdString(error));
        return nullptr;
    };
    if (!chosen.error.empty())
        return refuse(chosen.error);
    // A world the player named is read whole before any file of the player's is touched.
    if (!chosen.world.empty()) {
        if (const FileStatus status = loadWholeWorld(chosen.world, map); !status.ok())
            return refuse(status.error);
    }
    const StartFiles files = prepareFiles("poronpa", chosen.world);
    if (chosen.world.empty()) {
        if (const FileStatus status = loadMap(files.world, map); !status.ok())
            return refuse(status.error);
    } else if (!isDefaultWorld(chosen.world)) {
        if (const std::string error = rememberRecentWorld(chosen.world); !error.empty())
            std::fprintf(stderr, "poronpa: the list of recent worlds: %s\n", error.c_str());
    }
    // The game goes on without what could not be used; the player is told once, before the title.
    if (!files.notices.isEmpty())
        QMessageBox::warning(nullptr, title, files.notices);
    auto* window = static_cast<GameWindow*>(openGameWindow(map, chosen.world));
    // From the window's own event loop, as the title's menu starts a game.
    if (!replay.empty())
        QTimer::singleShot(0, window, [window, replay] { window->session().watch(replay); });
    return std::unique_ptr<QWidget>(window);
}

} // namespace poronpa
