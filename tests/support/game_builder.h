#pragma once
// Games made for tests: random legal moves played on the game.

#include "game/core.h"

namespace testsupport {

// Plays up to `plies` random legal moves from the current position; returns
// how many were played (fewer when a side runs out of moves).
int playRandomMoves(game::Core& core, int plies, unsigned seed);

}  // namespace testsupport
