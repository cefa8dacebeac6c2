#include "replay/Recordings.h"

#include "replay/ReplayFolder.h"

namespace poronpa::replay {

Recordings::Recordings(std::filesystem::path folder, std::function<void(const std::string&)> report)
    : folder_(std::move(folder)), report_(std::move(report)), writer_([this](const std::string& reason) {
          report_("replays are not recorded from now on: " + reason);
      })
{
}

Recordings::~Recordings()
{
    end();
}

ReplaySession* Recordings::begin(const GameState& state, bool continued, std::int32_t frameRate, const MapGrid& map,
                                 const std::filesystem::path& saveFile, const std::filesystem::path& world)
{
    end();
    if (folder_.empty()) {
        if (!reportedNoFolder_)
            report_("replays are not recorded: there is no folder for the player's files");
        reportedNoFolder_ = true;
        return nullptr;
    }
    if (writer_.failed())
        return nullptr;
    session_.emplace(writer_, newReplayPath(folder_, std::chrono::system_clock::now()),
                     startHeader(state, continued, frameRate, map, saveFile, world), state);
    return &*session_;
}

ReplaySession* Recordings::current()
{
    return session_ && !writer_.failed() ? &*session_ : nullptr;
}

void Recordings::end()
{
    if (!session_)
        return;
    session_->finish();
    session_.reset();
}

} // namespace poronpa::replay
