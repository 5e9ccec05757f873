// Formations of men: outposts and their supports, blocked wings, open back
// rows, and the classical locks of the 8x8 game. Most rules come in pairs, a
// White formation and the same one turned half a circle for Black, with the
// opposite sign.

#include <algorithm>
#include <array>

#include "eval/catalogues.h"
#include "eval/evaluate.h"
#include "eval/masks.h"

namespace eval {

namespace {

using rules::Board;

// The rules' vocabulary over square masks: Wq a white man on q, Bq a black
// man, Eq empty, Oq occupied, nWq / nBq no white / black man.
struct Squares {
    SquareMask w, b, e;
    bool W(int q) const { return has(w, q); }
    bool B(int q) const { return has(b, q); }
    bool E(int q) const { return has(e, q); }
    bool O(int q) const { return !has(e, q); }
    bool nW(int q) const { return !has(w, q); }
    bool nB(int q) const { return !has(b, q); }
    bool Ws(SquareMask m) const { return all(w, m); }
    bool Bs(SquareMask m) const { return all(b, m); }
    bool Es(SquareMask m) const { return all(e, m); }
    int countW(SquareMask m) const { return rules::countSquares(w & m); }
    int countB(SquareMask m) const { return rules::countSquares(b & m); }
};

// The rules are laid out one to a line, as they are numbered; the
// formatter leaves them so.
// clang-format off
// The rules' sum with each group weighed by its scale (percent): with every
// scale at 100, a hundred times the rules' own sum.
int structureSum(const Squares& s, int phase, int whiteMen, int blackMen, bool wtm, const EvalWeights& w) {
    const bool btm = !wtm;
    int sum = 0;
    int t = 0;
    // Ends a group: its rules' sum t, scaled, joins the total (without a
    // test of t, which the processor could not foresee).
    const auto close = [&](Weight group) {
        sum += w[group] * t;
        t = 0;
    };

    // Rules 1-8: the opening and middle game.
    if (phase < PhasePreEndgame) {
        if (s.W(14)) { t += 5; if (s.E(1)) t += 10; }
        if (s.W(18)) t += 5;
        if (s.Ws(M({13})) && s.Bs(M({6, 9}))) { t += 5; if (s.E(2)) t += 10; if (s.B(1)) t += 5; if (s.B(5)) t += 5; }
        if (s.B(19)) { t -= 5; if (s.E(32)) t -= 10; }
        if (s.B(15)) t -= 5;
        if (s.B(20) && s.Ws(M({27, 24}))) { t -= 5; if (s.E(31)) t -= 10; if (s.W(32)) t -= 5; if (s.W(28)) t -= 5; }
        if (s.Ws(M({15, 20})) && s.Bs(M({12, 8, 4}))) t -= 5;
        // The turn of rule 7: White's men on 25 and 29 (a black man can
        // never stand on 29, Black's promotion row).
        if (s.Bs(M({18, 13})) && s.Ws(M({21, 25, 29}))) t += 5;
    }

    close(StructureOpening);

    // Rules 9-14: the double corners and back rows.
    if (s.Es(M({32, 28}))) {
        t -= 10;
        if (s.O(24)) { t -= 10; if (s.B(20)) t -= 15; }
        if (phase == PhaseOpening) t -= 10;
    }
    if (s.Es(M({1, 5}))) {
        t += 10;
        if (s.O(9)) { t += 10; if (s.W(13)) t += 15; }
        if (phase == PhaseOpening) t += 10;
    }
    if (s.W(12) && s.E(3)) { t += 15; if (s.B(4)) t += 10; }
    if (s.B(21) && s.E(30)) { t -= 15; if (s.W(29)) t -= 10; }
    if (phase == PhaseOpening && s.E(2)) {
        t += 3;
        if (s.E(1)) { if (s.W(13)) t += 10; if (s.W(14)) t += 10; }
    }
    if (phase == PhaseOpening && s.E(31)) {
        t -= 3;
        if (s.E(32)) { if (s.B(20)) t -= 10; if (s.B(19)) t -= 10; }
    }

    close(StructureBackRows);

    // Rules 15-16: the pre-endgame and endgame.
    if (phase > PhaseMiddle && s.Bs(M({7, 12})) && s.Ws(M({16, 19})) && s.Es(M({15, 10, 11}))) {
        t -= 5;
        if (s.Es(M({4, 8, 23, 27, 26}))) { t -= 10; if (s.W(24)) t -= 10; if (s.W(28)) t -= 10; }
    }
    if (phase > PhaseMiddle && s.Ws(M({26, 21})) && s.Bs(M({17, 14})) && s.Es(M({18, 23, 22}))) {
        t += 5;
        if (s.Es(M({29, 25, 10, 6, 7}))) { t += 10; if (s.B(9)) t += 10; if (s.B(5)) t += 10; }
    }

    close(StructureLateWings);

    // Rules 17-28: locked wings and centres.
    if (s.Ws(M({20, 24, 28})) && s.Bs(M({11, 15, 16, 19})) && s.E(27)) {
        t += 5;
        if (s.E(26)) t += 20;
        if (s.E(12)) t += 20;
        if (s.O(4)) t += 5;
        if (s.O(8)) t += 5;
        if (s.E(3)) t += 10;
    }
    if (s.Bs(M({13, 9, 5})) && s.Ws(M({22, 18, 17, 14})) && s.E(6)) {
        t -= 5;
        if (s.E(7)) t -= 20;
        if (s.E(21)) t -= 20;
        if (s.O(29)) t -= 5;
        if (s.O(25)) t -= 5;
        if (s.E(30)) t -= 10;
    }
    if (s.Bs(M({14, 15, 18})) && s.Ws(M({22, 23, 25, 27})) && s.Es(M({17, 19}))) {
        t += 10;
        if (s.Es(M({26, 21}))) t += 20 + 7 * s.countB(M({1, 2, 5, 6, 9, 10, 13})) - 8 * s.countW(M({29, 30, 31}));
    }
    if (s.Ws(M({19, 18, 15})) && s.Bs(M({11, 10, 8, 6})) && s.Es(M({16, 14}))) {
        t -= 10;
        if (s.Es(M({7, 12}))) t += -20 - 7 * s.countW(M({32, 31, 28, 27, 24, 23, 20})) + 8 * s.countB(M({4, 3, 2}));
    }
    if (s.Bs(M({10, 11, 15})) && s.Ws(M({18, 19, 22, 24})) && s.Es(M({14, 16, 17, 20}))) { t += 15; if (s.E(23)) t += 40; }
    if (s.Ws(M({23, 22, 18})) && s.Bs(M({15, 14, 11, 9})) && s.Es(M({19, 17, 16, 13}))) { t -= 15; if (s.E(10)) t -= 40; }
    if (s.Bs(M({6, 7, 10})) && s.Ws(M({14, 15, 17, 19})) && s.Es(M({9, 11, 13, 16}))) { t += 15; if (s.E(18)) t += 40; }
    if (s.Ws(M({27, 26, 23})) && s.Bs(M({19, 18, 16, 14})) && s.Es(M({24, 22, 20, 17}))) { t -= 15; if (s.E(15)) t -= 40; }
    if (s.Bs(M({7, 8, 11, 3})) && s.Ws(M({15, 16, 18, 20})) && s.Es(M({10, 12, 14}))) { t += 35; if (s.E(19)) t += 20; }
    if (s.Ws(M({26, 25, 22, 30})) && s.Bs(M({18, 17, 15, 13})) && s.Es(M({23, 21, 19}))) { t -= 35; if (s.E(14)) t -= 20; }
    if (s.Bs(M({10, 11, 14, 16})) && s.Ws(M({17, 20, 21, 23})) && s.Es(M({12, 9, 13, 15, 18, 19}))) t += 20;
    if (s.Ws(M({23, 22, 19, 17})) && s.Bs(M({16, 13, 12, 10})) && s.Es(M({21, 24, 20, 18, 15, 14}))) t -= 20;

    close(StructureLocks);

    // Rules 29-38: the edge columns a and h.
    if (s.Ws(M({13, 17, 21})) && s.B(5) && s.Es(M({9, 10}))) {
        if (s.Es(M({6, 14}))) { t += 5; if (s.B(7) && s.E(3)) t += 50; }
        if (s.W(14)) { t += 10; if (s.B(7) && s.E(3)) t += 50; }
    }
    if (s.Bs(M({20, 16, 12})) && s.W(28) && s.Es(M({24, 23}))) {
        if (s.Es(M({27, 19}))) { t -= 5; if (s.W(26) && s.E(30)) t -= 50; }
        if (s.B(19)) { t -= 10; if (s.W(26) && s.E(30)) t -= 50; }
    }
    if (s.Ws(M({13, 17, 21})) && s.Bs(M({9, 14})) && s.E(22)) { t += 10; if (s.Es(M({25, 29}))) t += 15; }
    if (s.Bs(M({20, 16, 12})) && s.Ws(M({24, 19})) && s.E(11)) { t -= 10; if (s.Es(M({8, 4}))) t -= 15; }
    if (s.Ws(M({14, 17, 21})) && s.Bs(M({5, 10})) && s.Es(M({6, 9})) && s.nB(13)) { t += 15; if (s.E(2) || s.E(1)) t += 30; }
    if (s.Bs(M({19, 16, 12})) && s.Ws(M({28, 23})) && s.Es(M({27, 24})) && s.nW(20)) { t -= 15; if (s.E(31) || s.E(32)) t -= 30; }
    if (s.Ws(M({19, 24, 28})) && s.Bs(M({12, 15})) && s.Es(M({11, 16})) && s.nB(20)) { t += 10; if (s.B(10) && s.E(6)) t += 8; }
    if (s.Bs(M({14, 9, 5})) && s.Ws(M({21, 18})) && s.Es(M({22, 17})) && s.nW(13)) { t -= 10; if (s.W(23) && s.E(27)) t -= 8; }
    if (s.Ws(M({13, 17, 21})) && s.Bs(M({5, 18, 14}))) t += 10;
    if (s.Bs(M({20, 16, 12})) && s.Ws(M({28, 15, 19}))) t -= 10;

    close(StructureEdgeFiles);

    // Rules 39-44: men deep in the opponent's camp.
    if (s.W(11) && s.Es(M({7, 8, 3})) && s.nB(15) && s.nB(16) && s.Bs(M({2, 4}))) {
        t += 15;
        if (s.W(12) && (s.E(20) || s.W(19))) t += 35;
        if (s.O(18) && s.B(10) && s.E(15)) t -= 20;
    }
    if (s.B(22) && s.Es(M({26, 25, 30})) && s.nW(18) && s.nW(17) && s.Ws(M({31, 29}))) {
        t -= 15;
        if (s.B(21) && (s.E(13) || s.B(14))) t -= 35;
        if (s.O(15) && s.W(23) && s.E(18)) t += 20;
    }
    if (s.W(10) && s.Es(M({6, 7, 2})) && s.nB(14) && s.nB(15)) {
        t += 30;
        if (s.Bs(M({1, 3}))) t += 15;
        else if ((s.Bs(M({1, 11})) && s.E(3)) || (s.Bs(M({3, 9})) && s.E(1)) || (s.Bs(M({9, 11})) && s.Es(M({1, 3})))) t += 10;
    }
    if (s.B(23) && s.Es(M({27, 26, 31})) && s.nW(19) && s.nW(18)) {
        t -= 40;   // heavier than White's 30 on purpose
        if (s.Ws(M({32, 30}))) t -= 15;
        else if ((s.Ws(M({32, 22})) && s.E(30)) || (s.Ws(M({30, 24})) && s.E(32)) || (s.Ws(M({24, 22})) && s.Es(M({32, 30})))) t -= 10;
    }
    if (s.Bs(M({14, 16})) && s.W(23) && s.Es(M({15, 18, 19})) &&
        ((s.Ws(M({26, 30})) && s.E(12)) || (s.Ws(M({27, 32})) && s.E(9))))
        t += 25;
    if (s.Ws(M({19, 17})) && s.B(10) && s.Es(M({18, 15, 14})) && ((s.Bs(M({7, 3})) && s.E(21)) || (s.Bs(M({6, 1})) && s.E(24))))
        t -= 25;

    close(StructureDeepMen);

    // Rules 45-52: threats against a wing.
    if (s.W(21) && s.Bs(M({17, 14}))) {
        t += 2;
        if (s.W(26)) { t += 3; if (s.W(22) && s.E(13) && !(btm && s.O(9))) t += 55; }
    }
    if (s.B(12) && s.Ws(M({16, 19}))) {
        t -= 2;
        if (s.B(7)) { t -= 3; if (s.B(11) && s.E(20) && (btm || s.E(24))) t -= 55; }
    }
    if (s.Ws(M({20, 16})) && s.E(11) && s.Bs(M({7, 8})) && ((s.E(19) && s.nB(12)) || s.Ws(M({19, 23})))) {
        if (s.E(4)) { t += 4; if (s.W(12)) t += 4; if (wtm && s.O(15)) t += 40; }
        if (s.O(15)) { t += 4; if (wtm) t += 40; }
    }
    if (s.Bs(M({13, 17})) && s.E(22) && s.Ws(M({26, 25})) && ((s.E(14) && s.nW(21)) || s.Bs(M({14, 10})))) {
        if (s.E(29)) { t -= 4; if (s.B(21)) t -= 4; if (btm && s.O(18)) t -= 40; }
        if (s.O(18)) { t -= 4; if (btm) t -= 40; }
    }
    if (s.Ws(M({28, 24})) && s.E(19) && s.Bs(M({15, 16})) && ((s.E(27) && s.nB(20)) || s.Ws(M({27, 31})))) {
        if (s.E(12)) { t += 4; if (s.W(20)) t += 4; if (wtm) t += 40; }
        if (s.O(23)) { t += 4; if (wtm) t += 40; }
    }
    if (s.Bs(M({5, 9})) && s.E(14) && s.Ws(M({18, 17})) && ((s.E(6) && s.nW(13)) || s.Bs(M({6, 2})))) {
        if (s.E(21)) { t -= 4; if (s.B(13)) t -= 4; if (btm) t -= 40; }
        if (s.O(10)) { t -= 4; if (btm) t -= 40; }
    }
    if (s.Ws(M({17, 21})) && s.E(14) && s.Bs(M({9, 10})) && ((s.E(22) && s.nB(13)) || s.Ws(M({22, 26})))) {
        if (s.E(5)) { t += 4; if (s.W(13)) t += 4; if (wtm) t += 40; }
        if (s.O(18)) { t += 4; if (wtm) t += 40; }
    }
    if (s.Bs(M({16, 12})) && s.E(19) && s.Ws(M({24, 23})) && ((s.E(11) && s.nW(20)) || s.Bs(M({11, 7})))) {
        if (s.E(28)) { t -= 4; if (s.B(20)) t -= 4; if (btm) t -= 40; }
        if (s.O(15)) { t -= 4; if (btm) t -= 40; }
    }

    close(StructureWingThreats);

    // Rules 53-54: the man on h4 (White) and a5 (Black).
    if (s.W(20)) {
        if (s.W(26) && s.B(16) && s.B(11) && s.B(19)) {
            if (s.W(23)) { t += 10; t += 5 * s.countB(M({12, 8, 4})); }
        } else if (s.nW(19) || s.nW(23) || s.nB(16) || s.nB(11) || s.nB(12) || s.O(15) || s.B(14)) {
            if (s.E(4)) { t += 5; if (s.Bs(M({8, 12}))) t += 5; if (s.E(2)) t += 5; }
            if (s.E(2)) t += 9;
        } else {
            t += 5 + 2 * s.countB(M({8, 4})) + (s.E(3) ? 2 : 0);
        }
    }
    if (s.B(13)) {
        if (s.B(7) && s.W(17) && s.W(22) && s.W(14)) {
            if (s.B(10)) { t -= 10; t -= 5 * s.countW(M({21, 25, 29})); }
        } else if (s.nB(14) || s.nB(10) || s.nW(17) || s.nW(22) || s.nW(21) || s.O(18) || s.W(19)) {
            if (s.E(29)) { t -= 5; if (s.Ws(M({25, 21}))) t -= 5; if (s.E(31)) t -= 5; }
            if (s.E(31)) t -= 9;
        } else {
            t -= 5 + 2 * s.countW(M({25, 29})) + (s.E(30) ? 2 : 0);
        }
    }

    close(StructureEdgeMen);

    // Rules 55-58: the guard of the double corner.
    if (s.W(28) && s.W(24)) t += 2;
    if (s.nW(28) && s.nW(32) && whiteMen >= 6) {
        t -= 7;
        if (whiteMen > 8) t -= 5;
        if (s.W(24)) t -= 2;
        if (s.W(19)) t -= 2;
    }
    if (s.B(5) && s.B(9)) t -= 2;
    if (s.nB(5) && s.nB(1) && blackMen >= 6) {
        t += 7;
        if (blackMen > 8) t += 5;
        if (s.B(9)) t += 2;
        if (s.B(14)) t += 2;
    }

    close(StructureCornerGuard);

    // Rules 59-64: compact chains.
    if (s.Ws(M({18, 23, 27})) && s.E(14)) t += 2;
    if (s.Bs(M({15, 10, 6})) && s.E(19)) t -= 2;
    if (s.Ws(M({14, 15, 18, 22, 23})) && s.E(10)) t += 4;
    if (s.Bs(M({19, 18, 15, 11, 10})) && s.E(23)) t -= 4;
    if (s.Ws(M({18, 19, 23, 26, 27})) && s.E(15)) t += 4;
    if (s.Bs(M({15, 14, 10, 7, 6})) && s.E(18)) t -= 4;

    close(StructureChains);

    // Rules 65-70: two against three on a wing.
    if (s.Bs(M({11, 12})) && s.Ws(M({19, 20, 24})) && s.Es(M({15, 16, 8, 4}))) t += s.O(28) ? 30 : -20;
    if (s.Ws(M({22, 21})) && s.Bs(M({14, 13, 9})) && s.Es(M({18, 17, 25, 29}))) t += s.O(5) ? -30 : 20;
    if (s.Bs(M({10, 11})) && s.Ws(M({18, 19, 23})) && s.Es(M({14, 15, 16, 7}))) {
        if (s.O(26) || s.O(27)) t += 30;
        else if (s.E(20)) t -= 20;
    }
    if (s.Ws(M({23, 22})) && s.Bs(M({15, 14, 10})) && s.Es(M({19, 18, 17, 26}))) {
        if (s.O(7) || s.O(6)) t -= 30;
        else if (s.E(13)) t += 20;
    }
    if (s.Bs(M({14, 15})) && s.Ws(M({22, 23, 26})) && s.Es(M({17, 18, 19, 10}))) {
        if (s.O(30) || s.O(31)) t += 30;
        else if (s.E(24)) t -= 20;
    }
    if (s.Ws(M({19, 18})) && s.Bs(M({11, 10, 7})) && s.Es(M({16, 15, 14, 23}))) {
        if (s.O(3) || s.O(2)) t -= 30;
        else if (s.E(9)) t += 20;
    }

    close(StructureTwoAgainstThree);

    // Rules 71-72: with White down to fewer than eight men.
    if (whiteMen < 8 && s.B(7) && s.Ws(M({12, 16, 20})) && s.Es(M({3, 4, 8, 18, 19}))) {
        if (s.nB(11) || s.O(15)) {
            if (s.E(11) && s.B(15)) t += 20;
        } else {
            t -= 10;
        }
    }
    if (whiteMen < 8 && s.W(26) && s.Bs(M({21, 17, 13})) && s.Es(M({30, 29, 25, 15, 14}))) {
        if (s.W(22) && s.E(18)) t += 10;
        else if (s.E(22) && s.W(18) && s.E(20)) t -= 20;
    }

    close(StructureShortOfMen);

    // Rules 73-74: the a-file chain against d6, the h-file chain against e3.
    if (s.Ws(M({13, 17, 21})) && s.B(10)) {
        if (s.B(14)) {
            if (s.E(19)) t += 10;
            if (whiteMen < 9 && s.Es(M({9, 5, 6, 1, 15, 22}))) {
                t += 20;
            } else if (s.Bs(M({9, 6}))) {
                t += 10;
                if (s.B(5)) t += 10;
                if (s.B(1)) t += 10;
                if (s.E(5) || s.E(7)) { t += 20; if (s.W(23) || s.E(22)) t += 10; }
            }
        } else if (s.E(14) && s.B(9) && s.B(18) && !(s.O(23) && s.O(5))) {
            t += 5;
            if (wtm) t += 40;
        }
    }
    if (s.Bs(M({20, 16, 12})) && s.W(23)) {
        if (s.W(19)) {
            if (s.E(14)) t -= 10;
            if (blackMen < 9 && s.Es(M({24, 28, 27, 32, 18, 11}))) {
                t -= 20;
            } else if (s.Ws(M({24, 27}))) {
                t -= 10;
                if (s.W(28)) t -= 10;
                if (s.W(32)) t -= 10;
                if (s.E(28) || s.E(26)) { t -= 20; if (s.B(10) || s.E(11)) t -= 10; }
            }
        } else if (s.E(19) && s.W(24) && s.W(15) && !(s.O(10) && s.O(28))) {
            t -= 5;
            if (btm) t -= 40;
        }
    }

    close(StructureFileChains);

    // Rules 75-76.
    if (s.Ws(M({13, 18, 23})) && s.Bs(M({6, 9, 14})) && s.Es(M({17, 15})) && (s.E(22) || (s.W(21) && s.E(10)))) {
        t += 30;
        if (s.E(10)) t += 10;
        if (s.W(19)) t += 10;
        if (s.B(1)) t += 10;
        if (s.B(5)) t += 10;
    }
    if (s.Bs(M({20, 15, 10})) && s.Ws(M({27, 24, 19})) && s.Es(M({16, 18})) && (s.E(11) || (s.B(12) && s.E(23)))) {
        t -= 30;
        if (s.E(23)) t -= 10;
        if (s.B(14)) t -= 10;
        if (s.W(32)) t -= 10;
        if (s.W(28)) t -= 10;
    }
    close(StructureWedges);
    return sum;
}
// clang-format on

}  // namespace

int structureTermFromMasks(const EvalState& st, const BoardMasks& m, rules::Side side) {
    const PieceCount& pc = st.acc.pieceCount;
    const Squares s{m.whiteMen, m.blackMen, m.empty};
    const int t =
        structureSum(s, st.phase, pc[rules::WhiteMan], pc[rules::BlackMan], whiteToMove(st, side), st.weights) / 100;
    const int clamped = std::clamp(t, -st.weights[StructureClamp], st.weights[StructureClamp]);
    return side == rules::Black ? -clamped : clamped;
}

int structureTerm(const EvalState& st, const Board& board, rules::Side side) {
    return structureTermFromMasks(st, boardMasks(board), side);
}

}  // namespace eval
