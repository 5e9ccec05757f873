// The shot catalogue. Only the side to move is examined: a shot is a forcing
// sacrifice, so it belongs to whoever plays next. The first entry that
// matches decides.

#include "eval/shots.h"

#include <array>
#include <bit>
#include <iterator>

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

ShotView viewFor(const BoardMasks& m, const TurnedMasks& turned, bool whiteToMoveNow) {
    if (whiteToMoveNow) return {m.whiteMen, m.blackMen, m.empty};
    return {turned.blackMen, turned.whiteMen, turned.empty};
}

// The first written-out entry: a7-b6 side. The man on b6 (9) goes to c7 (6);
// d8 (2) must take back to b6, and a5 (13) takes b6 and d6 (10) on its way
// to e5 and beyond.
int firstEntry(const ShotView& v) {
    if (!(v.W(13) && v.W(9) && v.E(6) && v.O(1) && v.B(2) && v.B(10) && (v.nW(14) || (v.W(18) && v.W(17))))) return 0;
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

// Our catalogue, tried after the two written-out entries, first match
// first. Each entry is a shot for White to move: the man offered, the
// capture Black cannot refuse, and White's capture in return, with the gain
// in man values found by a material search. Own men, enemy men, empty
// squares (the squares around the pieces and on the line of play), value.
constexpr ShotPattern Catalogue[] = {
    // d2-e3, f4xd2 forced, e1xa5 takes two: a man up.
    shot({18, 26, 31}, {17, 19}, {13, 14, 15, 16, 21, 22, 23, 24, 27, 30}, 120),
    // h2-g3, f4xh2 forced, h6xf8 takes three: two men up.
    shot({12, 28}, {7, 15, 16, 19}, {2, 3, 8, 10, 11, 18, 20, 23, 24, 27, 32}, 180),
    // b2-a3, b8xd6 forced, a3xe7 takes two: three men's worth up.
    shot({6, 25}, {1, 13, 17}, {2, 5, 7, 9, 10, 14, 21, 22, 29, 30}, 180),
    // f2-e3, f4xd2 forced, e1xa1 takes two: three men's worth up.
    shot({9, 27, 31}, {19, 20, 25}, {1, 5, 6, 13, 14, 15, 16, 21, 22, 23, 24, 26, 29, 30, 32}, 180),
    // b4-c5, d6xb4 forced, a5xe5 takes two: two men up.
    shot({13, 17, 27}, {10, 18, 20}, {6, 7, 9, 14, 15, 16, 21, 22, 23, 24, 31, 32}, 180),
    // d2-e3, e5xg7 forced, e3xa7 takes two: three men's worth up.
    shot({11, 26, 27}, {9, 15, 18}, {1, 5, 6, 7, 8, 10, 13, 14, 16, 19, 22, 23, 24, 30, 31, 32}, 180),
    // d4-e5, d6xf4 forced, g5xg1 takes two: a man up.
    shot({16, 18, 22}, {10, 12, 27}, {6, 7, 8, 11, 14, 15, 17, 19, 20, 23, 24, 25, 26, 31, 32}, 80),
    // g1-h2, d8xb6 forced, h2xh6 takes two: three men's worth up.
    shot({6, 32}, {2, 16, 24}, {1, 3, 7, 8, 9, 10, 11, 12, 13, 17, 19, 20, 27, 28}, 180),
    // b4-c5, d6xb4 forced, a5xe1 takes two: a man up.
    shot({13, 17}, {10, 26}, {6, 7, 9, 14, 15, 21, 22, 23, 30, 31}, 120),
    // a1-b2, g7xg3 forced, b2xb6 takes two: a man up.
    shot({7, 11, 19, 20, 29}, {4, 8, 13, 14, 22}, {2, 3, 6, 9, 10, 12, 15, 16, 17, 18, 23, 24, 25, 26, 27}, 80),
    // e3-d4, h6xf8 forced, d4xf2 takes three: two men up.
    shot({8, 22, 23}, {12, 15, 16, 24}, {3, 4, 7, 10, 11, 17, 18, 19, 20, 25, 26, 27, 28}, 180),
    // g3-h4, a7xc5 forced, h4xb6 takes three: three men's worth up.
    shot({9, 24}, {5, 15, 16, 17}, {1, 6, 10, 11, 12, 13, 14, 18, 19, 20, 21, 22, 25, 27, 28}, 180),
    // b2-c3, b4xd2 forced, c1xg1 takes two: a man up.
    shot({25, 30}, {17, 27}, {13, 14, 21, 22, 23, 24, 26, 29, 31, 32}, 120),
    // b2-c3, f6xd8 forced, d4xh4 takes two: a man up.
    shot({7, 18, 25}, {11, 15, 16}, {2, 3, 6, 8, 9, 10, 12, 14, 17, 19, 20, 21, 22, 23, 29, 30}, 80),
    // e3-d4, a3xe3 forced, f2xf6 takes two: a man up.
    shot({13, 17, 23, 27, 32}, {1, 15, 21}, {5, 6, 9, 10, 11, 14, 18, 19, 22, 24, 25, 26, 28, 31}, 80),
    // f2-e3, h2xf4 forced, e3xe7 takes two: three men's worth up.
    shot({24, 26, 27}, {5, 11, 28}, {1, 2, 7, 8, 9, 13, 15, 16, 19, 20, 22, 23, 30, 31, 32}, 180),
    // g3-f4, h8xf6 forced, f4xb4 takes two: a man up.
    shot({8, 24, 29}, {4, 10, 22, 23}, {3, 6, 7, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21, 25, 26, 27, 28}, 80),
    // g1-h2, h8xf6 forced, h2xd2 takes two: a man up.
    shot({8, 32}, {4, 23, 24}, {3, 11, 12, 16, 17, 18, 19, 20, 22, 26, 27, 28}, 80),
    // f2-g3, c5xe7 forced, g3xg7 takes two: three men's worth up.
    shot({10, 27, 28, 30}, {11, 13, 14, 17, 18, 19}, {3, 6, 7, 8, 9, 15, 16, 21, 22, 23, 24, 25, 26, 31, 32}, 180),
    // c3-d4, f4xd6 forced, h2xf8 takes three: three men's worth up.
    shot({15, 22, 28}, {8, 16, 19, 24}, {3, 4, 9, 10, 11, 12, 14, 17, 18, 20, 23, 25, 26, 27, 32}, 180),
    // g5-f6, e7xg5 forced, h6xd2 takes two: two men up.
    shot({12, 16, 29}, {7, 21, 23}, {2, 3, 8, 10, 11, 17, 18, 19, 20, 22, 25, 26, 27}, 180),
    // b2-c3, d4xb2 forced, a1xe1 takes two: three men's worth up.
    shot({12, 17, 25, 29}, {2, 10, 18, 26}, {3, 6, 7, 8, 9, 13, 14, 15, 16, 21, 22, 23, 30, 31}, 180),
    // d6-c7, h4xf2 forced, g1xc5 takes two: a man up.
    shot({10, 24, 32}, {18, 20, 21}, {1, 6, 7, 9, 14, 15, 16, 17, 19, 22, 23, 25, 27, 28, 29}, 80),
    // e5-f6, e3xc5 forced, g1xc1 takes two: three men's worth up.
    shot({15, 18, 32}, {23, 26, 27}, {2, 7, 10, 11, 14, 17, 19, 21, 22, 24, 28, 30, 31}, 180),
    // c5-d6, h4xf2 forced, e5xe1 takes two: a man up.
    shot({14, 15, 24}, {19, 20, 28}, {1, 6, 9, 10, 11, 16, 17, 18, 23, 27, 31, 32}, 80),
    // g1-h2, h6xf8 forced, h2xd6 takes two: three men's worth up.
    shot({8, 32}, {12, 15, 24}, {1, 3, 4, 6, 10, 11, 16, 18, 19, 20, 27, 28}, 180),
    // d6-c7, h6xd2 forced, g1xc1 takes two: three men's worth up.
    shot({10, 16, 23, 32}, {12, 17, 27}, {1, 6, 7, 8, 11, 13, 14, 15, 18, 19, 20, 21, 22, 24, 25, 26, 28, 30, 31}, 180),
    // b2-c3, d2xb4 forced, a3xe7 takes two: three men's worth up.
    shot({21, 25}, {10, 15, 26}, {2, 6, 7, 11, 14, 17, 18, 19, 22, 23, 29, 30, 31}, 180),
    // g1-h2, a3xc5 forced, h2xd2 takes two: two men up.
    shot({11, 17, 32}, {21, 23, 24}, {7, 8, 13, 14, 15, 16, 18, 19, 20, 22, 25, 26, 27, 28}, 180),
    // g1-h2, a3xe3 forced, h2xd2 takes two: a man up.
    shot({12, 25, 26, 32}, {14, 21, 24}, {8, 9, 10, 16, 17, 18, 19, 20, 22, 23, 27, 28, 29, 30, 31}, 80),
    // d4-e5, f6xb2 forced, e1xa1 takes two: two men up.
    shot({9, 18, 22, 31}, {11, 19, 26}, {1, 5, 6, 7, 8, 13, 14, 15, 16, 17, 23, 24, 25, 27, 29, 30}, 180),
    // c5-b6, a7xc5 forced, b4xf4 takes two: two men up.
    shot({14, 17, 21}, {5, 15, 20}, {1, 9, 10, 11, 13, 16, 18, 19, 22, 24, 25, 28}, 180),
    // e5-d6, d8xf6 forced, d6xd2 takes two: two men up.
    shot({7, 15, 20}, {2, 14, 22}, {3, 6, 9, 10, 11, 16, 17, 18, 19, 23, 24, 25, 26}, 180),
    // d2-c3, f6xh4 forced, d4xd8 takes two: three men's worth up.
    shot({16, 18, 26}, {7, 11, 15}, {2, 3, 8, 10, 12, 13, 14, 17, 19, 20, 22, 23, 24, 27, 30, 31}, 180),
    // f4-e5, a5xc7 forced, e5xa5 takes two: a man up.
    shot({9, 19}, {13, 17, 18}, {5, 6, 10, 14, 15, 16, 21, 22, 23, 24}, 80),
    // g1-h2, f4xh6 forced, h2xd2 takes two: a man up.
    shot({16, 32}, {19, 23, 24}, {11, 12, 15, 17, 18, 20, 22, 26, 27, 28}, 80),
    // f2-g3, f8xd6 forced, g3xc7 takes two: three men's worth up.
    shot({7, 27, 28}, {3, 8, 19}, {1, 2, 4, 6, 10, 11, 12, 15, 16, 23, 24, 31, 32}, 180),
    // b2-c3, d4xb2 forced, a1xe1 takes two: a man up.
    shot({17, 25, 29}, {18, 26}, {13, 14, 15, 21, 22, 23, 30, 31}, 120),
    // d2-c3, b4xd2 forced, c1xg1 takes two: a man up.
    shot({26, 30}, {17, 27}, {13, 14, 21, 22, 23, 24, 25, 31, 32}, 120),
    // f2-e3, h8xf6 forced, e3xe7 takes two: three men's worth up.
    shot({5, 8, 27}, {4, 19, 26}, {1, 2, 3, 7, 9, 11, 12, 15, 16, 22, 23, 24, 25, 30, 31, 32}, 180),
    // f4-g5, h6xf4 forced, g3xc3 takes two: a man up.
    shot({19, 24, 28}, {12, 18}, {8, 14, 15, 16, 20, 22, 23, 27, 32}, 120),
    // b2-a3, e7xg5 forced, h6xd2 takes two: a man up.
    shot({11, 12, 25}, {2, 7, 23}, {3, 6, 8, 9, 10, 15, 16, 17, 18, 19, 21, 22, 26, 27, 29, 30}, 80),
    // b2-c3, b4xd2 forced, c1xe7 takes three: two men up.
    shot({25, 30}, {11, 17, 19}, {7, 8, 13, 14, 15, 16, 21, 22, 23, 24, 26, 29}, 180),
    // c5-d6, c7xe5 forced, d4xd8 takes two: three men's worth up.
    shot({14, 18, 22, 23}, {6, 7}, {1, 2, 3, 9, 10, 11, 15, 17, 19, 25, 26, 27}, 180),
    // c5-b6, a7xc5 forced, b4xf4 takes two: a man up.
    shot({8, 14, 17}, {5, 15, 21, 25}, {1, 3, 4, 9, 10, 11, 12, 13, 18, 19, 22, 29, 30}, 80),
    // b4-a5, d6xb4 forced, a5xe1 takes two: two men up.
    shot({8, 14, 17}, {7, 10, 26}, {2, 3, 4, 6, 9, 11, 12, 13, 15, 18, 21, 22, 23, 30, 31}, 180),
    // e1-f2, a5xc3 forced, f2xb2 takes two: a man up.
    shot({17, 31, 32}, {13, 23, 28}, {9, 14, 18, 19, 21, 22, 24, 25, 26, 27}, 120),
    // b6-c7, b8xd6 forced, c5xg5 takes two: two men up.
    shot({9, 14, 17}, {1, 8, 11}, {3, 4, 5, 6, 7, 10, 12, 13, 15, 16, 18, 21, 22}, 180),
    // e3-d4, c5xe3 forced, d2xb8 takes three: three men's worth up.
    shot({23, 26, 30, 31}, {6, 14, 15}, {1, 2, 9, 10, 11, 17, 18, 19, 22, 25, 27}, 180),
    // c5-d6, e7xc5 forced, b6xb2 takes two: a man up.
    shot({5, 9, 14}, {7, 22, 27}, {1, 2, 3, 6, 10, 11, 13, 17, 18, 21, 23, 24, 25, 26, 31, 32}, 80),
    // h2-g3, g5xe3 forced, f2xb2 takes two: a man up.
    shot({19, 27, 28, 32}, {12, 16, 22}, {8, 11, 15, 17, 18, 20, 21, 23, 24, 25, 26, 31}, 80),
    // f2-g3, f8xd6 forced, g3xc7 takes two: a man up.
    shot({7, 27}, {3, 19, 28}, {1, 2, 5, 6, 8, 10, 11, 15, 16, 23, 24, 31, 32}, 80),
    // d4-e5, f6xd4 forced, e3xa7 takes two: a man up.
    shot({18, 23, 27}, {9, 11, 21}, {1, 5, 6, 7, 8, 13, 14, 15, 16, 17, 19, 22, 24, 25, 26, 29, 31, 32}, 80),
};

constexpr int CatalogueSize = static_cast<int>(std::size(Catalogue));
static_assert(CatalogueSize <= 64, "the entry sets below hold 64 entries");

// Entries by key square: each entry is filed under its most advanced own man
// (lowest square number), the one least often in place, so a scan only
// looks at entries whose key square holds an own man.
using EntrySet = std::uint64_t;
constexpr std::array<EntrySet, rules::NumSquares + 1> makeEntriesByKey() {
    std::array<EntrySet, rules::NumSquares + 1> byKey{};
    for (int i = 0; i < CatalogueSize; ++i) byKey[std::countr_zero(Catalogue[i].own) + 1] |= EntrySet{1} << i;
    return byKey;
}
constexpr auto EntriesByKey = makeEntriesByKey();

// The same, gathered a byte of the board at a time (squares 8b + 1 to
// 8b + 8) for every pattern of own men in it: four look-ups give the
// candidates of a whole board, without a walk over the men.
using EntriesOfByte = std::array<std::array<EntrySet, 256>, 4>;
constexpr EntriesOfByte makeEntriesByByte() {
    EntriesOfByte byByte{};
    for (int b = 0; b < 4; ++b)
        for (int men = 0; men < 256; ++men)
            for (int k = 0; k < 8; ++k)
                if (men >> k & 1) byByte[b][men] |= EntriesByKey[8 * b + k + 1];
    return byByte;
}
constexpr auto EntriesByByte = makeEntriesByByte();

bool matches(const ShotPattern& p, const ShotView& v) {
    return ((p.own & ~v.own) | (p.enemy & ~v.enemy) | (p.empty & ~v.empty)) == 0;
}

}  // namespace

