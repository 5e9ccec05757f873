#pragma once
// Known combinations (shots) of positions with men only, as fixed patterns of
// squares. The catalogue is written for White; Black's is the same turned
// half a circle (square q becomes 33 - q) with the colours exchanged.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "rules/board.h"

namespace eval {

// Bit q - 1 stands for square q.
using SquareMask = std::uint32_t;

constexpr SquareMask maskOf(std::initializer_list<int> squares) {
    SquareMask m = 0;
    for (int q : squares) m |= SquareMask{1} << (q - 1);
    return m;
}

// The board turned half a circle: square q becomes 33 - q, that is bit
// q - 1 becomes bit 32 - q, a reversal of the 32 bits.
constexpr SquareMask turnMask(SquareMask m) {
    m = ((m >> 1) & 0x55555555u) | ((m & 0x55555555u) << 1);
    m = ((m >> 2) & 0x33333333u) | ((m & 0x33333333u) << 2);
    m = ((m >> 4) & 0x0F0F0F0Fu) | ((m & 0x0F0F0F0Fu) << 4);
    m = ((m >> 8) & 0x00FF00FFu) | ((m & 0x00FF00FFu) << 8);
    return (m >> 16) | (m << 16);
}

// One pattern: squares that must hold a man of the side to move ("own"), a
// man of the other side, or nothing. Value 80, 120 or 180 (1/200 of a man).
struct ShotPattern {
    SquareMask own = 0;
    SquareMask enemy = 0;
    SquareMask empty = 0;
    std::uint8_t value = 0;
};

constexpr ShotPattern shot(std::initializer_list<int> own, std::initializer_list<int> enemy,
                           std::initializer_list<int> empty, int value) {
    return {maskOf(own), maskOf(enemy), maskOf(empty), static_cast<std::uint8_t>(value)};
}

// The men and empty squares of a board as masks.
struct BoardMasks {
    SquareMask white = 0, black = 0, empty = 0;
};
BoardMasks boardMasks(const rules::Board& board);

// Our catalogue after the two written-out entries, in White's frame, in scan
// order. Exposed for the proof tests.
std::span<const ShotPattern> patternCatalogue();

// The number of written-out entries before the pattern catalogue.
constexpr int WrittenOutShots = 2;

}  // namespace eval
