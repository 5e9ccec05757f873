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

}  // namespace eval
