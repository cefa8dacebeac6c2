#include "Effects.h"

#include "Loudness.h"
#include "audio/AudioFiles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace poronpa::sfx {

namespace {

constexpr double pi = std::numbers::pi;

// Every recipe puts its main hit at the very start, gives short transients a body of a few tens
// of milliseconds in the middle of the range small speakers play, and lasts until its rings
// have decayed to silence. The loudness comes later, from the effect's importance.

/// A menu choice: a short round pip with a soft wooden body under it.
Signal click()
{
    const double decay = 0.03;
    Signal out = tone(ringOut(decay), Wave::Sine, glide(2000.0, 1700.0, 0.03), strike(0.001, decay));
    mixInto(out, tone(ringOut(0.02), Wave::Sine, glide(1000.0, 850.0, 0.03), strike(0.001, 0.02)), 0.0, 0.6);
    mixInto(out, highPass(noise(0.01, 11, strike(0.0003, 0.0015)), constant(3000.0)), 0.0, 0.3);
    return saturated(out, 2.0);
}

/// A light jump: a quick rising chirp that fades as it rises.
Signal jump()
{
    const double decay = 0.045;
    Signal out = tone(ringOut(decay) + 0.01, Wave::Square, glide(320.0, 980.0, 0.13), strike(0.003, decay));
    mixInto(out, tone(ringOut(0.035), Wave::Sine, glide(640.0, 1960.0, 0.13), strike(0.003, 0.035)), 0.0, 0.3);
    return lowPass(out, constant(3500.0));
}

/// A head bump: a dull knock on wood, with the thud under it for weight.
Signal dullBump()
{
    Signal out = tone(ringOut(0.05), Wave::Sine, glide(150.0, 70.0, 0.12), strike(0.002, 0.05));
    // The knock itself sits where a laptop's speakers still play it.
    mixInto(out, tone(ringOut(0.06), Wave::Triangle, glide(720.0, 520.0, 0.05), strike(0.001, 0.06)), 0.0, 1.6);
    mixInto(out, tone(ringOut(0.03), Wave::Sine, glide(1150.0, 830.0, 0.05), strike(0.001, 0.03)), 0.0, 0.6);
    mixInto(out, bandPass(noise(ringOut(0.02), 23, strike(0.0005, 0.02)), constant(1300.0), 2.0), 0.0, 2.0);
    return saturated(out, 3.0);
}

/// Water: a burst of noise falling in pitch, with droplets bubbling up after it.
Signal splash()
{
    const double decay = 0.12;
    Signal out = bandPass(noise(ringOut(decay), 37, strike(0.004, decay)), glide(3200.0, 700.0, 0.5), 1.2);
    Random random(41);
    for (int i = 0; i < 9; ++i) {
        const double at = 0.05 + 0.4 * random.next();
        const double pitch = 700.0 + 1500.0 * random.next();
        mixInto(out, tone(ringOut(0.018), Wave::Sine, glide(pitch, pitch * 1.8, 0.05), strike(0.002, 0.018)), at,
                0.25 * (1.0 - at));
    }
    return out;
}

/// A spring: a boing that leaps up and wobbles as it settles.
Signal springBoing()
{
    const Curve pitch = [](double t) {
        const double base = 180.0 * std::pow(620.0 / 180.0, std::min(t / 0.18, 1.0));
        return base * (1.0 + 0.12 * std::exp(-t / 0.15) * std::sin(2.0 * pi * 22.0 * t));
    };
    const double decay = 0.1;
    Signal out = tone(ringOut(decay), Wave::Triangle, pitch, strike(0.003, decay));
    mixInto(out, tone(ringOut(0.06), Wave::Sine, [&](double t) { return 2.0 * pitch(t); }, strike(0.003, 0.06)), 0.0, 0.3);
    return out;
}

/// A door: the bolt giving way under the key at once, then the key's small clicks.
Signal keyInLock()
{
    Signal out = bell(ringOut(0.07), 700.0, {{1.0, 1.0, 0.07}, {2.3, 0.6, 0.04}, {3.9, 0.4, 0.02}});
    mixInto(out, tone(ringOut(0.05), Wave::Triangle, glide(380.0, 330.0, 0.05), strike(0.001, 0.05)), 0.0, 0.8);
    mixInto(out, lowPass(noise(ringOut(0.015), 61, strike(0.001, 0.015)), constant(1500.0)), 0.0, 1.2);
    const std::vector<Partial> tick{{1.0, 1.0, 0.012}, {1.63, 0.7, 0.009}, {2.51, 0.5, 0.006}};
    mixInto(out, bell(ringOut(0.012), 2300.0, tick), 0.0, 0.5);
    for (const double at : {0.1, 0.17}) {
        mixInto(out, bell(ringOut(0.012), at < 0.15 ? 2600.0 : 2400.0, tick), at, 0.35);
        mixInto(out, highPass(noise(0.01, 53, strike(0.0005, 0.002)), constant(2500.0)), at, 0.25);
    }
    return saturated(out, 3.0);
}

/// Catching fire: a whoosh that flares at once and dies down, with a few crackles.
Signal flameWhoosh()
{
    const double decay = 0.17;
    const Curve flare = strike(0.012, decay);
    const Curve cutoff = [](double t) { return 600.0 + 2800.0 * std::exp(-t / 0.35); };
    Signal out = lowPass(lowPass(noise(ringOut(decay), 71, flare), cutoff), cutoff);
    mixInto(out, highPass(noise(0.006, 79, strike(0.0003, 0.0015)), constant(1500.0)), 0.0, 0.25);
    Random random(73);
    for (int i = 0; i < 14; ++i) {
        const double at = 0.02 + 0.6 * random.next() * random.next();
        mixInto(out, highPass(noise(0.004, 80 + static_cast<std::uint32_t>(i), strike(0.0003, 0.001)), constant(2000.0)),
                at, (0.2 + 0.2 * random.next()) * std::exp(-at / 0.3));
    }
    return saturated(out, 2.0);
}

/// Spikes: a stab that lands at once, with the swish of the point after it.
Signal stab()
{
    Signal out = tone(ringOut(0.05), Wave::Sine, glide(240.0, 90.0, 0.1), strike(0.001, 0.05));
    mixInto(out, bandPass(noise(ringOut(0.08), 97, strike(0.001, 0.08)), constant(1100.0), 3.0), 0.0, 1.5);
    mixInto(out, tone(ringOut(0.04), Wave::Square, glide(900.0, 400.0, 0.06), strike(0.001, 0.04)), 0.0, 0.4);
    mixInto(out, bandPass(noise(ringOut(0.03), 89, strike(0.002, 0.03)), glide(5000.0, 2000.0, 0.06), 2.0), 0.0, 0.6);
    return saturated(out, 3.0);
}

/// The world switch: a mechanical clack and the lighter click of it settling.
Signal switchClack()
{
    Signal out = bell(ringOut(0.035), 1200.0, {{1.0, 1.0, 0.035}, {2.2, 0.5, 0.02}});
    mixInto(out, tone(ringOut(0.03), Wave::Triangle, glide(640.0, 560.0, 0.03), strike(0.001, 0.03)), 0.0, 0.9);
    mixInto(out, lowPass(noise(0.02, 103, strike(0.0005, 0.004)), constant(2500.0)), 0.0, 0.9);
    mixInto(out, tone(ringOut(0.03), Wave::Square, constant(880.0), strike(0.002, 0.03)), 0.0, 0.15);
    Signal click = bell(ringOut(0.012), 3100.0, {{1.0, 1.0, 0.012}, {1.5, 0.6, 0.008}});
    mixInto(click, highPass(noise(0.008, 101, strike(0.0003, 0.0015)), constant(3000.0)), 0.0, 0.8);
    mixInto(out, click, 0.07, 0.5);
    return saturated(out, 3.0);
}

/// Falling out of the world: a long descending whistle that fades out as it falls.
Signal fallingWhistle()
{
    const Curve pitch = [](double t) {
        return 1900.0 * std::pow(280.0 / 1900.0, std::min(t / 1.2, 1.0)) * (1.0 + 0.012 * std::sin(2.0 * pi * 6.0 * t));
    };
    const Curve level = [](double t) {
        return std::min(1.0, t / 0.01) * (t < 0.8 ? 1.0 : 0.5 + 0.5 * std::cos(pi * std::min(1.0, (t - 0.8) / 0.5)));
    };
    Signal out = tone(1.3, Wave::Sine, pitch, level);
    mixInto(out, tone(1.3, Wave::Triangle, pitch, level), 0.0, 0.15);
    mixInto(out, bandPass(noise(1.3, 107, level), pitch, 8.0), 0.0, 0.3);
    return out;
}

/// A treasure: a bright chord struck at once, its notes climbing after it, ringing out.
Signal itemFanfare()
{
    const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
    const double decay = 0.2;
    const auto note = [&](double frequency, double length) {
        const Curve vibrato = [frequency](double t) { return frequency * (1.0 + 0.006 * std::sin(2.0 * pi * 5.5 * t)); };
        Signal sound = tone(length, Wave::Square, vibrato, strike(0.003, decay));
        mixInto(sound, tone(length, Wave::Triangle, constant(frequency / 2.0), strike(0.003, decay * 1.3)), 0.0, 1.2);
        return sound;
    };
    Signal out;
    for (double f : notes)
        mixInto(out, note(f, ringOut(decay * 1.3)), 0.0, 0.16);
    for (int i = 0; i < 4; ++i)
        mixInto(out, note(notes[i], ringOut(decay * 1.3)), 0.08 + 0.075 * i, 0.22);
    mixInto(out, bell(ringOut(0.25), 4186.0, {{1.0, 1.0, 0.25}, {1.5, 0.4, 0.15}}), 0.38, 0.1);
    return lowPass(out, constant(7000.0));
}

/// A memo: a soft two-note chime that rings away.
Signal memoChime()
{
    const std::vector<Partial> chime{{1.0, 1.0, 0.24}, {2.0, 0.35, 0.16}, {2.76, 0.2, 0.1}, {5.4, 0.08, 0.05}};
    Signal out = bell(ringOut(0.24), 784.0, chime);
    mixInto(out, bell(ringOut(0.24), 1174.7, chime), 0.18, 0.6);
    return out;
}

/// Nothing inside: a flat double buzz, nasal enough to be heard on small speakers.
Signal dudBuzz()
{
    const auto buzz = [](double held, double from, double to) {
        const double release = 0.012;
        const Curve level = [held, release](double t) {
            return std::min(1.0, t / 0.004) * (t < held ? 1.0 : std::exp(-(t - held) / release));
        };
        Signal raw = tone(held + ringOut(release), Wave::Saw, glide(from, to, held), level);
        Signal out = lowPass(raw, constant(1400.0));
        mixInto(out, bandPass(raw, constant(850.0), 3.0), 0.0, 0.8);
        return out;
    };
    Signal out = buzz(0.12, 150.0, 144.0);
    mixInto(out, buzz(0.26, 144.0, 118.0), 0.18, 0.85);
    return out;
}

/// The rope: the claw biting with a crack, then the rope's swish as it draws tight.
Signal ropeWhip()
{
    Signal out = highPass(noise(ringOut(0.008), 127, strike(0.0003, 0.008)), constant(1200.0));
    mixInto(out, tone(ringOut(0.02), Wave::Sine, glide(1800.0, 900.0, 0.04), strike(0.0005, 0.02)), 0.0, 0.5);
    mixInto(out, bell(ringOut(0.05), 2500.0, {{1.0, 1.0, 0.05}, {2.7, 0.4, 0.025}}), 0.0, 0.35);
    mixInto(out, bandPass(noise(0.16, 113, [](double t) { return 0.5 * std::sin(pi * t / 0.16); }),
                          glide(4500.0, 800.0, 0.16), 2.5),
            0.02, 0.9);
    return saturated(out, 3.0);
}

/// Glass: a crash and a shower of small bright shards.
Signal glassBreak()
{
    Signal out = highPass(noise(ringOut(0.06), 131, strike(0.001, 0.06)), constant(2500.0));
    Random random(137);
    for (int i = 0; i < 40; ++i) {
        const double at = 0.6 * random.next() * random.next();
        const double pitch = 2200.0 + 4500.0 * random.next();
        const double decay = 0.03 + 0.05 * random.next();
        const std::vector<Partial> shard{{1.0, 1.0, decay}, {1.41, 0.5, 0.02}, {2.23, 0.3, 0.015}};
        mixInto(out, bell(ringOut(decay), pitch, shard), at, 0.35 * (1.0 - at));
    }
    return out;
}

} // namespace

