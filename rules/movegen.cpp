#include "rules/movegen.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "rules/square_sets.h"

namespace rules {

bool Move::sameAs(const Move& o) const {
    return from == o.from && to == o.to && ncapt == o.ncapt &&
           std::equal(captured.begin(), captured.begin() + ncapt, o.captured.begin());
}

void MoveList::grow(int needed) {
    int newCapacity = m_capacity > 0 ? 2 * m_capacity : InitialListCapacity;
    while (newCapacity < needed) newCapacity *= 2;
    auto bigger = std::make_unique<Move[]>(static_cast<std::size_t>(newCapacity));
    std::copy(m_data, m_data + m_count, bigger.get());
    m_grown = std::move(bigger);
    m_data = m_grown.get();
    m_capacity = newCapacity;
}

RulesState::RulesState(int initialListCapacity) {
    board = startingPosition();
    gamePosition = board;
    const int lists = MaxPly + 2;
    m_block = std::make_unique<Move[]>(static_cast<std::size_t>(lists) * initialListCapacity);
    for (int p = 0; p < lists; ++p) m_lists[p].attach(m_block.get() + p * initialListCapacity, initialListCapacity);
}

namespace {

constexpr int NoDirection = 4;  // 3 - 4 matches no direction either

// Depth-first exploration of capture sequences on the board itself: each
// jumped piece is overwritten by the taken mark and restored on the way back,
// and the capturing piece is never on the board while it explores, so it may
// cross or end on its own start square.
template <bool WithRoutes>
class CaptureExplorer {
public:
    CaptureExplorer(RulesState& r, MoveList& list, std::vector<LandingRoute>* routes, Side side)
        : m_r(r),
          m_b(r.board),
          m_path(r.capturePath),
          m_list(list),
          m_routes(routes),
          m_enemyMan(side == Black ? WhiteMan : BlackMan),
          m_enemyKing(side == Black ? WhiteKing : BlackKing) {}

    void explorePiece(Square s) {
        const PieceCode code = m_b[s];
        m_r.startSquare = s;
        m_path[1] = 0;
        if (isMan(code))
            manCapture(s, 1);
        else
            kingCapture(s, NoDirection, 1);
        m_b[s] = code;
    }

private:
    bool isEnemy(PieceCode c) const { return c == m_enemyMan || c == m_enemyKing; }

    // Majority rule: a longer sequence empties the list, a shorter one is
    // dropped, an equal one is appended. Kings count as one piece, like men;
    // among sequences taking equally many pieces none is preferred, so every
    // one of them, every order of taking the same pieces included, is listed.
    void record(Square to, int pieces) {
        if (pieces > m_r.captureCount) {
            m_list.clear();
            if constexpr (WithRoutes) m_routes->clear();
            m_r.captureCount = pieces;
        } else if (pieces < m_r.captureCount) {
            return;
        }
        Move& m = m_list.append();
        m.from = m_r.startSquare;
        m.to = to;
        m.ncapt = static_cast<std::uint8_t>(pieces);
        std::memcpy(m.captured.data(), &m_path[1], static_cast<std::size_t>(pieces));
        m.key = 0;
        if constexpr (WithRoutes) {
            LandingRoute route;
            route.length = static_cast<std::uint8_t>(pieces);
            std::memcpy(route.squares.data(), &m_landing[1], static_cast<std::size_t>(pieces));
            m_routes->push_back(route);
        }
    }

    // A man jumps an adjacent enemy onto the empty square just behind it, in
    // any of the four directions. It stays a man for the whole sequence, even
    // when it touches its far row on the way.
    void manCapture(Square s, int d) {
        for (int dir = 0; dir < NumDirections; ++dir) {
            const Square n = neighbour(s, dir);
            if (!isEnemy(m_b[n])) continue;
            const Square t = neighbour(n, dir);
            if (m_b[t] != Empty) continue;
            const PieceCode taken = m_b[n];
            m_b[n] = TakenMark;
            m_b[s] = Empty;
            m_path[d] = n;
            if constexpr (WithRoutes) m_landing[d] = t;
            manCapture(t, d + 1);
            m_b[n] = taken;
            if (m_r.captureCount <= d) record(t, d);
        }
    }

