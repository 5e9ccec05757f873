#pragma once
// Known combinations (shots) of positions with men only, as fixed patterns of
// squares. The catalogue is written for White; Black's is the same turned
// half a circle (square q becomes 33 - q) with the colours exchanged.

#include <cstdint>
#include <initializer_list>
#include <span>

#include "eval/masks.h"

namespace eval {

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

// Our catalogue after the two written-out entries, in White's frame, in scan
// order. Exposed for the proof tests.
std::span<const ShotPattern> patternCatalogue();

// The number of written-out entries before the pattern catalogue.
constexpr int WrittenOutShots = 2;

}  // namespace eval
