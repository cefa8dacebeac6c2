#pragma once

#include "play/script/KeyScript.h"
#include "replay/ReplayFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace poronpa::replay {

/// The keys of a recording so far, shared with a writer without copying what will not change.
struct RecordedKeys {
    /// Finished parts of the text, never changed again.
    std::vector<std::shared_ptr<const std::string>> sealed;
    /// The rest: the part still growing and the run still open.
    std::string tail;
    std::int64_t frames = 0;

    std::size_t size() const;
    void appendTo(std::string& text) const;
};

/// Records the keys of each frame in memory as the lines of a key script, merging runs of equal
/// frames. A frame is kept once it has run to its end, so a run cut off inside a frame (the window
/// closed while a question was open) ends with the last whole frame. Cheap enough to run in every
/// frame of the game: no allocation unless the keys change.
class ReplayRecorder {
public:
    /// The keys the engine holds as the next frame begins.
    void beginFrame(const sim::KeySet& keys)
    {
        frameKeys_ = keys;
        frameFailures_ = 0;
    }

    /// The frame's question (load, back to the title) was answered No. A player of the replay
    /// answers every question Yes, so the frame is kept as if L and Q had not been held; the keys
    /// the No cleared show as let go in the next frame.
    void declineQuestion();

    /// Saving or loading failed in this frame; a player of the replay fails there too.
    void failed(Failure::Kind kind) { frameFailures_ |= 1u << static_cast<unsigned>(kind); }

    /// The frame ran to its end: it is part of the recording.
    void endFrame()
    {
        if (frameKeys_ == runKeys_ && runFrames_ > 0 && frameFailures_ == 0 && !full_) {
            ++runFrames_;
            ++frames_;
            return;
        }
        addFrame();
    }

    std::int64_t frames() const { return frames_; }
    /// True once the recording has grown as long as a replay file may be; frames after that are
    /// not kept.
    bool full() const { return full_; }

    /// Everything recorded so far.
    RecordedKeys keys() const;

private:
    void addFrame();

    sim::KeySet frameKeys_;
    unsigned frameFailures_ = 0;
    sim::KeySet runKeys_;
    std::int64_t runFrames_ = 0;
    std::int64_t frames_ = 0;
    std::vector<std::shared_ptr<const std::string>> sealed_;
    std::string growing_;
    std::size_t sealedBytes_ = 0;
    bool full_ = false;
};

} // namespace poronpa::replay