    // A king flies along a diagonal to the first piece, jumps it if it is an
    // enemy with a free square behind, and may land on any free square beyond.
    // path[d] holds the square the king stands on until a further jump from
    // here overwrites it with the jumped piece; a sequence ends here when no
    // further jump exists.
    void kingCapture(Square s, int arrived, int d) {
        m_path[d + 1] = 0;
        for (int dir = 0; dir < NumDirections; ++dir) {
            if (dir == 3 - arrived) continue;  // never straight back
            m_b[s] = Empty;
            Square n = neighbour(s, dir);
            // Going on in the direction of arrival: the further landing squares
            // were tried as landing choices one level up, so only a piece
            // right next to the king counts here.
            if (dir != arrived)
                while (m_b[n] == Empty) n = neighbour(n, dir);
            if (isEnemy(m_b[n]) && m_b[neighbour(n, dir)] == Empty) {
                const PieceCode taken = m_b[n];
                m_b[n] = TakenMark;
                m_path[d] = n;
                for (Square t = neighbour(n, dir); m_b[t] == Empty; t = neighbour(t, dir)) {
                    m_path[d + 1] = t;
                    if constexpr (WithRoutes) m_landing[d] = t;
                    kingCapture(t, dir, d + 1);
                    m_b[t] = Empty;
                }
                m_b[n] = taken;
            }
            if (m_r.captureCount < d && m_path[d] != 0) {
                record(m_path[d], d - 1);
                m_path[d] = 0;  // recorded once, not again from another direction
            }
        }
    }

