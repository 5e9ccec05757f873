// Phase choice and recognition of the two opening variants.

#include <gtest/gtest.h>

#include "eval/parameters.h"
#include "eval_support.h"

namespace {

using evaltest::board;

// Variant 1: White on 21..27 odd squares, Black on 2..14 even squares; each
// table marks its index in entry 1 so the copy can be told apart.
eval::EvalState variantState() {
    eval::EvalState st;
    st.params = evaltest::rowParameters();
    st.params.variant1White = {21, 22, 23, 24, 25, 26, 27};
    st.params.variant1Black = {1, 2, 3, 4, 5, 6, 7};
    st.params.variant2White = {29, 30, 31, 32, 28, 0, -5};
    st.params.variant2Black = {9, 10, 11, 12, 8, 0, 40};
    for (int i = 0; i < eval::NumManTables; ++i) st.params.manTables[i][1] = static_cast<std::uint8_t>(100 + i);
    return st;
}

struct VariantCase {
    const char* name;
    const char* fen;
    bool variant1, variant2;
};

const VariantCase kVariantCases[] = {
    // 4 + 4 of variant 1's conditions: not enough.
    {"EightOfFourteen", "W:W21,22,23,24:B1,2,3,4", false, false},
    {"NineOfFourteen", "W:W21,22,23,24,25:B1,2,3,4", true, false},
    // A king on a condition square does not count.
    {"KingDoesNotCount", "W:W21,22,23,K24:B1,2,3,4,5", false, false},
    // Variant 2 has squares 0, -5 and 40 among its conditions: they never
    // hold, so its ten real squares must supply the nine.
    {"ZeroAndOutOfRangeNeverHold", "W:W29,30,31,32:B9,10,11,12", false, false},
    {"Variant2", "W:W28-32:B9,10,11,12", false, true},
    // Variant 1 is tried first and excludes variant 2.
    {"Variant1First", "W:W21,22,23,24,25,29,30,31,32,28:B1,2,3,4,9,10,11,12,8", true, false},
};

class Variants : public testing::TestWithParam<VariantCase> {};

TEST_P(Variants, NineOfFourteenConditions) {
    eval::EvalState st = variantState();
    // Opening thresholds low enough that these positions are openings.
    st.params.p1 = 2;
    eval::selectPhaseAndVariant(st, board(GetParam().fen));
    EXPECT_EQ(st.phase, eval::PhaseOpening);
    EXPECT_EQ(st.variant1, GetParam().variant1);
    EXPECT_EQ(st.variant2, GetParam().variant2);
}

INSTANTIATE_TEST_SUITE_P(Conditions, Variants, testing::ValuesIn(kVariantCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SelectPhase, TableFollowsTheFlagsOfThePreviousSearch) {
    eval::EvalState st = variantState();
    st.params.p1 = 2;
    const rules::Board b = board("W:W21,22,23,24,25:B1,2,3,4");
    // First search: flags clear, so the default opening table; then variant 1 is seen.
    eval::selectPhaseAndVariant(st, b);
    EXPECT_EQ(st.activeManTable[1], 100 + eval::DefaultOpening);
    EXPECT_TRUE(st.variant1);
    // From the second search on, the variant's table.
    eval::selectPhaseAndVariant(st, b);
    EXPECT_EQ(st.activeManTable[1], 100 + eval::Variant1Opening);
    // Middle game (M = 9 <= P1 = 10) with variant 1 still holding.
    st.params.p1 = 9;
    st.params.p2 = 5;
    eval::selectPhaseAndVariant(st, b);
    EXPECT_EQ(st.phase, eval::PhaseMiddle);
    EXPECT_EQ(st.activeManTable[1], 100 + eval::Variant1Middle);
}

TEST(SelectPhase, LaterPhasesKeepTheFlags) {
    eval::EvalState st = variantState();
    st.variant2 = true;
    // M = 5 <= P3 = 6: endgame; the flags are not looked at again.
    eval::selectPhaseAndVariant(st, board("W:W29,30,31:BK1,K2,3,4"));
    EXPECT_EQ(st.phase, eval::PhaseEndgame);
    EXPECT_TRUE(st.variant2);
    EXPECT_EQ(st.activeManTable[1], 100 + eval::Endgame);
    // M = 8: pre-endgame (10 >= M > 6).
    eval::selectPhaseAndVariant(st, board("W:W25,26,27,28:B1,2,3,4"));
    EXPECT_EQ(st.phase, eval::PhasePreEndgame);
    EXPECT_TRUE(st.variant2);
    EXPECT_EQ(st.activeManTable[1], 100 + eval::PreEndgame);
}

struct PhaseCase {
    const char* fen;
    int phase;
};

TEST(SelectPhase, ThresholdsNeedStrictlyMoreMen) {
    eval::EvalState st = variantState();   // P1 16, P2 10, P3 6
    const PhaseCase cases[] = {
        {"W:W21-32:B1-5", eval::PhaseOpening},     // 17 men
        {"W:W21-32:B1-4", eval::PhaseMiddle},      // 16 = P1
        {"W:W25-32:B1-3", eval::PhaseMiddle},      // 11
        {"W:W27-32:B1-4", eval::PhasePreEndgame},  // 10 = P2
        {"W:W30-32:BK1,K2,K3,K4,K5,K6,9,10,11", eval::PhaseEndgame},  // 6 = P3; kings do not count
    };
    for (const PhaseCase& c : cases) {
        eval::selectPhaseAndVariant(st, board(c.fen));
        EXPECT_EQ(st.phase, c.phase) << c.fen;
    }
}

TEST(TempoWeight, ByMenCountAndFlags) {
    const eval::EvalParameters p = evaltest::rowParameters();   // weights 1..8 in file order
    EXPECT_EQ(eval::tempoWeight(p, 17, false, false), 1);
    EXPECT_EQ(eval::tempoWeight(p, 17, true, true), 5);    // variant 1 wins over 2
    EXPECT_EQ(eval::tempoWeight(p, 17, false, true), 7);
    EXPECT_EQ(eval::tempoWeight(p, 16, false, false), 2);
    EXPECT_EQ(eval::tempoWeight(p, 16, true, false), 6);
    EXPECT_EQ(eval::tempoWeight(p, 11, false, true), 8);
    EXPECT_EQ(eval::tempoWeight(p, 10, true, true), 3);    // pre-endgame: one weight for all
    EXPECT_EQ(eval::tempoWeight(p, 6, true, false), 4);
}

}  // namespace
