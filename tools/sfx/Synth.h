#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace poronpa::sfx {

constexpr int sampleRate = 44100;

/// A mono signal at the sample rate, samples nominally in -1..1.
using Signal = std::vector<double>;

/// A value that changes over the time in seconds since the start of a sound.
using Curve = std::function<double(double)>;

enum class Wave { Sine, Triangle, Square, Saw };

/// Silence of the given length.
Signal silence(double seconds);

/// An oscillator following a frequency curve (Hz), shaped by an amplitude curve.
Signal tone(double seconds, Wave wave, const Curve& frequency, const Curve& amplitude);

/// White noise from a fixed seed, so every build makes the same file.
Signal noise(double seconds, std::uint32_t seed, const Curve& amplitude);

/// Filters whose cutoff (Hz) may move over time.
Signal lowPass(const Signal& in, const Curve& cutoff);
Signal highPass(const Signal& in, const Curve& cutoff);
/// A resonant band around the centre frequency; q above 1 narrows it.
Signal bandPass(const Signal& in, const Curve& centre, double q);

/// Adds `part` into `into` starting at `at` seconds, growing `into` as needed.
void mixInto(Signal& into, const Signal& part, double at, double gain = 1.0);

/// Struck-metal partials (ratios to the fundamental, each with its own level and decay time).
struct Partial {
    double ratio;
    double level;
    double decay;
};
Signal bell(double seconds, double fundamental, const std::vector<Partial>& partials);

// Envelope shapes.
Curve constant(double value);
/// Rises linearly over `attack`, then falls exponentially with time constant `decay`.
Curve strike(double attack, double decay);
/// Straight line from `from` at time 0 to `to` at `seconds`, held after.
Curve ramp(double from, double to, double seconds);
/// Exponential glide from `from` to `to` over `seconds`, held after.
Curve glide(double from, double to, double seconds);

/// A deterministic pseudo-random sequence in [0, 1).
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
    double next();

private:
    std::uint32_t state_;
};

/// How long an exponential decay with time constant `decay` takes to fall 60 dB, that is to
/// silence: a ring cut off sooner ends in a click.
double ringOut(double decay);

/// Softens the first half millisecond and the last 4 ms against clicks.
Signal finish(Signal signal);

/// Rounds off the loudest moments of a sound against its body, as a driven amplifier does:
/// `drive` 1 leaves it nearly as it was, 3 or 4 brings the body a good deal closer to the peaks.
Signal saturated(Signal signal, double drive);

/// Scales a signal by `gain`.
Signal scaled(Signal signal, double gain);

/// Writes 16-bit mono PCM in a RIFF wave file.
void writeWave(const std::string& path, const Signal& signal);

} // namespace poronpa::sfx
