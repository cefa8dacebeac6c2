#include "replay/ReplayPlayer.h"

#include "play/GameEngine.h"
#include "replay/ReplayWorld.h"

namespace poronpa::replay {

ReplayPlayer::ReplayPlayer(Replay replay, const std::filesystem::path& folder)
    : replay_(std::move(replay)), text_(std::move(replay_.text)), script_(text_), feed_(script_), saves_(folder, replay_)
{
}

std::string ReplayPlayer::anotherMapNote(const MapGrid& map) const
{
    if (!replay_.header || replay_.header->mapDigest == mapDigest(map))
        return {};
    return "this replay was recorded on another map: it needs " + neededWorld(*replay_.header);
}

FileStatus ReplayPlayer::start(GameEngine& engine)
{
    if (FileStatus status = saves_.prepare(); !status.ok())
        return status;
    engine.setSaveStore(saves_);
    if (!replay_.header) {
        engine.startFromTitle(TitleChoice::NewGame);
        return {};
    }
    const ReplayHeader& header = *replay_.header;
    engine.setFrameRate(header.frameRate);
    engine.startFromTitle(header.continued ? TitleChoice::Continue : TitleChoice::NewGame);
    header.carry.applyTo(engine.state());
    return {};
}

bool ReplayPlayer::nextFrame(KeySet& keys)
{
    if (!feed_.next(keys))
        return false;
    ++frames_;
    saves_.atFrame(frames_);
    return true;
}

} // namespace poronpa::replay
