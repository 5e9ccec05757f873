#include "rules/board.h"

namespace rules {

namespace {
constexpr std::array<std::array<char, 3>, NumSquares + 1> makeNames() {
    std::array<std::array<char, 3>, NumSquares + 1> n{};
    n[0] = {'0', '\0', '\0'};
    for (int s = 1; s <= NumSquares; ++s)
        n[s] = {static_cast<char>('a' + squareFile(s)), static_cast<char>('8' - squareRow(s)), '\0'};
    return n;
}
constexpr auto SquareNames = makeNames();
}  // namespace

std::string_view squareName(Square s) {
    if (s > NumSquares) return {};
    return {SquareNames[s].data(), s == 0 ? 1u : 2u};
}

std::optional<Square> parseSquareName(std::string_view name) {
    if (name.size() != 2) return std::nullopt;
    char f = name[0];
    if (f >= 'A' && f <= 'H') f = static_cast<char>(f - 'A' + 'a');
    if (f < 'a' || f > 'h' || name[1] < '1' || name[1] > '8') return std::nullopt;
    const Square s = squareAt('8' - name[1], f - 'a');
    if (s == 0) return std::nullopt;
    return s;
}

Board startingPosition() {
    Board b{};
    b[0] = Sentinel;
    for (int s = 1; s <= 12; ++s) b[s] = BlackMan;
    for (int s = 21; s <= 32; ++s) b[s] = WhiteMan;
    return b;
}

void mirrorPosition(Board& board) {
    for (int s = 1; s <= NumSquares / 2; ++s) std::swap(board[s], board[33 - s]);
}

PieceTotals countPieces(const Board& board) {
    PieceTotals t;
    for (int s = 1; s <= NumSquares; ++s) {
        switch (board[s]) {
            case WhiteMan: ++t.whiteMen; break;
            case WhiteKing: ++t.whiteKings; break;
            case BlackMan: ++t.blackMen; break;
            case BlackKing: ++t.blackKings; break;
            default: break;
        }
    }
    return t;
}

}  // namespace rules
