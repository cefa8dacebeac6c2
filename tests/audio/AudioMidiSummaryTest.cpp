#include "audio/MidiSummary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace poronpa;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes midiFile(int format, const std::vector<Bytes>& tracks, std::uint16_t division = 480)
{
    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<std::uint8_t>(format), 0,
               static_cast<std::uint8_t>(tracks.size()), static_cast<std::uint8_t>(division >> 8),
               static_cast<std::uint8_t>(division & 0xFF)};
    for (const Bytes& track : tracks) {
        file.insert(file.end(), {'M', 'T', 'r', 'k', 0, 0, static_cast<std::uint8_t>(track.size() >> 8),
                                 static_cast<std::uint8_t>(track.size() & 0xFF)});
        file.insert(file.end(), track.begin(), track.end());
    }
    return file;
}

const Bytes endOfTrack{0x00, 0xFF, 0x2F, 0x00};

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Four quarter notes on channel 1 with running status (note-offs as velocity 0); 480 ticks
// are written 0x83 0x60.
const Bytes fourQuarters{0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0, 0x00, 64, 100, 0x83, 0x60, 64, 0,
                         0x00, 67, 100, 0x83, 0x60, 67, 0, 0x00, 72, 100, 0x83, 0x60, 72, 0};

} // namespace

TEST(AudioMidiSummary, LengthFollowsTheTempoMap)
{
    struct Case {
        const char* name;
        Bytes file;
        double lengthMs;
        int channelOneNotes;
        int drumNotes;
    };
    const Bytes tempoHalfway{0x83, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}; // one beat in, 60 per minute
    const Case cases[] = {
        {"default tempo", midiFile(0, {concat({fourQuarters, endOfTrack})}), 2000.0, 4, 0},
        {"tempo change in a separate track",
         midiFile(1, {concat({tempoHalfway, endOfTrack}), concat({fourQuarters, endOfTrack})}), 500.0 + 3000.0, 4, 0},
        {"silence before the end of track",
         midiFile(0, {concat({fourQuarters, {0x83, 0x60, 0xFF, 0x2F, 0x00}})}), 2500.0, 4, 0},
        {"drums and a system exclusive message",
         midiFile(0, {concat({{0x00, 0xF0, 0x02, 0x7E, 0xF7, 0x00, 0x99, 36, 90, 0x60, 0x89, 36, 0}, endOfTrack})}),
         100.0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto summary = summarizeMidi(c.file);
        ASSERT_TRUE(summary.has_value());
        EXPECT_NEAR(summary->lengthMs, c.lengthMs, 0.01);
        EXPECT_EQ(summary->notesPerChannel[0], c.channelOneNotes);
        EXPECT_EQ(summary->notesPerChannel[9], c.drumNotes);
    }
}

TEST(AudioMidiSummary, DamagedFilesAreRejected)
{
    const Bytes good = midiFile(0, {concat({fourQuarters, endOfTrack})});
    Bytes wrongTag = good;
    wrongTag[0] = 'X';
    Bytes trackTooLong = good;
    trackTooLong[21] = 0xFF;
    const Bytes cases[] = {
        {},
        wrongTag,
        Bytes(good.begin(), good.end() - 6),
        trackTooLong,
        midiFile(0, {fourQuarters}),                           // no end-of-track event
        midiFile(0, {{0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00}}), // running status with nothing to run
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_FALSE(summarizeMidi(cases[i]).has_value()) << "case " << i;
}
