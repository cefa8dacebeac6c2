#pragma once

#include "audio/SoundNumbers.h"

#include <array>
#include <string_view>

namespace poronpa {

/// The files of the effects and the tunes, each under the number the game plays it by. This is the
/// one list of them: the loader registers these, the build makes these (audio/CMakeLists.txt reads
/// the entries below, one a line, so keep that shape), and the effect synthesizer writes these.
struct NumberedFile {
    int number;
    std::string_view name;
};

inline constexpr std::array<NumberedFile, 15> EffectFiles{{
    {sounds::Click, "click5.wav"},
    {sounds::Jump, "jump2.wav"},
    {sounds::HeadBump, "dull3.wav"},
    {sounds::Splash, "sprash.wav"},
    {sounds::Spring, "sjump2.wav"},
    {sounds::Door, "key1.wav"},
    {sounds::Burn, "burn2.wav"},
    {sounds::Spikes, "gusa.wav"},
    {sounds::Switch, "ss6.wav"},
    {sounds::FellOut, "fall1.wav"},
    {sounds::Item, "clear5.wav"},
    {sounds::Memo, "ss21.wav"},
    {sounds::Nothing, "sy18.wav"},
    {sounds::RopeHooked, "rope.wav"},
    {sounds::Glass, "break6.wav"},
}};

/// Each tune is compiled from audio/tunes/<name>.score into <name>.mid.
inline constexpr std::array<NumberedFile, 4> TuneFiles{{
    {tunes::Title, "km2.mid"},
    {tunes::Field, "km3.mid"},
    {tunes::Sky, "sky02.mid"},
    {tunes::Ending, "org5.mid"},
}};

/// The file of a number in one of the lists above; empty for a number it does not have.
template <std::size_t N> constexpr std::string_view fileOf(const std::array<NumberedFile, N>& files, int number)
{
    for (const NumberedFile& file : files)
        if (file.number == number)
            return file.name;
    return {};
}

/// Every number from 1 to the list's length has one entry, so the list may be in any order.
template <std::size_t N> constexpr bool numberedOnceEach(const std::array<NumberedFile, N>& files)
{
    for (int number = 1; number <= static_cast<int>(N); ++number) {
        int entries = 0;
        for (const NumberedFile& file : files)
            entries += file.number == number ? 1 : 0;
        if (entries != 1)
            return false;
    }
    return true;
}
static_assert(numberedOnceEach(EffectFiles), "an effect number without a file, or with two");
static_assert(numberedOnceEach(TuneFiles), "a tune number without a file, or with two");

} // namespace poronpa
