#include "app/qt/GameLauncher.h"

#include "app/qt/GameWindow.h"
#include "audio/sdl/SdlAudioSystem.h"
#include "world/MapGrid.h"

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

/// The copy of the map a test play runs on; a child of the window, so it outlives the engine.
class PlayedMap : public QObject {
public:
    explicit PlayedMap(const MapGrid& original) : map(original) {}
    const MapGrid map;
};

/// The game window over `map` read from `world` with its sound, opened once the window has shown
/// its first picture, or with `audio` as it is.
GameWindow* makeGameWindow(const MapGrid& map, std::unique_ptr<AudioSystem> audio = nullptr,
                           const std::filesystem::path& world = {})
{
    if (audio)
        return new GameWindow(map, std::move(audio), world);
    audio = createAudioSystemOpeningLater();
    AudioSystem& opensLater = *audio;
    auto* window = new GameWindow(map, std::move(audio), world);
    new OpenAudioAfterFirstPaint(*window, opensLater);
    return window;
}

} // namespace

QWidget* openGameWindow(MapGrid& map, const std::filesystem::path& world)
{
    GameWindow* window = makeGameWindow(map, nullptr, world);
    window->open();
    return window;
}

QWidget* openTestPlay(const MapGrid& map, const GameStart& start, std::function<void()> ended,
                      std::unique_ptr<AudioSystem> audio)
{
    auto* played = new PlayedMap(map);
    GameWindow* window = makeGameWindow(played->map, std::move(audio));
    played->setParent(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->openTestPlay(start, std::move(ended));
    return window;
}

} // namespace poronpa
