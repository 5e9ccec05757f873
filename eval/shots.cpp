// The shot catalogue. Only the side to move is examined: a shot is a forcing
// sacrifice, so it belongs to whoever plays next. The first entry that
// matches decides.

#include "eval/shots.h"

#include "eval/catalogues.h"
#include "eval/evaluate.h"

namespace eval {

namespace {

using rules::Board;

// The side to move's view of the masks: its own squares numbered as White's
// would be (square q of the pattern is square q for White, 33 - q for Black).
struct ShotView {
    SquareMask own, enemy, empty;
    bool W(int q) const { return own >> (q - 1) & 1; }
    bool B(int q) const { return enemy >> (q - 1) & 1; }
    bool E(int q) const { return empty >> (q - 1) & 1; }
    bool O(int q) const { return !E(q); }
    bool nW(int q) const { return !W(q); }
    bool nB(int q) const { return !B(q); }
};

ShotView viewFor(const BoardMasks& m, bool whiteToMoveNow) {
    if (whiteToMoveNow) return {m.whiteMen, m.blackMen, m.empty};
    return {turnMask(m.blackMen), turnMask(m.whiteMen), turnMask(m.empty)};
}

// The first written-out entry: a7-b6 side. The man on b6 (9) goes to c7 (6);
// d8 (2) must take back to b6, and a5 (13) takes b6 and d6 (10) on its way
// to e5 and beyond.
int firstEntry(const ShotView& v) {
    if (!(v.W(13) && v.W(9) && v.E(6) && v.O(1) && v.B(2) && v.B(10) && (v.nW(14) || (v.W(18) && v.W(17)))))
        return 0;
    if ((v.B(11) && v.E(8)) || (v.B(18) && v.E(22)) || (v.B(19) && v.E(24))) return 120;
    if ((v.nB(19) && ((v.nB(11) && v.nB(18)) || (v.O(11) && v.O(18)))) || (v.B(19) && v.O(15))) return 80;
    return 0;
}

// The second: b4 (17) goes to c5 (14), d6 (10) takes to b4, and a3 (21)
// takes back through c5 and on.
int secondEntry(const ShotView& v) {
    if (!(v.W(21) && v.W(17) && v.E(14) && v.B(10) && (v.nW(22) || (v.W(26) && v.W(25))))) return 0;
    if (v.O(9) && v.B(18) && v.E(23)) {
        if ((v.B(19) && v.E(16)) || (v.B(26) && v.E(30)) || (v.B(27) && v.E(32))) return 120;
        if (v.nB(27) && ((v.nB(19) && v.nB(26)) || (v.O(19) && v.O(26)))) return 80;
    }
    if (v.B(9) && v.O(18) && v.E(5)) return v.O(1) ? 120 : 180;
    return 0;
}

constexpr ShotPattern Catalogue[] = {
    shot({}, {}, {}, 0),   // placeholder, replaced below
};

bool matches(const ShotPattern& p, const ShotView& v) {
    return (v.own & p.own) == p.own && (v.enemy & p.enemy) == p.enemy && (v.empty & p.empty) == p.empty;
}

}  // namespace

std::span<const ShotPattern> patternCatalogue() { return {std::begin(Catalogue) + 1, std::end(Catalogue)}; }

int shotCatalogueSize() { return WrittenOutShots + static_cast<int>(patternCatalogue().size()); }

ShotMatch findShot(const Board& board, bool whiteToMoveNow) { return findShotFromMasks(boardMasks(board), whiteToMoveNow); }

ShotMatch findShotFromMasks(const BoardMasks& masks, bool whiteToMoveNow) {
    const ShotView v = viewFor(masks, whiteToMoveNow);
    if (const int value = firstEntry(v)) return {0, value};
    if (const int value = secondEntry(v)) return {1, value};
    const std::span<const ShotPattern> table = patternCatalogue();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (matches(table[i], v)) return {WrittenOutShots + static_cast<int>(i), table[i].value};
    return {};
}

int shotTerm(const EvalState& st, const Board& board, int side) { return shotTermFromMasks(st, boardMasks(board), side); }

int shotTermFromMasks(const EvalState& st, const BoardMasks& masks, int side) {
    const bool wtm = whiteToMove(st, side);
    const ShotMatch m = findShotFromMasks(masks, wtm);
    // White's shots count for White, Black's for Black.
    const int white = wtm ? m.value : -m.value;
    return side == rules::Black ? -white : white;
}

}  // namespace eval
