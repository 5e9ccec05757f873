#pragma once
// A second, deliberately plain statement of the capture rules, written on
// (row, file) coordinates with an explicit set of taken pieces, to check the
// real generator against. Slow and simple on purpose.

#include <set>
#include <string>
#include <vector>

#include "rules/board.h"
#include "rules/movegen.h"

namespace testsupport {

// A move as text, the way tavolex-cli prints it.
std::set<std::string> referenceMoves(const rules::Board& board, rules::Side side);
std::multiset<std::string> generatedMoves(rules::RulesState& r, rules::Side side);
std::vector<std::string> generatedMoveOrder(rules::RulesState& r, rules::Side side);

// Perft through the reference generator (applying moves by their text-free
// description), for small depths.
std::uint64_t referencePerft(const rules::Board& board, rules::Side side, int depth);

// A random position: up to `maxPerSide` pieces a side, kings with the given
// chance, men never standing on their own far row.
rules::Board randomPosition(unsigned& seed, int maxPerSide, int kingPercent);

}  // namespace testsupport
