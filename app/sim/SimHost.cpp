#include "app/sim/SimHost.h"

#include "play/GameState.h"

namespace poronpa::sim {

namespace {

// The dialog's sounds: one for what was found, then a click for each OK press, one press per page.
constexpr int ItemFoundSound = 11;
constexpr int MemoFoundSound = 12;
constexpr int NothingFoundSound = 13;
constexpr int ClickSound = 1;

} // namespace

SimHost::SimHost(std::function<void(const std::string&)> reportMessage) : reportMessage_(std::move(reportMessage)) {}

void SimHost::startFrame()
{
    requests_ = {};
}

std::uint32_t SimHost::tickCount()
{
    return clock_;
}

void SimHost::waitUntilAfter(std::uint32_t tick)
{
    if (static_cast<std::int32_t>(tick - clock_) >= 0)
        clock_ = tick + 1;
}

double SimHost::secondsSinceMidnight()
{
    return static_cast<double>(clock_ % 86'400'000u) / 1000.0;
}

bool SimHost::processEvents()
{
    return true;
}

void SimHost::playSound(int number)
{
    requests_.sounds.push_back(number);
}

void SimHost::playMusic(int, bool) {}

void SimHost::stopMusic() {}

bool SimHost::askYesNo(const std::string&)
{
    return true;
}

void SimHost::showMessage(const std::string& message)
{
    reportMessage_(message);
}

void SimHost::showTreasureBox(int boxContent)
{
    requests_.boxContents.push_back(boxContent);
    if (boxContent == BoxEmpty || boxContent == BoxOfferingsMissing) {
        requests_.sounds.insert(requests_.sounds.end(), {NothingFoundSound, ClickSound});
    } else {
        // Items and memos have a second page: the description or the memo's text.
        requests_.sounds.insert(requests_.sounds.end(), {boxContent > 100 ? MemoFoundSound : ItemFoundSound, ClickSound, ClickSound});
    }
}

void SimHost::playMissGag(int, int) {}

void SimHost::showTitle() {}

void SimHost::startEnding()
{
    endingStarted_ = true;
}

void SimHost::presentView(int, int) {}

void SimHost::setRopeLine(int, bool, int, int, int) {}

void SimHost::updateMiniMap(const std::array<std::array<std::int32_t, 5>, 5>&) {}

void SimHost::setItemIconVisible(int, bool) {}

void SimHost::setFpsText(const std::string&) {}

} // namespace poronpa::sim
