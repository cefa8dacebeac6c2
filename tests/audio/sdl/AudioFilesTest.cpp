// The effect and tune files the build puts beside the program.
#include "Loudness.h"
#include "audio/MidiSummary.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
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

/// The level of each 10 ms of a mono signal, a window every 5 ms.
std::vector<double> envelope(const std::vector<float>& samples, int rate)
{
    const auto window = static_cast<std::size_t>(rate / 100);
    std::vector<double> levels;
    for (std::size_t start = 0; start + window <= samples.size(); start += window / 2) {
        double sum = 0.0;
        for (std::size_t n = start; n < start + window; ++n)
            sum += static_cast<double>(samples[n]) * samples[n];
        levels.push_back(std::sqrt(sum / static_cast<double>(window)));
    }
    return levels;
}

/// The share of a signal's energy below 250 Hz, where small speakers play little or nothing.
double lowShare(const std::vector<float>& samples, int rate)
{
    // Two second-order Butterworth low-pass sections.
    const double w = 2.0 * std::numbers::pi * 250.0 / rate;
    const double alpha = std::sin(w) / std::sqrt(2.0);
    const double a0 = 1.0 + alpha;
    const double b0 = (1.0 - std::cos(w)) / 2.0 / a0;
    const double b1 = 2.0 * b0;
    const double a1 = -2.0 * std::cos(w) / a0;
    const double a2 = (1.0 - alpha) / a0;
    std::vector<double> signal(samples.begin(), samples.end());
    double total = 0.0;
    for (double s : signal)
        total += s * s;
    for (int section = 0; section < 2; ++section) {
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
        for (double& s : signal) {
            const double y = b0 * s + b1 * x1 + b0 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = s;
            y2 = y1;
            y1 = y;
            s = y;
        }
    }
    double low = 0.0;
    for (double s : signal)
        low += s * s;
    return total > 0.0 ? low / total : 0.0;
}

} // namespace

TEST(AudioFiles, EveryEffectPlaysAtTheLoudnessOfItsImportance)
{
    // The loudest 400 ms of each effect, played on both speakers, in LUFS: the player's own moves
    // lowest, the world's answers over them, mishaps clear, rewards highest.
    constexpr double feedback = -17.0;
    constexpr double worldEvent = -15.0;
    constexpr double mishap = -14.0;
    constexpr double reward = -12.0;
    struct Case {
        const char* name;
        double loudness;
    };
    const Case cases[] = {
        {"click5.wav", feedback}, {"jump2.wav", feedback},   {"dull3.wav", feedback},  {"sprash.wav", feedback},
        {"sjump2.wav", feedback}, {"key1.wav", worldEvent},  {"burn2.wav", mishap},    {"gusa.wav", mishap},
        {"ss6.wav", worldEvent},  {"fall1.wav", mishap},     {"clear5.wav", reward},   {"ss21.wav", reward},
        {"sy18.wav", mishap},     {"rope.wav", feedback},    {"break6.wav", worldEvent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<unsigned char> bytes = test::readBytes(runtimeFile(c.name));
        ASSERT_GT(bytes.size(), 44u);
        ASSERT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
        ASSERT_EQ(std::memcmp(bytes.data() + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(littleEndian(bytes, 20, 2), 1u) << "PCM";
        EXPECT_EQ(littleEndian(bytes, 22, 2), 1u) << "mono";
        EXPECT_EQ(littleEndian(bytes, 34, 2), 16u) << "bits per sample";
        ASSERT_EQ(std::memcmp(bytes.data() + 36, "data", 4), 0);
        ASSERT_EQ(littleEndian(bytes, 40, 4), bytes.size() - 44);

        const loudness::Audio audio = loudness::readWave(runtimeFile(c.name).string());
        EXPECT_GT(audio.seconds(), 0.05);
        EXPECT_LT(audio.seconds(), 2.5);
        const loudness::Measurement m = loudness::measure(loudness::bothSpeakers(audio.samples, audio.sampleRate));
        EXPECT_NEAR(m.momentaryMax, c.loudness, 1.0);
        EXPECT_LE(m.truePeak, -2.9) << "under the peak ceiling, between the samples too";

        const std::vector<double> levels = envelope(audio.samples, audio.sampleRate);
        const double loudest = *std::max_element(levels.begin(), levels.end());
        const auto firstLoud = std::find_if(levels.begin(), levels.end(), [&](double l) { return l >= loudest / 2.0; });
        EXPECT_LE((firstLoud - levels.begin()) * 5, 30) << "ms before the main hit";
        EXPECT_LT(levels.back(), loudest * std::pow(10.0, -45.0 / 20.0)) << "rings out to silence";
        EXPECT_LT(lowShare(audio.samples, audio.sampleRate), 0.5) << "heard on small speakers";
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
