// Measures loudness the way a listener's meter does (K-weighted, gated, in LUFS), the peaks,
// how far a melody leads its accompaniment, and what a recording does around a seam.
//   poronpa-loudness [--raw CHANNELS RATE] FILE...
//   poronpa-loudness --lead MELODY.wav ACCOMPANIMENT.wav
//   poronpa-loudness --seams [--raw CHANNELS RATE] FILE SECONDS...
// Mono files are measured as the mixer plays them: the same samples on both speakers.
#include "Loudness.h"
#include "app/base/StandardOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

using namespace poronpa::loudness;

namespace {

struct RawLayout {
    bool raw = false;
    int channels = 2;
    int sampleRate = 44100;
};

Audio load(const std::string& path, const RawLayout& layout)
{
    Audio audio = layout.raw ? readRaw16(path, layout.channels, layout.sampleRate) : readWave(path);
    if (audio.channels == 1)
        return bothSpeakers(audio.samples, audio.sampleRate);
    return audio;
}

void printTable(const std::vector<std::string>& paths, const RawLayout& layout)
{
    std::printf("%-28s %8s %11s %11s %11s %11s\n", "file", "seconds", "integrated", "M max", "sample pk", "true pk");
    for (const std::string& path : paths) {
        const Audio audio = load(path, layout);
        const Measurement m = measure(audio);
        const std::string name = path.substr(path.find_last_of('/') + 1);
        std::printf("%-28s %8.2f %7.1f LUFS %6.1f LUFS %7.1f dBFS %7.1f dBTP\n", name.c_str(), audio.seconds(),
                    m.integrated, m.momentaryMax, m.samplePeak, m.truePeak);
    }
}

/// The melody's lead over the blocks where it sounds (gated as an integrated measurement of the
/// melody alone), then the smallest and largest lead over 3-second stretches of those blocks.
void printLead(const std::string& melodyPath, const std::string& accompanimentPath)
{
    const Audio melody = load(melodyPath, {});
    const Audio accompaniment = load(accompanimentPath, {});
    const std::vector<double> m = weightedPower(melody);
    const std::vector<double> a = weightedPower(accompaniment);
    const auto block = static_cast<std::size_t>(0.4 * melody.sampleRate);
    const std::size_t step = block / 4;
    const std::size_t frames = std::min(m.size(), a.size());
    std::vector<std::pair<double, double>> blocks;
    for (std::size_t start = 0; start + block <= frames; start += step) {
        double ms = 0.0;
        double as = 0.0;
        for (std::size_t i = start; i < start + block; ++i) {
            ms += m[i];
            as += a[i];
        }
        blocks.emplace_back(ms / static_cast<double>(block), as / static_cast<double>(block));
    }
    double sum = 0.0;
    int count = 0;
    for (const auto& [mp, ap] : blocks)
        if (loudnessOf(mp) > -70.0) {
            sum += mp;
            ++count;
        }
    const double gate = count ? loudnessOf(sum / count) - 10.0 : 0.0;
    double mSum = 0.0;
    double aSum = 0.0;
    // Each stretch with the time it starts at.
    std::vector<std::pair<double, double>> stretches;
    double stretchM = 0.0;
    double stretchA = 0.0;
    int inStretch = 0;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const auto [mp, ap] = blocks[b];
        if (loudnessOf(mp) <= -70.0 || loudnessOf(mp) <= gate) {
            inStretch = 0;
            stretchM = stretchA = 0.0;
            continue;
        }
        mSum += mp;
        aSum += ap;
        stretchM += mp;
        stretchA += ap;
        // 27 blocks a tenth of a second apart cover 3 seconds.
        if (++inStretch == 27) {
            stretches.emplace_back(loudnessOf(stretchM) - loudnessOf(stretchA), static_cast<double>(b - 26) * 0.1);
            inStretch = 0;
            stretchM = stretchA = 0.0;
        }
    }
    const double lead = loudnessOf(mSum) - loudnessOf(aSum);
    if (stretches.empty()) {
        std::printf("lead %5.1f LU\n", lead);
        return;
    }
    const auto [least, leastAt] = *std::min_element(stretches.begin(), stretches.end());
    const auto [most, mostAt] = *std::max_element(stretches.begin(), stretches.end());
    std::printf("lead %5.1f LU  (3 s stretches %5.1f LU at %.0f s .. %5.1f LU at %.0f s)\n", lead, least, leastAt, most, mostAt);
}

void printSeams(const std::string& path, const std::vector<double>& times, const RawLayout& layout)
{
    const Audio audio = load(path, layout);
    std::printf("%s: %.2f s; digital silence at most %.1f ms anywhere; 99.9 %% of sample steps under %.4f\n",
                path.c_str(), audio.seconds(), longestSilenceMs(audio, 0, audio.frames()), typicalLargestStep(audio));
    for (double at : times) {
        const Seam seam = seamAround(audio, at, 0.25);
        std::printf("  around %7.3f s: silence %5.1f ms, largest step %.4f, 100 ms before %6.1f LUFS, after %6.1f LUFS\n", at,
                    seam.longestSilenceMs, seam.largestStep, seam.loudnessBefore, seam.loudnessAfter);
    }
}

} // namespace

constexpr std::string_view Usage =
    "Usage: poronpa-loudness [--raw CHANNELS RATE] FILE...\n"
    "       poronpa-loudness --lead MELODY.wav ACCOMPANIMENT.wav\n"
    "       poronpa-loudness --seams [--raw CHANNELS RATE] FILE SECONDS...\n"
    "Measures the loudness (K-weighted, gated, in LUFS) and peaks of wave files (or raw 16-bit\n"
    "recordings), how far a melody leads its accompaniment, or what a recording does around the\n"
    "seams at the given seconds.\n";

int main(int argc, char** argv)
{
    if (poronpa::answerHelpOrVersion(argc, argv, "poronpa-loudness", Usage))
        return 0;
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        RawLayout layout;
        bool seams = false;
        bool lead = false;
        std::vector<std::string> rest;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--raw") {
                // Without a channel or a sample a second there is nothing to measure.
                const auto channels = i + 2 < args.size() ? poronpa::numberArgument<int>(args[i + 1]) : std::nullopt;
                const auto rate = i + 2 < args.size() ? poronpa::numberArgument<int>(args[i + 2]) : std::nullopt;
                if (!channels || !rate || *channels < 1 || *rate < 1)
                    return poronpa::refuseArguments(Usage);
                layout.raw = true;
                layout.channels = *channels;
                layout.sampleRate = *rate;
                i += 2;
            } else if (args[i] == "--seams") {
                seams = true;
            } else if (args[i] == "--lead") {
                lead = true;
            } else if (args[i].starts_with("--")) {
                return poronpa::refuseArguments(Usage);
            } else {
                rest.push_back(args[i]);
            }
        }
        if (lead && rest.size() == 2) {
            printLead(rest[0], rest[1]);
        } else if (seams && rest.size() >= 2) {
            std::vector<double> times;
            for (std::size_t i = 1; i < rest.size(); ++i) {
                const auto seconds = poronpa::numberArgument<double>(rest[i]);
                if (!seconds)
                    return poronpa::refuseArguments(Usage);
                times.push_back(*seconds);
            }
            printSeams(rest[0], times, layout);
        } else if (!lead && !seams && !rest.empty()) {
            printTable(rest, layout);
        } else {
            return poronpa::refuseArguments(Usage);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "poronpa-loudness: %s\n", error.what());
        return 1;
    }
    return 0;
}
