#include "eval/man_safety_bits.h"

#include "eval/parameters.h"

namespace eval {

namespace {

// The squares whose neighbour in direction d lies in `m` (0 up-left,
// 1 up-right, 2 down-left, 3 down-right).
constexpr SquareMask from(SquareMask m, int d) { return rules::stepBack(m, d); }

int count(SquareMask m) { return rules::countSquares(m); }

// One colour's sum, from that colour's view. Fl/Fr are its forward
// directions, Bl/Br the backward ones (Bl behind-left, opposite Fr).
template <bool White>
int sideSum(const BoardMasks& m, int phase) {
    constexpr int Fl = White ? 0 : 3, Fr = White ? 1 : 2, Bl = White ? 2 : 1, Br = White ? 3 : 0;
    // Squares a man is looked at on, and the bounds of rules 3, 4 and 5.
    constexpr SquareMask Looked = White ? M({9, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24, 25})
                                        : M({4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24});
    constexpr SquareMask Rule3 =
        White ? ~M({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) : ~M({21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32});
    constexpr SquareMask Rule4 = White ? M({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19})
                                       : ~M({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    constexpr SquareMask Rule5 = White ? ~M({24, 25, 26, 27, 28, 29, 30, 31, 32}) : ~M({1, 2, 3, 4, 5, 6, 7});
    const SquareMask men = (White ? m.whiteMen : m.blackMen) & Looked;
    const SquareMask ownMen = White ? m.whiteMen : m.blackMen;
    const SquareMask own = White ? m.white() : m.black();
    const SquareMask enemyMen = White ? m.blackMen : m.whiteMen;
    const SquareMask empty = m.empty;
    const SquareMask occupied = ~empty;
    // Two rows ahead in the same file: four squares back for White.
    const auto ahead2 = [](SquareMask x) { return White ? x << 8 : x >> 8; };  // s with s -/+ 8 in x

    const SquareMask blE = from(empty, Bl), brE = from(empty, Br);
    const SquareMask flE = from(empty, Fl), frE = from(empty, Fr);
    int t = 0;

    // Rules 1-2. Empty squares behind a man.
    t -= 2 * count(men & blE) + 3 * count(men & blE & from(from(empty, Bl), Bl)) + 2 * count(men & blE & brE);
    t -= 2 * count(men & brE) + 3 * count(men & brE & from(from(empty, Br), Br)) + 2 * count(men & brE & blE);

    // Rule 3. A man ahead of two own men, nothing behind it.
    const SquareMask pushed = men & Rule3 & from(ownMen, Fl) & from(ownMen, Fr) & blE & brE &
                              ~from(from(occupied, Fl), Fl) & ~from(from(occupied, Fr), Fr) & ahead2(empty);
    t -= (phase == PhaseEndgame ? 24 : 12) * count(pushed);
    t -= 15 * count(pushed & from(ahead2(enemyMen), Fl) & from(ahead2(enemyMen), Fr));

    // Rule 4. Enemy men in front with the square behind empty.
    const SquareMask flEnemy = from(enemyMen, Fl), frEnemy = from(enemyMen, Fr);
    const SquareMask blEnemy = from(enemyMen, Bl), brEnemy = from(enemyMen, Br);
    t -= 50 * count(men & ~flE & flEnemy & brE);
    const SquareMask leftFree = men & flE & ~brEnemy, rightFree = men & frE & ~blEnemy;
    t -= 50 * count(men & flE & brEnemy);
    t -= 50 * count(men & frE & blEnemy);
    const SquareMask noFreedom = men & ~leftFree & ~rightFree;
    t -= 10 * count(noFreedom & Rule4 & from(own, Fr) & blE & brE);
    t -= 50 * count(men & frEnemy & blE);
    t += 2 * (count(leftFree) + count(rightFree));

    // Rule 5. Free to advance.
    const SquareMask free = leftFree & rightFree & Rule5;
    const SquareMask k1 = from(from(enemyMen, Fl), Fl), k2 = from(from(enemyMen, Fr), Fr);
    t += 5 * count(free & ~k1) + 5 * count(free & ~k2);
    const SquareMask watched = free & ahead2(enemyMen) & blE & brE;
    t -= 5 * count(watched & (k1 | k2)) + 15 * count(watched & k1 & k2);
    return t;
}

}  // namespace

int manSafetySum(const BoardMasks& m, int phase) { return sideSum<true>(m, phase) - sideSum<false>(m, phase); }

}  // namespace eval
