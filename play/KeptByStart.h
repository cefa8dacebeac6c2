#pragma once

#include "play/GameState.h"

#include <tuple>

namespace poronpa {

/// What a start (a new game, or a continued one) leaves as the game before it had it: the frame
/// clock that times the jets, the last conveyor push, the deaths a new game keeps, the random
/// numbers the mishap scenes have drawn, ... Every other field is set afresh by the start
/// (NewGame, placeHeroAfresh and EnterArea in play/WorldEvents.cpp) or is one of SetBeforeRead; a
/// field added to the state belongs to one of the three.
inline constexpr auto KeptByStart = std::make_tuple(&GameState::FrameClock, &GameState::Facing, &GameState::ConveyorPush,
                                                    &GameState::OnSlippery, &GameState::BumpTimer, &GameState::BumpX,
                                                    &GameState::BumpY, &GameState::DeathCount, &GameState::Random);

/// What a start leaves as it was but the game never reads before it sets it anew: where the last
/// splash was (read only while its timer runs, which the start stops), the content of the last
/// box opened, the state before the last frame. Nothing of the game before them shows through.
inline constexpr auto SetBeforeRead =
    std::make_tuple(&GameState::SplashX, &GameState::SplashY, &GameState::BoxContent, &GameState::PrevState);

/// Copies what a start keeps from `from` into `to`.
inline void copyKeptByStart(const GameState& from, GameState& to)
{
    std::apply([&from, &to](auto... field) { ((to.*field = from.*field), ...); }, KeptByStart);
}

} // namespace poronpa
