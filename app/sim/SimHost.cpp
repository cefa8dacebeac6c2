#include "app/sim/SimHost.h"

#include "screens/MessageTables.h"
#include "screens/TreasureBoxContent.h"

namespace poronpa::sim {

SimHost::SimHost(std::function<void(const std::string&)> reportMessage) : reportMessage_(std::move(reportMessage)) {}

void SimHost::frameBegins(const GameState&)
{
    requests_.sounds.clear();
    requests_.boxContents.clear();
}

std::optional<bool> SimHost::ask(Question) { return true; }

void SimHost::playSound(int number) { requests_.sounds.push_back(number); }

void SimHost::openTreasureBox(int content)
{
    requests_.boxContents.push_back(content);
    appendClickedThroughSounds(content, requests_.sounds);
}

void SimHost::saveFailed(const std::string& reason) { reportMessage_(texts::saveFailedText(reason)); }

void SimHost::loadFailed(const std::string& reason) { reportMessage_(texts::loadFailedText(reason)); }

void SimHost::frameEnds(StepEnd end, const GameState&)
{
    if (end == StepEnd::Ending)
        endingStarted_ = true;
}

} // namespace poronpa::sim
