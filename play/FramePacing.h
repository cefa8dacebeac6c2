#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace poronpa::play {

/// Milliseconds per frame at the default frame rate, which the run timer counts by.
inline constexpr std::int32_t DefaultFrameInterval = 13;

/// Milliseconds per frame for a FrameRate setting; rates outside 50..120 (a missing setting
/// among them) give the default 13.
std::int32_t frameIntervalFor(std::int32_t frameRate);

/// When the frames of the loop run, by a millisecond clock: each frame starts strictly after its
/// due time, the due time moves on by one interval per frame, a backlog of more than two frames
/// is dropped rather than caught up in a burst, and anything that held the loop up re-bases it.
class FramePacer {
public:
    /// The loop begins at `now`; its first frame runs at once.
    void begin(std::int64_t now, std::int32_t interval);
    /// Milliseconds from `now` until the next frame may start; 0 when it may start at once.
    std::int64_t delay(std::int64_t now) const;
    /// The next frame starts at `now` (when delay(now) is 0).
    void frameStarts(std::int64_t now);
    /// The loop was held up until `now`: the next frame is due one interval later.
    void rebase(std::int64_t now) { due_ = now; }

    std::int64_t due() const { return due_; }
    std::int32_t interval() const { return interval_; }

private:
    std::int64_t due_ = 0;
    std::int32_t interval_ = 13;
};

/// Seconds since the last local midnight, to the millisecond: the clock the frame-rate label counts
/// by. Read every frame, so it asks the system for the time zone only once.
double secondsSinceMidnight();

/// The frame-rate label: about once a second the number of frames run since, as "N fps".
class FrameRateCount {
public:
    /// A new run of the loop: its first frame writes the count 0.
    void begin();
    /// One frame at `secondsSinceMidnight`; returns the label's new text when it is due.
    std::optional<std::string> frame(double secondsSinceMidnight);

private:
    float shownAt_ = 0;
    std::int32_t count_ = 0;
};

} // namespace poronpa::play
