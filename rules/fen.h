#pragma once
// Positions as text: "W:W21,22,K5:B1,2". The side to move, then each side's
// pieces by square number (1..32) or name ("a1"), "K" before a king, ranges
// such as "21-32" allowed; either list may be empty and they may come in
// either order. The ":H0:F1" fields some programs add (plies since the last
// capture, move number) are read and ignored.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rules/board.h"

namespace rules {

struct Position {
    Board board{};
    Side side = White;
};

struct FenResult {
    std::optional<Position> position;
    std::string error;  // what is wrong, when position is empty
};

// Where another program's notation starts counting, seen from White's side
// of the board: the corner of square 1 (numbers then run along the rows of
// four dark squares away from it), or the corner of a1 (names).
enum class Corner : std::uint8_t { BottomLeft = 0, BottomRight = 1, TopLeft = 2, TopRight = 3 };

// Our own: square 1 is b8, top left; a1 is bottom left.
struct Notation {
    Corner numbers = Corner::TopLeft;
    Corner names = Corner::BottomLeft;
};

// The square a notation means by number n, or by a file letter and row
// digit; 0 when that is off the board or a light square of ours.
Square squareOfNumber(int n, Corner numbers);
Square squareOfName(char file, char row, Corner names);

FenResult parseFen(std::string_view text, const Notation& notation = {});

enum class FenSquares { Numbers, Names };
// White's list first, ranges not used; squares by our numbers ("W:W22,K29")
// or by name ("W:Wc3,Ka1"), which every program reads the same way.
std::string toFen(const Board& board, Side side, FenSquares squares = FenSquares::Numbers);

}  // namespace rules
