#include "eval/masks.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace eval {

BoardMasks boardMasks(const rules::Board& board) {
    BoardMasks m;
#if defined(__SSE2__)
    // Squares 1..16 and 17..32 compared sixteen at a time with each code.
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + 1));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + 17));
    const auto squaresHolding = [&](char code) {
        const __m128i c = _mm_set1_epi8(code);
        const auto l = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(lo, c)));
        const auto h = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(hi, c)));
        return static_cast<SquareMask>(l | h << 16);
    };
    m.empty = squaresHolding(rules::Empty);
    m.whiteMen = squaresHolding(rules::WhiteMan);
    m.whiteKings = squaresHolding(rules::WhiteKing);
    m.blackMen = squaresHolding(rules::BlackMan);
    m.blackKings = squaresHolding(rules::BlackKing);
#else
    for (int q = 1; q <= rules::NumSquares; ++q) {
        const SquareMask bit = SquareMask{1} << (q - 1);
        switch (board[q]) {
            case rules::Empty: m.empty |= bit; break;
            case rules::WhiteMan: m.whiteMen |= bit; break;
            case rules::WhiteKing: m.whiteKings |= bit; break;
            case rules::BlackMan: m.blackMen |= bit; break;
            case rules::BlackKing: m.blackKings |= bit; break;
            default: break;
        }
    }
#endif
    return m;
}

}  // namespace eval
