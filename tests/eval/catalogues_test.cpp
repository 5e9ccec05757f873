// Breakthrough and structure catalogues: the finishing arithmetic, rules
// worked out on positions, and the mirrored pairs.

#include <gtest/gtest.h>

#include "eval/catalogues.h"
#include "eval_support.h"

namespace {

using evaltest::board;

struct FinishCase {
    int t;
    bool whiteToMove;
    rules::Side side;
    int term;
};

TEST(Breakthrough, DoubledClampedAndHalfAgainForTheSideToMove) {
    const FinishCase cases[] = {
        {75, true, rules::White, 187},   // 150 -> 125 -> 125 + 62
        {75, false, rules::White, 125},
        {75, true, rules::Black, -187},
        {75, false, rules::Black, -125},
        {-40, false, rules::White, -120},  // -80 - 40
        {-40, true, rules::White, -80},
        {-40, false, rules::Black, 120},
        {3, true, rules::White, 9},  // 6 + 3
        {-3, false, rules::White, -9},
        {-70, false, rules::White, -187},  // -125 + (-62): the half truncated toward
                                           // zero
        {0, true, rules::White, 0},
    };
    for (const FinishCase& c : cases)
        EXPECT_EQ(eval::finishBreakthrough(c.t, c.whiteToMove, c.side, evaltest::handSetWeights()), c.term)
            << c.t << (c.whiteToMove ? " wtm" : " btm") << " side " << rules::sideIndex(c.side);
}

struct BreakthroughCase {
    const char* name;
    const char* fen;
    rules::Side side;
    int ply;  // 1: `side` to move, 2: the other side
    int term;
};

// Worked out rule by rule (W/B: White / Black man on the square).
const BreakthroughCase kBreakthroughCases[] = {
    // W a7 (5), b8 (1) free: rule 1, +75. Black's h8 man keeps White's
    // rule 15 quiet and White's a1 man Black's: t = 75.
    {"ManOnA7WhiteToMove", "W:W5,29:B4", rules::White, 1, 187},
    {"ManOnA7BlackToMove", "W:W5,29:B4", rules::White, 2, 125},
    // The same turned half a circle with colours exchanged.
    {"ManOnH2ForBlack", "W:W29:B28,4", rules::Black, 1, 187},
    // W c7 (6), b8 and d8 free but b6 holds a black man and Black moves:
    // no +75; the half-open cases need 1 or 2 occupied. t = 0.
    {"StoppedByTheDefender", "W:W6,29:B9,4", rules::White, 2, 0},
    // ... with White to move the man runs: +75.
    {"RunsWhenToMove", "W:W6,29:B9,4", rules::White, 1, 187},
    // W c7 (6), d8 (2) free, b8 (1) and d6 (10) held, b6 (9) not a black
    // man, e5 (15) held: +35, and +40 with White to move. t = 75.
    {"HalfOpenWithSupport", "W:W6,10,15,29:B1,4", rules::White, 1, 187},
    {"HalfOpenBlackToMove", "W:W6,10,15,29:B1,4", rules::White, 2, 70},
};

class BreakthroughRules : public testing::TestWithParam<BreakthroughCase> {};

TEST_P(BreakthroughRules, WorkedOutByHand) {
    const BreakthroughCase& c = GetParam();
    eval::EvalState st;
    st.weights = evaltest::handSetWeights();
    const rules::Board b = board(c.fen);
    st.acc.pieceCount = eval::recountPieces(b);
    st.currentPly = c.ply;
    EXPECT_EQ(eval::breakthroughTerm(st, b, c.side), c.term);
}

INSTANTIATE_TEST_SUITE_P(Cases, BreakthroughRules, testing::ValuesIn(kBreakthroughCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Structure rules worked out on small positions (opening phase unless said).
struct StructureCase {
    const char* name;
    const char* fen;
    int phase;
    int sum;  // White's view
};

const StructureCase kStructureCases[] = {
    // Rule 11: W h6 (12) with f8 (3) empty +15, +10 more with B h8 (4).
    // Nothing else fires (g1 and b8 are held, no other formation).
    {"OutpostOnH6", "W:W12,31,32,28:B4,1", eval::PhaseMiddle, 25},
    // Rules 7 and 8 are turns of each other: White's e5-h4 wedge against
    // h6, g7, h8 costs White 5, Black's d4-a5 wedge against a3, b2, a1
    // costs Black 5. (d8 is filled so that rule 53's open d8 stays quiet,
    // e1 so that rule 54's stays quiet.)
    {"Rule7", "W:W15,20,29,30,31,32,28:B12,8,4,1,5,2", eval::PhaseMiddle, -5},
    {"Rule8", "W:W21,25,29,32,28,31:B18,13,1,5,2", eval::PhaseMiddle, 5},
    // Endgame: rule 9 (g1, h2 empty) -10; rule 15 (B e7, h6 against W g5,
    // f4 with e5, d6, f6 empty) -5, and -10 with h8, g7, e3, f2, d2 empty;
    // rule 46 (B h6 against g5, f4) -2, -3 more with B e7.
    {"EndgameFormations", "W:W16,19,31,30:B7,12,1,5", eval::PhaseEndgame, -30},
};

class StructureRules : public testing::TestWithParam<StructureCase> {};

TEST_P(StructureRules, WorkedOutByHand) {
    const StructureCase& c = GetParam();
    eval::EvalState st;
    st.weights = evaltest::handSetWeights();
    const rules::Board b = board(c.fen);
    st.acc.pieceCount = eval::recountPieces(b);
    st.phase = c.phase;
    st.currentPly = 1;
    EXPECT_EQ(eval::structureTerm(st, b, rules::White), c.sum);
    // None of these rules looks at the side to move.
    EXPECT_EQ(eval::structureTerm(st, b, rules::Black), -c.sum);
}

INSTANTIATE_TEST_SUITE_P(Cases, StructureRules, testing::ValuesIn(kStructureCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
