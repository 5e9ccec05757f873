#pragma once
// The static evaluation: a position's worth in 1/200 of a man for the side
// named by the caller. Material, a clamped group of small positional terms,
// men near promotion, known shots in positions without kings, and a few
// endgame corrections.

#include "eval/eval_state.h"
#include "rules/board.h"

namespace eval {

// Each term's share of one evaluation, for display and tests. Terms that did
// not run are zero.
struct EvalTrace {
    int kingValue = 0;
    int material = 0;
    bool earlyExit = false;      // answered from material alone
    int longDiagonal = 0;
    int breakthrough = 0;
    int positional = 0;
    int tempo = 0;               // weight x rows of advance
    int centreAndWings = 0;      // centre sums and wing spread (before the positional clamp)
    int groupClamp = 0;          // what the positional clamp (±45) took off
    int wingBalance = 0;
    int shot = 0;
    int structure = 0;
    int manSafety = 0;
    int lastMove = 0;
    int finalClamp = 0;          // what the final clamp (±170) took off
    int kingsAndTempo = 0;       // one man each, kings two against one
    int rootMove = 0;            // the line opened by a man, in the endgame
    int endgame = 0;             // three kings, or four kings against two
    int quarter = 0;             // what dividing by four took off
    int total = 0;
};

// The evaluation of the working board for `side`, which must be the side
// the accumulators were built for (the search's root side). alpha and beta
// are the search's bounds from the same view: a position whose material
// alone is 185 or more outside them is answered from material.
Score evaluate(const EvalState& st, const rules::Board& board, rules::Side side, int alpha, int beta);
Score evaluateTraced(const EvalState& st, const rules::Board& board, rules::Side side, int alpha, int beta,
                     EvalTrace& trace);

// The evaluation shown beside the board: recounts the pieces, rebuilds the
// accumulators and king table for `side` and evaluates with the other side to
// move (ply 2). Keeps the phase, flags and man table of the last search.
Score evaluateStatic(EvalState& st, const rules::Board& board, rules::Side side);
Score evaluateStaticTraced(EvalState& st, const rules::Board& board, rules::Side side, EvalTrace& trace);

// Three kings of `strong` against one king and one man: how much the kings'
// files pen the man in. Never negative; the strong side's gain.
int threeKingsTerm(const rules::Board& board, rules::Side strong);

// Men that can be taken at once or stand loose, from `side`'s view, within
// the man-safety clamp of `weights` (60 by default).
int manSafetyTerm(const rules::Board& board, int phase, rules::Side side, const EvalWeights& weights = {});

// True when the side that moves at the evaluated node is White.
inline bool whiteToMove(const EvalState& st, rules::Side side) {
    return (side == rules::White) == (st.currentPly % 2 == 1);
}

}  // namespace eval
