#include "app/qt/GameReplays.h"

#include "app/base/FileNames.h"
#include "app/base/FileLocations.h"
#include "app/qt/GamePlayHost.h"
#include "app/qt/GameWindow.h"
#include "play/GameEngine.h"
#include "play/KeyCodes.h"
#include "screens/MessageTables.h"
#include "screens/qt/TreasureBoxDialog.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QTimer>

#include <iostream>
#include <memory>

namespace poronpa {

namespace {

/// Tells the player something about the replay, over the window and on standard error.
void tell(GameWindow& window, QMessageBox::Icon icon, const std::string& text, std::function<void()> then = {})
{
    std::cerr << "poronpa: " << text << '\n';
    window.openBox(new QMessageBox(icon, QString::fromStdString(texts::ApplicationTitle), QString::fromStdString(text),
                                   QMessageBox::Ok, &window),
                   [then = std::move(then)](int) {
                       if (then)
                           then();
                   });
}

// How long a page of the treasure box stays once typed out while a replay is watched.
constexpr int PageShownMs = 800;

} // namespace

GameReplays::GameReplays(GameWindow& window, const MapGrid& map, SaveFileStore& playerSaves)
    : window_(window), map_(map), playerSaves_(playerSaves),
      recordings_(playerFile(filenames::Replays), [](const std::string& text) { std::cerr << "poronpa: " + text + "\n"; })
{
}

GameReplays::~GameReplays() = default;

void GameReplays::loopStarts()
{
    if (fromTitle_ && !watching())
        recordings_.begin(window_.engine().state(), continued_, window_.settings().FrameRate, map_, playerSaves_.file());
    fromTitle_ = false;
}

void GameReplays::loopEnds()
{
    recordings_.end();
    if (!watching())
        return;
    // The player's own saves and frame rate again for the games that follow.
    GameEngine& engine = window_.engine();
    engine.setSaveStore(playerSaves_);
    engine.setFrameRate(window_.settings().FrameRate);
    player_.reset();
    watchFolder_.reset();
    stopAsked_ = false;
    window_.playHost().setSpeed(1);
}

void GameReplays::watch(const std::filesystem::path& file)
{
    replay::Replay replay;
    if (const FileStatus status = replay::readReplay(file, replay); !status.ok()) {
        tell(window_, QMessageBox::Warning, status.error);
        return;
    }
    watchFolder_.emplace(WatchedReplayFolder);
    if (!watchFolder_->ok()) {
        watchFolder_.reset();
        tell(window_, QMessageBox::Warning, "no temporary folder for the replay's saves");
        return;
    }
    player_ = std::make_unique<replay::ReplayPlayer>(std::move(replay), watchFolder_->path());
    if (const FileStatus status = player_->start(window_.engine()); !status.ok()) {
        loopEnds();
        tell(window_, QMessageBox::Warning, status.error);
        return;
    }
    const auto play = [this] {
        if (window_.closing())
            return;
        window_.picTitle().hide();
        window_.playHost().takeEvents();
        window_.playHost().startLoop();
    };
    if (player_->recordedOnAnotherMap(map_))
        tell(window_, QMessageBox::Information, "this replay was recorded on another map", play);
    else
        play();
}

bool GameReplays::nextFrame(GameEngine& engine)
{
    return !stopAsked_ && player_->nextFrame(engine);
}

void GameReplays::key(const QKeyEvent& event)
{
    const bool down = event.type() == QEvent::KeyPress;
    if (event.key() == Qt::Key_F)
        window_.playHost().setSpeed(down ? 4 : 1);
    else if (down && window_.keyMap().virtualKeyCode(event) == keys::Q)
        stopAsked_ = true;
}

void GameReplays::showTreasureBox(int boxContent, std::function<void()> done)
{
    // Each page stays a moment once it is typed out, then the replay presses OK as the player did.
    auto* dialog = new frmGetItem(&window_, boxContent, window_.sound());
    auto* press = new QTimer(dialog);
    auto shown = std::make_shared<QElapsedTimer>();
    QObject::connect(press, &QTimer::timeout, dialog, [this, dialog, shown] {
        if (dialog->isTyping() || !shown->isValid()) {
            shown->start();
            return;
        }
        if (shown->elapsed() * window_.playHost().speed() >= PageShownMs) {
            shown->invalidate();
            dialog->PressOK();
        }
    });
    press->start(20);
    window_.openBox(dialog, [done = std::move(done)](int) { done(); });
}

} // namespace poronpa
