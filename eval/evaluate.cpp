#include "eval/evaluate.h"

#include "eval/man_safety_bits.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdlib>

#include "eval/accumulators.h"
#include "eval/catalogues.h"
#include "eval/masks.h"

namespace eval {

namespace {

using rules::BlackKing;
using rules::BlackMan;
using rules::Board;
using rules::Empty;
using rules::WhiteKing;
using rules::WhiteMan;

bool inDoubleCorners(const Board& b, rules::PieceCode king) {
    // One king in the corner square of a double corner (b8 or h2), the other
    // on the far square of a double corner (a7 or g1).
    const bool corner = b[1] == king || b[28] == king;
    const bool far = b[5] == king || b[32] == king;
    return corner && far;
}

// Step 12's test: in some direction the square beside the piece on `to` is
// empty and the square opposite holds a piece whose code differs from the
// piece's by two. Codes two apart: a man and a man of the other colour, a
// king and a king of the other colour, a white king and an empty square.
bool lastMoveOffers(const Board& b, const BoardMasks& m, rules::Square to) {
    if (to == 0) return false;
    SquareMask twoApart = 0;
    switch (b[to]) {
        case Empty: twoApart = m.whiteKings; break;
        case WhiteMan: twoApart = m.blackMen; break;
        case WhiteKing: twoApart = m.empty | m.blackKings; break;
        case BlackMan: twoApart = m.whiteMen; break;
        case BlackKing: twoApart = m.whiteKings; break;
        default: return false;
    }
    const SquareMask piece = rules::squareBit(to);
    const auto offers = [&](int d) {
        return (rules::step(piece, d) & m.empty) && (rules::step(piece, 3 - d) & twoApart);
    };
    return offers(0) || offers(1) || offers(2) || offers(3);
}

// The man-safety sum from White's view, man by man, before the clamp.
int manSafetyWalk(const Board& b, const BoardMasks& m, int phase);

// The man-safety sum scaled, clamped and turned to `side`'s view.
int finishManSafety(int sum, const EvalWeights& w, rules::Side side) {
    const int t = std::clamp(sum * w[ManSafety] / 100, -w[ManSafetyClamp], w[ManSafetyClamp]);
    return side == rules::Black ? -t : t;
}

template <bool Trace>
int evaluateImpl(const EvalState& st, const Board& b, rules::Side s, int alpha, int beta, EvalTrace* tr) {
    assert(st.viewSide == s);
    const EvalParameters& p = st.params;
    const EvalWeights& w = st.weights;
    const PieceCount& pc = st.acc.pieceCount;
    const int wm = pc[WhiteMan], wk = pc[WhiteKing], bm = pc[BlackMan], bk = pc[BlackKing];
    const int all = wm + wk + bm + bk;
    const int men = wm + bm;
    const bool oddPly = st.currentPly % 2 == 1;

    // Step 1. A king's value grows as the board empties; a lone king is
    // worth a little more.
    int king = all > p.p1   ? w[KingOpening]
               : all > p.p2 ? w[KingMiddle]
               : all > p.p3 ? w[KingPreEndgame]
                            : w[KingEndgame];
    if (wk + bk == 1) king += w[LoneKingBonus];

    // Step 2. Material, kept in 16 bits.
    int material = static_cast<std::int16_t>(200 * (wm - bm) + king * (wk - bk));
    if (s == rules::Black) material = -material;
    if constexpr (Trace) {
        tr->kingValue = king;
        tr->material = material;
    }
    if (st.materialOnly) {
        if constexpr (Trace) tr->total = material;
        return material;
    }

    // Step 3. Hopeless or overwhelming on material alone.
    if (oddPly ? material <= alpha - 185 : material >= beta + 185) {
        if constexpr (Trace) {
            tr->earlyExit = true;
            tr->total = material;
        }
        return material;
    }

    const BoardMasks masks = boardMasks(b);
    const TurnedMasks turned = turnedMasks(masks);

    // Step 4. With few men left, kings on the long diagonal.
    int diagonal = 0;
    if (wk > 0 && bk > 0 && wm < 5 && bm < 5) {
        constexpr SquareMask LongDiagonal = M({4, 8, 11, 15, 18, 22, 25, 29});
        const SquareMask own = s == rules::White ? masks.whiteKings : masks.blackKings;
        const SquareMask opp = s == rules::White ? masks.blackKings : masks.whiteKings;
        if (own & LongDiagonal) diagonal += w[LongDiagonalKing];
        if (opp & LongDiagonal) diagonal -= w[LongDiagonalKing];
    }

    // Step 5. Men near promotion.
    const int breakthrough = breakthroughTermFromMasks(st, b, masks, turned, s);

    // Steps 6-8. The positional group, clamped together while the board is
    // still full enough.
    int acc = diagonal + st.acc.positional;
    const int tempo = tempoWeight(p, men, st.variant1, st.variant2) * st.acc.tempo;
    acc += tempo;
    int centre = 0, groupClamp = 0;
    if (all > p.p3) {
        const Accumulators& a = st.acc;
        centre =
            w[CentreFile] * (a.ownCentre - a.oppCentre) +
            w[WingSpread] * (std::abs(a.oppRegion[1] - a.oppRegion[2]) - std::abs(a.ownRegion[1] - a.ownRegion[2]));
        acc += centre;
        const int clamped = std::clamp(acc, -w[PositionalClamp], w[PositionalClamp]);
        groupClamp = clamped - acc;
        acc = clamped;
    }

    // Step 9. Wing balance in the opening: own men on a wing of the own half
    // should hold the opponent's men advanced on that wing.
    int wings = 0;
    if (all > p.p1) {
        const Accumulators& a = st.acc;
        const int d1 = a.ownRegion[1] - a.oppRegion[4];
        const int d2 = a.ownRegion[2] - a.oppRegion[3];
        const int d3 = a.ownRegion[4] - a.oppRegion[1];
        const int d4 = a.ownRegion[3] - a.oppRegion[2];
        if (d1 < 0) wings += w[WingBalance] * d1;
        if (d2 < 0) wings += w[WingBalance] * d2;
        if (d3 > 0) wings += w[WingBalance] * d3;
        if (d4 > 0) wings += w[WingBalance] * d4;
        acc += wings;
    }

    // Step 10. Known shots, in positions of men only.
    const int shot = wk == 0 && bk == 0 ? shotTermFromMasks(st, masks, turned, s) : 0;

    // Step 11. Formations and loose men, when no shot decides.
    int structure = 0, safety = 0;
    if (shot == 0) {
        if (st.phase < PhaseEndgame) structure = structureTermFromMasks(st, masks, s);
        if (breakthrough >= -8 && breakthrough <= 8) {
            // Man by man costs in proportion to the men; the square-set form
            // costs the same whatever the board, and wins on a full one.
            const int sum = men > 10 ? manSafetySum(masks, turned, st.phase) : manSafetyWalk(b, masks, st.phase);
            safety = finishManSafety(sum, w, s);
        }
        acc += structure + safety;
    }

    // Step 12. The piece that just moved stands next to a piece it differs
    // from by two codes, with the square beyond it empty: the side to move
    // can take it, which the mover allowed on purpose (an offer that usually
    // opens a combination), so it counts for the mover.
    int lastMove = 0;
    if (st.currentPly > 2) {
        if (lastMoveOffers(b, masks, st.lastTo)) lastMove = oddPly ? -w[LastMoveOffer] : w[LastMoveOffer];
        acc += lastMove;
    }

    // Step 13. The positional sum held within the final clamp (170) either
    // way, so it never outweighs a man; the breakthrough comes on top, unclamped.
    const int clamped = std::clamp(acc, -w[FinalClamp], w[FinalClamp]);
    const int finalClamp = clamped - acc;
    int v = clamped + breakthrough;

    // Step 15. One man each and kings two against one: the race of the men.
    int kingsAndTempo = 0;
    if (wm == 1 && bm == 1 && ((wk == 2 && bk == 1) || (wk == 1 && bk == 2)))
        kingsAndTempo = w[KingsRace] * st.acc.tempo;
    v += kingsAndTempo;

    // Step 16. A known shot, also unclamped.
    v += shot;

    // Step 17. In the endgame, lines opened by a man move are preferred for
    // the side whose man it is.
    int rootMove = 0;
    if (st.phase == PhaseEndgame) {
        if (st.rootMovePiece == BlackMan)
            rootMove = s == rules::Black ? w[RootMoveLine] : -w[RootMoveLine];
        else if (st.rootMovePiece == WhiteMan)
            rootMove = s == rules::White ? w[RootMoveLine] : -w[RootMoveLine];
    }
    v += rootMove;

    // Step 18. Material, added last: no clamp above may cut it.
    v += material;

    // Step 19. Endgame corrections, chosen by the piece counts.
    const int beforeEndgame = v;
    if (wm == 0 && wk == 3 && bm == 1 && bk == 1) {
        const int r = threeKingsTerm(b, rules::White);
        if (r != 0) {
            if (s == rules::White && v + r < 15000) v += r;
            if (s == rules::Black && v - r > -15000) v -= r;
        }
    } else if (bm == 0 && bk == 3 && wm == 1 && wk == 1) {
        const int r = threeKingsTerm(b, rules::Black);
        if (r != 0) {
            if (s == rules::Black && v + r < 15000) v += r;
            if (s == rules::White && v - r > -15000) v -= r;
        }
    } else if (wm == 0 && bm == 0 && wk == 4 && bk == 2 && v > -15000 && v < 15000) {
        // Two kings holding both double corners draw against four.
        if (inDoubleCorners(b, BlackKing)) v /= 2;
    } else if (wm == 0 && bm == 0 && wk == 2 && bk == 4 && v > -15000 && v < 15000) {
        if (inDoubleCorners(b, WhiteKing)) v /= 2;
    }
    const int endgame = v - beforeEndgame;

    // Step 20. Kings on both sides with a few men: hard to win.
    const int beforeQuarter = v;
    if (v > -31000 && v < 31000 && all <= 7 && wk >= 2 && bk >= 2 && wm >= 1 && bm >= 1) v /= 4;

    if constexpr (Trace) {
        tr->longDiagonal = diagonal;
        tr->breakthrough = breakthrough;
        tr->positional = st.acc.positional;
        tr->tempo = tempo;
        tr->centreAndWings = centre;
        tr->groupClamp = groupClamp;
        tr->wingBalance = wings;
        tr->shot = shot;
        tr->structure = structure;
        tr->manSafety = safety;
        tr->lastMove = lastMove;
        tr->finalClamp = finalClamp;
        tr->kingsAndTempo = kingsAndTempo;
        tr->rootMove = rootMove;
        tr->endgame = endgame;
        tr->quarter = v - beforeQuarter;
        tr->total = v;
    }
    return v;
}

// The man-safety rules for one man of colour `Colour`, written for White and
// turned half a circle for Black: forward-left is up-left for White and
// down-right for Black, and so on. Returns the amount from the man's side.
template <rules::Side Colour>
int manSafetyOf(const Board& b, int q, int phase) {
    constexpr bool white = Colour == rules::White;
    constexpr int fl = white ? 0 : 3, fr = white ? 1 : 2;    // forward left / right
    constexpr int bl = white ? 2 : 1, br = white ? 3 : 0;    // back left / right
    constexpr rules::PieceCode ownMan = white ? WhiteMan : BlackMan;
    constexpr rules::PieceCode enemyMan = white ? BlackMan : WhiteMan;
    const auto nb = [](int sq, int d) { return static_cast<int>(rules::neighbour(static_cast<rules::Square>(sq), d)); };
    const auto ahead2 = [](int sq) { return white ? sq - 8 : sq + 8; };   // two rows ahead, same file
    const auto emptyOrOff = [&](int sq) { return sq == 0 || b[sq] == Empty; };
    const auto ownPiece = [&](int sq) { return white ? rules::isWhite(b[sq]) : rules::isBlack(b[sq]); };

    const int ul = nb(q, fl), ur = nb(q, fr), dl = nb(q, bl), dr = nb(q, br);
    int t = 0;

    // Rules 1-2. Empty squares behind a man: it can be attacked from behind.
    if (dl != 0 && b[dl] == Empty) {
        t -= 2;
        if (nb(dl, bl) != 0 && b[nb(dl, bl)] == Empty) t -= 3;
        if (b[dr] == Empty) t -= 2;
    }
    if (dr != 0 && b[dr] == Empty) {
        t -= 2;
        if (nb(dr, br) != 0 && b[nb(dr, br)] == Empty) t -= 3;
        if (b[dl] == Empty) t -= 2;
    }

    // Rule 3. A man pushed ahead of two own men with nothing behind it.
    if ((white ? q >= 13 : q <= 20) && b[ul] == ownMan && b[ur] == ownMan && b[dl] == Empty && b[dr] == Empty &&
        emptyOrOff(nb(ul, fl)) && emptyOrOff(nb(ur, fr)) && b[ahead2(q)] == Empty) {
        t -= 12;
        if (phase == PhaseEndgame) t -= 12;
        if (b[ahead2(ul)] == enemyMan && b[ahead2(ur)] == enemyMan) t -= 15;
    }

    // Rule 4. An enemy man in front with the square behind empty takes it.
    int f = 0;
    if (b[ul] != Empty) {
        if (b[ul] == enemyMan && b[dr] == Empty) t -= 50;
    } else {
        if (b[dr] != enemyMan)
            f += 2;
        else
            t -= 50;
    }
    if (b[ur] == Empty) {
        if (b[dl] != enemyMan)
            f += 2;
        else
            t -= 50;
    }
    if (ownPiece(ur) && (white ? q < 20 : q >= 14) && f == 0 && b[dl] == Empty && b[dr] == Empty) t -= 10;
    if (b[ur] == enemyMan && b[dl] == Empty) t -= 50;
    t += f;

    // Rule 5. Free to advance.
    if (f >= 4 && (white ? q < 24 : q >= 8)) {
        int k = 0;
        if (b[nb(ul, fl)] == enemyMan)
            ++k;
        else
            t += 5;
        if (b[nb(ur, fr)] == enemyMan)
            ++k;
        else
            t += 5;
        if (k > 0 && b[ahead2(q)] == enemyMan && b[dl] == Empty && b[dr] == Empty) {
            t -= 5;
            if (k == 2) t -= 15;
        }
    }
    return t;
}

int manSafetyWalk(const Board& b, const BoardMasks& m, int phase) {
    // Squares where a man is most often caught: rows 7 to 2 away from the
    // edges of the far rows. White's men are looked at from 9 on, Black's up
    // to 24.
    constexpr SquareMask Caught = M({4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24, 25});
    constexpr SquareMask WhiteFrom9 = Caught & ~M({4, 5, 6, 7, 8});
    constexpr SquareMask BlackTo24 = Caught & ~M({25});
    int t = 0;
    for (SquareMask w = m.whiteMen & WhiteFrom9; w; w &= w - 1)
        t += manSafetyOf<rules::White>(b, std::countr_zero(w) + 1, phase);
    for (SquareMask k = m.blackMen & BlackTo24; k; k &= k - 1)
        t -= manSafetyOf<rules::Black>(b, std::countr_zero(k) + 1, phase);
    return t;
}

}  // namespace

Score evaluate(const EvalState& st, const Board& board, rules::Side side, int alpha, int beta) {
    return static_cast<Score>(evaluateImpl<false>(st, board, side, alpha, beta, nullptr));
}

Score evaluateTraced(const EvalState& st, const Board& board, rules::Side side, int alpha, int beta, EvalTrace& trace) {
    trace = {};
    return static_cast<Score>(evaluateImpl<true>(st, board, side, alpha, beta, &trace));
}

namespace {
void prepareStatic(EvalState& st, const Board& board, rules::Side side) {
    st.acc.pieceCount = recountPieces(board);
    buildAccumulators(st, board, side);
    st.currentPly = 2;
}
}  // namespace

Score evaluateStatic(EvalState& st, const Board& board, rules::Side side) {
    prepareStatic(st, board, side);
    return evaluate(st, board, side, -Infinity, Infinity);
}

Score evaluateStaticTraced(EvalState& st, const Board& board, rules::Side side, EvalTrace& trace) {
    prepareStatic(st, board, side);
    return evaluateTraced(st, board, side, -Infinity, Infinity, trace);
}

int threeKingsTerm(const Board& b, rules::Side strong) {
    const rules::PieceCode king = strong == rules::White ? WhiteKing : BlackKing;
    const rules::PieceCode man = strong == rules::White ? BlackMan : WhiteMan;
    int k[3] = {0, 0, 0}, n = 0, m = 0;
    for (int q = 1; q <= rules::NumSquares; ++q) {
        if (b[q] == king && n < 3)
            k[n++] = q;
        else if (b[q] == man)
            m = q;
    }
    if (n < 3 || m == 0) return 0;
    // Files 1..8 for a..h.
    const auto c = [](int q) { return rules::squareFile(q) + 1; };
    const int cm = c(m);
    int r = 0;
    if ((onLongDiagonal(k[0]) || onLongDiagonal(k[1]) || onLongDiagonal(k[2])) && cm == c(k[0])) r = 120;
    if (cm == c(k[0]) - 1 || cm == c(k[0]) + 1) r += 40;
    if (c(k[1]) == cm) r += 110;
    if (cm == c(k[1]) - 1 || cm == c(k[1]) + 1) r += 35;
    if (c(k[2]) == cm) r += 100;
    if (cm == c(k[2]) - 1 || cm == c(k[2]) + 1) r += 30;
    return r;
}

int manSafetyTerm(const Board& b, int phase, rules::Side side, const EvalWeights& w) {
    return finishManSafety(manSafetyWalk(b, boardMasks(b), phase), w, side);
}

}  // namespace eval
