#pragma once
// The draughts position: 32 dark squares numbered 1..32 from the top row
// (row 8) of the normal view down to row 1, left to right within a row.
// Index 0 of a board holds a sentinel so that every step off the edge
// lands on a square that is neither empty nor capturable.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rules {

using Square = std::uint8_t;     // 1..32; 0 means "off the board"
using PieceCode = std::uint8_t;

constexpr PieceCode Empty = 0;
constexpr PieceCode WhiteMan = 1;
constexpr PieceCode WhiteKing = 2;
constexpr PieceCode BlackMan = 3;
constexpr PieceCode BlackKing = 4;
constexpr PieceCode Sentinel = 10;
// A piece already jumped in the capture being explored. Neither empty nor
// an enemy: it can be neither landed on, passed over nor jumped again.
constexpr PieceCode TakenMark = 15;

// The two sides. White moves first, from squares 21..32 towards row 8.
// Files and the move generator's tables store a side as 0 (White) or 1.
enum class Side : std::uint8_t { White = 0, Black = 1 };
constexpr Side White = Side::White;
constexpr Side Black = Side::Black;
constexpr Side opposite(Side s) { return s == White ? Black : White; }
constexpr int sideIndex(Side s) { return static_cast<int>(s); }
// 0 is White, anything else Black, as the game file's bytes read.
constexpr Side sideFromByte(unsigned v) { return v == 0 ? White : Black; }

constexpr int NumSquares = 32;
using Board = std::array<std::uint8_t, NumSquares + 1>;

// Directions: 0 up-left, 1 up-right, 2 down-left, 3 down-right ("up" is
// towards row 8). The reverse of d is 3 - d.
constexpr int NumDirections = 4;

constexpr int squareRow(int s) { return (s - 1) / 4; }  // 0 for row 8 .. 7 for row 1
constexpr int squareFile(int s) {                      // 0 for file a .. 7 for file h
    const int r = (s - 1) / 4, k = (s - 1) % 4;
    return r % 2 == 0 ? 2 * k + 1 : 2 * k;
}
// The square at (row index from the top, file index), or 0 when that is off
// the board or a light square.
constexpr Square squareAt(int row, int file) {
    if (row < 0 || row > 7 || file < 0 || file > 7 || (row + file) % 2 == 0) return 0;
    return static_cast<Square>(4 * row + file / 2 + 1);
}

using NeighbourTable = std::array<std::array<Square, NumSquares + 1>, NumDirections>;

constexpr NeighbourTable makeNeighbours() {
    NeighbourTable t{};
    constexpr int dRow[4] = {-1, -1, 1, 1};
    constexpr int dFile[4] = {-1, 1, -1, 1};
    for (int d = 0; d < 4; ++d)
        for (int s = 1; s <= NumSquares; ++s) t[d][s] = squareAt(squareRow(s) + dRow[d], squareFile(s) + dFile[d]);
    return t;
}
inline constexpr NeighbourTable Neighbours = makeNeighbours();

constexpr Square neighbour(Square s, int d) { return Neighbours[d][s]; }

constexpr bool isWhite(PieceCode c) { return c == WhiteMan || c == WhiteKing; }
constexpr bool isBlack(PieceCode c) { return c == BlackMan || c == BlackKing; }
constexpr bool isKing(PieceCode c) { return c == WhiteKing || c == BlackKing; }
constexpr bool isMan(PieceCode c) { return c == WhiteMan || c == BlackMan; }
constexpr bool isPiece(PieceCode c) { return c >= WhiteMan && c <= BlackKing; }
constexpr Side sideOf(PieceCode c) { return isBlack(c) ? Black : White; }

// A man whose whole move ends on its far row becomes a king: White's on
// squares 1..4 (row 8), Black's on 29..32 (row 1). Returns the code the
// piece has after a move ending on `to`.
constexpr PieceCode promotedCode(PieceCode c, Square to) {
    if (c == WhiteMan && to >= 1 && to <= 4) return WhiteKing;
    if (c == BlackMan && to >= 29 && to <= 32) return BlackKing;
    return c;
}
constexpr bool promotionRow(PieceCode c, Square to) { return promotedCode(c, to) != c; }

// "b8" .. "g1"; 0 gives "0".
std::string_view squareName(Square s);
// Accepts "b8" or "B8"; nothing for a light square or anything else.
std::optional<Square> parseSquareName(std::string_view name);

Board startingPosition();
// Square s receives the old content of square 33 - s; codes are unchanged.
void mirrorPosition(Board& board);

struct PieceTotals {
    int whiteMen = 0, whiteKings = 0, blackMen = 0, blackKings = 0;
    int white() const { return whiteMen + whiteKings; }
    int black() const { return blackMen + blackKings; }
};
PieceTotals countPieces(const Board& board);

}  // namespace rules
