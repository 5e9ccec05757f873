#include "eval/man_safety_bits.h"

#include <cstdint>

#include "eval/parameters.h"

namespace eval {

namespace {

// Both colours at once in one 64-bit word: White's squares in the low half,
// Black's in the high half turned half a circle (square q as 33 - q). Turned,
// Black's men also move up the board, so the rules written once for White
// serve both colours, with half the mask operations and counts.
using Pair = std::uint64_t;

constexpr Pair pairOf(SquareMask white, SquareMask blackTurned) { return Pair{white} | Pair{blackTurned} << 32; }
constexpr Pair inBoth(SquareMask m) { return pairOf(m, m); }

// One step in direction d (0 up-left, 1 up-right, 2 down-left, 3 down-right)
// within each half, as rules::step. Shifts up the board carry squares of the
// high half's top row into the low half's bottom row, and shifts down carry
// the low half's bottom row into the high half's top row: no step ever
// lands there, so those squares are dropped.
constexpr Pair stepInHalves(Pair m, int d) {
    constexpr Pair Even = inBoth(rules::EvenRows), Odd = inBoth(rules::OddRows);
    constexpr Pair NotA = ~inBoth(rules::FileA), NotH = ~inBoth(rules::FileH);
    constexpr Pair NotLowBottomRow = ~Pair{M({29, 30, 31, 32})};
    constexpr Pair NotHighTopRow = ~(Pair{M({1, 2, 3, 4})} << 32);
    switch (d) {
        case 0: return (((m & Even) >> 4) | ((m & Odd & NotA) >> 5)) & NotLowBottomRow;
        case 1: return (((m & Even & NotH) >> 3) | ((m & Odd) >> 4)) & NotLowBottomRow;
        case 2: return (((m & Even) << 4) | ((m & Odd & NotA) << 3)) & NotHighTopRow;
        case 3: return (((m & Even & NotH) << 5) | ((m & Odd) << 4)) & NotHighTopRow;
    }
    return 0;
}
// The squares whose neighbour in direction d lies in `m`.
constexpr Pair from(Pair m, int d) { return stepInHalves(m, 3 - d); }
// The squares two rows ahead of `m` in the same file (q with q - 8 in m);
// the low half's last two rows would spill into the high half's first two.
constexpr Pair ahead2(Pair m) { return (m << 8) & ~(Pair{M({1, 2, 3, 4, 5, 6, 7, 8})} << 32); }

// Square counts times weights, kept for both halves at once in four 16-bit
// lanes, two per colour. A lane counts at most 16 squares and the weights a
// tally receives sum to less than 65536 / 16, so no lane overflows.
class Tally {
public:
    void add(int weight, Pair m) {
        m = m - ((m >> 1) & 0x5555555555555555u);
        m = (m & 0x3333333333333333u) + ((m >> 2) & 0x3333333333333333u);
        m = (m + (m >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
        m = (m + (m >> 8)) & 0x00FF00FF00FF00FFu;
        m_lanes += static_cast<std::uint64_t>(weight) * m;
    }
    int white() const { return static_cast<int>((m_lanes & 0xFFFF) + ((m_lanes >> 16) & 0xFFFF)); }
    int black() const { return static_cast<int>(((m_lanes >> 32) & 0xFFFF) + (m_lanes >> 48)); }

private:
    std::uint64_t m_lanes = 0;
};

}  // namespace

int manSafetySum(const BoardMasks& m, const TurnedMasks& turned, int phase) {
    // The squares a man is looked at on, and the bounds of rules 3, 4 and 5,
    // each colour's in its own frame (Black's turned).
    constexpr Pair Looked = pairOf(M({9, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24, 25}),
                                   turnMask(M({4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24})));
    constexpr Pair Rule3 = inBoth(~M({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    constexpr Pair Rule4 = inBoth(M({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    constexpr Pair Rule5 = pairOf(~M({24, 25, 26, 27, 28, 29, 30, 31, 32}), turnMask(~M({1, 2, 3, 4, 5, 6, 7})));
    // Forward and backward for a man of either colour in its own frame.
    constexpr int Fl = 0, Fr = 1, Bl = 2, Br = 3;

    const Pair ownMen = pairOf(m.whiteMen, turned.blackMen);
    const Pair men = ownMen & Looked;
    const Pair own = pairOf(m.white(), turned.black());
    const Pair enemyMen = pairOf(m.blackMen, turned.whiteMen);
    const Pair empty = pairOf(m.empty, turned.empty);
    const Pair occupied = ~empty;

    const Pair blE = from(empty, Bl), brE = from(empty, Br);
    const Pair flE = from(empty, Fl), frE = from(empty, Fr);
    Tally gain, loss;

    // Rules 1-2. Empty squares behind a man.
    loss.add(2, men & blE);
    loss.add(3, men & blE & from(blE, Bl));
    loss.add(2, men & blE & brE);
    loss.add(2, men & brE);
    loss.add(3, men & brE & from(brE, Br));
    loss.add(2, men & brE & blE);

    // Rule 3. A man ahead of two own men, nothing behind it.
    const Pair pushed = men & Rule3 & from(ownMen, Fl) & from(ownMen, Fr) & blE & brE & ~from(from(occupied, Fl), Fl) &
                        ~from(from(occupied, Fr), Fr) & ahead2(empty);
    loss.add(phase == PhaseEndgame ? 24 : 12, pushed);
    loss.add(15, pushed & from(ahead2(enemyMen), Fl) & from(ahead2(enemyMen), Fr));

    // Rule 4. Enemy men in front with the square behind empty.
    const Pair flEnemy = from(enemyMen, Fl), frEnemy = from(enemyMen, Fr);
    const Pair blEnemy = from(enemyMen, Bl), brEnemy = from(enemyMen, Br);
    loss.add(50, men & ~flE & flEnemy & brE);
    const Pair leftFree = men & flE & ~brEnemy, rightFree = men & frE & ~blEnemy;
    loss.add(50, men & flE & brEnemy);
    loss.add(50, men & frE & blEnemy);
    const Pair noFreedom = men & ~leftFree & ~rightFree;
    loss.add(10, noFreedom & Rule4 & from(own, Fr) & blE & brE);
    loss.add(50, men & frEnemy & blE);
    gain.add(2, leftFree);
    gain.add(2, rightFree);

    // Rule 5. Free to advance.
    const Pair free = leftFree & rightFree & Rule5;
    const Pair k1 = from(from(enemyMen, Fl), Fl), k2 = from(from(enemyMen, Fr), Fr);
    gain.add(5, free & ~k1);
    gain.add(5, free & ~k2);
    const Pair watched = free & ahead2(enemyMen) & blE & brE;
    loss.add(5, watched & (k1 | k2));
    loss.add(15, watched & k1 & k2);

    return (gain.white() - loss.white()) - (gain.black() - loss.black());
}

}  // namespace eval
