#pragma once
// The one way a move enters the game, whoever chose it: the person's clicks,
// the engine, a file being replayed, the command line. Everything that
// follows from a move is kept in step here: the position, the side to move,
// the record (cut first when the move is played from an earlier ply), the
// move list, the clocks, and whether the game can go on.

#include <optional>

#include "game/core.h"
#include "game/end_of_game.h"

namespace game {

struct PlayedMove {
    // False when the record can take no further ply: nothing changed, and
    // the game ends drawn.
    bool recorded = false;
    rules::Side mover = rules::White;
    // Legal moves of the side now to move (also kept in legalMoveCount).
    int legalMoves = 0;
    // Set when the game cannot go on after this move: the side to move has
    // no legal move (it has lost), or the record is full (a draw).
    std::optional<EndReason> end;
};

// Plays `move`, one of the legal moves of the side to move in the game
// position, on the game. The working board ends holding the new game
// position.
PlayedMove playMove(Core& core, const rules::Move& move);

}  // namespace game
