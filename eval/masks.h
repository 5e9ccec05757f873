#pragma once
// A position as 32-bit sets of squares, bit q - 1 for square q: the
// catalogues test whole groups of squares with one mask comparison.

#include <bit>
#include <cstdint>
#include <initializer_list>

#include "rules/board.h"
#include "rules/square_sets.h"

namespace eval {

using SquareMask = rules::SquareSet;

constexpr SquareMask maskOf(std::initializer_list<int> squares) {
    SquareMask m = 0;
    for (int q : squares) m |= SquareMask{1} << (q - 1);
    return m;
}
// The same, forced to compile time: the catalogues' square lists.
consteval SquareMask M(std::initializer_list<int> squares) { return maskOf(squares); }

constexpr bool has(SquareMask m, int q) { return (m >> (q - 1)) & 1u; }
constexpr bool all(SquareMask m, SquareMask required) { return (m & required) == required; }

// The board turned half a circle: square q becomes 33 - q, that is bit
// q - 1 becomes bit 32 - q, a reversal of the 32 bits.
constexpr SquareMask turnMask(SquareMask m) {
    m = ((m >> 1) & 0x55555555u) | ((m & 0x55555555u) << 1);
    m = ((m >> 2) & 0x33333333u) | ((m & 0x33333333u) << 2);
    m = ((m >> 4) & 0x0F0F0F0Fu) | ((m & 0x0F0F0F0Fu) << 4);
    m = ((m >> 8) & 0x00FF00FFu) | ((m & 0x00FF00FFu) << 8);
    return (m >> 16) | (m << 16);
}

using BoardMasks = rules::SquareSets;
inline BoardMasks boardMasks(const rules::Board& board) { return rules::squareSets(board); }

// The sets turned half a circle (turnMask): Black's own frame, in which
// Black's rules read as White's do. The evaluation turns them once for all
// its terms.
struct TurnedMasks {
    SquareMask whiteMen = 0, blackMen = 0, blackKings = 0, empty = 0;
    SquareMask black() const { return blackMen | blackKings; }
};

// Two sets turned at once: reversing the 64 bits of `low | high << 32`
// reverses each half and swaps them.
constexpr std::uint64_t reverseBits(std::uint64_t m) {
    m = ((m >> 1) & 0x5555555555555555u) | ((m & 0x5555555555555555u) << 1);
    m = ((m >> 2) & 0x3333333333333333u) | ((m & 0x3333333333333333u) << 2);
    m = ((m >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((m & 0x0F0F0F0F0F0F0F0Fu) << 4);
    return __builtin_bswap64(m);
}
constexpr TurnedMasks turnedMasks(const BoardMasks& m) {
    const std::uint64_t men = reverseBits(std::uint64_t{m.whiteMen} | std::uint64_t{m.blackMen} << 32);
    const std::uint64_t rest = reverseBits(std::uint64_t{m.empty} | std::uint64_t{m.blackKings} << 32);
    return {static_cast<SquareMask>(men >> 32), static_cast<SquareMask>(men), static_cast<SquareMask>(rest),
            static_cast<SquareMask>(rest >> 32)};
}
static_assert(turnedMasks({.whiteMen = 1, .blackKings = 0x80000000u}).whiteMen == 0x80000000u);
static_assert(turnedMasks({.whiteMen = 1, .blackKings = 0x80000000u}).blackKings == 1);

}  // namespace eval
