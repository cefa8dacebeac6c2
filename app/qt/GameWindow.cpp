#include "app/qt/GameWindow.h"

#include "app/base/FileNames.h"
#include "app/qt/AreaCanvasView.h"
#include "app/qt/ControlsHelp.h"
#include "app/qt/PixelView.h"
#include "app/qt/SidePanel.h"
#include "app/qt/VirtualKeys.h"
#include "app/qt/WindowScale.h"
#include "assets/Pictures.h"
#include "screens/MessageTables.h"
#include "screens/qt/Fonts.h"
#include "screens/qt/MouseLabel.h"
#include "world/AreaDrawing.h"
#include "world/WorldPlaces.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <iostream>

namespace poronpa {

namespace {

QPalette withColour(QPalette palette, QPalette::ColorRole role, const QColor& colour)
{
    palette.setColor(role, colour);
    return palette;
}

/// The game's own 518 × 346 pixels: the side-panel picture with every control laid on it.
class ClientArea : public QWidget {
public:
    explicit ClientArea(const QImage& background) : background_(background)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(GameWindow::ClientWidth, GameWindow::ClientHeight);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::black);
        painter.drawImage(event->rect(), background_, event->rect());
    }

private:
    const QImage& background_;
};

/// The largest magnification of a window in full screen; screens beyond 8K are not expected.
constexpr int MostFullScreenScale = 16;

/// The box's icon drawn `scale` times its usual size: the style's own larger picture of it where it
/// has one. Set on the box's icon label itself, so that the box still says which icon it shows.
void magnifyIcon(QMessageBox& box, int scale)
{
    QStyle::StandardPixmap standard{};
    switch (box.icon()) {
    case QMessageBox::Information:
        standard = QStyle::SP_MessageBoxInformation;
        break;
    case QMessageBox::Warning:
        standard = QStyle::SP_MessageBoxWarning;
        break;
    case QMessageBox::Critical:
        standard = QStyle::SP_MessageBoxCritical;
        break;
    case QMessageBox::Question:
        standard = QStyle::SP_MessageBoxQuestion;
        break;
    default:
        return;
    }
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
    if (!label)
        return;
    // As large as the box's own picture of it times the scale.
    const QSize size = label->pixmap().deviceIndependentSize().toSize() * scale;
    const qreal ratio = box.devicePixelRatio();
    QPixmap picture = box.style()->standardIcon(standard, nullptr, &box).pixmap(size, ratio);
    // A style with no picture that large gives its largest: magnified like the game's own pixels.
    if (picture.deviceIndependentSize().toSize() != size) {
        picture = picture.scaled(size * ratio, Qt::KeepAspectRatio, Qt::FastTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    label->setPixmap(picture);
}

/// The width a box's text may take on a screen so wide, beside the box's icon at the window's
/// magnification: two thirds of the screen, and never more than the toolkit lets the box grow
/// (a thousand pixels, less on a narrow screen); a label laid out wider is cut off at the box's
/// edge.
int roomForText(int screenWidth, int scale)
{
    const int widestBox = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    const int iconColumn = 60 * scale;
    return std::max(100, std::min(screenWidth * 2 / 3, widestBox) - iconColumn);
}

/// Characters of a long word between two places it may break, where it has none of its own: a
/// line of a box holds more than that at any magnification.
constexpr int LongestUnbrokenRun = 20;

/// Lets a word wider than `room` (a file's path, say) break after its slashes, dots, hyphens and
/// underscores, and every few characters where it has none: the toolkit wraps a box's text only
/// between words and cuts off the rest of a word longer than the line.
void fitLongWords(QLabel& label, int room)
{
    const QFontMetrics metrics(label.font());
    const QString text = label.text();
    QString fitted;
    bool changed = false;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        const QString word = text.mid(start, end - start);
        if (metrics.horizontalAdvance(word) <= room) {
            fitted += word;
        } else {
            changed = true;
            int sinceBreak = 0;
            for (const QChar c : word) {
                fitted += c;
                ++sinceBreak;
                if (c == u'/' || c == u'.' || c == u'-' || c == u'_' || sinceBreak == LongestUnbrokenRun) {
                    fitted += QChar(0x200B); // a place to break that shows nothing
                    sinceBreak = 0;
                }
            }
        }
        while (end < text.size() && text.at(end).isSpace())
            fitted += text.at(end++);
        start = end;
    }
    if (changed) {
        label.setText(fitted);
        label.setWordWrap(true);
    }
}

/// Where the title shows the name of a world other than the default one: the bottom strip between
/// the help hint and the picture's copyright line, clear of the menu above it.
constexpr int WorldNameLeft = 96, WorldNameTop = 328, WorldNameWidth = 280;

/// Names the world played on the title picture, cut short with an ellipsis to its place.
void showWorldName(QWidget& picTitle, const std::string& name)
{
    const QFont font = fonts::gothic(8.25, true);
    const QString text = QFontMetrics(font).elidedText(
        QCoreApplication::translate("Title", "ワールド : %1").arg(QString::fromStdString(name)),
                                                       Qt::ElideMiddle, WorldNameWidth);
    auto* label = new MouseLabel(text, font, QColor(255, 255, 192), &picTitle);
    label->setObjectName(QStringLiteral("worldName"));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(WorldNameLeft, WorldNameTop, WorldNameWidth, label->sizeHint().height());
}

} // namespace

