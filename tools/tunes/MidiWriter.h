#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace poronpa::tunes {

/// One timed MIDI event of a track: a channel message or a meta event.
struct MidiEvent {
    std::uint32_t tick = 0;
    /// Sort key among events of the same tick: note-offs (0) before set-up (1) before note-ons (2).
    int order = 1;
    std::vector<std::uint8_t> bytes;
};

/// A Standard MIDI File of format 1 under construction.
class MidiWriter {
public:
    explicit MidiWriter(int ticksPerQuarter) : ticksPerQuarter_(ticksPerQuarter) {}

    /// Starts a new track; the events that follow go into it.
    void beginTrack(const std::string& name);
    void tempo(std::uint32_t tick, double quartersPerMinute);
    void timeSignature(std::uint32_t tick, int numerator, int denominator);
    void controlChange(std::uint32_t tick, int channel, int controller, int value);
    void programChange(std::uint32_t tick, int channel, int program);
    void note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);

    /// Every track ends at `endTick`, so the file's length is exactly the tune's.
    std::vector<std::uint8_t> bytes(std::uint32_t endTick) const;

private:
    void add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);

    int ticksPerQuarter_;
    std::vector<std::vector<MidiEvent>> tracks_;
};

} // namespace poronpa::tunes
