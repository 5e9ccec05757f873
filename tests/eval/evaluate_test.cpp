// The evaluation's steps: golden values worked out by hand from the rules,
// the king's value, the early exit, the last-move term and the endgame
// corrections.

#include <gtest/gtest.h>

#include <random>

#include "eval/catalogues.h"
#include "eval/evaluate.h"
#include "eval/man_safety_bits.h"
#include "eval/masks.h"
#include "eval_support.h"
#include "rules/fen.h"

namespace {

using evaltest::board;

// Evaluates `fen` as the window does, after a search from it has chosen the
// phase with the given parameters.
struct Static {
    eval::EvalState st;
    rules::Board b;
    Static(const char* fen, const eval::EvalParameters& p) : b(board(fen)) {
        st.params = p;
        st.weights = evaltest::handSetWeights();
        eval::selectPhaseAndVariant(st, b);
    }
    int value(rules::Side side, eval::EvalTrace* trace = nullptr) {
        eval::EvalTrace t;
        const int v = eval::evaluateStaticTraced(st, b, side, t);
        if (trace) *trace = t;
        return v;
    }
};

// White c7, f2, e1 against Black h6, h4 with the row tables (10 per row) and
// thresholds 16/10/6: an endgame (5 men). Worked out by hand:
// - material 200 (one man up), king value irrelevant;
// - breakthrough: White's rule 2 (c7 with b8, d8 free and b6, d6 free) +75,
//   Black's rule 15 (a1, c1, b2, a3 free) +5: t = 70, doubled and clamped to
//   125; with White to move half again: 187;
// - positional: White 60 + 10 + 0, Black 20 + 40: +10 for White;
// - tempo: White 6 + 1 + 0 rows, Black 2 + 4: +1, endgame weight 4;
// - nothing else (no structure in the endgame, man safety skipped for a
//   large breakthrough, no shot).
// White's view, Black to move: 10 + 4 + 125 + 200 = 339.
// Black's view, White to move: -10 - 4 - 187 - 200 = -401.
TEST(EvaluateGolden, EndgameWithARunningMan) {
    Static s("W:W6,27,31:B12,20", evaltest::rowParameters());
    ASSERT_EQ(s.st.phase, eval::PhaseEndgame);
    eval::EvalTrace t;
    EXPECT_EQ(s.value(rules::White, &t), 339);
    EXPECT_EQ(t.breakthrough, 125);
    EXPECT_EQ(t.positional, 10);
    EXPECT_EQ(t.tempo, 4);
    EXPECT_EQ(s.value(rules::Black, &t), -401);
    EXPECT_EQ(t.breakthrough, -187);
}

// The same position with thresholds 2/1/0, so that five men are an opening
// and every positional step runs. White's view, Black to move:
// - king value 520 (5 > 2), material 200;
// - breakthrough 125, positional 10, tempo 1 x opening weight 1 = 1;
// - centre: White c7 3 + f2 3 + e1 5 = 11, Black on the h-file 0: +55;
//   regions: White (Black's frame 27, 6, 2) 4, 1, 1; Black 2, 4:
//   8 x (|0 - 1| - |2 - 0|) = -8; group 10 + 1 + 55 - 8 = 58, clamped to 45;
// - wing balance: d3 = own region 4 (1) - opp region 1 (0) = 1: +15;
// - structure: rule 9 (g1, h2 empty, opening) -20, rule 10 (b8, a7 empty,
//   opening) +20, rule 13 (d8 and b8 empty, opening) +3: +3;
// v = 45 + 15 + 3 + 125 + 200 = 388.
// Black's view, White to move: material -200, breakthrough -187,
// positional -10, tempo -1, centre -55, regions 8 x (|2 - 0| - |0 - 1|) = +8:
// group -58 clamped to -45; wing d1 = 0 - 1 = -1: -15; structure -3;
// v = -45 - 15 - 3 - 187 - 200 = -450.
TEST(EvaluateGolden, OpeningStepsOnASmallBoard) {
    Static s("W:W6,27,31:B12,20", evaltest::rowParameters(2, 1, 0));
    ASSERT_EQ(s.st.phase, eval::PhaseOpening);
    eval::EvalTrace t;
    EXPECT_EQ(s.value(rules::White, &t), 388);
    EXPECT_EQ(t.kingValue, 520);
    EXPECT_EQ(t.centreAndWings, 47);
    EXPECT_EQ(t.groupClamp, -13);
    EXPECT_EQ(t.wingBalance, 15);
    EXPECT_EQ(t.structure, 3);
    EXPECT_EQ(s.value(rules::Black, &t), -450);
    EXPECT_EQ(t.wingBalance, -15);
}

// White d4 against Black f6, endgame: positional 30 - 20 = 10, tempo
// (3 - 2) x 4 = 4; nothing else fires. The two views are exact opposites
// because neither depends on who moves.
TEST(EvaluateGolden, TwoMen) {
    Static s("W:W18:B11", evaltest::rowParameters());
    EXPECT_EQ(s.value(rules::White), 14);
    EXPECT_EQ(s.value(rules::Black), -14);
}

TEST(Evaluate, StartPositionIsNearlyLevel) {
    Static s("W:W21-32:B1-12", evaltest::rowParameters());
    eval::EvalTrace t;
    const int white = s.value(rules::White, &t);
    EXPECT_EQ(t.material, 0);
    EXPECT_EQ(t.positional, 0);
    EXPECT_LE(std::abs(white), 40);
    EXPECT_LE(std::abs(s.value(rules::Black)), 40);
}

struct KingValueCase {
    const char* fen;
    int kingValue;
};

TEST(Evaluate, KingValueByPieceCount) {
    // Thresholds 16/10/6 compared with all pieces T.
    const KingValueCase cases[] = {
        {"W:WK18:BK15", 660},                    // T = 2: 330 doubled, two kings: no extra
        {"W:WK18:B1", 690},                      // a single king: +30
        {"W:WK18,21,22,23,24,25:BK1,2", 620},    // T = 8: 310
        {"W:WK18,21-28:BK1,2,3", 580},           // T = 12: 290
        {"W:WK18,21-32:BK1,2,3", 580},           // T = 16 = P1: still 290
        {"W:WK18,21-32:BK1,2,3,4", 520},         // T = 17: 260
    };
    for (const KingValueCase& c : cases) {
        Static s(c.fen, evaltest::rowParameters());
        eval::EvalTrace t;
        s.value(rules::White, &t);
        EXPECT_EQ(t.kingValue, c.kingValue) << c.fen;
    }
}

TEST(Evaluate, EarlyExitOnMaterialOnly) {
    Static s("W:W21-32:B1-10", evaltest::rowParameters());
    eval::EvalState& st = s.st;
    eval::prepareSearchRoot(st, s.b, rules::White);   // ply 1: White to move
    // m = 400. At an odd ply the exit is taken when m <= alpha - 185.
    EXPECT_EQ(eval::evaluate(st, s.b, rules::White, 585, 700), 400);
    eval::EvalTrace t;
    eval::evaluateTraced(st, s.b, rules::White, 584, 700, t);
    EXPECT_FALSE(t.earlyExit);
    // At an even ply when m >= beta + 185.
    st.currentPly = 2;
    eval::evaluateTraced(st, s.b, rules::White, -700, 215, t);
    EXPECT_TRUE(t.earlyExit);
    eval::evaluateTraced(st, s.b, rules::White, -700, 216, t);
    EXPECT_FALSE(t.earlyExit);
    // The widest window never exits, even with a huge material lead.
    Static kings("W:WK1,K2,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12:B20", evaltest::rowParameters());
    for (int ply : {1, 2}) {
        eval::prepareSearchRoot(kings.st, kings.b, rules::Black);
        kings.st.currentPly = ply;
        eval::evaluateTraced(kings.st, kings.b, rules::Black, -eval::Infinity, eval::Infinity, t);
        EXPECT_FALSE(t.earlyExit);
        EXPECT_EQ(t.material, -(12 * 580 - 200));   // T = 13: kings at 290 doubled
    }
}

struct LastMoveCase {
    const char* name;
    const char* fen;
    int lastTo;
    int ply;
    int term;
};

// Black's man has just come to c5 (14) beside White's d4 (18) with b6 (9)
// empty behind it: White, to move at odd plies, can take it.
const LastMoveCase kLastMoveCases[] = {
    {"OfferAtOddPly", "W:W18,30:B14,3", 14, 3, -100},
    {"OfferAtEvenPly", "W:W18,30:B14,3", 14, 4, 100},
    {"NotAtPlyTwo", "W:W18,30:B14,3", 14, 2, 0},
    {"SquareBehindHeld", "W:W18,30:B14,9", 14, 3, 0},
    // A white king beside an empty square also differs by two codes.
    {"WhiteKingBesideEmpty", "W:WK14,30:B3", 14, 3, -100},
    {"BlackKingBesideEmpty", "W:W30:BK14,3", 14, 3, 0},
};

class LastMove : public testing::TestWithParam<LastMoveCase> {};

TEST_P(LastMove, PieceOfferedByTheLastMove) {
    Static s(GetParam().fen, evaltest::rowParameters());
    eval::prepareSearchRoot(s.st, s.b, rules::White);
    s.st.currentPly = GetParam().ply;
    s.st.lastTo = static_cast<rules::Square>(GetParam().lastTo);
    eval::EvalTrace t;
    eval::evaluateTraced(s.st, s.b, rules::White, -eval::Infinity, eval::Infinity, t);
    EXPECT_EQ(t.lastMove, GetParam().term);
}

INSTANTIATE_TEST_SUITE_P(Cases, LastMove, testing::ValuesIn(kLastMoveCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(Evaluate, DividedByFourWithKingsOnBothSidesAndFewPieces) {
    // T = 8: not divided.
    eval::EvalTrace t;
    Static eight("W:WK1,K2,21,22:BK31,K32,9,10", evaltest::rowParameters());
    eight.value(rules::White, &t);
    EXPECT_EQ(t.quarter, 0);
    // One man fewer on either side (T = 7): divided, truncated toward zero.
    int truncatedNegatives = 0;
    for (const char* fen : {"W:WK1,K2,21:BK31,K32,9,10", "W:WK1,K2,21,22:BK31,K32,9", "W:WK3,K2,21:BK31,K29,9,12"}) {
        for (rules::Side side : {rules::White, rules::Black}) {
            Static seven(fen, evaltest::rowParameters());
            const int v = seven.value(side, &t);
            const int before = v - t.quarter;
            ASSERT_NE(t.quarter, 0) << fen;
            // Toward zero: -7 gives -1, not -2.
            EXPECT_EQ(v, before < 0 ? -(-before / 4) : before / 4) << fen;
            if (before < 0 && before % 4 != 0) ++truncatedNegatives;
        }
    }
    EXPECT_GT(truncatedNegatives, 0) << "no case showed the rounding of a negative value";
    // Without a man on one side it is not divided.
    Static noMan("W:WK1,K2,K3:BK31,K32,9,10", evaltest::rowParameters());
    noMan.value(rules::White, &t);
    EXPECT_EQ(t.quarter, 0);
}

TEST(Evaluate, FourKingsAgainstTwoInTheDoubleCorners) {
    struct Case {
        const char* fen;
        bool halved;
    };
    const Case cases[] = {
        {"W:WK10,K14,K18,K23:BK1,K5", true},   {"W:WK10,K14,K18,K23:BK28,K32", true},
        {"W:WK10,K14,K18,K23:BK1,K32", true},  {"W:WK10,K14,K18,K23:BK1,K9", false},
        {"W:WK1,K5:BK10,K14,K18,K23", true},     // the same with colours exchanged
        {"W:WK1,K28:BK10,K14,K18,K23", false},
    };
    for (const Case& c : cases) {
        for (rules::Side side : {rules::White, rules::Black}) {
            Static s(c.fen, evaltest::rowParameters());
            eval::EvalTrace t;
            const int v = s.value(side, &t);
            if (c.halved) {
                EXPECT_EQ(v, (v - t.endgame) / 2) << c.fen;
                EXPECT_NE(t.endgame, 0) << c.fen;
            } else {
                EXPECT_EQ(t.endgame, 0) << c.fen;
            }
        }
    }
}

TEST(Evaluate, ThreeKingsAgainstKingAndMan) {
    struct Case {
        const char* fen;
        rules::Side strong;
        int term;
    };
    const Case cases[] = {
        // d4 man; first king d8 on its file, a king on the long diagonal.
        {"W:WK2,K11,K25:BK30,18", rules::White, 120},
        // third king on e3, next to the man's file: +30.
        {"W:WK2,K11,K23:BK30,18", rules::White, 150},
        // second king on d6, the man's file: +110.
        {"W:WK2,K10,K29:BK31,18", rules::White, 230},
        // no king on the long diagonal: no 120; d6 +110, c1 beside the file +30.
        {"W:WK2,K10,K30:BK31,18", rules::White, 140},
        // first king on the c-file, beside the man's d-file: +40; c1 +30.
        {"W:WK6,K13,K30:BK31,18", rules::White, 70},
        // Black strong: White's man on e5, Black's kings b8, e7, e3.
        {"W:WK32,15:BK1,K7,K23", rules::Black, 210},
    };
    for (const Case& c : cases) EXPECT_EQ(eval::threeKingsTerm(board(c.fen), c.strong), c.term) << c.fen;

    // In the evaluation it counts for the strong side, whichever side is evaluated.
    Static s("W:WK2,K11,K25:BK30,18", evaltest::rowParameters());
    eval::EvalTrace t;
    s.value(rules::White, &t);
    EXPECT_EQ(t.endgame, 120);
    s.value(rules::Black, &t);
    EXPECT_EQ(t.endgame, -120);
}

TEST(Evaluate, ShotsAreNotConsultedWithKingsOnTheBoard) {
    // The first written-out shot holds for White, who moves at ply 1.
    const char* men = "W:W13,9,30:B1,2,10,11";
    const char* withKing = "W:W13,9,K30:B1,2,10,11";
    eval::EvalTrace t;
    Static a(men, evaltest::rowParameters());
    eval::prepareSearchRoot(a.st, a.b, rules::White);
    eval::evaluateTraced(a.st, a.b, rules::White, -eval::Infinity, eval::Infinity, t);
    EXPECT_EQ(t.shot, 120);
    EXPECT_EQ(t.structure, 0);   // a shot decides: no structure, no man safety
    Static b(withKing, evaltest::rowParameters());
    eval::prepareSearchRoot(b.st, b.b, rules::White);
    eval::evaluateTraced(b.st, b.b, rules::White, -eval::Infinity, eval::Infinity, t);
    EXPECT_EQ(t.shot, 0);
}

TEST(Evaluate, GroupClampHoldsWhateverThePositionalSum) {
    // White's men two rows from promotion, Black's on their back row: a
    // positional sum over 300 still leaves at most 45 for the group.
    Static s("W:W5-12:B1-4", evaltest::rowParameters(2, 1, 0));
    eval::EvalTrace t;
    s.value(rules::White, &t);
    EXPECT_GE(t.positional, 300);
    EXPECT_EQ(t.positional + t.tempo + t.centreAndWings + t.groupClamp + t.longDiagonal, 45);
}

// Ranges of the catalogue terms over random boards of men (not necessarily
// reachable ones).
TEST(Evaluate, CatalogueTermsStayInTheirRanges) {
    std::mt19937 rng(7);
    eval::EvalState st;
    st.weights = evaltest::handSetWeights();
    for (int i = 0; i < 20000; ++i) {
        rules::Board b{};
        b[0] = rules::Sentinel;
        for (int q = 1; q <= 32; ++q) {
            const unsigned r = rng() % 10;
            b[q] = r < 4 ? rules::Empty : r < 7 ? rules::WhiteMan : rules::BlackMan;
            if (rng() % 40 == 0) b[q] = (rng() % 2) ? rules::WhiteKing : rules::BlackKing;
        }
        st.acc.pieceCount = eval::recountPieces(b);
        st.phase = static_cast<int>(rng() % 4);
        st.currentPly = 1 + static_cast<int>(rng() % 2);
        const rules::Side side = rules::sideFromByte(static_cast<unsigned>(rng() % 2));
        const int bt = eval::breakthroughTerm(st, b, side);
        const int sr = eval::structureTerm(st, b, side);
        const int ms = eval::manSafetyTerm(b, st.phase, side);
        ASSERT_LE(std::abs(bt), 187);
        ASSERT_LE(std::abs(sr), 70);
        ASSERT_LE(std::abs(ms), 60);
        // Each is worked out from White's view and negated for Black (with
        // the same side to move: the other side at the next ply).
        ++st.currentPly;
        ASSERT_EQ(eval::structureTerm(st, b, rules::opposite(side)), -sr);
        ASSERT_EQ(eval::breakthroughTerm(st, b, rules::opposite(side)), -bt);
        ASSERT_EQ(eval::manSafetyTerm(b, st.phase, rules::opposite(side)), -ms);
    }
}

}  // namespace

namespace {

// The word-at-a-time masks, and the same turned for Black, agree with a
// plain scan of the board.
TEST(BoardMasks, AgreeWithTheBoard) {
    std::mt19937 rng(11);
    for (int i = 0; i < 5000; ++i) {
        rules::Board b{};
        b[0] = rules::Sentinel;
        for (int q = 1; q <= 32; ++q) b[q] = static_cast<std::uint8_t>(rng() % 5);
        const eval::BoardMasks m = eval::boardMasks(b);
        const eval::TurnedMasks turned = eval::turnedMasks(m);
        for (int q = 1; q <= 32; ++q) {
            ASSERT_EQ(eval::has(m.empty, q), b[q] == rules::Empty);
            ASSERT_EQ(eval::has(m.whiteMen, q), b[q] == rules::WhiteMan);
            ASSERT_EQ(eval::has(m.whiteKings, q), b[q] == rules::WhiteKing);
            ASSERT_EQ(eval::has(m.blackMen, q), b[q] == rules::BlackMan);
            ASSERT_EQ(eval::has(m.blackKings, q), b[q] == rules::BlackKing);
            ASSERT_EQ(eval::has(eval::turnMask(m.whiteMen), 33 - q), b[q] == rules::WhiteMan);
            ASSERT_EQ(eval::has(turned.whiteMen, 33 - q), b[q] == rules::WhiteMan);
            ASSERT_EQ(eval::has(turned.blackMen, 33 - q), b[q] == rules::BlackMan);
            ASSERT_EQ(eval::has(turned.blackKings, 33 - q), b[q] == rules::BlackKing);
            ASSERT_EQ(eval::has(turned.empty, 33 - q), b[q] == rules::Empty);
        }
    }
}

}  // namespace

// The man-safety rules on square sets give, on any board, what the rules
// give man by man.
TEST(ManSafety, SquareSetsAgreeWithTheRulesManByMan) {
    std::mt19937 rng(2026);
    for (int i = 0; i < 20000; ++i) {
        rules::Board b{};
        b[0] = rules::Sentinel;
        const int pieces = 2 + static_cast<int>(rng() % 24);
        for (int k = 0; k < pieces; ++k) {
            const int q = 1 + static_cast<int>(rng() % 32);
            b[q] = static_cast<rules::PieceCode>(1 + rng() % 4);
            if ((b[q] == rules::WhiteMan && q <= 4) || (b[q] == rules::BlackMan && q >= 29)) b[q] = rules::Empty;
        }
        for (int phase = 0; phase <= 3; phase += 3) {
            const eval::BoardMasks masks = eval::boardMasks(b);
            const int bits = std::clamp(eval::manSafetySum(masks, eval::turnedMasks(masks), phase), -60, 60);
            ASSERT_EQ(bits, eval::manSafetyTerm(b, phase, rules::White, evaltest::handSetWeights()))
                << rules::toFen(b, rules::White) << " phase " << phase;
        }
    }
}
