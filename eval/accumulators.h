#pragma once
// The evaluation's accumulators: built from scratch at the root of each
// search, then kept in step by the search's move making, so that evaluating a
// leaf reads sums instead of scanning the board.

#include <array>
#include <cstdint>

#include "eval/eval_state.h"
#include "rules/board.h"
#include "rules/movegen.h"

namespace eval {

// Regions in Black's frame (a white man on q uses entry 33 - q): 1 and 2 are
// the two wings of a side's own half, 3 and 4 the two wings of the far half,
// 0 the far row. A side's region 1 lies on the same wing as the opponent's
// region 4, and its region 2 on the same wing as the opponent's region 3.
inline constexpr std::array<std::uint8_t, rules::NumSquares + 1> RegionOfSquare = {
    0,                      // no square
    1, 1, 2, 2, 1, 1, 2, 2,  // 1..8
    1, 1, 2, 2, 1, 1, 2, 2,  // 9..16
    3, 3, 4, 4, 3, 3, 4, 4,  // 17..24
    3, 3, 4, 4, 0, 0, 0, 0,  // 25..32
};

// Weight of a man's file for the centre sums, files a..h.
inline constexpr std::array<std::int8_t, 8> CentreWeight = {0, 2, 3, 5, 5, 3, 2, 0};

// King table for endings with a few men and several kings: the long diagonal
// a1-h8 is worth most, the double corners nothing.
inline constexpr SquareTable LateKingTable = {
    0, 0, 0, 0, 10, 0, 1, 1, 10, 0, 2, 10, 0, 0, 2, 10, 0, 0, 10, 2, 0, 0, 10, 2, 0, 10, 5, 1, 0, 10, 0, 0, 0,
};

constexpr bool onLongDiagonal(int q) {
    return q == 4 || q == 8 || q == 11 || q == 15 || q == 18 || q == 22 || q == 25 || q == 29;
}

// A man's square in Black's frame, where the man tables and regions are read.
constexpr int blackFrame(rules::PieceCode man, int q) { return man == rules::BlackMan ? q : 33 - q; }
// Rows a man has advanced from its own back row.
constexpr int rowsAdvanced(rules::PieceCode man, int q) {
    return man == rules::BlackMan ? rules::squareRow(q) : 7 - rules::squareRow(q);
}

PieceCount recountPieces(const rules::Board& board);

// Builds kingTable from the piece counts, then positional, tempo, regions and
// centre sums, all from `side`'s view. Reads activeManTable and
// acc.pieceCount, which the caller has set.
void buildAccumulators(EvalState& st, const rules::Board& board, rules::Side side);

// The root set-up of a search: recount, choose phase and table, build the
// accumulators for the root side, and start the line at ply 1.
void prepareSearchRoot(EvalState& st, const rules::Board& board, rules::Side rootSide);

// Incremental upkeep, one call per event of a move, in this order: the
// captured pieces, then the moving piece, then its promotion.
void manMoved(EvalState& st, rules::PieceCode man, rules::Square from, rules::Square to);
void kingMoved(EvalState& st, rules::PieceCode king, rules::Square from, rules::Square to);
void pieceCaptured(EvalState& st, rules::PieceCode code, rules::Square at);
// The man on `at` becomes a king: in positional its man-table value gives way
// to the king table's value of the square, while tempo, its region count and
// its centre sum keep the man's last contribution.
void manPromoted(EvalState& st, rules::PieceCode man, rules::Square at);

// All of a move's events, from the board as it stood before the move; also
// records the move's destination as lastTo. The search's move making calls
// this, then increments currentPly.
void updateForMove(EvalState& st, const rules::Board& before, const rules::Move& move);

}  // namespace eval
