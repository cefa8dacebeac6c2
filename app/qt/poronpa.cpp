// The game: the start-up hands over to the game window, which runs until it is closed.

#include "app/base/Language.h"
#include "app/base/StandardOptions.h"
#include "app/qt/ScreenCheck.h"
#include "app/qt/StartUp.h"
#include "screens/MessageTables.h"
#include "world/MapGrid.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The toolkit ends the process with an abort when it cannot reach the display it was given;
// say how to run the game instead and end with an ordinary failure.
void exitOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        defaultHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "poronpa: %s\nporonpa: run it in a virtual display with  xvfb-run -a poronpa\n",
                 message.toLocal8Bit().constData());
    std::_Exit(1);
}

constexpr std::string_view Usage = R"(Usage: poronpa [--replay FILE] [--lang ja|en] [--help] [--version]

The side-view exploration game ポロンパ　ぽぷらん. The title menu starts a new game, continues
the latest save or opens the settings. Keys in play: the arrows walk, swim and climb; space
jumps; Enter throws the rope; S saves while the diary is held; L loads (with a digit, that many
saves back); Q goes back to the title.

Every game is recorded in the folder replays beside the saves (the last 20 are kept; a replay
renamed is kept for good). --replay FILE plays one in the window at the speed it was played:
Q stops it, F held plays it four times as fast.

The game speaks English where the locale is English (LC_ALL, LC_MESSAGES, LANG) and Japanese
elsewhere; the settings screen chooses for good, --lang ja|en for this run.

Run from a folder it may write to, the game keeps every file beside itself. Installed, it reads
the world, effects and tunes from its data folder and keeps savedata.dat, zembo.ini and the map
the editor saves in $XDG_DATA_HOME/poronpa (~/.local/share/poronpa by default).
)";

} // namespace

int main(int argc, char** argv)
{
    if (poronpa::answerHelpOrVersion(argc, argv, "poronpa", Usage))
        return 0;
    // Taken out first, so that its value is not read as a world.
    const poronpa::LanguageArgument language = poronpa::takeLanguageArgument(argc, argv, "poronpa");
    if (!language.error.empty()) {
        std::fprintf(stderr, "%s\n", language.error.c_str());
        return 2;
    }
    std::filesystem::path replay;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) != "--replay")
            continue;
        if (i + 1 == argc || *argv[i + 1] == '\0') {
            std::fputs("poronpa: --replay needs a file\n", stderr);
            return 2;
        }
        replay = argv[++i];
    }
    if (!poronpa::displayAvailable())
        return 1;
    poronpa::avoidStartingSessionBus();
    defaultHandler = qInstallMessageHandler(exitOnFatal);
    QApplication application(argc, argv);
    qInstallMessageHandler(defaultHandler);
    QApplication::setApplicationName(QString::fromStdString(poronpa::texts::ApplicationTitle));
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("invalid.poronpa.Poronpa"));
    poronpa::installPlayerLanguage(language.language);
    poronpa::ScreenCheck::installFromEnvironment();

    static poronpa::MapGrid map;
    const auto window = poronpa::startUp(map, replay);
    if (!window)
        return 1;
    return QApplication::exec();
}
