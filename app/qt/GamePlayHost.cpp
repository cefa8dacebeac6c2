#include "app/qt/GamePlayHost.h"

#include "app/qt/AreaCanvasView.h"
#include "app/qt/GameWindow.h"
#include "app/qt/OverviewSquare.h"
#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"
#include "screens/qt/EndingSequence.h"
#include "screens/MessageTables.h"
#include "screens/qt/MissGagScene.h"
#include "screens/qt/TreasureBoxDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTime>

#include <ctime>

namespace poronpa {

GamePlayHost::GamePlayHost(GameWindow& window) : window_(window), epoch_(std::chrono::steady_clock::now()) {}

std::uint32_t GamePlayHost::tickCount()
{
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - epoch_);
    return static_cast<std::uint32_t>(elapsed.count());
}

void GamePlayHost::waitUntilAfter(std::uint32_t tick)
{
    // Sleep to the start of the next millisecond after `tick` instead of polling the clock: the
    // frame starts on time and the processor rests in between.
    const auto due = epoch_ + std::chrono::milliseconds(static_cast<std::int64_t>(tick) + 1);
    const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(due.time_since_epoch()).count();
    const timespec wake{static_cast<time_t>(since / 1000000000), static_cast<long>(since % 1000000000)};
    while (static_cast<std::int32_t>(tickCount() - tick) <= 0)
        ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr);
}

double GamePlayHost::secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

bool GamePlayHost::processEvents()
{
    QCoreApplication::processEvents();
    // Without a running event loop deferred deletes wait forever; carry them out here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !window_.closing();
}

void GamePlayHost::playSound(int number)
{
    window_.sound().PlayAsync(number, 0, 1, 0);
}

void GamePlayHost::playMusic(int tune, bool notLoop)
{
    window_.music().BGMPlay(tune, notLoop);
}

void GamePlayHost::stopMusic()
{
    window_.music().BGMStop();
}

bool GamePlayHost::askYesNo(const std::string& question)
{
    if (window_.closing())
        return false;
    QMessageBox box(QMessageBox::Question, QString::fromStdString(texts::ApplicationTitle),
                    QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No, &window_);
    return box.exec() == QMessageBox::Yes;
}

void GamePlayHost::showMessage(const std::string& message)
{
    if (window_.closing())
        return;
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(texts::ApplicationTitle),
                    QString::fromStdString(message), QMessageBox::Ok, &window_);
    box.exec();
}

void GamePlayHost::showTreasureBox(int boxContent)
{
    if (!window_.closing())
        showTreasureBoxDialog(&window_, boxContent, window_.sound());
}

void GamePlayHost::playMissGag(int phraseIndex, int frameInterval)
{
    if (window_.closing())
        return;
    PlayMissGag(&window_.picFrame(), &window_.picGame(), phraseIndex, frameInterval, [this] { return tickCount(); },
                [this] { processEvents(); });
}

void GamePlayHost::showTitle()
{
    window_.title().ShowTitle();
}

void GamePlayHost::startEnding()
{
    window_.ending().StartEnding();
}

void GamePlayHost::presentView(int scrollX, int scrollY)
{
    AreaCanvasView& canvas = window_.picGame();
    canvas.move(scrollX, scrollY);
    canvas.update();
}

void GamePlayHost::setRopeLine(int index, bool visible, int x, int y1, int y2)
{
    window_.picGame().setRopeLine(index, visible, x, y1, y2);
}

void GamePlayHost::updateMiniMap(const std::array<std::array<std::int32_t, 5>, 5>& colours)
{
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r)
            window_.shpMap(c + 5 * r).setMiniMapColour(colours[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
}

void GamePlayHost::setItemIconVisible(int item, bool visible)
{
    if (item >= 0 && item < 10)
        window_.imgItem(item).setVisible(visible);
}

void GamePlayHost::setFpsText(const std::string& text)
{
    window_.lblDPS().setText(QString::fromStdString(text));
}

} // namespace poronpa
