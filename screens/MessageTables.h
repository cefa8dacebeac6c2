#pragma once

#include "play/PlayNumbers.h"

#include <array>
#include <string>

namespace poronpa {

/// The game's fixed texts (UTF-8), indexed as everywhere else in the game.
namespace texts {

inline const std::string ApplicationTitle = "ポロンパ　ぽぷらん";
constexpr int VersionMajor = 0;
constexpr int VersionMinor = 94;
constexpr int VersionRevision = 7;

/// The game window's caption: title, " Ver ", major, ".", minor.
std::string windowCaption();

/// Item names and descriptions; index 10 exists and stays empty.
extern const std::array<std::string, 11> ItemName;
extern const std::array<std::string, 11> ItemText;

/// The comic phrases of the mishap scene.
extern const std::array<std::string, play::MissPhraseCount> MissPhrases;

/// Captions of the options screen's seven labels.
extern const std::array<std::string, 7> OptionCaptions;

/// Second pages of the memos 101..106 (index 0 is memo 101).
extern const std::array<std::string, 6> MemoTexts;

/// What the player is told when a save or a load failed, and why.
std::string saveFailedText(const std::string& reason);
std::string loadFailedText(const std::string& reason);

} // namespace texts

} // namespace poronpa
