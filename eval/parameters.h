#pragma once
// The tunable numbers of the evaluation, all single bytes so that a whole set
// fits the parameter file: eight man tables, three phase thresholds, the
// condition squares that recognise two opening structures, and eight tempo
// weights. Values are in 1/200 of a man.

#include <array>
#include <cstdint>

#include "rules/board.h"

namespace eval {

// A value per square 1..32 in Black's frame: entry q is the value of a black
// man on q and of a white man on 33 - q. Entry 0 is carried, never read.
using SquareTable = std::array<std::uint8_t, rules::NumSquares + 1>;

// The man tables in file order.
enum ManTableIndex : int {
    DefaultOpening,
    DefaultMiddle,
    PreEndgame,
    Endgame,
    Variant1Opening,
    Variant1Middle,
    Variant2Opening,
    Variant2Middle,
    NumManTables
};

// The tempo weights share the man tables' order.
using TempoIndex = ManTableIndex;
constexpr int NumTempoWeights = NumManTables;

constexpr int NumConditionSquares = 7;
using ConditionSquares = std::array<std::int8_t, NumConditionSquares>;

struct EvalParameters {
    std::array<SquareTable, NumManTables> manTables{};
    // Phase thresholds, compared with counts of men (and, for the king's
    // value, of all pieces): opening while more than p1, middle game while
    // more than p2, pre-endgame while more than p3, endgame below.
    std::int8_t p1 = 0, p2 = 0, p3 = 0;
    // Squares that should hold a white / black man for an opening structure
    // to be recognised; a value outside 1..32 never holds.
    ConditionSquares variant1White{}, variant2White{}, variant1Black{}, variant2Black{};
    // Weight per row of advance (own minus opponent), by TempoIndex.
    std::array<std::int8_t, NumTempoWeights> tempoWeights{};

    bool operator==(const EvalParameters&) const = default;
};

// Phases, chosen once per search from the number of men.
constexpr int PhaseOpening = 0;
constexpr int PhaseMiddle = 1;
constexpr int PhasePreEndgame = 2;
constexpr int PhaseEndgame = 3;

struct EvalState;

// The search's root set-up, after the piece counts have been recounted and
// before the accumulators are built: picks the phase and copies the matching
// man table into activeManTable, using the variant flags left by the previous
// search; then, in the opening and middle game only, recognises the variant
// afresh for the evaluation of this search and the table choice of the next.
void selectPhaseAndVariant(EvalState& st, const rules::Board& board);

// The tempo weight for a node with `men` men on the board (kings excluded),
// under the variant flags of the running search.
int tempoWeight(const EvalParameters& p, int men, bool variant1, bool variant2);

}  // namespace eval
