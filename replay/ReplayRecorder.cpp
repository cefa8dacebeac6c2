#include "replay/ReplayRecorder.h"

#include "play/KeyCodes.h"

namespace poronpa::replay {

namespace {

// The text is cut into pieces of about this size, so that a writer shares all but the last.
constexpr std::size_t PieceBytes = 64 * 1024;
// Room left under the file size a reader accepts, for the header, the failures and the closing line.
constexpr std::size_t BodyLimit = MaxFileBytes - 64 * 1024;
// The longest line of a run: its count and every key's name.
constexpr std::size_t RunLineRoom = 80;

std::string runLine(std::int64_t frames, const sim::KeySet& keys)
{
    return std::to_string(frames) + " " + sim::keysText(keys) + "\n";
}

} // namespace

std::size_t RecordedKeys::size() const
{
    std::size_t total = tail.size();
    for (const auto& piece : sealed)
        total += piece->size();
    return total;
}

void RecordedKeys::appendTo(std::string& text) const
{
    text.reserve(text.size() + size());
    for (const auto& piece : sealed)
        text += *piece;
    text += tail;
}

void ReplayRecorder::declineQuestion()
{
    frameKeys_.reset(keys::L);
    frameKeys_.reset(keys::Q);
}

void ReplayRecorder::addFrame()
{
    if (full_)
        return;
    std::string lines;
    if (runFrames_ > 0)
        lines += runLine(runFrames_, runKeys_);
    if (frameFailures_ != 0) {
        // A failure belongs after its frame: the frame becomes a run of its own.
        lines += runLine(1, frameKeys_);
        for (const Failure::Kind kind : {Failure::Kind::Save, Failure::Kind::Load})
            if ((frameFailures_ & (1u << static_cast<unsigned>(kind))) != 0)
                lines += failureLine({frames_ + 1, kind});
    }
    if (sealedBytes_ + growing_.size() + lines.size() + RunLineRoom > BodyLimit) {
        full_ = true;
        return;
    }
    growing_ += lines;
    if (growing_.size() >= PieceBytes) {
        sealedBytes_ += growing_.size();
        sealed_.push_back(std::make_shared<const std::string>(std::move(growing_)));
        growing_.clear();
    }
    ++frames_;
    runKeys_ = frameKeys_;
    runFrames_ = frameFailures_ != 0 ? 0 : 1;
}

RecordedKeys ReplayRecorder::keys() const
{
    RecordedKeys keys;
    keys.sealed = sealed_;
    keys.tail = growing_;
    keys.frames = frames_;
    if (runFrames_ > 0)
        keys.tail += runLine(runFrames_, runKeys_);
    return keys;
}

} // namespace poronpa::replay
