#pragma once
// What the search asks of the opening books. Until books are built no one
// installs a book and the root finds nothing in it.

#include <span>

#include "rules/board.h"

namespace engine {

struct BookMove {
    rules::Square from = 0;
    rules::Square to = 0;
};

class OpeningBook {
public:
    virtual ~OpeningBook() = default;
    // Writes the book's moves for `side` in `board` into `out` (as many as
    // fit) and returns how many it wrote; 0 when the position is not in it.
    virtual int candidates(const rules::Board& board, int side, std::span<BookMove> out) const = 0;
};

}  // namespace engine
