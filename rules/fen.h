#pragma once
// Positions as text: "W:W21,22,K5:B1,2". The side to move, then each side's
// pieces by square number (1..32) or name ("a1"), "K" before a king, ranges
// such as "21-32" allowed; either list may be empty and they may come in
// either order.

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

FenResult parseFen(std::string_view text);
// Square numbers, White's list first, ranges not used.
std::string toFen(const Board& board, Side side);

}  // namespace rules
