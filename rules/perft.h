#pragma once
// Counting the leaves of the move tree: the generator's correctness check
// and its speed measure.

#include <cstdint>
#include <string>
#include <vector>

#include "rules/movegen.h"

namespace rules {

// Leaves `depth` plies below the working board, `side` to move. Leaf moves
// are counted, not made. Depth must stay below MaxPly.
std::uint64_t perft(RulesState& r, Side side, int depth);

struct DivideEntry {
    Move move;
    std::uint64_t nodes = 0;
};
// perft of each root move in generation order.
std::vector<DivideEntry> perftDivide(RulesState& r, Side side, int depth);

// "c3-d4", or for a capture "c3xe5 [d4]" with the taken squares' names in
// jump order, separated by commas.
std::string moveText(const Move& m);

}  // namespace rules
