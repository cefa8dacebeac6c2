#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace poronpa::soak {

/// Follows poronpa-sim's frame trace line by line and says what is wrong with the first line that
/// breaks the rules every frame must keep: frames counted up by one, the area inside the world,
/// no position or speed that is not a finite number, and the hero inside the band 32..1536 that
/// the area edges keep it in.
///
/// The tile tests run after the edge step, so a world whose areas do not match across an edge
/// (open air above rock) or a side spring in an edge column can still push the hero out of the
/// band for a frame; the soak reports that too, so the world gets mended.
class TraceCheck {
public:
    /// Empty when the line keeps the rules, otherwise what is wrong with it.
    std::string line(std::string_view text);
    /// The closing "end frame=N ..." line: it must count the frames seen.
    std::string end(std::string_view text) const;

    std::int64_t frames() const { return frame_; }

private:
    std::int64_t frame_ = 0;
};

} // namespace poronpa::soak
