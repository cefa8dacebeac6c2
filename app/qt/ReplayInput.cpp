#include "app/qt/ReplayInput.h"

#include "app/qt/GamePlayHost.h"
#include "play/GameEngine.h"
#include "play/KeyCodes.h"
#include "screens/qt/TreasureBoxDialog.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

namespace poronpa {

namespace {

// How long a page of the treasure box stays once typed out while a replay is watched.
constexpr int PageShownMs = 800;

} // namespace

ReplayInput::ReplayInput(GamePlayHost& host, const KeyMap& keyMap) : host_(host), keyMap_(keyMap) {}

std::unique_ptr<ReplayInput> ReplayInput::open(const std::filesystem::path& file, GameEngine& engine,
                                               GamePlayHost& host, const KeyMap& keyMap, std::string& error)
{
    replay::Replay replay;
    if (const FileStatus status = replay::readReplay(file, replay); !status.ok()) {
        error = status.error;
        return nullptr;
    }
    auto input = std::make_unique<ReplayInput>(host, keyMap);
    if (!input->folder_.ok()) {
        error = "no temporary folder for the replay's saves";
        return nullptr;
    }
    input->player_ = std::make_unique<replay::ReplayPlayer>(std::move(replay), input->folder_.path());
    if (const FileStatus status = input->player_->start(engine); !status.ok()) {
        error = status.error;
        return nullptr;
    }
    return input;
}

bool ReplayInput::nextFrame(KeySet& keys)
{
    return !stopAsked_ && player_->nextFrame(keys);
}

void ReplayInput::key(const QKeyEvent& event)
{
    const bool down = event.type() == QEvent::KeyPress;
    if (event.key() == Qt::Key_F)
        host_.setSpeed(down ? 4 : 1);
    else if (down && keyMap_.virtualKeyCode(event) == keys::Q)
        stopAsked_ = true;
}

void ReplayInput::treasureBoxOpened(frmGetItem& dialog)
{
    // Each page stays a moment once it is typed out, then the replay presses OK as the player did.
    auto* press = new QTimer(&dialog);
    auto shown = std::make_shared<QElapsedTimer>();
    QObject::connect(press, &QTimer::timeout, &dialog, [&host = host_, &dialog, shown] {
        if (dialog.isTyping() || !shown->isValid()) {
            shown->start();
            return;
        }
        if (shown->elapsed() * host.speed() >= PageShownMs) {
            shown->invalidate();
            dialog.PressOK();
        }
    });
    press->start(20);
}

} // namespace poronpa
