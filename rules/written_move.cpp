#include "rules/written_move.h"

#include <cstdlib>

namespace rules {

namespace {

// One diagonal leg of a written route: the pieces it jumps, in order, after
// `taken` pieces of the move were jumped before it. False when the leg cannot
// be part of the move: not on a diagonal, no piece jumped, a piece that is
// not the move's next, two pieces without a square between them, a landing
// that is not empty, or, for a man, a jump that does not land just behind
// the piece.
bool walkLeg(const Board& board, const Move& move, bool man, Square a, Square b, int& taken) {
    const int dr = squareRow(b) - squareRow(a), df = squareFile(b) - squareFile(a);
    if (dr == 0 || std::abs(dr) != std::abs(df)) return false;
    const int stepRow = dr > 0 ? 1 : -1, stepFile = df > 0 ? 1 : -1;
    const int length = std::abs(dr);
    auto occupied = [&](Square s) { return s != move.from && board[s] != Empty; };
    if (occupied(b)) return false;
    int jumped = 0;
    bool lastWasPiece = false;
    for (int i = 1; i < length; ++i) {
        const Square s = squareAt(squareRow(a) + i * stepRow, squareFile(a) + i * stepFile);
        if (!occupied(s)) {
            lastWasPiece = false;
            continue;
        }
        if (lastWasPiece || taken >= move.ncapt || move.captured[static_cast<std::size_t>(taken)] != s) return false;
        // A man jumps a piece next to it and lands just behind it.
        if (man && i % 2 != 1) return false;
        ++taken;
        ++jumped;
        lastWasPiece = true;
    }
    if (man && length != 2 * jumped) return false;
    return jumped > 0;
}

}  // namespace

bool routeFits(const Board& board, const Move& move, std::span<const Square> written) {
    if (written.size() < 2 || written.front() != move.from || written.back() != move.to) return false;
    if (move.ncapt == 0) return written.size() == 2;
    for (Square s : written)
        if (s < 1 || s > NumSquares) return false;
    const bool man = isMan(board[move.from]);
    int taken = 0;
    for (std::size_t i = 0; i + 1 < written.size(); ++i)
        if (!walkLeg(board, move, man, written[i], written[i + 1], taken)) return false;
    return taken == move.ncapt;
}

WrittenMove findWrittenMove(RulesState& r, Side side, std::span<const Square> written) {
    WrittenMove out;
    if (written.size() < 2) return out;
    const int n = generateRootMoves(r, side);
    const MoveList& list = r.rootList();
    bool found = false;
    Board firstResult{};
    for (int i = 0; i < n; ++i) {
        const Move& m = list[i];
        if (m.from != written.front() || m.to != written.back()) continue;
        if (written.size() > 2 && !routeFits(r.board, m, written)) continue;
        Board result = r.board;
        applyMove(result, m);
        if (!found) {
            found = true;
            out.match = WrittenMatch::Found;
            out.move = m;
            firstResult = result;
        } else if (result != firstResult) {
            out.match = WrittenMatch::Ambiguous;
        }
    }
    return out;
}

namespace {

// Extends `route` (from, then a landing after each of the first `taken`
// pieces) to a whole route of `move` ending on its final square. A king may
// land on any empty square behind the piece it jumps; the search tries each
// until the next piece can be reached from it.
bool completeRoute(const Board& board, const Move& move, bool man, std::vector<Square>& route) {
    const std::size_t taken = route.size() - 1;
    if (taken == move.ncapt) return route.back() == move.to;
    const Square at = route.back(), target = move.captured[taken];
    auto empty = [&](Square s) { return s != 0 && (s == move.from || board[s] == Empty); };
    for (int d = 0; d < NumDirections; ++d) {
        Square s = neighbour(at, d);
        while (!man && empty(s)) s = neighbour(s, d);
        if (s != target) continue;
        for (Square landing = neighbour(s, d); empty(landing); landing = man ? 0 : neighbour(landing, d)) {
            route.push_back(landing);
            if (completeRoute(board, move, man, route)) return true;
            route.pop_back();
        }
    }
    return false;
}

}  // namespace

std::vector<Square> squaresToWrite(RulesState& r, Side side, const Move& move) {
    const int n = generateRootMoves(r, side);
    int sharing = 0;
    for (int i = 0; i < n; ++i) {
        const Move& m = r.rootList()[i];
        if (m.from == move.from && m.to == move.to) ++sharing;
    }
    if (sharing < 2 || move.ncapt == 0) return {move.from, move.to};
    std::vector<Square> route{move.from};
    if (!completeRoute(r.board, move, isMan(r.board[move.from]), route)) return {move.from, move.to};
    return route;
}

std::string writtenText(std::span<const Square> squares, bool capture) {
    std::string text;
    for (Square s : squares) {
        if (!text.empty()) text += capture ? 'x' : '-';
        text += squareName(s);
    }
    return text;
}

}  // namespace rules
