#include "eval/parameters.h"

#include "eval/eval_state.h"

namespace eval {

namespace {

int countMen(const rules::Board& board) {
    int men = 0;
    for (int q = 1; q <= rules::NumSquares; ++q) men += rules::isMan(board[q]);
    return men;
}

// How many of the fourteen conditions hold. Only men satisfy a condition;
// a square number outside 1..32 never does.
int conditionsHeld(const rules::Board& board, const ConditionSquares& white, const ConditionSquares& black) {
    int held = 0;
    for (std::int8_t q : white)
        if (q >= 1 && q <= rules::NumSquares && board[q] == rules::WhiteMan) ++held;
    for (std::int8_t q : black)
        if (q >= 1 && q <= rules::NumSquares && board[q] == rules::BlackMan) ++held;
    return held;
}

// Nine of the fourteen conditions make a structure; eight are not enough.
constexpr int ConditionsNeeded = 9;

}  // namespace

void selectPhaseAndVariant(EvalState& st, const rules::Board& board) {
    const EvalParameters& p = st.params;
    const int men = countMen(board);

    // Step 1. Phase and table, with the flags the previous search left.
    int table;
    if (men > p.p1) {
        st.phase = PhaseOpening;
        table = st.variant1 ? Variant1Opening : st.variant2 ? Variant2Opening : DefaultOpening;
    } else if (men > p.p2) {
        st.phase = PhaseMiddle;
        table = st.variant1 ? Variant1Middle : st.variant2 ? Variant2Middle : DefaultMiddle;
    } else if (men > p.p3) {
        st.phase = PhasePreEndgame;
        table = PreEndgame;
    } else {
        st.phase = PhaseEndgame;
        table = Endgame;
    }
    st.activeManTable = p.manTables[table];

    // Step 2. Recognise the structure afresh, while it can still matter;
    // later phases keep the flags as they were.
    if (st.phase >= PhasePreEndgame) return;
    st.variant1 = conditionsHeld(board, p.variant1White, p.variant1Black) >= ConditionsNeeded;
    st.variant2 = !st.variant1 && conditionsHeld(board, p.variant2White, p.variant2Black) >= ConditionsNeeded;
}

int tempoWeight(const EvalParameters& p, int men, bool variant1, bool variant2) {
    int w;
    if (men > p.p1)
        w = variant1 ? Variant1Opening : variant2 ? Variant2Opening : DefaultOpening;
    else if (men > p.p2)
        w = variant1 ? Variant1Middle : variant2 ? Variant2Middle : DefaultMiddle;
    else if (men > p.p3)
        w = PreEndgame;
    else
        w = Endgame;
    return p.tempoWeights[w];
}

}  // namespace eval
