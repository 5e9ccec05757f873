#include "eval/accumulators.h"

#include <cassert>

namespace eval {

namespace {

using rules::Board;
using rules::PieceCode;
using rules::Square;

int centreWeightOf(int q) { return CentreWeight[rules::squareFile(q)]; }

void buildKingTable(EvalState& st) {
    const PieceCount& c = st.acc.pieceCount;
    const int wm = c[rules::WhiteMan], wk = c[rules::WhiteKing];
    const int bm = c[rules::BlackMan], bk = c[rules::BlackKing];
    // Late endings with a few men and kings on both sides: the long diagonal
    // decides them.
    if (wm >= 2 && wk >= 2 && wm < 5 && bm < 5 && bk >= 1) {
        st.kingTable = LateKingTable;
        return;
    }
    // Kings are worth the same everywhere but in the double corners, where a
    // king is easily shut in.
    st.kingTable.fill(1);
    st.kingTable[0] = 0;
    for (int q : {1, 5, 28, 32}) st.kingTable[q] = 0;
    // Four kings against one: the lone king seeks the double corner at b8/a7,
    // so the hunters are drawn to it.
    if (wm == 0 && bm == 0 && ((wk == 4 && bk == 1) || (wk == 1 && bk == 4))) {
        st.kingTable[1] = st.kingTable[5] = 40;
        st.kingTable[10] = st.kingTable[14] = 10;
    }
}

// +1 for the view side's pieces, -1 for the opponent's.
int signFor(const EvalState& st, PieceCode code) { return rules::sideOf(code) == st.viewSide ? 1 : -1; }

// Adds (delta +1) or removes (delta -1) a man's contribution.
void addMan(EvalState& st, PieceCode man, int q, int delta) {
    Accumulators& a = st.acc;
    const bool own = rules::sideOf(man) == st.viewSide;
    const int sign = own ? delta : -delta;
    const int frame = blackFrame(man, q);
    a.positional += sign * st.activeManTable[frame];
    a.tempo += sign * rowsAdvanced(man, q);
    auto& region = own ? a.ownRegion : a.oppRegion;
    std::int8_t& centre = own ? a.ownCentre : a.oppCentre;
    region[RegionOfSquare[frame]] = static_cast<std::int8_t>(region[RegionOfSquare[frame]] + delta);
    centre = static_cast<std::int8_t>(centre + delta * centreWeightOf(q));
}

}  // namespace

PieceCount recountPieces(const Board& board) {
    PieceCount c{};
    for (int q = 1; q <= rules::NumSquares; ++q)
        if (board[q] <= rules::BlackKing) ++c[board[q]];
    return c;
}

void buildAccumulators(EvalState& st, const Board& board, rules::Side side) {
    st.viewSide = side;
    buildKingTable(st);
    Accumulators& a = st.acc;
    a.positional = 0;
    a.tempo = 0;
    a.ownRegion = {};
    a.oppRegion = {};
    a.ownCentre = a.oppCentre = 0;
    for (int q = 1; q <= rules::NumSquares; ++q) {
        const PieceCode c = board[q];
        if (rules::isMan(c))
            addMan(st, c, q, +1);
        else if (rules::isKing(c))
            a.positional += signFor(st, c) * st.kingTable[q];
    }
}

void prepareSearchRoot(EvalState& st, const Board& board, rules::Side rootSide) {
    st.acc.pieceCount = recountPieces(board);
    selectPhaseAndVariant(st, board);
    buildAccumulators(st, board, rootSide);
    st.currentPly = 1;
    st.lastTo = 0;
}

void manMoved(EvalState& st, PieceCode man, Square from, Square to) {
    assert(rules::isMan(man));
    Accumulators& a = st.acc;
    const int sign = signFor(st, man);
    const int f = blackFrame(man, from), t = blackFrame(man, to);
    a.positional += sign * (st.activeManTable[t] - st.activeManTable[f]);
    a.tempo += sign * (rowsAdvanced(man, to) - rowsAdvanced(man, from));
    auto& region = sign > 0 ? a.ownRegion : a.oppRegion;
    --region[RegionOfSquare[f]];
    ++region[RegionOfSquare[t]];
    std::int8_t& centre = sign > 0 ? a.ownCentre : a.oppCentre;
    centre = static_cast<std::int8_t>(centre + centreWeightOf(to) - centreWeightOf(from));
}

void kingMoved(EvalState& st, PieceCode king, Square from, Square to) {
    assert(rules::isKing(king));
    st.acc.positional += signFor(st, king) * (st.kingTable[to] - st.kingTable[from]);
}

void pieceCaptured(EvalState& st, PieceCode code, Square at) {
    assert(rules::isPiece(code));
    if (rules::isMan(code))
        addMan(st, code, at, -1);
    else
        st.acc.positional -= signFor(st, code) * st.kingTable[at];
    --st.acc.pieceCount[code];
    ++st.acc.pieceCount[rules::Empty];
}

void manPromoted(EvalState& st, PieceCode man, Square at) {
    assert(rules::isMan(man));
    st.acc.positional += signFor(st, man) * (st.kingTable[at] - st.activeManTable[blackFrame(man, at)]);
    --st.acc.pieceCount[man];
    ++st.acc.pieceCount[man + 1];
}

void updateForMove(EvalState& st, const Board& before, const rules::Move& move) {
    for (int i = 0; i < move.ncapt; ++i) pieceCaptured(st, before[move.captured[i]], move.captured[i]);
    const PieceCode code = before[move.from];
    if (rules::isKing(code)) {
        kingMoved(st, code, move.from, move.to);
    } else {
        manMoved(st, code, move.from, move.to);
        if (rules::promotionRow(code, move.to)) manPromoted(st, code, move.to);
    }
    st.lastTo = move.to;
}

}  // namespace eval
