#include "records/Ghost.h"

#include "play/Animation.h"

#include <cmath>

namespace poronpa::records {

/// The ghost's frames ask nothing of anyone: a question is answered Yes, as a replay's are, and
/// whatever else a frame asks for (sounds, music, boxes, the mishap scene) is let go.
class Ghost::SilentHost final : public play::FrameHost {
public:
    std::optional<bool> ask(Question) override { return true; }
};

Ghost::Ghost(const MapGrid& map, replay::Replay replay, std::filesystem::path folder)
    : map_(map), replay_(std::move(replay)), folder_(std::move(folder)), host_(std::make_unique<SilentHost>()),
      engine_(std::make_unique<GameEngine>(map_))
{
    restart();
}

Ghost::~Ghost() = default;

bool Ghost::restart()
{
    runner_.reset();
    player_.reset();
    engine_ = std::make_unique<GameEngine>(map_);
    engine_->setDrawingWanted(false);
    player_ = std::make_unique<replay::ReplayPlayer>(replay_, folder_);
    frames_ = 0;
    running_ = player_->start(*engine_).ok();
    if (!running_)
        return false;
    runner_ = std::make_unique<play::FrameRunner>(*engine_, *host_);
    runner_->beginLoop();
    runner_->takeEvents();
    return true;
}

bool Ghost::seek(std::int64_t frames)
{
    if (frames < frames_ && !restart())
        return false;
    while (running_ && frames_ < frames) {
        sim::KeySet keys;
        if (!player_->nextFrame(keys)) {
            running_ = false;
            break;
        }
        const StepEnd end = runner_->runFrame(keys);
        ++frames_;
        if (end != StepEnd::Next)
            running_ = false;
    }
    return frames_ == frames;
}

std::optional<GhostSighting> Ghost::sighting(int areaX, int areaY) const
{
    const GameState& s = engine_->state();
    if (!running_ || s.AreaX != areaX || s.AreaY != areaY)
        return std::nullopt;
    const int frame = play::heroAnimationFrame(s);
    if (frame == play::NoFrame)
        return std::nullopt;
    return GhostSighting{frame, static_cast<int>(std::floor(s.HeroX)), static_cast<int>(std::floor(s.HeroY))};
}

} // namespace poronpa::records
