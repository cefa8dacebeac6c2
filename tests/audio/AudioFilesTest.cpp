// The effect and tune files the build puts beside the program.
#include "audio/MidiSummary.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

using namespace poronpa;

namespace {

std::filesystem::path runtimeFile(const std::string& name)
{
    return std::filesystem::path(PORONPA_RUNTIME_DIR) / name;
}

std::uint32_t littleEndian(const std::vector<unsigned char>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
    return value;
}

} // namespace

TEST(AudioFiles, EveryEffectIsShortAudibleUnclipped16BitPcm)
{
    for (const char* name : {"click5.wav", "jump2.wav", "dull3.wav", "sprash.wav", "sjump2.wav", "key1.wav",
                             "burn2.wav", "gusa.wav", "ss6.wav", "fall1.wav", "clear5.wav", "ss21.wav",
                             "sy18.wav", "rope.wav", "break6.wav"}) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> bytes = test::readBytes(runtimeFile(name));
        ASSERT_GT(bytes.size(), 44u);
        ASSERT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
        ASSERT_EQ(std::memcmp(bytes.data() + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(littleEndian(bytes, 20, 2), 1u) << "PCM";
        EXPECT_EQ(littleEndian(bytes, 34, 2), 16u) << "bits per sample";
        const std::uint32_t channels = littleEndian(bytes, 22, 2);
        const std::uint32_t rate = littleEndian(bytes, 24, 4);
        ASSERT_EQ(std::memcmp(bytes.data() + 36, "data", 4), 0);
        const std::uint32_t dataBytes = littleEndian(bytes, 40, 4);
        ASSERT_EQ(dataBytes, bytes.size() - 44);

        const double seconds = dataBytes / 2.0 / channels / rate;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 2.0);
        double sumOfSquares = 0.0;
        int peak = 0;
        for (std::size_t i = 44; i + 1 < bytes.size(); i += 2) {
            const auto sample = static_cast<std::int16_t>(littleEndian(bytes, i, 2));
            sumOfSquares += static_cast<double>(sample) * sample;
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        EXPECT_GT(std::sqrt(sumOfSquares / (dataBytes / 2)), 1000.0) << "audible";
        EXPECT_LT(peak, 32000) << "not clipped";
    }
}

TEST(AudioFiles, EveryTuneIsAFullArrangementOfTheRightLength)
{
    struct Tune {
        const char* name;
        double shortestSeconds;
        double longestSeconds;
    };
    for (const Tune& tune : {Tune{"km2.mid", 20, 40}, Tune{"km3.mid", 60, 120}, Tune{"sky02.mid", 40, 120},
                             Tune{"org5.mid", 30, 90}}) {
        SCOPED_TRACE(tune.name);
        const auto summary = summarizeMidiFile(runtimeFile(tune.name));
        ASSERT_TRUE(summary.has_value());
        EXPECT_GE(summary->lengthMs / 1000.0, tune.shortestSeconds);
        EXPECT_LE(summary->lengthMs / 1000.0, tune.longestSeconds);
        int pitchedChannels = 0;
        for (int channel = 0; channel < 16; ++channel)
            if (channel != 9 && summary->notesPerChannel[channel] >= 8)
                ++pitchedChannels;
        EXPECT_GE(pitchedChannels, 3) << "melody, harmony and bass";
        EXPECT_GE(summary->notesPerChannel[9], 16) << "drums";
    }
}
