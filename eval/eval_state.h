#pragma once
// The evaluation's working state, owned by game::Core: the parameters and
// weights in force with the staging copy of the parameter file, the tables and flags a
// search chooses at its root, the accumulators the search's move making keeps
// in step, and the facts about the search line that the evaluation reads.

#include <array>
#include <cstdint>

#include "eval/eval_weights.h"
#include "eval/parameter_file.h"
#include "eval/parameters.h"
#include "rules/board.h"

namespace eval {

// Scores are in 1/200 of a man (a man is worth 200), from the side the
// evaluation or search was called for. 32000 stands for infinity.
using Score = std::int16_t;
constexpr int Infinity = 32000;

// Number of squares holding each piece code: [0] empty squares, [1] White
// men, [2] White kings, [3] Black men, [4] Black kings.
using PieceCount = std::array<std::int8_t, 5>;

// What a move changes. Counted from the side named by EvalState::viewSide
// ("own"), against the other side ("opponent"). The search takes a move back
// by restoring a saved copy, so this stays a small plain struct.
struct Accumulators {
    // Σ own men's man-table values + Σ own kings' king-table values, minus
    // the same over the opponent's pieces.
    std::int32_t positional = 0;
    // Rows advanced by own men minus rows advanced by opponent men.
    std::int32_t tempo = 0;
    // Men in each region of their own side's frame (see regionOfSquare).
    std::array<std::int8_t, 5> ownRegion{}, oppRegion{};
    // Σ centreWeight over own / opponent men.
    std::int8_t ownCentre = 0, oppCentre = 0;
    PieceCount pieceCount{};

    bool operator==(const Accumulators&) const = default;
};

struct EvalState {
    EvalParameters params;
    // The weights of the terms outside the parameter file.
    EvalWeights weights;
    // Material and nothing else: the yardstick engine matches measure the
    // evaluation against.
    bool materialOnly = false;
    // The last parameter file read or written, reserved bytes included.
    ParameterBlock staging{};

    // Chosen by selectPhaseAndVariant at each search's root and fixed for the
    // whole search, even when captures inside the tree cross a threshold.
    int phase = PhaseOpening;
    bool variant1 = false;   // persist from one search to the next
    bool variant2 = false;
    SquareTable activeManTable{};   // one of params.manTables, Black's frame
    SquareTable kingTable{};        // built with the accumulators

    // The side the accumulators are counted for: the root side of the search.
    rules::Side viewSide = rules::White;
    Accumulators acc;

    // The search line, set by the search. currentPly is 1 at the root and one
    // more per move made down the line: at odd plies the evaluated side is to
    // move, at even plies its opponent. lastTo is the destination of the last
    // move made in the line (0: none). rootMovePiece is the code of the piece
    // making the line's first move.
    int currentPly = 1;
    rules::Square lastTo = 0;
    rules::PieceCode rootMovePiece = rules::Empty;
};

}  // namespace eval
