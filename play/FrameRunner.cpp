#include "play/FrameRunner.h"

namespace poronpa::play {

void FrameHost::frameBegins(const GameState&) {}
void FrameHost::playSound(int) {}
void FrameHost::playMusic(int) {}
void FrameHost::openTreasureBox(int) {}
void FrameHost::saveFailed(const std::string&) {}
void FrameHost::loadFailed(const std::string&) {}
void FrameHost::playMishap(int) {}
void FrameHost::show(const FrameEvents&, const GameState&) {}
void FrameHost::frameEnds(StepEnd, const GameState&) {}

void FrameRunner::beginLoop()
{
    engine_.beginLoop();
    held_.reset();
}

void FrameRunner::pressKeys(const KeySet& held)
{
    // Keys let go before keys pressed, as a window's events arrive for a key changed over.
    const KeySet released = held_ & ~held;
    const KeySet pressed = held & ~held_;
    // Only the changed keys are visited: a whole frame of the engine takes some 50 ns.
    for (std::size_t key = released._Find_first(); key < released.size(); key = released._Find_next(key))
        engine_.keyUp(static_cast<int>(key));
    for (std::size_t key = pressed._Find_first(); key < pressed.size(); key = pressed._Find_next(key))
        engine_.keyDown(static_cast<int>(key));
    held_ = held;
}

void FrameRunner::letGoOfKeys() { pressKeys(KeySet()); }

StepEnd FrameRunner::runFrame(const KeySet& held)
{
    // Most frames hold what the last one held.
    if (held != held_)
        pressKeys(held);
    // What was asked for before the frame and not taken is not this frame's.
    if (!events_.empty())
        engine_.clearEvents();
    host_.frameBegins(state_);
    return settle(engine_.step());
}

StepEnd FrameRunner::answer(bool yes) { return settle(engine_.answer(yes)); }

StepEnd FrameRunner::settle(StepEnd end)
{
    while (end == StepEnd::Asking) {
        takeEvents();
        const std::optional<bool> answer = host_.ask(engine_.question());
        if (!answer)
            return StepEnd::Asking;
        end = engine_.answer(*answer);
    }
    takeEvents();
    host_.frameEnds(end, state_);
    return end;
}

void FrameRunner::takeEvents()
{
    for (const Request& request : events_.requests) {
        const int value = request.value;
        switch (request.kind) {
        case Request::Kind::Sound: host_.playSound(value); break;
        case Request::Kind::Music: host_.playMusic(value); break;
        case Request::Kind::TreasureBox: host_.openTreasureBox(value); break;
        case Request::Kind::SaveFailed: host_.saveFailed(events_.reasons[static_cast<std::size_t>(value)]); break;
        case Request::Kind::LoadFailed: host_.loadFailed(events_.reasons[static_cast<std::size_t>(value)]); break;
        case Request::Kind::MissGag: host_.playMishap(value); break;
        }
    }
    // Shown even with nothing drawn: an answer may have changed what the panel shows.
    host_.show(events_, state_);
    if (!events_.empty())
        engine_.clearEvents();
}

} // namespace poronpa::play
