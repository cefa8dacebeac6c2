#include "app/qt/GameLauncher.h"

#include "app/qt/GameWindow.h"
#include "audio/sdl/SdlAudioSystem.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace poronpa {

namespace {

/// Opens the sound device once the window's first picture has been painted: probing the
/// devices and starting the synthesizer would otherwise keep the title off the screen.
class OpenAudioAfterFirstPaint : public QObject {
public:
    OpenAudioAfterFirstPaint(QWidget& window, AudioSystem& audio) : QObject(&window), window_(window), audio_(audio)
    {
        // The window's own controls paint it, so their paint events are watched too.
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            qApp->removeEventFilter(this);
            // Queued, so the painted picture reaches the screen first.
            QTimer::singleShot(0, &window_, [&audio = audio_] { audio.openDevice(); });
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
    AudioSystem& audio_;
};

} // namespace

QWidget* openGameWindow(MapGrid& map)
{
    auto audio = createAudioSystemOpeningLater();
    AudioSystem& opensLater = *audio;
    auto* window = new GameWindow(map, std::move(audio));
    new OpenAudioAfterFirstPaint(*window, opensLater);
    window->open();
    return window;
}

} // namespace poronpa
