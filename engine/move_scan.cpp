#include "engine/move_scan.h"

#include <array>

namespace engine {

namespace {

using eval::SquareMask;

// A step in one direction moves bit q - 1 to the bit of the neighbouring
// square. With four squares a row, the distance depends on the row's
// parity and the edge files have no neighbour on one side, so each
// direction is two shifts, each over the squares it suits.
struct DirectionShifts {
    std::array<int, 2> delta{};        // neighbour's square minus the square
    std::array<SquareMask, 2> from{};  // squares whose neighbour is that far
};

constexpr std::array<DirectionShifts, rules::NumDirections> makeShifts() {
    std::array<DirectionShifts, rules::NumDirections> t{};
    for (int d = 0; d < rules::NumDirections; ++d) {
        int used = 0;
        for (int s = 1; s <= rules::NumSquares; ++s) {
            const int n = rules::Neighbours[d][s];
            if (n == 0) continue;
            const int delta = n - s;
            int slot = 0;
            while (slot < used && t[d].delta[slot] != delta) ++slot;
            if (slot == used) t[d].delta[used++] = delta;
            t[d].from[slot] |= SquareMask{1} << (s - 1);
        }
    }
    return t;
}
constexpr std::array<DirectionShifts, rules::NumDirections> Shifts = makeShifts();

constexpr SquareMask shifted(SquareMask m, int delta) { return delta >= 0 ? m << delta : m >> -delta; }

// The neighbours in direction d of the squares of m.
constexpr SquareMask step(SquareMask m, int d) {
    const DirectionShifts& s = Shifts[d];
    return shifted(m & s.from[0], s.delta[0]) | shifted(m & s.from[1], s.delta[1]);
}

}  // namespace

MovesOnBoard movesOnBoard(const eval::BoardMasks& m, rules::Side side) {
    const bool white = side == rules::White;
    const SquareMask men = white ? m.whiteMen : m.blackMen;
    const SquareMask kings = white ? m.whiteKings : m.blackKings;
    const SquareMask enemy = white ? m.black() : m.white();
    const SquareMask empty = m.empty;

    // Men take forwards and backwards: an enemy piece next to them with an
    // empty square behind it.
    for (int d = 0; d < rules::NumDirections; ++d)
        if (step(step(men, d) & enemy, d) & empty) return MovesOnBoard::Capture;
    // Kings fly: along each diagonal past empty squares to the first piece,
    // an enemy one with an empty square behind it.
    if (kings) {
        for (int d = 0; d < rules::NumDirections; ++d) {
            SquareMask ray = step(kings, d);
            while (ray) {
                if (step(ray & enemy, d) & empty) return MovesOnBoard::Capture;
                ray = step(ray & empty, d);
            }
        }
    }
    // Men step forwards only (White's up the board, directions 0 and 1);
    // kings step any way.
    const int forward = white ? 0 : 2;
    SquareMask quiet = (step(men, forward) | step(men, forward + 1)) & empty;
    for (int d = 0; d < rules::NumDirections && !quiet; ++d) quiet |= step(kings, d) & empty;
    return quiet ? MovesOnBoard::QuietOnly : MovesOnBoard::None;
}

}  // namespace engine
