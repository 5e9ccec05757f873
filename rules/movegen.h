#pragma once
// Move generation: the single definition of the rules of play.
// Captures are compulsory, men capture forwards and backwards, kings fly,
// a capture goes on as long as it can, and only the sequences taking the
// greatest number of pieces are legal.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "rules/board.h"

namespace rules {

// Twelve pieces is all a side has; fifteen leaves room to spare.
constexpr int MaxCaptures = 15;
// The search's deepest ply; ply 1 is the root.
constexpr int MaxPly = 64;
// Each ply's list starts with room for this many moves, carved from one
// block. Ordinary positions have far fewer, but several flying kings on an
// open board can pass 70 (and, with all capture orders listed, more): a
// list that fills up doubles into storage of its own, which it then keeps,
// so no legal move is ever dropped and a list allocates at most a handful
// of times in a whole run.
constexpr int InitialListCapacity = 128;

struct Move {
    Square from = 0;
    Square to = 0;
    std::uint8_t ncapt = 0;                         // pieces taken; 0 for a simple move
    std::array<Square, MaxCaptures> captured{};     // in the order they are jumped
    std::int16_t key = 0;                           // written by the ordering step only

    std::span<const Square> capturedSquares() const { return {captured.data(), ncapt}; }
    // Same piece path: same from, to and captured squares in the same order.
    bool sameAs(const Move& o) const;
};

class MoveList {
public:
    MoveList() = default;
    MoveList(const MoveList&) = delete;
    MoveList& operator=(const MoveList&) = delete;
    MoveList(MoveList&&) = default;
    MoveList& operator=(MoveList&&) = default;

    void attach(Move* storage, int capacity) {
        m_data = storage;
        m_capacity = capacity;
        m_count = 0;
    }
    int size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    int capacity() const { return m_capacity; }
    Move& operator[](int i) { return m_data[i]; }
    const Move& operator[](int i) const { return m_data[i]; }
    Move* begin() { return m_data; }
    Move* end() { return m_data + m_count; }
    const Move* begin() const { return m_data; }
    const Move* end() const { return m_data + m_count; }
    void clear() { m_count = 0; }
    Move& append() {
        if (m_count == m_capacity) [[unlikely]]
            grow(m_count + 1);
        return m_data[m_count++];
    }
    // Room for n more moves past the end, to be written ahead of extend(k),
    // which keeps the first k of them.
    Move* room(int n) {
        if (m_count + n > m_capacity) [[unlikely]]
            grow(m_count + n);
        return m_data + m_count;
    }
    void extend(int k) { m_count += k; }

private:
    void grow(int needed);
    Move* m_data = nullptr;
    int m_count = 0;
    int m_capacity = 0;
    std::unique_ptr<Move[]> m_grown;
};

// The squares a piece stands on after each of its jumps (for a simple move,
// the destination alone).
struct LandingRoute {
    std::uint8_t length = 0;
    std::array<Square, MaxCaptures> squares{};
    Square final() const { return length ? squares[length - 1] : 0; }
};

struct RulesState;

// The engine's move ordering, applied to every freshly generated list. Until
// an engine installs one, lists stay in generation order.
class MoveOrdering {
public:
    virtual ~MoveOrdering() = default;
    // A new root: forget the ordering tables (killers) of the last search.
    virtual void clearTables() = 0;
    virtual void order(RulesState& rules, MoveList& list, bool captures) = 0;
};

// State of a person's move being entered, kept between clicks.
struct MoveEntry {
    std::int16_t selectedCode = 0;                  // code of the selected piece; 0 = none
    std::array<Square, MaxCaptures> route{};        // [0] the piece's square, [1..] landings so far
    std::uint8_t steps = 0;                         // landing squares entered
    std::array<std::uint8_t, NumSquares + 1> marks{};  // 1 next landing, 100 final square
    std::uint8_t ambiguous = 0;
};

struct RulesState {
    explicit RulesState(int initialListCapacity = InitialListCapacity);
    RulesState(const RulesState&) = delete;
    RulesState& operator=(const RulesState&) = delete;

    Board board{};          // the working board: generator, engine and input matcher work here
    Board gamePosition{};   // the position actually reached in the game

    int currentPly = 1;     // list the next generation fills; 1 is the root
    int captureCount = 0;   // pieces taken by every move of the last generated list
    std::array<Square, MaxCaptures + 2> capturePath{};  // 1-based: jumped pieces, then the landing
    Square startSquare = 0;

    MoveOrdering* ordering = nullptr;

    MoveEntry entry;
    // Landing routes of the root list's moves after pieceMoves, index for index.
    std::vector<LandingRoute> pieceRoutes;

    MoveList& list(int ply) { return m_lists[ply]; }
    const MoveList& list(int ply) const { return m_lists[ply]; }
    MoveList& rootList() { return m_lists[1]; }
    // Private list of the input matcher's walkers, so they never disturb a ply.
    MoveList& scratchList() { return m_lists[MaxPly + 1]; }

private:
    std::unique_ptr<Move[]> m_block;
    std::array<MoveList, MaxPly + 2> m_lists;   // 0 unused; MaxPly + 1 is scratch for the walkers
};

// Every legal move of `side` in the working
// board, into the list of currentPly; returns their number. The board is
// unchanged afterwards; captureCount is left for the list.
int generateMoves(RulesState& r, Side side);
// As many as generateMoves returns, but simple moves are only counted:
// the list of currentPly is left meaningless unless the side must capture.
int countMoves(RulesState& r, Side side);
// The root entry: ply 1, fresh ordering tables.
int generateRootMoves(RulesState& r, Side side);

// The moves of the piece on `square` alone, written over the root list with
// their landing routes in r.pieceRoutes; returns their number. Call only for
// a piece that has a legal move in the position.
int pieceMoves(RulesState& r, Square square, Side side);
// The landing route of the first capture sequence of the piece on `from`
// that takes exactly `captured`, in that order; length 0 when none does.
LandingRoute decomposeCapture(RulesState& r, Square from, std::span<const Square> captured);

// The position after `move` on `board`: captured pieces removed, the piece
// on its final square, promoted when that square is on its far row.
void applyMove(Board& board, const Move& move);

}  // namespace rules
