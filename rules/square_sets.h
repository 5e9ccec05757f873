#pragma once
// A position as 32-bit sets of squares, bit q - 1 for square q, and the step
// of a whole set to its neighbours in one direction. The generator finds with
// them at once which pieces can move or take; the evaluation tests whole
// groups of squares with one mask comparison.

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "rules/board.h"

namespace rules {

using SquareSet = std::uint32_t;

constexpr SquareSet squareBit(int q) { return SquareSet{1} << (q - 1); }

// Rows 8, 6, 4, 2 hold squares 1-4, 9-12, 17-20, 25-28 on files b, d, f, h;
// rows 7, 5, 3, 1 the others on files a, c, e, g. One step changes the
// square number by 3, 4 or 5 depending on the row and the direction, and
// a step off the side of the board vanishes.
constexpr SquareSet EvenRows = 0x0F0F0F0Fu;
constexpr SquareSet OddRows = 0xF0F0F0F0u;
constexpr SquareSet FileH = squareBit(4) | squareBit(12) | squareBit(20) | squareBit(28);
constexpr SquareSet FileA = squareBit(5) | squareBit(13) | squareBit(21) | squareBit(29);

// How many squares a set holds. The default build targets every x86-64, whose
// baseline lacks a population-count instruction, so std::popcount there is a
// call into the compiler's run-time library; the evaluation counts sets on
// every node, and a few shifts and adds inline cost less than that call.
constexpr int countSquares(SquareSet m) {
#if defined(__POPCNT__)
    return std::popcount(m);
#else
    m = m - ((m >> 1) & 0x55555555u);                  // pairs of bits
    m = (m & 0x33333333u) + ((m >> 2) & 0x33333333u);  // nibbles
    m = (m + (m >> 4)) & 0x0F0F0F0Fu;                  // bytes
    return static_cast<int>((m * 0x01010101u) >> 24);  // the four bytes summed in the top one
#endif
}

// The squares reached from the squares of `m` by one step in direction d
// (0 up-left, 1 up-right, 2 down-left, 3 down-right).
constexpr SquareSet step(SquareSet m, int d) {
    switch (d) {
        case 0: return ((m & EvenRows) >> 4) | ((m & OddRows & ~FileA) >> 5);
        case 1: return ((m & EvenRows & ~FileH) >> 3) | ((m & OddRows) >> 4);
        case 2: return ((m & EvenRows) << 4) | ((m & OddRows & ~FileA) << 3);
        case 3: return ((m & EvenRows & ~FileH) << 5) | ((m & OddRows) << 4);
    }
    return 0;
}
// The squares whose neighbour in direction d lies in `m`.
constexpr SquareSet stepBack(SquareSet m, int d) { return step(m, 3 - d); }

// The shifts agree with the neighbour table, square by square.
consteval bool stepsMatchNeighbours() {
    for (int d = 0; d < NumDirections; ++d)
        for (int s = 1; s <= NumSquares; ++s) {
            const Square n = Neighbours[d][s];
            if (step(squareBit(s), d) != (n ? squareBit(n) : 0)) return false;
        }
    return true;
}
static_assert(stepsMatchNeighbours());

struct SquareSets {
    SquareSet whiteMen = 0, whiteKings = 0, blackMen = 0, blackKings = 0, empty = 0;
    SquareSet white() const { return whiteMen | whiteKings; }
    SquareSet black() const { return blackMen | blackKings; }
};

// Squares 1..32 of the mailbox sorted by content; the sentinel at index 0
// and taken marks belong to no set.
inline SquareSets squareSets(const Board& board) {
    SquareSets m;
#if defined(__SSE2__)
    // Squares 1..16 and 17..32 compared sixteen at a time with each code.
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + 1));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + 17));
    const auto squaresHolding = [&](char code) {
        const __m128i c = _mm_set1_epi8(code);
        const auto l = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(lo, c)));
        const auto h = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(hi, c)));
        return static_cast<SquareSet>(l | h << 16);
    };
    m.empty = squaresHolding(Empty);
    m.whiteMen = squaresHolding(WhiteMan);
    m.whiteKings = squaresHolding(WhiteKing);
    m.blackMen = squaresHolding(BlackMan);
    m.blackKings = squaresHolding(BlackKing);
#else
    for (int q = 1; q <= NumSquares; ++q) {
        const SquareSet bit = squareBit(q);
        switch (board[q]) {
            case Empty: m.empty |= bit; break;
            case WhiteMan: m.whiteMen |= bit; break;
            case WhiteKing: m.whiteKings |= bit; break;
            case BlackMan: m.blackMen |= bit; break;
            case BlackKing: m.blackKings |= bit; break;
            default: break;
        }
    }
#endif
    return m;
}

}  // namespace rules
