// Men one to four rows from promotion: whether their paths are free, whether
// a defender can still stop them, and who moves first.

#include <algorithm>
#include <array>

#include "eval/catalogues.h"
#include "eval/evaluate.h"

namespace eval {

namespace {

using rules::Board;

// The rules are written for White on White's squares. Black's rules are the
// same on the squares turned half a circle (33 - q), colours exchanged, with
// one difference kept on purpose: where White's rule asks that a square hold
// no black piece, Black's asks that the turned square hold a black piece, and
// where White's asks for a black piece, Black's asks for none.
template <bool ForBlack>
struct View {
    const Board& b;
    // Masks in this side's frame: for Black turned half a circle, so that
    // square q of a rule is bit q - 1 for either side.
    SquareMask ownMen, enemyMen, empty, blackPieces;
    bool toMove;          // this side moves at the evaluated node
    bool enemyNoKings;
    bool enemyNoMen;

    bool own(int q) const { return has(ownMen, q); }
    bool free(int q) const { return has(empty, q); }
    bool occ(int q) const { return !has(empty, q); }
    bool enemyManOn(int q) const { return has(enemyMen, q); }
    // "Holds no black piece" for White; reversed for Black (see above).
    bool noEnemyPiece(int q) const { return ForBlack ? has(blackPieces, q) : !has(blackPieces, q); }
    bool enemyPiece(int q) const { return ForBlack ? !has(blackPieces, q) : has(blackPieces, q); }
    bool allFree(SquareMask m) const { return all(empty, m); }
};

// One of the three men on 6, 7, 8 (row 7) with a two-square path to the far
// row: `left`/`right` the two path squares, `fl`/`fr` the squares beside the
// path from which a defender could take, and the squares whose occupation
// makes the half-open cases safe.
template <bool ForBlack>
int rowSevenMan(const View<ForBlack>& v, int left, int right, int fl, int fr, int supportLeftOpen,
                int supportRightOpen) {
    int t = 0;
    if (v.free(left) && v.free(right)) {
        if (v.toMove || (!v.enemyManOn(fl) && !v.enemyManOn(fr))) t += 75;
    } else if (v.free(right) && v.occ(left) && v.occ(fr) && !v.enemyManOn(fl)) {
        if (supportRightOpen == 0 || v.occ(supportRightOpen)) t += 35;
        if (v.toMove) t += 40;
    } else if (v.free(left) && v.occ(right) && v.occ(fl) && !v.enemyManOn(fr)) {
        if (supportLeftOpen == 0 || v.occ(supportLeftOpen)) t += 35;
        if (v.toMove) t += 40;
    }
    return t;
}

// The rule groups, each weighed by its own scale.
using BreakthroughGroups = std::array<int, 4>;

template <bool ForBlack>
BreakthroughGroups sideRules(const View<ForBlack>& v) {
    const Board& b = v.b;
    BreakthroughGroups groups{};
    int t = 0;

    // Rule 1. A man on 5 (a7) with 1 (b8) free promotes.
    if (v.own(5) && v.free(1)) t += 75;

    // Rules 2-4. Men on row 7.
    if (v.own(6)) t += rowSevenMan(v, 1, 2, 9, 10, 14, 15);
    if (v.own(7)) t += rowSevenMan(v, 2, 3, 10, 11, 14, 16);
    if (v.own(8)) {
        // The half-open case towards 4 needs no support; the one towards 3
        // is safe when 15 is held (for Black: the square 16 itself).
        int t8 = 0;
        if (v.free(3) && v.free(4)) {
            if (v.toMove || (!v.enemyManOn(11) && !v.enemyManOn(12))) t8 += 75;
        } else if (v.free(4) && v.occ(3) && v.occ(12) && !v.enemyManOn(11)) {
            t8 += 35;
            if (v.toMove) t8 += 40;
        } else if (v.free(3) && v.occ(4) && v.occ(11) && !v.enemyManOn(12)) {
            if (ForBlack ? b[16] != rules::Empty : v.occ(15)) t8 += 35;
            if (v.toMove) t8 += 40;
        }
        t += t8;
    }
    groups[0] = t;
    t = 0;

    // Rule 5. A man on 9 (b6).
    if (v.own(9)) {
        if (v.free(5) && v.free(6) && v.free(1) && ((v.noEnemyPiece(13) && v.noEnemyPiece(14)) || v.toMove)) {
            t += 35;
            if (v.toMove || v.noEnemyPiece(10)) t += 25;
        } else if (v.free(5) && v.occ(6) && v.occ(13)) {
            if (v.toMove)
                t += 25;
            else if (v.noEnemyPiece(14))
                t += 30;
        } else if (v.free(6) && v.occ(5) && v.occ(14) && v.occ(18)) {
            if (v.occ(1) || v.occ(2) || v.occ(10))
                t -= 25;
            else if (v.toMove || (v.noEnemyPiece(7) && v.noEnemyPiece(10)))
                t += 25;
            else
                t -= 25;
        }
    }

    // Rule 6. A man on 10 (d6).
    if (v.own(10)) {
        if (v.free(6) && v.free(7) && v.free(2) && ((v.noEnemyPiece(14) && v.noEnemyPiece(15)) || v.toMove)) {
            t += 20;
            bool stopped = false;
            if (v.occ(9) || v.occ(1)) {
                if (v.free(11) && v.free(3))
                    t += 20;
                else
                    stopped = true;
            }
            if (v.free(9) && v.free(1)) t += 20;
            if (!stopped) {
                if (((v.free(9) && v.free(1) && v.free(5)) || ((v.occ(9) || v.occ(1)) && v.free(8))) && v.free(14) &&
                    v.free(15))
                    t += 20;
                else if (v.toMove)
                    t += 20;
            }
        } else if (v.free(6) && v.occ(7) && v.occ(14) && v.occ(17)) {
            if (v.allFree(M({1, 2, 9})) && (v.toMove || (v.noEnemyPiece(5) && v.noEnemyPiece(15))))
                t += 25;
            else
                t -= 25;
        } else if (v.free(7) && v.occ(6) && v.occ(15) && v.occ(19)) {
            if (v.allFree(M({2, 3, 11})) && (v.toMove || (v.noEnemyPiece(8) && v.noEnemyPiece(14))))
                t += 25;
            else
                t -= 25;
        }
    }

    // Rule 7. A man on 11 (f6).
    if (v.own(11)) {
        if (v.free(7) && v.free(8) && v.free(3)) {
            t += 20;
            if (v.occ(12) || v.occ(2)) {
                if (v.free(12) && v.free(4) && ((v.free(15) && v.free(16)) || v.toMove)) t += 50;
            }
            if (v.free(12) && v.free(2) && ((v.noEnemyPiece(15) && v.noEnemyPiece(16)) || v.toMove)) {
                t += 20;
                if ((v.free(6) && v.free(15) && v.free(16)) || v.toMove) t += 20;
            }
        } else if (v.free(7) && v.occ(8) && v.occ(15) && v.occ(18)) {
            if (v.allFree(M({2, 3, 10})) && !(!v.toMove && v.occ(6)))
                t += 25;
            else
                t -= 25;
        } else if (!(v.free(8) && v.occ(7) && v.occ(16) && v.occ(20))) {
            if (v.enemyManOn(12) && v.enemyManOn(3) &&
                !((v.occ(15) || v.occ(16) || v.occ(2) || v.occ(20)) && !v.toMove)) {
                t += 40;
                if (v.free(4) && v.toMove) t += 55;
            }
        } else {
            if (v.allFree(M({3, 4, 12})))
                t += 25;
            else
                t -= 25;
        }
    }

    // Rule 8. A man on 12 (h6).
    if (v.own(12)) {
        if (v.free(3) && v.free(4)) {
            t += 20;
            if (v.enemyPiece(8) && (v.toMove || v.occ(11))) t += 20;
            // Black's rule reads square 25 where the turned square of 7 is 26.
            const bool seven = ForBlack ? rules::isBlack(b[25]) : v.noEnemyPiece(7);
            if (v.noEnemyPiece(11) && (seven || v.toMove)) {
                t += 10;
                if (v.enemyNoMen) t += 30;
            }
        } else if (v.free(3) && v.free(8) && v.occ(4) && v.occ(11) && v.toMove) {
            t += 10;
        }
    }

    groups[1] = t;
    t = 0;

    // Rule 9. A man on 13 (a5) with its file open.
    if (v.own(13) && v.allFree(M({1, 5, 6, 9}))) {
        t += 10;
        if (!(v.occ(2) && !v.toMove)) t += 10;
        if (v.noEnemyPiece(14)) {
            t += 25;
            if (!((v.enemyPiece(10) || v.enemyPiece(2)) && !v.toMove)) t += 15;
        }
    }

    // Rules 10-14 hold only while the defender has no king to catch them.
    if (v.own(14) && v.allFree(M({1, 2, 6, 9, 10})) && v.enemyNoKings) {
        t += 15;
        if (v.enemyManOn(5) && v.enemyManOn(13))
            t += 5;
        else if (v.free(5) && !v.enemyManOn(13))
            t += 50;
        else if (v.free(7) && !v.enemyManOn(15)) {
            t += 25;
            if (v.free(5)) t += 15;
        }
    }
    if (v.own(15) && v.allFree(M({10, 11, 6, 7, 8, 3, 4})) && v.enemyNoKings) {
        t += 15;
        if (v.free(2)) t += 15;
        if (v.free(14) || v.free(16)) t += 10;
    }
    // Black's rule also wants square 21 occupied.
    if (v.own(16) && v.allFree(M({11, 8, 7, 4, 3})) && v.enemyNoKings && (!ForBlack || b[21] != rules::Empty)) {
        t += 25;
        if (v.free(2)) t += 35;
    }
    if (v.own(19) && v.allFree(M({7, 8, 11, 15, 16})) && v.enemyNoKings) {
        t += 8;
        if (v.enemyManOn(12) && v.enemyManOn(20))
            t += 5;
        else if (!v.enemyManOn(20) && v.allFree(M({12, 2, 3, 4})))
            t += 35;
    }
    if (v.own(20) && v.allFree(M({7, 8, 11, 15, 16, 12, 4, 3})) && !v.enemyManOn(19) && v.enemyNoKings) {
        t += 10;
        if (v.free(2)) t += 35;
    }

    groups[2] = t;
    t = 0;

    // Rule 15. The corner 3, 4, 8, 12 open.
    if (v.allFree(M({3, 4, 8, 12}))) {
        t += 5;
        if (v.own(16)) {
            if (!(v.occ(11) && v.free(20) && !v.toMove)) t += 10;
            if (v.free(11)) {
                t += 12;
                if (!(v.enemyPiece(7) && v.enemyPiece(2) && !v.toMove)) t += 15;
            }
        }
    }

    // Rule 16. A lone defender on 3 or 4 against two attackers.
    // Black's rule wants no black man on 18 (not "no white man").
    const bool clearOf15 = ForBlack ? b[18] != rules::BlackMan : !v.enemyManOn(15);
    if (((v.enemyManOn(4) && v.free(3)) || (v.enemyManOn(3) && v.free(4))) && v.free(8) && v.free(7) && clearOf15) {
        if (v.own(11) && v.own(12))
            t += 60;
        else if ((v.own(11) && v.own(16) && v.free(12)) || (v.own(12) && v.own(16) && v.free(11)))
            t += 30;
        else if (v.own(16) && v.own(20) && v.free(11) && v.free(12))
            t += 20;
    }

    // Rule 17.
    if (v.allFree(M({3, 4, 8, 15})) && v.own(16) && v.own(20)) {
        t += 10;
        if (v.free(12)) t += 20;
    }
    groups[3] = t;
    return groups;
}

// Every rule but the first step of rule 15 needs an own man on one of these
// squares (in the side's own frame).
constexpr SquareMask Advanced = M({5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 19, 20});
constexpr SquareMask OpenCorner = M({3, 4, 8, 12});

// A side without a man on those squares: only the open corner counts.
BreakthroughGroups openCornerOnly(SquareMask emptyInOwnFrame) {
    return {0, 0, 0, all(emptyInOwnFrame, OpenCorner) ? 5 : 0};
}

}  // namespace

int finishBreakthrough(int t, bool whiteToMoveNow, rules::Side side, const EvalWeights& w) {
    int t2 = std::clamp(2 * t, -w[BreakthroughClamp], w[BreakthroughClamp]);
    if (whiteToMoveNow && t2 > 0) t2 += t2 * w[BreakthroughToMove] / 100;
    if (!whiteToMoveNow && t2 < 0) t2 += t2 * w[BreakthroughToMove] / 100;
    return side == rules::Black ? -t2 : t2;
}

int breakthroughTermFromMasks(const EvalState& st, const Board& board, const BoardMasks& m, const TurnedMasks& turned,
                              rules::Side side) {
    const PieceCount& pc = st.acc.pieceCount;
    const bool wtm = whiteToMove(st, side);
    // Most positions have few men this far up: the views are built only for
    // a side that has one.
    BreakthroughGroups w, k;
    if (m.whiteMen & Advanced) {
        const View<false> white{board,
                                m.whiteMen,
                                m.blackMen,
                                m.empty,
                                m.black(),
                                wtm,
                                pc[rules::BlackKing] == 0,
                                pc[rules::BlackMan] == 0};
        w = sideRules(white);
    } else {
        w = openCornerOnly(m.empty);
    }
    if (m.blackMen & turnMask(Advanced)) {
        const View<true> black{board, turned.blackMen,           turned.whiteMen,         turned.empty, turned.black(),
                               !wtm,  pc[rules::WhiteKing] == 0, pc[rules::WhiteMan] == 0};
        k = sideRules(black);
    } else {
        k = openCornerOnly(turned.empty);
    }
    const EvalWeights& ws = st.weights;
    // Scales in percent: with every scale at 100 the sum is the rules' own.
    const int t = (ws[BreakthroughRowSeven] * (w[0] - k[0]) + ws[BreakthroughRowSix] * (w[1] - k[1]) +
                   ws[BreakthroughOpenFiles] * (w[2] - k[2]) + ws[BreakthroughCorner] * (w[3] - k[3])) /
                  100;
    return finishBreakthrough(t, wtm, side, ws);
}

int breakthroughTerm(const EvalState& st, const Board& board, rules::Side side) {
    const BoardMasks masks = boardMasks(board);
    return breakthroughTermFromMasks(st, board, masks, turnedMasks(masks), side);
}

}  // namespace eval
