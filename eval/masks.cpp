#include "eval/masks.h"

#include <bit>
#include <cstring>

namespace eval {

namespace {

// Squares 1..32 are read eight bytes to a word, square 1 in the low byte.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint64_t Ones = 0x0101010101010101ull;

// Bit k of each of the eight bytes of `word`, byte i giving bit i.
std::uint32_t plane(std::uint64_t word, int k) {
    // Gathers bit 8i into bit 56 + i; no two products share a bit.
    return static_cast<std::uint32_t>((((word >> k) & Ones) * 0x0102040810204080ull) >> 56);
}

}  // namespace

BoardMasks boardMasks(const rules::Board& board) {
    std::uint64_t words[4];
    std::memcpy(words, board.data() + 1, sizeof words);   // squares 1..32, eight a word
    // The four low bits of every square's code, one mask per bit.
    SquareMask b0 = 0, b1 = 0, b2 = 0, b3 = 0;
    for (int i = 0; i < 4; ++i) {
        b0 |= plane(words[i], 0) << (8 * i);
        b1 |= plane(words[i], 1) << (8 * i);
        b2 |= plane(words[i], 2) << (8 * i);
        b3 |= plane(words[i], 3) << (8 * i);
    }
    // Codes 0..4 use the three low bits; the high ones are never set on a
    // square the evaluation reads (only the generator's taken mark would).
    const SquareMask low = ~b3 & ~b2;
    BoardMasks m;
    m.empty = low & ~b1 & ~b0;
    m.whiteMen = low & ~b1 & b0;
    m.whiteKings = low & b1 & ~b0;
    m.blackMen = low & b1 & b0;
    m.blackKings = ~b3 & b2 & ~b1 & ~b0;
    return m;
}

}  // namespace eval
