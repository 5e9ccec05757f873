#include "engine/move_scan.h"

namespace engine {

using eval::SquareMask;
using rules::step;

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
