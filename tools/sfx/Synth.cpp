#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace poronpa::sfx {

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

std::size_t sampleCount(double seconds)
{
    return static_cast<std::size_t>(std::max(0.0, std::round(seconds * sampleRate)));
}

double timeOf(std::size_t i)
{
    return static_cast<double>(i) / sampleRate;
}

/// One period of the wave at `phase`, built only from the harmonics below the limit so that
/// sweeps up high do not fold back as whistles.
double waveAt(Wave wave, double phase, double frequency)
{
    const double p = phase - std::floor(phase);
    if (wave == Wave::Sine)
        return std::sin(twoPi * p);
    if (wave == Wave::Triangle)
        return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    constexpr double harmonicLimit = 12000.0;
    double sum = 0.0;
    for (int k = 1; k * frequency < harmonicLimit; ++k) {
        if (wave == Wave::Square && k % 2 == 0)
            continue;
        const double sign = wave == Wave::Saw && k % 2 == 0 ? -1.0 : 1.0;
        sum += sign * std::sin(twoPi * k * p) / k;
    }
    return (wave == Wave::Square ? 4.0 : 2.0) / std::numbers::pi * sum;
}

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

Signal silence(double seconds)
{
    return Signal(sampleCount(seconds), 0.0);
}

Signal tone(double seconds, Wave wave, const Curve& frequency, const Curve& amplitude)
{
    Signal out(sampleCount(seconds));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        const double f = frequency(t);
        out[i] = waveAt(wave, phase, f) * amplitude(t);
        phase += f / sampleRate;
    }
    return out;
}

Signal noise(double seconds, std::uint32_t seed, const Curve& amplitude)
{
    Random random(seed);
    Signal out(sampleCount(seconds));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = (2.0 * random.next() - 1.0) * amplitude(timeOf(i));
    return out;
}

Signal lowPass(const Signal& in, const Curve& cutoff)
{
    Signal out(in.size());
    double state = 0.0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const double k = 1.0 - std::exp(-twoPi * std::max(1.0, cutoff(timeOf(i))) / sampleRate);
        state += k * (in[i] - state);
        out[i] = state;
    }
    return out;
}

Signal highPass(const Signal& in, const Curve& cutoff)
{
    const Signal low = lowPass(in, cutoff);
    Signal out(in.size());
    for (std::size_t i = 0; i < in.size(); ++i)
        out[i] = in[i] - low[i];
    return out;
}

Signal bandPass(const Signal& in, const Curve& centre, double q)
{
    // Chamberlin state-variable filter; stable while the centre stays well below a sixth of
    // the sample rate, which every sound here respects.
    Signal out(in.size());
    double low = 0.0;
    double band = 0.0;
    const double damping = 1.0 / q;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const double f = 2.0 * std::sin(std::numbers::pi * std::min(centre(timeOf(i)), 7000.0) / sampleRate);
        low += f * band;
        const double high = in[i] - low - damping * band;
        band += f * high;
        out[i] = band;
    }
    return out;
}

void mixInto(Signal& into, const Signal& part, double at, double gain)
{
    const std::size_t start = sampleCount(at);
    if (into.size() < start + part.size())
        into.resize(start + part.size(), 0.0);
    for (std::size_t i = 0; i < part.size(); ++i)
        into[start + i] += gain * part[i];
}

Signal bell(double seconds, double fundamental, const std::vector<Partial>& partials)
{
    Signal out = silence(seconds);
    for (const Partial& p : partials)
        mixInto(out, tone(seconds, Wave::Sine, constant(fundamental * p.ratio), strike(0.002, p.decay)), 0.0, p.level);
    return out;
}

Curve constant(double value)
{
    return [value](double) { return value; };
}

Curve strike(double attack, double decay)
{
    return [attack, decay](double t) {
        if (t < attack)
            return t / attack;
        return std::exp(-(t - attack) / decay);
    };
}

Curve ramp(double from, double to, double seconds)
{
    return [from, to, seconds](double t) { return t >= seconds ? to : from + (to - from) * t / seconds; };
}

Curve glide(double from, double to, double seconds)
{
    return [from, to, seconds](double t) {
        return t >= seconds ? to : from * std::pow(to / from, t / seconds);
    };
}

double Random::next()
{
    // xorshift32: the same numbers on every platform and compiler.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 4294967296.0;
}

double ringOut(double decay)
{
    return decay * std::log(1000.0);
}

Signal finish(Signal signal)
{
    const std::size_t fade = std::min<std::size_t>(signal.size() / 2, sampleCount(0.004));
    for (std::size_t i = 0; i < fade; ++i) {
        const double g = static_cast<double>(i) / static_cast<double>(fade);
        signal[signal.size() - 1 - i] *= g;
    }
    const std::size_t rise = std::min<std::size_t>(signal.size() / 2, sampleCount(0.0005));
    for (std::size_t i = 0; i < rise; ++i)
        signal[i] *= static_cast<double>(i) / static_cast<double>(rise);
    return signal;
}

Signal saturated(Signal signal, double drive)
{
    double highest = 0.0;
    for (double s : signal)
        highest = std::max(highest, std::abs(s));
    if (highest == 0.0)
        return signal;
    for (double& s : signal)
        s = highest * std::tanh(drive * s / highest) / std::tanh(drive);
    return signal;
}

Signal scaled(Signal signal, double gain)
{
    for (double& s : signal)
        s *= gain;
    return signal;
}

void writeWave(const std::string& path, const Signal& signal)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto dataBytes = static_cast<std::uint32_t>(signal.size() * 2);
    out.write("RIFF", 4);
    putLittleEndian(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, 1, 2); // mono
    putLittleEndian(out, sampleRate, 4);
    putLittleEndian(out, sampleRate * 2, 4);
    putLittleEndian(out, 2, 2);
    putLittleEndian(out, 16, 2);
    out.write("data", 4);
    putLittleEndian(out, dataBytes, 4);
    for (double s : signal) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
        putLittleEndian(out, static_cast<std::uint16_t>(value), 2);
    }
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace poronpa::sfx
