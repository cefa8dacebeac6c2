#include "app/sim/SimHost.h"

#include "screens/MessageTables.h"
#include "screens/TreasureBoxContent.h"

namespace poronpa::sim {

SimHost::SimHost(std::function<void(const std::string&)> reportMessage) : reportMessage_(std::move(reportMessage)) {}

StepEnd SimHost::runFrame(GameEngine& engine)
{
    requests_.sounds.clear();
    requests_.boxContents.clear();
    engine.clearEvents();
    StepEnd end = engine.step();
    while (end == StepEnd::Asking)
        end = engine.answer(true);

    const play::FrameEvents& events = engine.events();
    for (const play::Request& request : events.requests) {
        switch (request.kind) {
        case play::Request::Kind::Sound:
            requests_.sounds.push_back(request.value);
            break;
        case play::Request::Kind::TreasureBox:
            requests_.boxContents.push_back(request.value);
            appendClickedThroughSounds(request.value, requests_.sounds);
            break;
        case play::Request::Kind::SaveFailed:
            reportMessage_(texts::saveFailedText(events.reasons[static_cast<std::size_t>(request.value)]));
            break;
        case play::Request::Kind::LoadFailed:
            reportMessage_(texts::loadFailedText(events.reasons[static_cast<std::size_t>(request.value)]));
            break;
        case play::Request::Kind::Music:
        case play::Request::Kind::MissGag:
            break;
        }
    }
    if (end == StepEnd::Ending)
        endingStarted_ = true;
    return end;
}

} // namespace poronpa::sim
