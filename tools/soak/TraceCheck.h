#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace poronpa::soak {

/// Follows poronpa-sim's frame trace line by line and says what is wrong with the first line that
/// breaks the rules every frame must keep: frames counted up by one, the area inside the world,
/// no position or speed that is not a finite number, and the hero's box on the area canvas.
///
/// The edge step keeps the hero in the band 32..1536, but the tile tests after it may still move
/// the hero up to a cell beyond (a side spring in an edge column, a hero thrown out of rock at
/// an area's top edge); the next frame's edge step takes it on from there. So a trace line may
/// show the hero anywhere from 0 to 1568, never further.
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
