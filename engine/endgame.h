#pragma once
// What the search asks of the endgame databases. Until they are built no one
// installs them and every probe finds nothing.

#include <optional>

#include "rules/board.h"

namespace engine {

class EndgameDatabases {
public:
    virtual ~EndgameDatabases() = default;
    // The value of a position of at most four pieces for the side to move:
    // 0 drawn, 32000 - distance - ply when it wins, the negation when it
    // loses; nothing when no table covers the material.
    virtual std::optional<int> probe(const rules::Board& board, int sideToMove, int ply) = 0;
    // Kings against men: true when `strong`, which has a king while the other
    // side has none and fewer than seven men, wins by force.
    virtual bool kingsAgainstMenWin(const rules::Board& board, int strong) = 0;
};

}  // namespace engine
