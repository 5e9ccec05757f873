#include "rules/movegen.h"

#include <algorithm>
#include <cstring>

namespace rules {

bool Move::sameAs(const Move& o) const {
    return from == o.from && to == o.to && ncapt == o.ncapt &&
           std::equal(captured.begin(), captured.begin() + ncapt, o.captured.begin());
}

void MoveList::grow() {
    const int newCapacity = m_capacity > 0 ? 2 * m_capacity : InitialListCapacity;
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

// Simple moves of one piece: a man to each empty forward neighbour (White's
// towards row 8, Black's towards row 1), a king along each diagonal to every
// empty square up to the first obstacle, nearest first.
inline void simpleMovesOf(const Board& b, Square s, MoveList& list) {
    const PieceCode code = b[s];
    if (isMan(code)) {
        const int first = code == WhiteMan ? 0 : 2;
        for (int dir = first; dir < first + 2; ++dir) {
            const Square t = neighbour(s, dir);
            if (b[t] == Empty) appendSimple(list, s, t);
        }
    } else {
        for (int dir = 0; dir < NumDirections; ++dir)
            for (Square t = neighbour(s, dir); b[t] == Empty; t = neighbour(t, dir)) appendSimple(list, s, t);
    }
}

}  // namespace

namespace {

// Whether a man on s has an enemy next to it with an empty square behind, in
// any direction: the cheap test that spares most men the full exploration.
inline bool manCanTake(const Board& b, Square s, PieceCode enemyMan, PieceCode enemyKing) {
    for (int dir = 0; dir < NumDirections; ++dir) {
        const PieceCode c = b[neighbour(s, dir)];
        if ((c == enemyMan || c == enemyKing) && b[neighbour(neighbour(s, dir), dir)] == Empty) return true;
    }
    return false;
}

// Number of simple moves of one piece, without listing them.
inline int countSimpleMoves(const Board& b, Square s) {
    const PieceCode code = b[s];
    int n = 0;
    if (isMan(code)) {
        const int first = code == WhiteMan ? 0 : 2;
        n += b[neighbour(s, first)] == Empty;
        n += b[neighbour(s, first + 1)] == Empty;
    } else {
        for (int dir = 0; dir < NumDirections; ++dir)
            for (Square t = neighbour(s, dir); b[t] == Empty; t = neighbour(t, dir)) ++n;
    }
    return n;
}

// With CountOnly, simple moves are counted and not listed (perft's leaves);
// captures are always listed, since the majority rule needs them.
template <bool CountOnly>
int generate(RulesState& r, Side side) {
    const bool black = side == Black;
    MoveList& list = r.list(r.currentPly);
    list.clear();
    r.captureCount = 0;
    r.capturePath[1] = 0;
    const PieceCode enemyMan = black ? WhiteMan : BlackMan;
    const PieceCode enemyKing = black ? WhiteKing : BlackKing;
    const PieceCode ownMan = black ? BlackMan : WhiteMan;
    const PieceCode ownKing = black ? BlackKing : WhiteKing;

    // Step 1. Captures, visiting the side's pieces from its own back row.
    std::array<Square, NumSquares> own;
    int ownCount = 0;
    CaptureExplorer<false> explorer(r, list, nullptr, side);
    for (int i = 1; i <= NumSquares; ++i) {
        const Square s = static_cast<Square>(ScanList[black ? 33 - i : i]);
        const PieceCode c = r.board[s];
        if (c == ownMan) {
            own[ownCount++] = s;
            if (manCanTake(r.board, s, enemyMan, enemyKing)) explorer.explorePiece(s);
        } else if (c == ownKing) {
            own[ownCount++] = s;
            explorer.explorePiece(s);
        }
    }

    // Step 2. Simple moves, only when nothing can be taken.
    if (list.empty()) {
        if constexpr (CountOnly) {
            int n = 0;
            for (int i = 0; i < ownCount; ++i) n += countSimpleMoves(r.board, own[i]);
            return n;
        }
        for (int i = 0; i < ownCount; ++i) simpleMovesOf(r.board, own[i], list);
    }

    if constexpr (!CountOnly)
        if (r.ordering && list.size() > 1) r.ordering->order(r, list, r.captureCount > 0);
    return list.size();
}

}  // namespace

int generateMoves(RulesState& r, Side side) { return generate<false>(r, side); }

int countMoves(RulesState& r, Side side) { return generate<true>(r, side); }

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
