// The game: the start-up hands over to the game window, which runs until it is closed.

#include "app/StartUp.h"
#include "screens/MessageTables.h"
#include "world/MapGrid.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char** argv)
{
    if (!poronpa::displayAvailable())
        return 1;
    poronpa::avoidStartingSessionBus();
    defaultHandler = qInstallMessageHandler(exitOnFatal);
    QApplication application(argc, argv);
    qInstallMessageHandler(defaultHandler);
    QApplication::setApplicationName(QString::fromStdString(poronpa::texts::ApplicationTitle));
    poronpa::installJapaneseTranslation(application);

    static poronpa::MapGrid map;
    const auto window = poronpa::startUp(map);
    if (!window)
        return 1;
    return QApplication::exec();
}
