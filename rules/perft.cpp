#include "rules/perft.h"

#include <cassert>

namespace rules {

namespace {
std::uint64_t perftAt(RulesState& r, Side side, int depth, int ply) {
    r.currentPly = ply;
    if (depth == 1) return static_cast<std::uint64_t>(countMoves(r, side));
    const int n = generateMoves(r, side);
    std::uint64_t total = 0;
    const Board saved = r.board;
    const MoveList& list = r.list(ply);
    for (int i = 0; i < n; ++i) {
        applyMove(r.board, list[i]);
        total += perftAt(r, opposite(side), depth - 1, ply + 1);
        r.board = saved;
    }
    return total;
}
}  // namespace

std::uint64_t perft(RulesState& r, Side side, int depth) {
    assert(depth < MaxPly);
    if (depth <= 0) return 1;
    return perftAt(r, side, depth, 1);
}

std::vector<DivideEntry> perftDivide(RulesState& r, Side side, int depth) {
    std::vector<DivideEntry> out;
    r.currentPly = 1;
    const int n = generateMoves(r, side);
    const Board saved = r.board;
    for (int i = 0; i < n; ++i) {
        DivideEntry e;
        e.move = r.list(1)[i];
        applyMove(r.board, e.move);
        e.nodes = depth <= 1 ? 1 : perftAt(r, opposite(side), depth - 1, 2);
        r.board = saved;
        out.push_back(e);
    }
    return out;
}

std::string moveText(const Move& m) {
    std::string s(squareName(m.from));
    s += m.ncapt ? 'x' : '-';
    s += squareName(m.to);
    if (m.ncapt) {
        s += " [";
        for (int i = 0; i < m.ncapt; ++i) {
            if (i) s += ',';
            s += squareName(m.captured[i]);
        }
        s += ']';
    }
    return s;
}

}  // namespace rules
