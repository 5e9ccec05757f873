#pragma once
// The result of a rated game applied to the roll: both ratings move by the
// formula of roll.h and the ratings go back to "points.dat".

#include <optional>

#include "game/core.h"
#include "game/end_of_game.h"

namespace players {

// Called once per rated game, by the end of the game while the rated flag
// is still 1. Uses the ratings and line numbers the match page set up; a
// negative line ("Inconnu", a name not on the roll) stores nothing. Nothing
// happens (and nothing is returned) for a game without a result.
std::optional<RatingChange> recordRatedResult(game::Core& core, game::GameResult result);

}  // namespace players
