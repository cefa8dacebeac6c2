#pragma once

namespace poronpa {

/// The sound effects by number; audio/AudioFiles.h gives each its file.
namespace sounds {
constexpr int Click = 1; ///< menu choices, the dialog's OK, a save
constexpr int Jump = 2;
constexpr int HeadBump = 3;
constexpr int Splash = 4;
constexpr int Spring = 5;
constexpr int Door = 6;
constexpr int Burn = 7;
constexpr int Spikes = 8;
constexpr int Switch = 9;
constexpr int FellOut = 10;
constexpr int Item = 11;
constexpr int Memo = 12;
constexpr int Nothing = 13; ///< an empty box or the missing offerings
constexpr int RopeHooked = 14;
constexpr int Glass = 15;
} // namespace sounds

/// The tunes by number; audio/AudioFiles.h gives each its file.
namespace tunes {
constexpr int Title = 1;
constexpr int Field = 2;
constexpr int Sky = 3;
constexpr int Ending = 4;
} // namespace tunes

} // namespace poronpa
