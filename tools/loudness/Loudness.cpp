#include "Loudness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>

namespace poronpa::loudness {

namespace {

/// A second-order section, transposed direct form II.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0;
    double z2 = 0.0;

    double step(double x)
    {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

/// The two stages of the K-weighting curve (a shelf of about +4 dB above 1.5 kHz for the head,
/// then a high-pass near 38 Hz), designed from their analogue prototypes so that any sample
/// rate gets the same curve.
std::array<Biquad, 2> kWeighting(int sampleRate)
{
    const double pi = std::numbers::pi;
    double k = std::tan(pi * 1681.974450955533 / sampleRate);
    const double q1 = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q1 + k * k;
    const Biquad shelf{(vh + vb * k / q1 + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q1 + k * k) / a0,
                       2.0 * (k * k - 1.0) / a0, (1.0 - k / q1 + k * k) / a0};
    k = std::tan(pi * 38.13547087602444 / sampleRate);
    const double q2 = 0.5003270373238773;
    a0 = 1.0 + k / q2 + k * k;
    const Biquad highPass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q2 + k * k) / a0};
    return {shelf, highPass};
}

double decibels(double ratio)
{
    return ratio > 0.0 ? std::max(silent, 20.0 * std::log10(ratio)) : silent;
}

/// Interpolation filter for four times oversampling: a windowed sinc of 12 taps per phase.
constexpr int oversampling = 4;
constexpr int tapsPerPhase = 12;

std::array<std::array<double, tapsPerPhase>, oversampling> interpolationPhases()
{
    std::array<std::array<double, tapsPerPhase>, oversampling> phases{};
    constexpr int length = oversampling * tapsPerPhase;
    for (int i = 0; i < length; ++i) {
        const double t = (i - length / 2.0) / oversampling;
        const double sinc = t == 0.0 ? 1.0 : std::sin(std::numbers::pi * t) / (std::numbers::pi * t);
        const double window = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (i + 0.5) / length);
        phases[static_cast<std::size_t>(i % oversampling)][static_cast<std::size_t>(i / oversampling)] = sinc * window;
    }
    return phases;
}

double truePeakOf(const Audio& audio)
{
    static const auto phases = interpolationPhases();
    const std::size_t frames = audio.frames();
    const auto channels = static_cast<std::size_t>(audio.channels);
    double peak = 0.0;
    for (std::size_t c = 0; c < channels; ++c) {
        for (std::size_t n = 0; n < frames + tapsPerPhase; ++n) {
            for (const auto& phase : phases) {
                double sum = 0.0;
                for (std::size_t j = 0; j < tapsPerPhase; ++j) {
                    if (n < j || n - j >= frames)
                        continue;
                    sum += phase[j] * audio.samples[(n - j) * channels + c];
                }
                peak = std::max(peak, std::abs(sum));
            }
        }
    }
    return peak;
}

std::vector<double> blockMeans(const std::vector<double>& power, std::size_t block, std::size_t step)
{
    // At a few samples a second a block or its step rounds to nothing, which would never move on.
    block = std::max<std::size_t>(block, 1);
    step = std::max<std::size_t>(step, 1);
    std::vector<double> prefix(power.size() + 1, 0.0);
    for (std::size_t i = 0; i < power.size(); ++i)
        prefix[i + 1] = prefix[i] + power[i];
    std::vector<double> means;
    for (std::size_t start = 0; start + block <= power.size(); start += step)
        means.push_back(std::max(0.0, prefix[start + block] - prefix[start]) / static_cast<double>(block));
    return means;
}