GameWindow::GameWindow(const MapGrid& map, std::unique_ptr<AudioSystem> audio, const std::filesystem::path& world,
                       QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      audio_(std::move(audio)), background_(pictures::gameFrame()),
      tileSheet_(pictures::toSurface(pictures::tileSheet())), spriteSheet_(pictures::toSurface(pictures::spriteSheet()))
{
    ini_.InitINI(filenames::Settings);
    if (const FileStatus status = LoadSettings(ini_, settings_); !status.ok())
        std::cerr << "poronpa: " << status.error << "; the options start as on a first run\n";
    LoadWindowSettings(ini_, windowSettings_, std::cerr);
    keyMap_.rebind(ReadKeySettings(ini_), std::cerr);

    setWindowTitle(QString::fromStdString(texts::windowCaption()));
    setWindowIcon(pictures::windowIcon());
    // Around the magnified client in full screen: black.
    setAutoFillBackground(true);
    setPalette(withColour(palette(), QPalette::Window, Qt::black));
    client_ = new ClientArea(background_);
    layOutPlayScreen();

    // The title picture lies over the whole window, the play screen included.
    auto* picture = new QLabel(client_);
    picture->setPixmap(QPixmap::fromImage(pictures::titlePicture()));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setAutoFillBackground(true);
    picture->setPalette(withColour(picture->palette(), QPalette::Window, Qt::black));
    picture->setGeometry(0, 0, 518, 350);
    picTitle_ = picture;
    session_ = std::make_unique<PlaySession>(map, world, *audio_, settings_, keyMap_, static_cast<BoxHost&>(*this),
                                             SessionScreens{*client_, *picTitle_, {*picFrame_, *picGame_, *panel_}},
                                             tileSheet_, spriteSheet_);
    // Where to learn the keys, quietly in a corner of the title picture.
    auto* helpHint = new MouseLabel({}, fonts::gothic(8.25), QColor(150, 160, 200), picTitle_);
    helpHint->showTranslated("Title", QT_TRANSLATE_NOOP("Title", "F1 : 操作説明"));
    helpHint->move(8, 328);
    if (!world.empty() && !isDefaultWorld(world))
        showWorldName(*picTitle_, worldName(world));

    // Shown magnified once every control is on it (controls made later would start hidden).
    view_ = new PixelView(client_, this);
    scale_ = windowSettings_.Scale;
    if (scale_ == 0)
        scale_ = firstStartScale(screen()->availableGeometry().height(), ClientHeight);
    layOutWindow();

    clsBGMAPI& music = audio_->music();
    music.InitBGM();
    LoadAudioLists(music, sound());
    music.BGMOnOff(settings_.BGM != 0);
    sound().SoundOn = settings_.SE != 0;

    tmrBGMLoop_.setInterval(100);
    connect(&tmrBGMLoop_, &QTimer::timeout, this, [this] { audio_->music().CalledByTimer(); });
    tmrBGMLoop_.start();

    // Queued: a button may start the play loop, which must not run inside the reading of the pads.
    connect(&gamepads_, &Gamepads::buttonChanged, this, [this](PadButton button, bool down) {
        QMetaObject::invokeMethod(
            this, [this, button, down] { session_->padButton(button, down, windowHandle()); }, Qt::QueuedConnection);
    });
}

GameWindow::~GameWindow() = default;

void GameWindow::layOutPlayScreen()
{
    picFrame_ = new QWidget(client_);
    picFrame_->setGeometry(8, 4, ViewSize, ViewSize);
    picFrame_->setAutoFillBackground(true);
    picFrame_->setPalette(withColour(picFrame_->palette(), QPalette::Window, Qt::black));
    // Shows the play host's canvas once the session has made it.
    picGame_ = new AreaCanvasView(nullptr, picFrame_);
    picGame_->setGeometry(0, 0, AreaCanvasSize, AreaCanvasSize);
    panel_ = std::make_unique<SidePanel>(*client_);
}

void GameWindow::open()
{
    showWindow();
    session_->showTitle();
}

void GameWindow::openTestPlay(const GameStart& start, std::function<void()> ended)
{
    testPlayEnded_ = std::move(ended);
    showWindow();
    // Not from inside the frame that asked: the window closes once the frame is done.
    session_->startTestPlay(start, [this] { QTimer::singleShot(0, this, &QWidget::close); });
}

void GameWindow::showWindow()
{
    if (windowSettings_.FullScreen)
        setFullScreen(true);
    else
        show();
    view_->setFocus();
    // Key events are taken from the window itself, before any control sees them.
    if (QWindow* handle = windowHandle()) {
        handle->installEventFilter(this);
        // Moved to another screen, the window takes the magnification that screen has room for.
        connect(handle, &QWindow::screenChanged, this, [this] { layOutWindow(); });
    }
}

int GameWindow::scale() const
{
    return view_->scale();
}

void GameWindow::setScale(int scale)
{
    scale_ = std::clamp(scale, 1, WindowSettings::MaxScale);
    layOutWindow();
}

bool GameWindow::fullScreen() const
{
    return windowState().testFlag(Qt::WindowFullScreen);
}

void GameWindow::setFullScreen(bool on)
{
    if (on) {
        // A window of fixed size cannot take the screen's.
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // Without a window manager to carry the request out, the window takes the screen itself.
        setGeometry(screen()->geometry());
        showFullScreen();
    } else {
        showNormal();
    }
    layOutWindow();
}

void GameWindow::layOutWindow()
{
    const QSize client(ClientWidth, ClientHeight);
    if (fullScreen()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        view_->setScale(fittingScale(size(), client, MostFullScreenScale));
        view_->setGeometry(centredIn(size(), view_->size()));
        return;
    }
    // A screen too small for the magnification asked gets the largest that fits, with the window
    // manager's frame and caption (known once the window is on screen).
    const QSize frame = frameGeometry().size() - size();
    const int fitting = fittingScale(screen()->availableGeometry().size() - frame, client, WindowSettings::MaxScale);
    view_->setScale(std::min(scale_, fitting));
    view_->move(0, 0);
    setFixedSize(view_->size());
}

void GameWindow::resizeEvent(QResizeEvent*)
{
    if (fullScreen())
        layOutWindow();
}

void GameWindow::changeEvent(QEvent* event)
{
    // Full screen may also be asked for, or left, by the window manager.
    if (event->type() == QEvent::WindowStateChange)
        layOutWindow();
    QWidget::changeEvent(event);
}

void GameWindow::childEvent(QChildEvent* event)
{
    // The game's questions and notices are read at the size of the game: their text and icon
    // magnified with the window (the toolkit lays them out anew around them).
    if (event->type() == QEvent::ChildPolished && scale() > 1) {
        if (auto* box = qobject_cast<QMessageBox*>(event->child())) {
            QFont font = box->font();
            if (font.pixelSize() > 0)
                font.setPixelSize(font.pixelSize() * scale());
            else
                font.setPointSizeF(font.pointSizeF() * scale());
            box->setFont(font);
            magnifyIcon(*box, scale());
            // The toolkit wraps a box's text beyond a width fit for text of the usual size; the
            // lines stay as they are while the box has room for them.
            if (auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                const int lines = QFontMetrics(font).size(0, box->text()).width();
                text->setMinimumWidth(std::min(lines, roomForText(screen()->availableGeometry().width(), scale())));
            }
        }
    }
    if (event->type() == QEvent::ChildPolished)
        if (auto* box = qobject_cast<QMessageBox*>(event->child()))
            if (auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                fitLongWords(*text, roomForText(screen()->availableGeometry().width(), scale()) / 2);
    QWidget::childEvent(event);
}

bool GameWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != windowHandle())
        return false;
    if (event->type() == QEvent::Expose && !exposed_ && windowHandle()->isExposed()) {
        exposed_ = true;
        // Bringing up the gamepads takes a moment: only once the window is on screen (it is painted
        // as it is exposed).
        QTimer::singleShot(0, this, [this] {
            if (!closing_)
                gamepads_.start();
        });
    }
    const bool boxOpen = !openBoxes().isEmpty();
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (boxOpen)
            return true;
        const auto* key = static_cast<QKeyEvent*>(event);
        // A held key repeats as pairs of release and press; the held-key table must not see them.
        if (key->isAutoRepeat())
            return true;
        if (windowCommand(*key) != WindowCommand::None) {
            if (event->type() == QEvent::KeyPress)
                windowKey(*key);
            return true;
        }
        session_->key(*key);
        // A replay being watched plays its own keys: the player's go nowhere else.
        return session_->state() == PlaySession::State::Watching;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return boxOpen;
    case QEvent::FocusOut:
        // The releases of the keys held now will go to whichever window has the focus.
        session_->letGoOfKeys();
        return false;
    case QEvent::FocusIn:
        if (boxOpen) {
            QDialog* box = openBoxes().back();
            box->raise();
            box->activateWindow();
        }
        return false;
    default:
        return false;
    }
}

