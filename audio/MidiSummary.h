#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace poronpa {

/// What the music layer and the checks need to know of a Standard MIDI File.
struct MidiSummary {
    int format = 0;
    int trackCount = 0;
    /// Note-on events with a velocity above zero on each channel (index 0 is channel 1).
    std::array<int, 16> notesPerChannel{};
    /// From the start to the last track's end, through the file's tempo changes.
    double lengthMs = 0.0;
};

/// Reads a Standard MIDI File; nothing when it is not one or is cut short.
std::optional<MidiSummary> summarizeMidi(const std::vector<std::uint8_t>& bytes);
std::optional<MidiSummary> summarizeMidiFile(const std::filesystem::path& path);

} // namespace poronpa