const std::vector<Effect>& gameEffects()
{
    using enum Importance;
    static const std::vector<Effect> effects{
        {sounds::Click, click, Feedback},           {sounds::Jump, jump, Feedback},
        {sounds::HeadBump, dullBump, Feedback},     {sounds::Splash, splash, Feedback},
        {sounds::Spring, springBoing, Feedback},    {sounds::Door, keyInLock, WorldEvent},
        {sounds::Burn, flameWhoosh, Mishap},        {sounds::Spikes, stab, Mishap},
        {sounds::Switch, switchClack, WorldEvent},  {sounds::FellOut, fallingWhistle, Mishap},
        {sounds::Item, itemFanfare, Reward},        {sounds::Memo, memoChime, Reward},
        {sounds::Nothing, dudBuzz, Mishap},         {sounds::RopeHooked, ropeWhip, Feedback},
        {sounds::Glass, glassBreak, WorldEvent},
    };
    return effects;
}

std::string fileName(const Effect& effect)
{
    return std::string(fileOf(EffectFiles, effect.sound));
}

double loudnessTarget(Importance importance)
{
    // The tunes play at about -19 LUFS: the moves sit just over them, rewards well over.
    switch (importance) {
    case Importance::Feedback:
        return -17.0;
    case Importance::WorldEvent:
        return -15.0;
    case Importance::Mishap:
        return -14.0;
    case Importance::Reward:
        return -12.0;
    }
    return -17.0;
}

Rendered render(const Effect& effect)
{
    const Signal made = finish(effect.make());
    const auto measureAt = [](const Signal& signal) {
        return loudness::measure(loudness::bothSpeakers(std::vector<float>(signal.begin(), signal.end()), sampleRate));
    };
    const loudness::Measurement raw = measureAt(made);
    double gainDb = loudnessTarget(effect.importance) - raw.momentaryMax;
    gainDb = std::min(gainDb, peakCeiling - raw.truePeak);
    Signal signal = scaled(made, std::pow(10.0, gainDb / 20.0));
    return {std::move(signal), raw.momentaryMax + gainDb, raw.truePeak + gainDb};
}

} // namespace poronpa::sfx