std::span<const ShotPattern> patternCatalogue() { return Catalogue; }

int shotCatalogueSize() { return WrittenOutShots + static_cast<int>(patternCatalogue().size()); }

ShotMatch findShot(const Board& board, bool whiteToMoveNow) {
    const BoardMasks masks = boardMasks(board);
    return findShotFromMasks(masks, turnedMasks(masks), whiteToMoveNow);
}

ShotMatch findShotFromMasks(const BoardMasks& masks, const TurnedMasks& turned, bool whiteToMoveNow) {
    const ShotView v = viewFor(masks, turned, whiteToMoveNow);
    if (const int value = firstEntry(v)) return {0, value};
    if (const int value = secondEntry(v)) return {1, value};
    EntrySet candidates = EntriesByByte[0][v.own & 0xFF] | EntriesByByte[1][(v.own >> 8) & 0xFF] |
                          EntriesByByte[2][(v.own >> 16) & 0xFF] | EntriesByByte[3][v.own >> 24];
    // Lowest index first: the catalogue's order decides.
    for (; candidates; candidates &= candidates - 1) {
        const int i = std::countr_zero(candidates);
        if (matches(Catalogue[i], v)) return {WrittenOutShots + i, Catalogue[i].value};
    }
    return {};
}

int shotTerm(const EvalState& st, const Board& board, rules::Side side) {
    const BoardMasks masks = boardMasks(board);
    return shotTermFromMasks(st, masks, turnedMasks(masks), side);
}

int shotTermFromMasks(const EvalState& st, const BoardMasks& masks, const TurnedMasks& turned, rules::Side side) {
    const bool wtm = whiteToMove(st, side);
    const ShotMatch m = findShotFromMasks(masks, turned, wtm);
    if (m.value == 0) return 0;
    // The catalogue's gain picks the weight.
    const int value = st.weights[m.value <= 80 ? ShotSmall : m.value <= 120 ? ShotMedium : ShotLarge];
    // White's shots count for White, Black's for Black.
    const int white = wtm ? value : -value;
    return side == rules::Black ? -white : white;
}

}  // namespace eval
