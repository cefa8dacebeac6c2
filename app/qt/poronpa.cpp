// The game: the start-up hands over to the game window, which runs until it is closed.

#include "app/base/Language.h"
#include "app/base/StandardOptions.h"
#include "app/qt/ScreenCheck.h"
#include "app/qt/StartUp.h"
#include "screens/MessageTables.h"
#include "world/MapGrid.h"

#include <QApplication>

#include <algorithm>
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

constexpr std::string_view Usage = R"(Usage: poronpa [WORLD] [--replay FILE] [--lang ja|en] [--help] [--version]

The side-view exploration game ポロンパ　ぽぷらん. The title menu starts a new game, continues
the latest save or opens the settings. Keys in play: the arrows walk, swim and climb; space
jumps; Enter throws the rope; S saves while the diary is held; L loads (with a digit, that many
saves back); Q goes back to the title.

WORLD is a world file (62,500 bytes, shared as NAME.ppw) to play instead of the game's own;
the title shows its name. A file that holds no whole world is named and nothing is written.
Each world keeps its own saves and replays, in worlds/NAME-XXXXXXXX in the player's folder.

Every game is recorded in the folder replays beside the saves (the last 20 are kept; a replay
renamed is kept for good). --replay FILE plays one in the window at the speed it was played:
Q stops it, F held plays it four times as fast. A replay names the world it was recorded on;
without WORLD the game finds it beside the replay or among the worlds played lately, or says
which world it needs.

The game speaks English where the locale is English (LC_ALL, LC_MESSAGES, LANG) and Japanese
elsewhere; the settings screen chooses for good, --lang ja|en for this run.

Run from a folder it may write to, the game keeps every file beside itself. Installed, it reads
the world, effects and tunes from its data folder and keeps savedata.dat, zembo.ini and the map
the editor saves in $XDG_DATA_HOME/poronpa (~/.local/share/poronpa by default).
)";

/// The options the toolkit reads for itself that take a value, so that the value is not taken
/// for a world.
constexpr std::string_view ToolkitOptionsWithValue[] = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-geometry", "-qwindowtitle",
    "-title", "-qwindowicon", "-icon", "-display", "-session", "-style", "-stylesheet"};

struct Arguments {
    std::filesystem::path world;
    std::filesystem::path replay;
};

/// Reads the command line; false after the line that says what is wrong with it.
bool readArguments(int argc, char** argv, Arguments& arguments)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--replay") {
            if (i + 1 == argc || *argv[i + 1] == '\0') {
                std::fputs("poronpa: --replay needs a file\n", stderr);
                return false;
            }
            arguments.replay = argv[++i];
        } else if (!optionsEnded && argument.starts_with('-')) {
            // The toolkit's own; a value of one is passed over with it.
            if (std::find(std::begin(ToolkitOptionsWithValue), std::end(ToolkitOptionsWithValue), argument) !=
                std::end(ToolkitOptionsWithValue))
                ++i;
        } else if (arguments.world.empty() && !argument.empty()) {
            arguments.world = argv[i];
        } else {
            std::fprintf(stderr, "poronpa: one world at a time: \"%s\" is one too many\n", argv[i]);
            return false;
        }
    }
    return true;
}

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
    Arguments arguments;
    if (!readArguments(argc, argv, arguments))
        return 2;
    // A world that cannot be played is named even where no window can tell it.
    const poronpa::WorldChoice chosen = poronpa::worldToPlay(arguments.world, arguments.replay);
    if (!chosen.error.empty() && !poronpa::displaySet()) {
        std::fprintf(stderr, "poronpa: %s\n", chosen.error.c_str());
        return 1;
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
    const auto window = poronpa::startUp(map, chosen, arguments.replay);
    if (!window)
        return 1;
    return QApplication::exec();
}