std::uint32_t littleEndian(const std::vector<unsigned char>& bytes, std::size_t at, int count)
{
    if (at + static_cast<std::size_t>(count) > bytes.size())
        throw std::runtime_error("the file ends inside its header");
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

std::vector<unsigned char> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

std::vector<double> weightedPower(const Audio& audio)
{
    const std::size_t frames = audio.frames();
    const auto channels = static_cast<std::size_t>(audio.channels);
    std::vector<double> power(frames, 0.0);
    for (std::size_t c = 0; c < channels; ++c) {
        auto filters = kWeighting(audio.sampleRate);
        for (std::size_t n = 0; n < frames; ++n) {
            const double y = filters[1].step(filters[0].step(audio.samples[n * channels + c]));
            power[n] += y * y;
        }
    }
    return power;
}

double loudnessOf(double meanPower)
{
    return meanPower > 0.0 ? std::max(silent, -0.691 + 10.0 * std::log10(meanPower)) : silent;
}

std::vector<double> momentarySeries(const std::vector<double>& power, int sampleRate, double stepSeconds)
{
    const auto block = static_cast<std::size_t>(0.4 * sampleRate);
    const auto step = std::max<std::size_t>(1, static_cast<std::size_t>(stepSeconds * sampleRate));
    std::vector<double> series;
    for (double mean : blockMeans(power, block, step))
        series.push_back(loudnessOf(mean));
    return series;
}

Measurement measure(const Audio& audio)
{
    Measurement m;
    std::vector<double> power = weightedPower(audio);
    const auto block = static_cast<std::size_t>(0.4 * audio.sampleRate);
    // A sound shorter than a block is heard with the quiet after it.
    if (power.size() < block)
        power.resize(block, 0.0);

    const std::vector<double> blocks = blockMeans(power, block, block / 4);
    double sum = 0.0;
    std::size_t count = 0;
    for (double mean : blocks)
        if (loudnessOf(mean) > -70.0) {
            sum += mean;
            ++count;
        }
    m.integrated = silent;
    if (count > 0) {
        const double relativeGate = loudnessOf(sum / static_cast<double>(count)) - 10.0;
        double gatedSum = 0.0;
        std::size_t gatedCount = 0;
        for (double mean : blocks)
            if (loudnessOf(mean) > -70.0 && loudnessOf(mean) > relativeGate) {
                gatedSum += mean;
                ++gatedCount;
            }
        m.integrated = loudnessOf(gatedSum / static_cast<double>(gatedCount));
    }

    const std::vector<double> series = momentarySeries(power, audio.sampleRate, 0.01);
    m.momentaryMax = series.empty() ? silent : *std::max_element(series.begin(), series.end());

    double peak = 0.0;
    for (float s : audio.samples)
        peak = std::max(peak, static_cast<double>(std::abs(s)));
    m.samplePeak = decibels(peak);
    m.truePeak = decibels(std::max(peak, truePeakOf(audio)));
    return m;
}

Audio bothSpeakers(const std::vector<float>& mono, int sampleRate)
{
    Audio audio{2, sampleRate, {}};
    audio.samples.reserve(mono.size() * 2);
    for (float s : mono) {
        audio.samples.push_back(s);
        audio.samples.push_back(s);
    }
    return audio;
}

double longestSilenceMs(const Audio& audio, std::size_t fromFrame, std::size_t toFrame)
{
    const auto channels = static_cast<std::size_t>(audio.channels);
    toFrame = std::min(toFrame, audio.frames());
    std::size_t run = 0;
    std::size_t longest = 0;
    for (std::size_t n = fromFrame; n < toFrame; ++n) {
        bool zero = true;
        for (std::size_t c = 0; c < channels; ++c)
            zero = zero && audio.samples[n * channels + c] == 0.0f;
        run = zero ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return 1000.0 * static_cast<double>(longest) / audio.sampleRate;
}

double typicalLargestStep(const Audio& audio)
{
    const auto channels = static_cast<std::size_t>(audio.channels);
    std::vector<float> steps;
    for (std::size_t n = 1; n < audio.frames(); ++n)
        for (std::size_t c = 0; c < channels; ++c)
            steps.push_back(std::abs(audio.samples[n * channels + c] - audio.samples[(n - 1) * channels + c]));
    if (steps.empty())
        return 0.0;
    const auto at = steps.begin() + static_cast<std::ptrdiff_t>(static_cast<double>(steps.size() - 1) * 0.999);
    std::nth_element(steps.begin(), at, steps.end());
    return *at;
}

Seam seamAround(const Audio& audio, double atSeconds, double halfWidthSeconds)
{
    const auto channels = static_cast<std::size_t>(audio.channels);
    const auto centre = static_cast<std::size_t>(std::max(0.0, atSeconds) * audio.sampleRate);
    const auto half = static_cast<std::size_t>(halfWidthSeconds * audio.sampleRate);
    const std::size_t from = centre > half ? centre - half : 0;
    const std::size_t to = std::min(audio.frames(), centre + half);
    Seam seam;
    seam.longestSilenceMs = longestSilenceMs(audio, from, to);
    for (std::size_t n = std::max<std::size_t>(from, 1); n < to; ++n)
        for (std::size_t c = 0; c < channels; ++c)
            seam.largestStep = std::max(seam.largestStep, static_cast<double>(std::abs(
                                                              audio.samples[n * channels + c] - audio.samples[(n - 1) * channels + c])));
    const std::vector<double> power = weightedPower(audio);
    const auto tenth = static_cast<std::size_t>(0.1 * audio.sampleRate);
    const auto meanOver = [&](std::size_t begin, std::size_t end) {
        end = std::min(end, power.size());
        double sum = 0.0;
        for (std::size_t n = begin; n < end; ++n)
            sum += power[n];
        return end > begin ? sum / static_cast<double>(end - begin) : 0.0;
    };
    seam.loudnessBefore = loudnessOf(meanOver(centre > tenth ? centre - tenth : 0, centre));
    seam.loudnessAfter = loudnessOf(meanOver(centre, centre + tenth));
    return seam;
}

Audio readWave(const std::string& path)
{
    const std::vector<unsigned char> bytes = readAll(path);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error(path + " is not a wave file");
    Audio audio;
    int format = 0;
    int bits = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(reinterpret_cast<const char*>(bytes.data() + at), 4);
        const std::size_t size = littleEndian(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (id == "fmt ") {
            format = static_cast<int>(littleEndian(bytes, body, 2));
            audio.channels = static_cast<int>(littleEndian(bytes, body + 2, 2));
            audio.sampleRate = static_cast<int>(littleEndian(bytes, body + 4, 4));
            bits = static_cast<int>(littleEndian(bytes, body + 14, 2));
            if (format == 0xFFFE && size >= 26)
                format = static_cast<int>(littleEndian(bytes, body + 24, 2));
        } else if (id == "data") {
            if (audio.channels <= 0 || audio.sampleRate <= 0)
                throw std::runtime_error(path + ": samples before their format");
            const std::size_t end = std::min(bytes.size(), body + size);
            if (format == 1 && bits == 16) {
                for (std::size_t i = body; i + 1 < end; i += 2)
                    audio.samples.push_back(static_cast<float>(static_cast<std::int16_t>(littleEndian(bytes, i, 2))) / 32768.0f);
            } else if (format == 3 && bits == 32) {
                for (std::size_t i = body; i + 3 < end; i += 4) {
                    const std::uint32_t raw = littleEndian(bytes, i, 4);
                    float value;
                    std::memcpy(&value, &raw, 4);
                    audio.samples.push_back(value);
                }
            } else {
                throw std::runtime_error(path + ": only 16-bit PCM and 32-bit float samples are read");
            }
            return audio;
        }
        at = body + size + (size & 1);
    }
    throw std::runtime_error(path + " holds no samples");
}

Audio readRaw16(const std::string& path, int channels, int sampleRate)
{
    const std::vector<unsigned char> bytes = readAll(path);
    Audio audio{channels, sampleRate, {}};
    audio.samples.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::int16_t sample;
        std::memcpy(&sample, &bytes[i], 2);
        audio.samples.push_back(static_cast<float>(sample) / 32768.0f);
    }
    audio.samples.resize(audio.frames() * static_cast<std::size_t>(channels));
    return audio;
}

} // namespace poronpa::loudness
