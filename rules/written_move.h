#pragma once
// Moves as people and other programs write them: the start and end squares
// ("c3-d4", "c3xe5"), or the whole route of a capture with every square the
// piece lands on ("d2xh6xf8xc5xa7"). Two captures may start and end on the
// same squares yet take different pieces; only the route tells them apart,
// so it is written whenever another legal move shares start and end.

#include <span>
#include <string>
#include <vector>

#include "rules/movegen.h"

namespace rules {

// True when `written` (from, any landing squares, to) describes `move` on
// `board`, the position before it: each leg runs along one diagonal and
// jumps the move's next taken pieces in order, landing on an empty square.
// Landings where the piece goes straight on may be left out.
bool routeFits(const Board& board, const Move& move, std::span<const Square> written);

enum class WrittenMatch { Found, NotLegal, Ambiguous };
struct WrittenMove {
    WrittenMatch match = WrittenMatch::NotLegal;
    Move move;
};
// The legal move of `side` in the working board that `written` names.
// Several moves fitting it are one answer when they leave the same position
// (the same pieces taken in another order); otherwise the text is ambiguous.
// Overwrites the root list.
WrittenMove findWrittenMove(RulesState& r, Side side, std::span<const Square> written);

// The squares to write for `move` of `side` in the working board: from and
// to, or the whole route when another legal move starts and ends alike.
// Overwrites the root list.
std::vector<Square> squaresToWrite(RulesState& r, Side side, const Move& move);
// Those squares by name, joined by "-" for a plain move and "x" for a capture.
std::string writtenText(std::span<const Square> squares, bool capture);

}  // namespace rules
