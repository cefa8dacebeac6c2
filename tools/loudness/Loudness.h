#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace poronpa::loudness {

/// Interleaved samples in -1..1 with their layout.
struct Audio {
    int channels = 2;
    int sampleRate = 44100;
    std::vector<float> samples;

    std::size_t frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
    double seconds() const { return static_cast<double>(frames()) / sampleRate; }
};

/// Loudness as a listener's meter reads it: K-weighted power, summed over the channels with
/// equal weight (front left and right), in LUFS; levels in dB relative to full scale.
struct Measurement {
    /// Gated over 400 ms blocks overlapping by 75 %; silence when no block passes the gates.
    double integrated = 0.0;
    /// The loudest 400 ms window, slid in 10 ms steps (a sound shorter than the window counts
    /// with the silence around it, as the ear integrates a short sound).
    double momentaryMax = 0.0;
    double samplePeak = 0.0;
    /// Peak between the samples too, from four times oversampling.
    double truePeak = 0.0;
};

/// The value a silent signal measures as.
constexpr double silent = -144.0;

Measurement measure(const Audio& audio);

/// A mono effect as the mixer plays it: the same samples on both speakers.
Audio bothSpeakers(const std::vector<float>& mono, int sampleRate);

/// The K-weighted power of each channel, summed with the channels' weights, frame by frame.
std::vector<double> weightedPower(const Audio& audio);

/// Loudness of a stretch of summed K-weighted power, in LUFS.
double loudnessOf(double meanPower);

/// 400 ms momentary loudness every `stepSeconds`, window starting at each step.
std::vector<double> momentarySeries(const std::vector<double>& power, int sampleRate, double stepSeconds);

/// What a seam in a recording looks like from around `atSeconds`: the longest run of digital
/// silence (every channel exactly zero), the largest jump between two neighbouring samples, and
/// the 100 ms loudness just before and just after.
struct Seam {
    double longestSilenceMs = 0.0;
    double largestStep = 0.0;
    double loudnessBefore = 0.0;
    double loudnessAfter = 0.0;
};
Seam seamAround(const Audio& audio, double atSeconds, double halfWidthSeconds);

/// The longest run of digital silence anywhere in the recording, in ms, and the largest jump
/// between neighbouring samples that 99.9 % of the recording stays under.
double longestSilenceMs(const Audio& audio, std::size_t fromFrame, std::size_t toFrame);
double typicalLargestStep(const Audio& audio);

/// Reads a RIFF wave file of 16-bit PCM or 32-bit float samples; throws with the reason.
Audio readWave(const std::string& path);
/// Reads headerless 16-bit native-order samples (what SDL's disk driver writes).
Audio readRaw16(const std::string& path, int channels, int sampleRate);

} // namespace poronpa::loudness
