#include "Effects.h"

#include <cmath>
#include <numbers>

namespace poronpa::sfx {

namespace {

/// A menu choice: a short round pip over a tiny tick.
Signal click()
{
    Signal out = tone(0.09, Wave::Sine, glide(2100.0, 1700.0, 0.03), strike(0.001, 0.018));
    mixInto(out, highPass(noise(0.006, 11, strike(0.0003, 0.0015)), constant(3000.0)), 0.0, 0.5);
    mixInto(out, tone(0.05, Wave::Sine, constant(3400.0), strike(0.001, 0.008)), 0.0, 0.25);
    return finish(out, 0.55);
}

/// A light jump: a quick rising chirp.
Signal jump()
{
    Signal out = tone(0.2, Wave::Square, glide(320.0, 980.0, 0.13), strike(0.004, 0.07));
    mixInto(out, tone(0.2, Wave::Sine, glide(640.0, 1960.0, 0.13), strike(0.004, 0.05)), 0.0, 0.3);
    return finish(lowPass(out, constant(3500.0)), 0.5);
}

/// A head bump: a low, dull thud.
Signal dullBump()
{
    Signal out = tone(0.28, Wave::Sine, glide(150.0, 55.0, 0.16), strike(0.002, 0.07));
    mixInto(out, tone(0.1, Wave::Triangle, glide(300.0, 120.0, 0.05), strike(0.001, 0.02)), 0.0, 0.4);
    mixInto(out, lowPass(noise(0.06, 23, strike(0.001, 0.012)), constant(600.0)), 0.0, 1.5);
    return finish(out, 0.75);
}

/// Water: a burst of noise falling in pitch, with droplets bubbling up after it.
Signal splash()
{
    Signal out = bandPass(noise(0.7, 37, strike(0.008, 0.16)), glide(3200.0, 700.0, 0.5), 1.2);
    Random random(41);
    for (int i = 0; i < 9; ++i) {
        const double at = 0.06 + 0.5 * random.next();
        const double pitch = 700.0 + 1500.0 * random.next();
        mixInto(out, tone(0.06, Wave::Sine, glide(pitch, pitch * 1.8, 0.05), strike(0.002, 0.018)), at,
                0.25 * (1.0 - at));
    }
    return finish(out, 0.6);
}

/// A spring: a rising boing that wobbles as it settles.
Signal springBoing()
{
    const Curve pitch = [](double t) {
        const double base = 180.0 * std::pow(620.0 / 180.0, std::min(t / 0.18, 1.0));
        return base * (1.0 + 0.12 * std::exp(-t / 0.15) * std::sin(2.0 * std::numbers::pi * 22.0 * t));
    };
    Signal out = tone(0.5, Wave::Triangle, pitch, strike(0.003, 0.14));
    mixInto(out, tone(0.5, Wave::Sine, [&](double t) { return 2.0 * pitch(t); }, strike(0.003, 0.08)), 0.0, 0.3);
    return finish(out, 0.55);
}

/// A key turning in a lock: two small metallic clicks, then the bolt giving way.
Signal keyInLock()
{
    const std::vector<Partial> tick{{1.0, 1.0, 0.012}, {1.63, 0.7, 0.009}, {2.51, 0.5, 0.006}};
    Signal out = bell(0.05, 2300.0, tick);
    mixInto(out, highPass(noise(0.01, 53, strike(0.0005, 0.002)), constant(2500.0)), 0.0, 0.6);
    mixInto(out, bell(0.05, 2600.0, tick), 0.11, 0.8);
    mixInto(out, highPass(noise(0.01, 59, strike(0.0005, 0.002)), constant(2500.0)), 0.11, 0.5);
    Signal bolt = bell(0.16, 700.0, {{1.0, 1.0, 0.04}, {2.3, 0.6, 0.025}, {3.9, 0.4, 0.015}});
    mixInto(bolt, lowPass(noise(0.05, 61, strike(0.001, 0.01)), constant(1500.0)), 0.0, 1.2);
    mixInto(out, bolt, 0.24, 1.0);
    return finish(out, 0.6);
}

/// Catching fire: a swelling whoosh with a few crackles.
Signal flameWhoosh()
{
    const Curve swell = [](double t) { return t < 0.22 ? t / 0.22 : std::exp(-(t - 0.22) / 0.2); };
    const Curve cutoff = [](double t) { return t < 0.22 ? 400.0 + 2600.0 * t / 0.22 : 3000.0 * std::exp(-(t - 0.22) / 0.4); };
    Signal out = lowPass(lowPass(noise(0.9, 71, swell), cutoff), cutoff);
    Random random(73);
    for (int i = 0; i < 14; ++i) {
        const double at = 0.05 + 0.7 * random.next();
        mixInto(out, highPass(noise(0.004, 80 + static_cast<std::uint32_t>(i), strike(0.0003, 0.001)), constant(2000.0)),
                at, 0.2 + 0.2 * random.next());
    }
    return finish(out, 0.6);
}

/// Spikes: a sharp swish ending in a stab.
Signal stab()
{
    Signal out = bandPass(noise(0.05, 89, ramp(0.2, 1.0, 0.05)), glide(1500.0, 5000.0, 0.05), 2.0);
    Signal hit = tone(0.22, Wave::Sine, glide(240.0, 70.0, 0.12), strike(0.001, 0.05));
    mixInto(hit, bandPass(noise(0.12, 97, strike(0.001, 0.03)), constant(1100.0), 3.0), 0.0, 1.5);
    mixInto(hit, tone(0.08, Wave::Square, glide(900.0, 400.0, 0.06), strike(0.001, 0.015)), 0.0, 0.3);
    mixInto(out, hit, 0.045);
    return finish(out, 0.7);
}

/// The world switch: a mechanical click-clack.
Signal switchClack()
{
    Signal out = bell(0.04, 3100.0, {{1.0, 1.0, 0.006}, {1.5, 0.6, 0.004}});
    mixInto(out, highPass(noise(0.008, 101, strike(0.0003, 0.0015)), constant(3000.0)), 0.0, 0.8);
    Signal clack = bell(0.08, 1200.0, {{1.0, 1.0, 0.015}, {2.2, 0.5, 0.008}});
    mixInto(clack, lowPass(noise(0.02, 103, strike(0.0005, 0.004)), constant(2500.0)), 0.0, 0.9);
    mixInto(out, clack, 0.065);
    mixInto(out, tone(0.08, Wave::Square, constant(880.0), strike(0.002, 0.02)), 0.065, 0.12);
    return finish(out, 0.55);
}

/// Falling out of the world: a long descending whistle.
Signal fallingWhistle()
{
    const Curve pitch = [](double t) {
        return 1900.0 * std::pow(280.0 / 1900.0, std::min(t / 1.2, 1.0)) * (1.0 + 0.012 * std::sin(2.0 * std::numbers::pi * 6.0 * t));
    };
    const Curve level = [](double t) { return std::min(1.0, t / 0.03) * (t < 0.9 ? 1.0 : std::max(0.0, 1.0 - (t - 0.9) / 0.4)); };
    Signal out = tone(1.3, Wave::Sine, pitch, level);
    mixInto(out, tone(1.3, Wave::Triangle, pitch, level), 0.0, 0.15);
    mixInto(out, bandPass(noise(1.3, 107, level), pitch, 8.0), 0.0, 0.3);
    return finish(out, 0.5);
}

/// A treasure: a bright rising arpeggio that rings out as a chord.
Signal itemFanfare()
{
    Signal out;
    const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
    for (int i = 0; i < 4; ++i) {
        const double at = 0.075 * i;
        const double hold = i == 3 ? 0.9 : 0.9 - at;
        const Curve vibrato = [f = notes[i]](double t) { return f * (1.0 + 0.006 * std::sin(2.0 * std::numbers::pi * 5.5 * t)); };
        mixInto(out, tone(hold, Wave::Square, vibrato, strike(0.004, 0.35)), at, 0.35);
        mixInto(out, tone(hold, Wave::Triangle, [f = notes[i]](double) { return f / 2.0; }, strike(0.004, 0.45)), at, 0.4);
    }
    mixInto(out, bell(1.0, 4186.0, {{1.0, 1.0, 0.25}, {1.5, 0.4, 0.15}}), 0.3, 0.12);
    return finish(lowPass(out, constant(7000.0)), 0.6);
}

/// A memo: a soft two-note chime.
Signal memoChime()
{
    const std::vector<Partial> chime{{1.0, 1.0, 0.45}, {2.0, 0.35, 0.25}, {2.76, 0.2, 0.15}, {5.4, 0.08, 0.06}};
    Signal out = bell(1.0, 784.0, chime);
    mixInto(out, bell(1.1, 1174.7, chime), 0.18, 0.9);
    return finish(out, 0.55);
}

/// Nothing inside: a low, flat double buzz.
Signal dudBuzz()
{
    Signal out = tone(0.13, Wave::Saw, glide(118.0, 112.0, 0.13), [](double t) { return t < 0.11 ? 1.0 : 0.0; });
    mixInto(out, tone(0.3, Wave::Saw, glide(112.0, 92.0, 0.3), [](double t) { return t < 0.25 ? 1.0 : std::max(0.0, 1.0 - (t - 0.25) / 0.05); }), 0.17);
    return finish(lowPass(out, constant(1400.0)), 0.45);
}

/// The rope: a swish that ends in the whip's crack.
Signal ropeWhip()
{
    Signal out = bandPass(noise(0.14, 113, ramp(0.1, 1.0, 0.13)), glide(500.0, 4500.0, 0.13), 2.5);
    Signal crack = highPass(noise(0.03, 127, strike(0.0003, 0.004)), constant(1200.0));
    mixInto(crack, tone(0.05, Wave::Sine, glide(1800.0, 900.0, 0.04), strike(0.0005, 0.01)), 0.0, 0.4);
    mixInto(out, crack, 0.13, 1.6);
    return finish(out, 0.65);
}

/// Glass: a crash and a shower of small bright shards.
Signal glassBreak()
{
    Signal out = highPass(noise(0.35, 131, strike(0.001, 0.06)), constant(2500.0));
    Random random(137);
    for (int i = 0; i < 40; ++i) {
        const double at = 0.6 * random.next() * random.next();
        const double pitch = 2200.0 + 4500.0 * random.next();
        const std::vector<Partial> shard{{1.0, 1.0, 0.03 + 0.05 * random.next()}, {1.41, 0.5, 0.02}, {2.23, 0.3, 0.015}};
        mixInto(out, bell(0.15, pitch, shard), at, 0.35 * (1.0 - at));
    }
    return finish(out, 0.6);
}

} // namespace

const std::vector<Effect>& gameEffects()
{
    static const std::vector<Effect> effects{
        {"click5.wav", click},          {"jump2.wav", jump},         {"dull3.wav", dullBump},
        {"sprash.wav", splash},         {"sjump2.wav", springBoing}, {"key1.wav", keyInLock},
        {"burn2.wav", flameWhoosh},     {"gusa.wav", stab},          {"ss6.wav", switchClack},
        {"fall1.wav", fallingWhistle},  {"clear5.wav", itemFanfare}, {"ss21.wav", memoChime},
        {"sy18.wav", dudBuzz},          {"rope.wav", ropeWhip},      {"break6.wav", glassBreak},
    };
    return effects;
}

} // namespace poronpa::sfx
