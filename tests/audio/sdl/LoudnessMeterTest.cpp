// The loudness meter the effects are normalised with: it must read what any meter of the
// broadcast standard reads, or every level derived from it is off.
#include "Loudness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace poronpa::loudness;

namespace {

/// A sine of `frequency` at `amplitude` on the channels named, for `seconds`, faded in and out
/// over 10 ms (an abrupt start would overshoot between the samples).
Audio sine(double frequency, double amplitude, double seconds, bool left, bool right, double phase = 0.0)
{
    Audio audio{2, 48000, {}};
    const auto frames = static_cast<std::size_t>(seconds * audio.sampleRate);
    const double fade = 0.01 * audio.sampleRate;
    for (std::size_t n = 0; n < frames; ++n) {
        const double edge = std::min(static_cast<double>(n), static_cast<double>(frames - 1 - n));
        const double gain = edge < fade ? 0.5 - 0.5 * std::cos(std::numbers::pi * edge / fade) : 1.0;
        const auto value = static_cast<float>(
            gain * amplitude * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(n) / audio.sampleRate + phase));
        audio.samples.push_back(left ? value : 0.0f);
        audio.samples.push_back(right ? value : 0.0f);
    }
    return audio;
}

Audio joined(Audio first, const Audio& second)
{
    first.samples.insert(first.samples.end(), second.samples.begin(), second.samples.end());
    return first;
}

} // namespace

TEST(LoudnessMeter, ReadsWhatTheStandardSays)
{
    struct Case {
        const char* name;
        Audio audio;
        double integrated;
        double samplePeak;
        double truePeak;
    };
    const Case cases[] = {
        // The standard's own calibration: a full-scale 1 kHz sine on one channel reads -3.01.
        {"full scale on one channel", sine(997.0, 1.0, 5.0, true, false), -3.01, 0.0, 0.0},
        {"both channels", sine(997.0, 0.1, 5.0, true, true), -20.0, -20.0, -20.0},
        // The head's shelf lifts the highs by 3.35 dB over 1 kHz; the low cut takes 9 dB off 30 Hz.
        // Samples of a sixth of the sample rate miss the crest by 1.25 dB.
        {"high tone", sine(8000.0, 0.1, 5.0, true, true), -16.65, -21.25, -20.0},
        {"deep tone", sine(30.0, 0.1, 5.0, true, true), -28.99, -20.0, -20.0},
        // Silence and a much quieter passage fall under the gates.
        {"then silence", joined(sine(997.0, 0.1, 4.0, true, true), sine(997.0, 0.0, 4.0, true, true)), -20.0, -20.0, -20.0},
        {"then 30 dB quieter", joined(sine(997.0, 0.1, 4.0, true, true), sine(997.0, 0.00316, 4.0, true, true)), -20.0,
         -20.0, -20.0},
        // A quarter of the sample rate, a quarter turn off: every sample misses the crest by 3 dB.
        {"peaks between samples", sine(12000.0, 0.5, 1.0, true, true, std::numbers::pi / 4), -2.67, -9.03, -6.02},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Measurement m = measure(c.audio);
        EXPECT_NEAR(m.integrated, c.integrated, 0.25);
        EXPECT_NEAR(m.samplePeak, c.samplePeak, 0.05);
        EXPECT_NEAR(m.truePeak, c.truePeak, 0.3);
    }
}

TEST(LoudnessMeter, AShortSoundCountsWithTheQuietAroundIt)
{
    // 100 ms of a tone with its fades holds the power of 87.5 ms of the tone held: under the
    // 400 ms window it reads 6.6 dB lower.
    const Measurement held = measure(sine(997.0, 0.1, 2.0, true, true));
    const Measurement shortOne = measure(sine(997.0, 0.1, 0.1, true, true));
    EXPECT_NEAR(held.momentaryMax, -20.0, 0.1);
    EXPECT_NEAR(shortOne.momentaryMax, -26.6, 0.1);
    EXPECT_NEAR(shortOne.integrated, -26.6, 0.1);
}

TEST(LoudnessMeter, AFewSamplesASecondAreStillMeasured)
{
    // A 400 ms block of one or two samples a second rounds to none; a recording read with such a
    // rate must still come back with a reading.
    for (const int rate : {1, 2, 9}) {
        SCOPED_TRACE(rate);
        const Measurement m = measure(Audio{2, rate, std::vector<float>(40, 0.5f)});
        EXPECT_NEAR(m.samplePeak, -6.02, 0.05);
    }
}
