#pragma once

#include <QImage>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QWidget;

namespace poronpa {

/// For the tests that compare the screen with what the program means to show. With the
/// environment variable PORONPA_SCREEN_CHECK naming a folder, each SIGUSR1 makes the program
/// finish the paints it has pending, then write for every window on the screen the picture the
/// toolkit renders of it, with every magnified view magnified here afresh, pixel by pixel, from
/// its content's own rendering: `<window id>.ppm`, listed in `windows.txt` as "ID NAME" lines.
/// It then creates `ready` and waits, doing nothing else, until the test removes that file
/// (at most 30 seconds), so that the screen cannot change under the test's screenshot.
class ScreenCheck : public QObject {
public:
    /// Starts listening when the variable is set; otherwise does nothing.
    static void installFromEnvironment();

    /// What `window` means to show on the screen: the toolkit's own rendering of it, with each
    /// magnified view in it replaced by its content rendered at its own size and enlarged by the
    /// toolkit's nearest-pixel scaling, which shares no code with the view's own magnification.
    static QImage intendedPicture(QWidget& window);

private:
    explicit ScreenCheck(const QString& folder);
    void answer();

    QString folder_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace poronpa