QList<QDialog*> GameWindow::openBoxes() const
{
    QList<QDialog*> open;
    for (const QPointer<QDialog>& box : boxes_)
        if (box && box->isVisible())
            open.push_back(box.data());
    return open;
}

QDialog* GameWindow::magnified(QDialog* box)
{
    // Boxes laid out by the toolkit grow with their text instead (the questions, the controls).
    if (scale() == 1 || box->minimumSize() != box->maximumSize() || qobject_cast<QMessageBox*>(box) ||
        qobject_cast<ControlsHelp*>(box))
        return box;
    auto* frame = new QDialog(this, box->windowFlags());
    frame->setWindowTitle(box->windowTitle());
    box->setParent(nullptr, box->windowFlags());
    auto* view = new PixelView(box, frame);
    view->setScale(scale());
    frame->setFixedSize(view->size());
    view->setFocus();
    // The box closes itself (OK, Escape); its frame goes with it and tells what it answered.
    connect(box, &QDialog::finished, frame, &QDialog::done);
    return frame;
}

void GameWindow::openBox(QDialog* box, std::function<void(int)> done)
{
    box = magnified(box);
    box->setParent(this, box->windowFlags());
    box->setWindowModality(Qt::NonModal);
    boxes_.push_back(box);
    connect(box, &QDialog::finished, this, [this, box, done = std::move(done)](int result) {
        boxes_.removeAll(box);
        box->deleteLater();
        if (closing_)
            return;
        activateWindow();
        if (done)
            done(result);
        if (openBoxes().isEmpty())
            session_->boxesClosed();
    });
    // Centred over the window's client area by the box's own client area, so that the window
    // frames a window manager adds cannot shift it; but kept on the screen, where a box larger
    // than the window near an edge would otherwise reach beyond it.
    const auto centre = [this, box] {
        const QRect window = geometry();
        const QRect screen = this->screen()->availableGeometry();
        const QSize size = box->size();
        const auto onScreen = [](int at, int length, int first, int room) {
            return std::max(first, std::min(at, first + room - length));
        };
        box->setGeometry(QRect(QPoint(onScreen(window.x() + (window.width() - size.width()) / 2, size.width(),
                                               screen.x(), screen.width()),
                                      onScreen(window.y() + (window.height() - size.height()) / 2, size.height(),
                                               screen.y(), screen.height())),
                               size));
    };
    box->adjustSize();
    centre();
    box->show();
    centre();
    box->raise();
    box->activateWindow();
}

void GameWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (closing_)
        return;
    closing_ = true;
    session_->close();
    // A settings file that cannot be written (its owner made it read-only, say) is left as it is,
    // and said once.
    FileStatus kept = SaveSettings(ini_, settings_);
    windowSettings_.Scale = scale_;
    windowSettings_.FullScreen = fullScreen();
    if (kept.ok())
        kept = SaveWindowSettings(ini_, windowSettings_);
    if (!kept.ok())
        std::cerr << "poronpa: " << kept.error << "; the options and the window's size are not kept\n";
    gamepads_.stop();
    tmrBGMLoop_.stop();
    for (QDialog* box : openBoxes())
        box->hide();
    if (testPlayEnded_)
        testPlayEnded_();
    else
        QCoreApplication::quit();
}

bool GameWindow::windowKey(const QKeyEvent& key)
{
    switch (const WindowCommand command = windowCommand(key)) {
    case WindowCommand::Help:
        // Not from inside the key's own delivery: the window opens once the event is done.
        QTimer::singleShot(0, this, &GameWindow::showControlsHelp);
        return true;
    case WindowCommand::FullScreen:
        setFullScreen(!fullScreen());
        return true;
    case WindowCommand::Larger:
    case WindowCommand::Smaller:
    case WindowCommand::ActualSize:
        // Full screen takes the largest magnification the screen has room for.
        if (!fullScreen()) {
            const int now = scale();
            setScale(command == WindowCommand::Larger ? now + 1 : command == WindowCommand::Smaller ? now - 1 : 1);
        }
        return true;
    default:
        return false;
    }
}

void GameWindow::showControlsHelp()
{
    if (closing_ || !openBoxes().isEmpty())
        return;
    // In the window's type where the screen has room for it, else as large as it has room for;
    // in one column where two are too wide even in the game's own type (and where nothing fits
    // whole, the last tried, which the boxes' placement keeps on the screen from its top left).
    const QRect room(QPoint(), screen()->availableGeometry().size());
    const auto largestThatFits = [&] {
        ControlsHelp* help = nullptr;
        for (int size = scale(); size >= 1; --size)
            for (const int columns : {2, 1}) {
                delete help;
                help = new ControlsHelp(keyMap_, size, this, columns);
                if (room.contains(QRect(QPoint(), help->sizeHint())))
                    return help;
            }
        return help;
    };
    ControlsHelp* help = largestThatFits();
    // The keys held when it opened must be pressed again after it, as after the game's own boxes.
    openBox(help, [this](int) { session_->forgetHeldKeys(); });
}

} // namespace poronpa