    RulesState& m_r;
    Board& m_b;
    std::array<Square, MaxCaptures + 2>& m_path;
    MoveList& m_list;
    std::vector<LandingRoute>* m_routes;
    const PieceCode m_enemyMan;
    const PieceCode m_enemyKing;
    std::array<Square, MaxCaptures + 2> m_landing{};
};

inline void appendSimple(MoveList& list, Square from, Square to) {
    Move& m = list.append();
    m.from = from;
    m.to = to;
    m.ncapt = 0;
    m.key = 0;
}

// A king's simple moves: along each diagonal to every empty square up to
// the first obstacle, nearest first.
inline void kingSimpleMoves(const Board& b, Square s, MoveList& list) {
    for (int dir = 0; dir < NumDirections; ++dir)
        for (Square t = neighbour(s, dir); b[t] == Empty; t = neighbour(t, dir)) appendSimple(list, s, t);
}

// Simple moves of one piece: a man to each empty forward neighbour (White's
// towards row 8, Black's towards row 1), a king as above.
inline void simpleMovesOf(const Board& b, Square s, MoveList& list) {
    const PieceCode code = b[s];
    if (isMan(code)) {
        const int first = code == WhiteMan ? 0 : 2;
        for (int dir = first; dir < first + 2; ++dir) {
            const Square t = neighbour(s, dir);
            if (b[t] == Empty) appendSimple(list, s, t);
        }
    } else {
        kingSimpleMoves(b, s, list);
    }
}

// The pieces of `men` and `kings` that can take in direction D. A man takes
// an enemy next to it onto the empty square just behind; a king flies over
// empty squares to an enemy with an empty square behind it.
template <int D>
inline SquareSet takersTowards(SquareSet men, SquareSet kings, SquareSet enemy, SquareSet empty) {
    // Enemies with an empty square behind them, and the squares from which
    // they are jumped this way.
    SquareSet launch = stepBack(enemy & stepBack(empty, D), D);
    SquareSet takers = men & launch;
    // A king may also start further back, across empty squares.
    for (; kings && launch; launch = stepBack(launch & empty, D)) takers |= kings & launch;
    return takers;
}

// The side's pieces that can take at least one piece, in any of the four
// directions (men take backwards too).
inline SquareSet piecesThatCanTake(SquareSet men, SquareSet kings, SquareSet enemy, SquareSet empty) {
    return takersTowards<0>(men, kings, enemy, empty) | takersTowards<1>(men, kings, enemy, empty) |
           takersTowards<2>(men, kings, enemy, empty) | takersTowards<3>(men, kings, enemy, empty);
}

// Calls visit(square) for each square of `set` in the side's scan order:
// White's from square 32 down to 1, Black's from 1 up to 32, each side
// starting from its own back row.
template <Side S, typename Visit>
inline void inScanOrder(SquareSet set, Visit&& visit) {
    if constexpr (S == White) {
        while (set) {
            const int bit = 31 - std::countl_zero(set);
            set ^= SquareSet{1} << bit;
            visit(static_cast<Square>(bit + 1));
        }
    } else {
        for (; set; set &= set - 1) visit(static_cast<Square>(std::countr_zero(set) + 1));
    }
}

// Number of simple moves of the kings of `kings` in direction D. Two kings'
// slides one way never overlap (the nearer king blocks the other), so each
// step of the sliding set counts its squares once.
template <int D>
inline int countKingSlides(SquareSet kings, SquareSet empty) {
    int n = 0;
    for (SquareSet ray = step(kings, D) & empty; ray; ray = step(ray, D) & empty) n += countSquares(ray);
    return n;
}

// With CountOnly, simple moves are counted and not listed (perft's leaves);
// captures are always listed, since the majority rule needs them.
template <bool CountOnly, Side S>
int generate(RulesState& r) {
    MoveList& list = r.list(r.currentPly);
    list.clear();
    r.captureCount = 0;
    r.capturePath[1] = 0;
    const SquareSets sets = squareSets(r.board);
    constexpr bool white = S == White;
    const SquareSet men = white ? sets.whiteMen : sets.blackMen;
    const SquareSet kings = white ? sets.whiteKings : sets.blackKings;
    const SquareSet enemy = white ? sets.black() : sets.white();
    const SquareSet empty = sets.empty;

    // Step 1. Captures: only the pieces that can take are explored, from the
    // side's own back row. Most positions have none and skip this step.
    if (const SquareSet takers = piecesThatCanTake(men, kings, enemy, empty)) {
        CaptureExplorer<false> explorer(r, list, nullptr, S);
        inScanOrder<S>(takers, [&](Square s) { explorer.explorePiece(s); });
        if constexpr (!CountOnly)
            if (r.ordering && list.size() > 1) r.ordering->order(r, list, true);
        return list.size();
    }

    // Step 2. Simple moves. A man steps to an empty square diagonally
    // forwards: White's up the board (directions 0 and 1), Black's down
    // (2 and 3).
    constexpr int forward = white ? 0 : 2;
    const SquareSet left = men & stepBack(empty, forward);
    const SquareSet right = men & stepBack(empty, forward + 1);
    if constexpr (CountOnly) {
        const int menMoves = countSquares(left) + countSquares(right);
        if (!kings) return menMoves;
        return menMoves + countKingSlides<0>(kings, empty) + countKingSlides<1>(kings, empty) +
               countKingSlides<2>(kings, empty) + countKingSlides<3>(kings, empty);
    }

    // Each piece's moves together, pieces in scan order, a man's left step
    // before its right one.
    const Board& b = r.board;
    inScanOrder<S>(left | right | kings, [&](Square s) {
        const SquareSet bit = squareBit(s);
        if (kings & bit) [[unlikely]] {
            kingSimpleMoves(b, s, list);
            return;
        }
        // Both steps written, each kept only when its square is free.
        Move* m = list.room(2);
        m[0].from = s;
        m[0].to = neighbour(s, forward);
        m[0].ncapt = 0;
        m[0].key = 0;
        const int kept = (left & bit) != 0;
        m[kept].from = s;
        m[kept].to = neighbour(s, forward + 1);
        m[kept].ncapt = 0;
        m[kept].key = 0;
        list.extend(kept + ((right & bit) != 0));
    });

    if (r.ordering && list.size() > 1) r.ordering->order(r, list, false);
    return list.size();
}

}  // namespace

int generateMoves(RulesState& r, Side side) {
    return side == White ? generate<false, White>(r) : generate<false, Black>(r);
}

int countMoves(RulesState& r, Side side) { return side == White ? generate<true, White>(r) : generate<true, Black>(r); }

int generateRootMoves(RulesState& r, Side side) {
    r.currentPly = 1;
    for (int p = 0; p <= MaxPly; ++p) r.list(p).clear();
    r.capturePath.fill(0);
    if (r.ordering) r.ordering->clearTables();
    return generateMoves(r, side);
}

int pieceMoves(RulesState& r, Square square, Side side) {
    MoveList& list = r.rootList();
    list.clear();
    r.pieceRoutes.clear();
    r.captureCount = 0;
    CaptureExplorer<true> explorer(r, list, &r.pieceRoutes, side);
    explorer.explorePiece(square);
    if (list.empty()) {
        simpleMovesOf(r.board, square, list);
        for (const Move& m : list) {
            LandingRoute route;
            route.length = 1;
            route.squares[0] = m.to;
            r.pieceRoutes.push_back(route);
        }
    }
    return list.size();
}

LandingRoute decomposeCapture(RulesState& r, Square from, std::span<const Square> captured) {
    if (from < 1 || from > NumSquares || !isPiece(r.board[from])) return {};
    const int savedCount = r.captureCount;
    const auto savedPath = r.capturePath;
    const Square savedStart = r.startSquare;
    MoveList& list = r.scratchList();
    list.clear();
    std::vector<LandingRoute> routes;
    r.captureCount = 0;
    CaptureExplorer<true> explorer(r, list, &routes, sideOf(r.board[from]));
    explorer.explorePiece(from);
    LandingRoute found;
    for (int i = 0; i < list.size(); ++i) {
        const Move& m = list[i];
        if (m.ncapt == captured.size() && std::equal(captured.begin(), captured.end(), m.captured.begin())) {
            found = routes[static_cast<std::size_t>(i)];
            break;
        }
    }
    list.clear();
    r.captureCount = savedCount;
    r.capturePath = savedPath;
    r.startSquare = savedStart;
    return found;
}

void applyMove(Board& board, const Move& move) {
    const PieceCode code = board[move.from];
    for (int i = 0; i < move.ncapt; ++i) board[move.captured[i]] = Empty;
    board[move.from] = Empty;
    board[move.to] = promotedCode(code, move.to);
}

}  // namespace rules
