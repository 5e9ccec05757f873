#pragma once
// The evaluation's catalogues of hand-written rules over fixed squares. Each
// is worked out from White's view and negated when `side` is Black; each
// reads the board, the piece counts, the phase and who is to move.

#include "eval/eval_state.h"
#include "eval/masks.h"
#include "rules/board.h"

namespace eval {

// Men one to four rows from promotion and their free paths; -187..187.
int breakthroughTerm(const EvalState& st, const rules::Board& board, rules::Side side);
// The breakthrough sum t (White's view) turned into the term: doubled,
// clamped (±125 by default), half as much again in favour of the side to
// move (by default).
int finishBreakthrough(int t, bool whiteToMove, rules::Side side, const EvalWeights& weights = {});

// Formations of men rewarded and charged; -70..70.
int structureTerm(const EvalState& st, const rules::Board& board, rules::Side side);

// Known combinations for the side to move in positions of men only: 0, or
// ±80, ±120, ±180 (the shot weights) when an entry of the side to move's catalogue matches.
int shotTerm(const EvalState& st, const rules::Board& board, rules::Side side);

// Which entry decided: index into the side to move's catalogue, or -1.
struct ShotMatch {
    int entry = -1;
    int value = 0;   // 80, 120 or 180, in the side to move's favour
};
ShotMatch findShot(const rules::Board& board, bool whiteToMove);
int shotCatalogueSize();

// The same terms from masks the caller has built (and turned) once for the
// position.
int breakthroughTermFromMasks(const EvalState& st, const rules::Board& board, const BoardMasks& m,
                              const TurnedMasks& turned, rules::Side side);
int structureTermFromMasks(const EvalState& st, const BoardMasks& m, rules::Side side);
int shotTermFromMasks(const EvalState& st, const BoardMasks& m, const TurnedMasks& turned, rules::Side side);
ShotMatch findShotFromMasks(const BoardMasks& m, const TurnedMasks& turned, bool whiteToMove);

}  // namespace eval
