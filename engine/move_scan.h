#pragma once
// What a side can do in a position, found on square sets without listing
// moves: the search asks this at its horizon, where most nodes are, to tell
// a quiet leaf (valued at once) from a position where a capture must be
// played out.

#include "eval/masks.h"
#include "rules/board.h"

namespace engine {

enum class MovesOnBoard {
    Capture,     // the side must take
    QuietOnly,   // it has moves, none of them a capture
    None,        // it cannot move: it has lost
};

MovesOnBoard movesOnBoard(const eval::BoardMasks& m, rules::Side side);
inline MovesOnBoard movesOnBoard(const rules::Board& board, rules::Side side) {
    return movesOnBoard(eval::boardMasks(board), side);
}

}  // namespace engine
