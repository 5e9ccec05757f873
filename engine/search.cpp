#include "engine/search.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "engine/book.h"
#include "engine/endgame.h"
#include "engine/move_scan.h"
#include "eval/accumulators.h"
#include "eval/evaluate.h"
#include "game/core.h"

namespace engine {

namespace {

using game::Core;
using rules::Move;
using rules::MoveList;

// A plausible score that no search produces: the position had one move
// during an analysis and was not searched.
constexpr int SingleMoveAnalysisScore = 32001;
constexpr int NodesPerClockCheck = 4096;
// The deepest ply a line reaches: the generator keeps a list per ply.
constexpr int MaxSearchPly = rules::MaxPly - 1;
// Plies of the search's per-ply tables.
constexpr int Plies = rules::MaxPly + 2;
// The first aspiration window around the last iteration's value, from the
// third iteration on; it doubles on each failure.
constexpr int AspirationStart = 40;
constexpr int AspirationFromDepth = 3;

int piecesOf(const eval::PieceCount& pc, rules::Side side) {
    return side == rules::White ? pc[rules::WhiteMan] + pc[rules::WhiteKing]
                                : pc[rules::BlackMan] + pc[rules::BlackKing];
}
int piecesOnBoard(const eval::PieceCount& pc) { return pc[1] + pc[2] + pc[3] + pc[4]; }

bool isDecisive(int v) { return v >= DecisiveScore || v <= -DecisiveScore; }

// Decisive values count plies from the root; the table keeps them counted
// from the node that stores them.
int valueToTable(int v, int ply) { return v >= DecisiveScore ? v + ply : v <= -DecisiveScore ? v - ply : v; }
int valueFromTable(int v, int ply) { return v >= DecisiveScore ? v - ply : v <= -DecisiveScore ? v + ply : v; }

// One search thread's working state: the engine's own thread has one, and
// each helper another, over its own board, lists and evaluation sums. The
// engine state (limits, flags, knowledge, the transposition table) is the
// engine's own thread's, which only that thread writes while they search,
// except for the table, whose slots are read and written whole.
struct Searcher {
    Searcher(Core& c, rules::RulesState& rules, eval::EvalState& eval, bool mainThread)
        : core(c),
          en(c.engine),
          r(rules),
          ev(eval),
          table(c.engine.tables.table),
          keys(c.engine.tables),
          main(mainThread) {}

    Core& core;
    EngineState& en;
    rules::RulesState& r;
    eval::EvalState& ev;
    TranspositionTable& table;
    const SearchTables& keys;   // the key tables, for keeping the keys
    const bool main;
    const std::atomic<bool>* helperStop = nullptr;

    rules::Side rootSide = rules::White;
    std::uint32_t keyIndex = 0, keyLock = 0;
    std::atomic<std::int64_t> nodes{0};
    std::int64_t nextClockCheck = NodesPerClockCheck;
    int iterationDepth = 1;

    // Two quiet moves per ply that refuted their siblings last, and for
    // each side the success of quiet moves by their squares.
    std::array<std::array<MoveSquares, 2>, Plies> killers{};
    std::array<std::array<std::array<int, rules::NumSquares + 1>, rules::NumSquares + 1>, 2> history{};

    // Row p: the best line from ply p, entries p .. pvLength[p] - 1.
    std::array<std::array<Move, Plies>, Plies> pv{};
    std::array<int, Plies> pvLength{};

    // The keys of the line's positions, and how many plies before each no
    // man has moved and nothing was taken: only kings' moves can repeat a
    // position.
    std::array<std::uint64_t, Plies> lineKeys{};
    std::array<int, Plies> reversible{};

    // The root moves' values in the running iteration.
    int rootCount = 0;
    bool rootCaptures = false;
    std::array<int, MaxRootMoves> rootValues{};
    // The value each root move's line shows: its last value found, kept
    // when a pass ends before reaching it.
    std::array<int, MaxRootMoves> shownValues{};
    int bestIndex = 0;
    int previousRootValue = 0;

    bool stopped() const {
        return en.stopRequested.load(std::memory_order_relaxed) || en.limitReached.load(std::memory_order_relaxed) ||
               (helperStop && helperStop->load(std::memory_order_relaxed));
    }
    rules::Side sideAt(int ply) const { return ply % 2 == 1 ? rootSide : rules::opposite(rootSide); }
    void toggle(rules::PieceCode code, rules::Square s) {
        keyIndex ^= keys.indexKeys[keyIndexOf(code, s)];
        keyLock ^= keys.lockKeys[keyIndexOf(code, s)];
    }
};

struct HelperSearch;

}  // namespace

// The helpers of one engine: their boards and evaluation sums persist from
// one search to the next; their threads live for one search.
struct HelperThreads {
    std::vector<std::unique_ptr<HelperSearch>> helpers;
    std::atomic<bool> stop{false};
};

namespace {

struct HelperSearch {
    rules::RulesState rules;
    eval::EvalState eval;
    std::unique_ptr<Searcher> searcher;
    std::thread thread;
};

std::int64_t searchMilliseconds(Core& core) {
    return core.host ? core.host->readMilliseconds() - core.engine.search.startMs : 0;
}

std::int64_t allNodes(const Searcher& s) {
    std::int64_t n = s.nodes.load(std::memory_order_relaxed);
    if (s.en.helpers)
        for (const auto& h : s.en.helpers->helpers)
            if (h->searcher) n += h->searcher->nodes.load(std::memory_order_relaxed);
    return n;
}

// Every few thousand nodes of the engine's own thread: the hard time limit
// and the node limit. Stops asked from outside arrive through stopRequested
// at any time.
void countNode(Searcher& s) {
    const std::int64_t n = s.nodes.load(std::memory_order_relaxed) + 1;
    s.nodes.store(n, std::memory_order_relaxed);
    if (!s.main || n < s.nextClockCheck) return;
    s.nextClockCheck = n + NodesPerClockCheck;
    EngineState& en = s.en;
    if (en.limits.hardMs > 0 && searchMilliseconds(s.core) >= en.limits.hardMs) en.limitReached = true;
    if (en.limits.nodes > 0 && allNodes(s) >= en.limits.nodes) en.limitReached = true;
}

// The evaluation for the side to move at `ply`; the evaluation itself works
// from the root side's view.
int evaluateAt(Searcher& s, int ply, int alpha, int beta) {
    s.ev.currentPly = ply;
    if (ply % 2 == 1) return eval::evaluate(s.ev, s.r.board, s.rootSide, alpha, beta);
    return -eval::evaluate(s.ev, s.r.board, s.rootSide, -beta, -alpha);
}

// What a node saves before each move and restores after it.
struct Saved {
    rules::Board board;
    eval::Accumulators acc;
    rules::Square lastTo;
    std::uint32_t keyIndex, keyLock;

    void save(const Searcher& s) {
        board = s.r.board;
        acc = s.ev.acc;
        lastTo = s.ev.lastTo;
        keyIndex = s.keyIndex;
        keyLock = s.keyLock;
    }
    void restore(Searcher& s) const {
        s.r.board = board;
        s.ev.acc = acc;
        s.ev.lastTo = lastTo;
        s.keyIndex = keyIndex;
        s.keyLock = keyLock;
    }
};

// Plays `m` on the searcher's board, keeping its keys and evaluation sums.
// The keys come first: the child's table bucket is fetched from memory
// while the evaluation sums and the board change.
void makeMove(Searcher& s, const Move& m) {
    rules::Board& b = s.r.board;
    for (int i = 0; i < m.ncapt; ++i) s.toggle(b[m.captured[i]], m.captured[i]);
    const rules::PieceCode code = b[m.from];
    const rules::PieceCode after = rules::promotedCode(code, m.to);
    s.toggle(code, m.from);
    s.toggle(after, m.to);
    const rules::Side next = rules::isWhite(code) ? rules::Black : rules::White;
    prefetchTable(s.table, hashKeyFor(s.keyIndex, s.keyLock, next).index);
    eval::updateForMove(s.ev, b, m);
    for (int i = 0; i < m.ncapt; ++i) b[m.captured[i]] = rules::Empty;
    b[m.from] = rules::Empty;
    b[m.to] = after;
}

HashKey keyAt(const Searcher& s, int ply) { return hashKeyFor(s.keyIndex, s.keyLock, s.sideAt(ply)); }

bool sameSquares(const Move& m, const MoveSquares& k) { return m.from == k.from && m.to == k.to; }

// Ordering keys, highest first: the table's move, then among captures those
// taking kings or crowning; among quiet moves the killers, then the
// history of their squares.
constexpr int TableMoveKey = 30000;
constexpr int KillerKey = 20000;
constexpr int HistoryLimit = 16000;

void orderKeys(Searcher& s, MoveList& list, int n, int ply, rules::Side side, MoveSquares tableMove, bool captures) {
    const auto& hist = s.history[rules::sideIndex(side)];
    const auto& killers = s.killers[ply];
    const rules::Board& b = s.r.board;
    for (int i = 0; i < n; ++i) {
        Move& m = list[i];
        int key;
        if (sameSquares(m, tableMove)) {
            key = TableMoveKey;
        } else if (captures) {
            key = hist[m.from][m.to] / 4;
            for (int c = 0; c < m.ncapt; ++c)
                if (rules::isKing(b[m.captured[c]])) key += HistoryLimit;
            if (rules::promotionRow(b[m.from], m.to)) key += HistoryLimit / 2;
        } else if (sameSquares(m, killers[0])) {
            key = KillerKey + 1;
        } else if (sameSquares(m, killers[1])) {
            key = KillerKey;
        } else {
            key = hist[m.from][m.to];
        }
        m.key = static_cast<std::int16_t>(std::clamp(key, -32000, 32000));
    }
}

// Brings the best remaining move to position k.
void pickNext(MoveList& list, int k, int n) {
    int best = k;
    for (int i = k + 1; i < n; ++i)
        if (list[i].key > list[best].key) best = i;
    if (best != k) std::swap(list[k], list[best]);
}

// A quiet move refuted its node: it becomes a killer, and its squares gain
// history while those of the quiet moves tried before it lose some.
void rewardQuietMove(Searcher& s, const MoveList& list, int k, int ply, rules::Side side, int depth) {
    const Move& m = list[k];
    auto& killers = s.killers[ply];
    if (!sameSquares(m, killers[0])) {
        killers[1] = killers[0];
        killers[0] = MoveSquares{m.from, m.to};
    }
    auto& hist = s.history[rules::sideIndex(side)];
    const int bonus = std::min(depth * depth, 400);
    const auto add = [&](int& h, int delta) { h += delta - h * std::abs(delta) / HistoryLimit; };
    add(hist[m.from][m.to], bonus);
    for (int i = 0; i < k; ++i) add(hist[list[i].from][list[i].to], -bonus);
}

void updateLine(Searcher& s, int ply, const Move& m) {
    s.pv[ply][ply] = m;
    const int below = s.pvLength[ply + 1];
    for (int q = ply + 1; q < below; ++q) s.pv[ply][q] = s.pv[ply + 1][q];
    s.pvLength[ply] = std::max(below, ply + 1);
}

std::uint64_t lineKey(const Searcher& s) { return std::uint64_t{s.keyLock} << 32 | s.keyIndex; }

bool canCapture(const rules::Board& b, rules::Side side) { return movesOnBoard(b, side) == MovesOnBoard::Capture; }

// Near the horizon, at a node off the best line where nothing is to be
// taken by either side, a static value this far above beta (per ply of
// depth left, in 1/200 of a man) is taken as the node's value.
constexpr int StaticCutMargin = 60;
constexpr int StaticCutDepth = 5;

// Near the horizon, at a node off the best line where nothing is to be
// taken by either side, some quiet moves are not tried at all:
// - with one or two plies left, when the static value is so far below
//   alpha (per ply left, in 1/200 of a man) that a quiet move cannot
//   make it up;
// - with three plies or less left, the moves after the first
//   LateMovesTried + depth * depth, in order.
constexpr int FutilityMargin = 80;
constexpr int FutilityDepth = 2;
constexpr int LateMovesTried = 3;
constexpr int LateMovePruningDepth = 3;

// Late-move reductions: from the third quiet move of a node with at least
// three plies left, about ln(depth) * ln(k + 1) / 2 plies less (k counts
// the moves from 0), at least one and leaving at least one ply.
constexpr int LateMoveFrom = 2;
constexpr int LateMoveDepth = 3;
constexpr int ReductionDepths = 64;

struct LateMoveReductions {
    std::array<std::array<std::int8_t, MaxRootMoves>, ReductionDepths> plies{};

    LateMoveReductions() {
        for (int d = 1; d < ReductionDepths; ++d)
            for (int k = 1; k < MaxRootMoves; ++k)
                plies[d][k] = static_cast<std::int8_t>(0.5 + std::log(d) * std::log(k + 1) / 2.0);
    }
    int of(int depth, int k) const {
        return std::clamp<int>(plies[std::min(depth, ReductionDepths - 1)][std::min(k, MaxRootMoves - 1)], 1,
                               depth - 1);
    }
};
const LateMoveReductions lateMoveReductions;

bool isKiller(const Searcher& s, const Move& move, int ply) {
    return sameSquares(move, s.killers[ply][0]) || sameSquares(move, s.killers[ply][1]);
}

// How many plies less the k-th move (0-based) of a node is searched first:
// only quiet moves of men, late in the order, not the killers, not a man
// reaching the last two rows before promotion, and never a move after which
// the opponent must take (an exchange offered is tactics, not a quiet move).
// Kings' moves are never reduced: in the endings they decide, every one of
// them may matter.
int lateMoveReduction(const Searcher& s, const Move& move, int k, int depth, int ply, bool captureNode) {
    if (captureNode || depth < LateMoveDepth || k < LateMoveFrom || isKiller(s, move, ply)) return 0;
    const rules::Board& b = s.r.board;   // the move is already made
    const rules::PieceCode piece = b[move.to];
    if (rules::isKing(piece)) return 0;
    const int row = rules::squareRow(move.to);   // 0 is row 8
    if (piece == rules::WhiteMan ? row <= 1 : row >= 6) return 0;
    if (movesOnBoard(b, rules::opposite(s.sideAt(ply))) == MovesOnBoard::Capture) return 0;
    return lateMoveReductions.of(depth, k);
}

// Whether the opponent must take after `m`, seen on a copy of the board:
// cheaper than making the move with its keys and evaluation sums.
bool givesCapture(const rules::Board& board, const Move& m, rules::Side opponent) {
    rules::Board b = board;
    for (int i = 0; i < m.ncapt; ++i) b[m.captured[i]] = rules::Empty;
    b[m.to] = rules::promotedCode(b[m.from], m.to);
    b[m.from] = rules::Empty;
    return movesOnBoard(b, opponent) == MovesOnBoard::Capture;
}

// Whether the k-th move of a node where pruning is allowed may be left
// untried, judged before it is made: never the first, the table's move, a
// killer or a man's move to the crown.
bool mayPrune(const Searcher& s, const Move& move, int k, int ply, MoveSquares tableMove) {
    return k > 0 && !sameSquares(move, tableMove) && !isKiller(s, move, ply) &&
           !rules::promotionRow(s.r.board[move.from], move.to);
}

template <bool PvNode>
int search(Searcher& s, int alpha, int beta, int depth, int ply) {
    EngineState& en = s.en;
    rules::RulesState& r = s.r;
    const eval::PieceCount& pc = s.ev.acc.pieceCount;
    const rules::Side side = s.sideAt(ply);

    // Step 1. Count the node; the engine's own thread looks at the clock
    // now and then.
    countNode(s);
    s.pvLength[ply] = ply;
    if (s.stopped()) return 0;
    if (ply >= MaxSearchPly) return evaluateAt(s, ply, alpha, beta);
    const int pieces = piecesOnBoard(pc);

    // Step 2. Endgame databases, for four pieces or fewer. A four-piece
    // value is trusted only when drawn or clearly decided.
    if (en.databases && pieces <= 4) {
        if (const std::optional<int> v = en.databases->probe(r.board, side, ply))
            if (pieces < 4 || *v == 0 || std::abs(*v) > 1000) return *v;
    }

    // Step 3. Kings against a few men.
    if (en.databases && ply > 2 && pieces > 3) {
        const bool whiteWins = pc[rules::WhiteKing] > 0 && pc[rules::BlackKing] == 0 && pc[rules::BlackMan] < 7 &&
                               en.databases->kingsAgainstMenWin(r.board, rules::White);
        const bool blackWins = !whiteWins && pc[rules::BlackKing] > 0 && pc[rules::WhiteKing] == 0 &&
                               pc[rules::WhiteMan] < 7 && en.databases->kingsAgainstMenWin(r.board, rules::Black);
        if (whiteWins || blackWins) return (whiteWins == (side == rules::White)) ? 31001 : -31001;
    }

    // Step 4. A position met before in the line, by kings' moves only, is a
    // draw: the side that could do better would not have let it come back.
    s.lineKeys[ply] = lineKey(s);
    for (int p = ply - 4; p >= ply - s.reversible[ply] && p >= 1; p -= 2)
        if (s.lineKeys[p] == s.lineKeys[ply]) return 0;

    // Step 5. Transposition table.
    const HashKey key = keyAt(s, ply);
    const std::optional<HashHit> hit = probeTable(s.table, key);
    MoveSquares tableMove;
    if (hit) {
        tableMove = MoveSquares{hit->from, hit->to};
        const int v = valueFromTable(hit->value, ply);
        if (!PvNode && hit->depth >= std::max(depth, 0) &&
            (hit->bound == Bound::Exact || (hit->bound == Bound::Lower && v >= beta) ||
             (hit->bound == Bound::Upper && v <= alpha)))
            return v;
    }

    // Step 6. Positions the user has taught, valued for the side to move.
    if (s.en.tables.learned)
        if (const std::optional<int> v =
                probeLearned(*s.en.tables.learned, s.keyIndex, s.keyLock, side == rules::White))
            return *v;

    // Step 7. The horizon of a quiet position: with nothing to take for
    // the side to move it is a leaf, valued without a list of moves (most
    // nodes of a search are such leaves). The table was looked at first: it
    // may hold the position searched deeper by an earlier iteration.
    if (depth <= 0) {
        const MovesOnBoard moves = movesOnBoard(r.board, side);
        if (moves == MovesOnBoard::None) return -Infinity + ply;
        if (moves == MovesOnBoard::QuietOnly) return evaluateAt(s, ply, alpha, beta);
    }

    // Step 8. Generate. No move loses.
    r.currentPly = ply;
    const int n = rules::generateMoves(r, side);
    if (n == 0) return -Infinity + ply;
    const bool captureNode = r.captureCount > 0;

    // Step 9. The horizon. A side that must capture is never a leaf, and a
    // capture costs no depth: exchanges are always seen to their end.
    if (depth <= 0 && !captureNode) return evaluateAt(s, ply, alpha, beta);

    // Step 9.1. Far ahead near the horizon, with nothing to take for either
    // side: the position is not searched further.
    if (!PvNode && !captureNode && depth <= StaticCutDepth && !isDecisive(beta) &&
        !canCapture(r.board, rules::opposite(side))) {
        const int margin = StaticCutMargin * depth;
        const int v = evaluateAt(s, ply, beta - 1, beta + margin);
        if (v - margin >= beta) return v - margin;
    }

    // Step 10. The moves, best first.
    MoveList& list = r.list(ply);
    orderKeys(s, list, n, ply, side, tableMove, captureNode);
    Saved saved;
    saved.save(s);
    const int entryAlpha = alpha;
    int best = -Infinity;
    MoveSquares bestMove;
    const int childDepth = captureNode ? depth : depth - 1;

    // Step 10.1. Which moves need not be tried: see FutilityMargin. A move
    // left untried counts as worth the static value plus the margin.
    const bool pruning = !PvNode && !captureNode && depth <= LateMovePruningDepth && !isDecisive(alpha) &&
                         !isDecisive(beta) && !canCapture(r.board, rules::opposite(side));
    int futileBelow = Infinity;   // the value an untried move counts as
    if (pruning && depth <= FutilityDepth) {
        const int margin = FutilityMargin * depth;
        const int v = evaluateAt(s, ply, alpha - margin, alpha - margin + 1);
        if (v + margin <= alpha) futileBelow = v + margin;
    }
    const int movesTried = LateMovesTried + depth * depth;

    for (int k = 0; k < n; ++k) {
        pickNext(list, k, n);
        const Move& move = list[k];
        const bool kingStep = !captureNode && rules::isKing(r.board[move.from]);
        const bool prunable =
            pruning && (futileBelow < Infinity || k >= movesTried) && mayPrune(s, move, k, ply, tableMove);
        // A move after which the opponent must take may be a shot: tried.
        if (prunable && !givesCapture(r.board, move, rules::opposite(side))) {
            if (futileBelow < Infinity) best = std::max(best, futileBelow);
            continue;
        }
        makeMove(s, move);
        s.reversible[ply + 1] = kingStep ? s.reversible[ply] + 1 : 0;

        int v;
        if (k == 0) {
            v = -search<PvNode>(s, -beta, -alpha, childDepth, ply + 1);
        } else {
            // Late quiet moves are searched less deep first, and again at
            // the full depth when they beat alpha all the same.
            const int reduction = lateMoveReduction(s, move, k, depth, ply, captureNode);
            v = -search<false>(s, -alpha - 1, -alpha, childDepth - reduction, ply + 1);
            if (reduction > 0 && v > alpha) v = -search<false>(s, -alpha - 1, -alpha, childDepth, ply + 1);
            if (PvNode && v > alpha && v < beta) v = -search<true>(s, -beta, -alpha, childDepth, ply + 1);
        }
        saved.restore(s);
        r.currentPly = ply;
        if (s.stopped()) return 0;

        if (v > best) {
            best = v;
            bestMove = MoveSquares{move.from, move.to};
            if (v > alpha) {
                if (PvNode) updateLine(s, ply, move);
                if (v >= beta) {
                    if (!captureNode) rewardQuietMove(s, list, k, ply, side, std::max(depth, 1));
                    break;
                }
                alpha = v;
            }
        }
    }

    // Step 11. Keep the result.
    const Bound bound = best >= beta ? Bound::Lower : best > entryAlpha ? Bound::Exact : Bound::Upper;
    storeTable(s.table, key, valueToTable(best, ply), NoStaticEval, std::max(depth, 0), bound, bestMove.from,
               bestMove.to);
    return best;
}

void showRootLine(Searcher& s, int k, const Move& m, int value, bool searching) {
    if (!s.main || !s.core.host) return;
    RootMoveLine line;
    line.index = k;
    line.from = m.from;
    line.to = m.to;
    line.capture = m.ncapt > 0;
    line.shownScore = value / 2;
    line.searching = searching;
    s.core.host->showRootMove(line);
}

// The root's best line, for the display and the callers.
void publishBestLine(Searcher& s, const Move& m) {
    auto& line = s.en.search.bestLine;
    line[0] = m;
    int q = 1;
    for (int p = 2; p < s.pvLength[2] && q < PvSize - 1; ++p) line[q++] = s.pv[2][p];
    line[q].from = 0;
}

// One pass over the root moves in their current order. Values are from the
// root side's view, as everywhere at the root.
int searchRootMoves(Searcher& s, int alpha, int beta, int depth) {
    EngineState& en = s.en;
    Core& core = s.core;
    MoveList& list = s.r.list(1);
    const int n = s.rootCount;
    countNode(s);
    s.pvLength[1] = 1;
    s.lineKeys[1] = lineKey(s);
    s.reversible[1] = 0;
    Saved saved;
    saved.save(s);
    int best = -Infinity;
    const int childDepth = s.rootCaptures ? depth : depth - 1;
    for (int k = 0; k < n; ++k) s.rootValues[k] = -Infinity;
    const game::GameRecord& rec = core.game.record;
    const int played = en.search.pliesPlayed;

    for (int k = 0; k < n; ++k) {
        const Move move = list[k];
        // The root: show the move under search.
        if (s.main && !s.stopped()) showRootLine(s, k, move, s.previousRootValue, true);
        if (s.stopped()) break;
        s.ev.rootMovePiece = s.r.board[move.from];
        const bool kingStep = !s.rootCaptures && rules::isKing(s.r.board[move.from]);
        makeMove(s, move);
        s.reversible[2] = kingStep ? 1 : 0;

        int v;
        if (en.gameAnalysis && played < en.analysisEnd && move.from == rec.plies[played + 1].from &&
            move.to == rec.plies[played + 1].to) {
            // The game's own move: worth what the position after it was
            // found to be worth.
            v = en.playedMoveValue;
        } else if (k == 0) {
            v = -search<true>(s, -beta, -alpha, childDepth, 2);
        } else {
            v = -search<false>(s, -alpha - 1, -alpha, childDepth, 2);
            if (v > alpha && v < beta) v = -search<true>(s, -beta, -alpha, childDepth, 2);
        }
        saved.restore(s);
        s.r.currentPly = 1;
        // A move whose search was cut short by a stop has no value worth
        // choosing it for.
        if (s.stopped()) break;

        // Repetition: a move closing the cycle of the last plies draws.
        if (!isDecisive(v) && closesRepetition(core, move)) v = 0;
        s.rootValues[k] = v;

        if (v > best) {
            best = v;
            if (v > alpha) {
                s.bestIndex = k;
                updateLine(s, 1, move);
                if (s.main) {
                    en.search.bestRootIndex = k;
                    publishBestLine(s, move);
                }
            }
        }
        if (s.main) {
            if (!en.infiniteThinking) showThinking(core, best, k == n - 1 ? depth + 1 : depth);
            showRootLine(s, k, move, v, false);
            s.shownValues[k] = v;
            s.previousRootValue = v;
        }
        if (v > alpha) {
            if (v >= beta) break;
            alpha = v;
        }
    }
    return best;
}

// After a pass: the best move first, then the others by their values, ties
// in their order.
void sortRootMoves(Searcher& s) {
    MoveList& list = s.r.list(1);
    const int n = s.rootCount;
    std::array<int, MaxRootMoves> order{};
    for (int i = 0; i < n; ++i) order[i] = i;
    const int first = s.bestIndex;
    std::stable_sort(order.begin(), order.begin() + n, [&](int a, int b) {
        if (a == first || b == first) return a == first && b != first;
        return s.rootValues[a] > s.rootValues[b];
    });
    std::array<Move, MaxRootMoves> moves{};
    std::array<int, MaxRootMoves> values{}, shown{};
    for (int i = 0; i < n; ++i) {
        moves[i] = list[order[i]];
        values[i] = s.rootValues[order[i]];
        shown[i] = s.shownValues[order[i]];
    }
    for (int i = 0; i < n; ++i) {
        list[i] = moves[i];
        s.rootValues[i] = values[i];
        s.shownValues[i] = shown[i];
    }
    s.bestIndex = 0;
    if (s.main) s.en.search.bestRootIndex = 0;
    // The lines show the moves by their place in the list: written again in
    // the new order, so that no move is shown twice while the next pass
    // works its way down.
    for (int i = 0; i < n; ++i) showRootLine(s, i, list[i], s.shownValues[i], false);
}

// One iteration at `depth` inside a window around the last value, widened
// until the value falls inside it. The value, or nothing when stopped.
std::optional<int> searchIteration(Searcher& s, int depth, int last) {
    int delta = AspirationStart;
    int alpha = -Infinity, beta = Infinity;
    if (depth >= AspirationFromDepth && !isDecisive(last)) {
        alpha = std::max(last - delta, -Infinity);
        beta = std::min(last + delta, +Infinity);
    }
    for (;;) {
        const int v = searchRootMoves(s, alpha, beta, depth);
        if (s.stopped()) return std::nullopt;
        sortRootMoves(s);
        if (v <= alpha && alpha > -Infinity) {
            beta = (alpha + beta) / 2;
            alpha = std::max(v - delta, -Infinity);
        } else if (v >= beta && beta < Infinity) {
            beta = std::min(v + delta, +Infinity);
        } else {
            return v;
        }
        delta *= 2;
        if (delta > 1000) {
            alpha = -Infinity;
            beta = Infinity;
        }
    }
}

// Sets a searcher on the root position: keys, the root moves in `list`'s
// order.
void prepareSearcher(Searcher& s, rules::Side side, std::uint32_t keyIndex, std::uint32_t keyLock, const MoveList& root,
                     bool rootCaptures) {
    s.rootSide = side;
    s.keyIndex = keyIndex;
    s.keyLock = keyLock;
    s.nodes.store(0, std::memory_order_relaxed);
    s.nextClockCheck = NodesPerClockCheck;
    s.killers = {};
    for (auto& sideHistory : s.history)
        for (auto& row : sideHistory)
            for (int& h : row) h /= 4;
    s.rootCount = std::min(root.size(), MaxRootMoves);
    s.rootCaptures = rootCaptures;
    s.shownValues = {};
    MoveList& list = s.r.list(1);
    if (&list != &root) {
        list.clear();
        for (int i = 0; i < s.rootCount; ++i) list.append() = root[i];
    }
    s.bestIndex = 0;
}

// A helper's whole search: iterations one ply ahead of the engine's own
// thread every other helper, until told to stop.
void helperLoop(Searcher& s, int id, int last) {
    for (int depth = 1 + id % 2; depth <= MaxIterations; ++depth) {
        s.iterationDepth = depth;
        const std::optional<int> v = searchIteration(s, depth, last);
        if (!v) return;
        last = *v;
    }
}

// Starts the helpers on the root the engine's own thread has set up.
void startHelpers(Core& core, Searcher& mainSearcher) {
    EngineState& en = core.engine;
    const int wanted = std::clamp(en.threads, 1, MaxSearchThreads) - 1;
    if (wanted == 0) return;
    if (!en.helpers) en.helpers.reset(new HelperThreads);
    HelperThreads& pool = *en.helpers;
    pool.stop.store(false);
    while (static_cast<int>(pool.helpers.size()) < wanted) {
        auto h = std::make_unique<HelperSearch>();
        h->searcher = std::make_unique<Searcher>(core, h->rules, h->eval, false);
        h->searcher->helperStop = &pool.stop;
        pool.helpers.push_back(std::move(h));
    }
    for (int i = 0; i < wanted; ++i) {
        HelperSearch& h = *pool.helpers[static_cast<std::size_t>(i)];
        h.rules.board = core.rules.board;
        h.eval = core.eval;
        prepareSearcher(*h.searcher, mainSearcher.rootSide, mainSearcher.keyIndex, mainSearcher.keyLock,
                        core.rules.list(1), mainSearcher.rootCaptures);
        const int last = en.lastScore;
        h.thread = std::thread([&h, i, last] { helperLoop(*h.searcher, i + 1, last); });
    }
}

void stopHelpers(EngineState& en) {
    if (!en.helpers) return;
    en.helpers->stop.store(true);
    for (auto& h : en.helpers->helpers)
        if (h->thread.joinable()) h->thread.join();
}

// Ends the helpers however the search returns.
class HelpersRunning {
public:
    explicit HelpersRunning(EngineState& en) : m_en(en) {}
    ~HelpersRunning() { stopHelpers(m_en); }
    HelpersRunning(const HelpersRunning&) = delete;
    HelpersRunning& operator=(const HelpersRunning&) = delete;

private:
    EngineState& m_en;
};

// Generation runs without the ordering step while the search orders its
// own moves.
class OrderingOff {
public:
    explicit OrderingOff(rules::RulesState& r) : m_r(r), m_previous(r.ordering) { r.ordering = nullptr; }
    ~OrderingOff() { m_r.ordering = m_previous; }
    OrderingOff(const OrderingOff&) = delete;
    OrderingOff& operator=(const OrderingOff&) = delete;

private:
    rules::RulesState& m_r;
    rules::MoveOrdering* m_previous;
};

// Step 7 of the root: a book move, chosen at random among the candidates.
int bookMove(Core& core, rules::Side side) {
    EngineState& en = core.engine;
    if (!en.books.booksActive) return -1;
    const int n = en.search.pliesPlayed;
    const eval::PieceCount& pc = core.eval.acc.pieceCount;
    if (!inBookWindow(n, pc[rules::WhiteMan], pc[rules::BlackMan])) return -1;
    const game::GameRecord& rec = core.game.record;
    std::array<BookMove, LastBookPly + 1> played{};
    for (int k = 1; k <= n; ++k) played[k - 1] = {rec.plies[k].from, rec.plies[k].to};
    std::array<BookMove, MaxBookCandidates> candidates{};
    const int count = bookCandidates(en.books.of(side), std::span(played.data(), n), candidates);
    std::array<int, MaxRootMoves> chosen{};
    int found = 0;
    const MoveList& root = core.rules.rootList();
    for (int c = 0; c < count; ++c)
        for (int i = 0; i < root.size() && found < MaxRootMoves; ++i)
            if (root[i].from == candidates[c].from && root[i].to == candidates[c].to) chosen[found++] = i;
    if (found == 0) return -1;
    return chosen[static_cast<std::size_t>(en.random() % found)];
}

}  // namespace

void HelperThreadsDeleter::operator()(HelperThreads* helpers) const {
    if (!helpers) return;
    helpers->stop.store(true);
    for (auto& h : helpers->helpers)
        if (h->thread.joinable()) h->thread.join();
    delete helpers;
}

bool closesRepetition(const Core& core, const Move& m) {
    const game::GameRecord& rec = core.game.record;
    const int n = core.engine.search.pliesPlayed;
    if (n < 6) return false;
    const auto& p = rec.plies;
    return m.from == p[n - 3].from && m.to == p[n - 3].to && p[n].captureCount == p[n - 4].captureCount &&
           p[n].from == p[n - 4].from && p[n - 1].captureCount == p[n - 5].captureCount &&
           p[n - 1].from == p[n - 5].from;
}

void makeSearchMove(Core& core, int k) {
    rules::RulesState& r = core.rules;
    SearchTables& t = core.engine.tables;
    const Move& m = r.list(r.currentPly)[k];
    rules::Board& b = r.board;
    eval::updateForMove(core.eval, b, m);
    core.eval.currentPly = r.currentPly + 1;
    for (int i = 0; i < m.ncapt; ++i) {
        togglePiece(t, b[m.captured[i]], m.captured[i]);
        b[m.captured[i]] = rules::Empty;
    }
    const rules::PieceCode code = b[m.from];
    togglePiece(t, code, m.from);
    b[m.from] = rules::Empty;
    const rules::PieceCode after = rules::promotedCode(code, m.to);
    b[m.to] = after;
    togglePiece(t, after, m.to);
}

int defaultSearchThreads(unsigned cores) { return cores >= 2 ? 2 : 1; }
int defaultSearchThreads() { return defaultSearchThreads(std::thread::hardware_concurrency()); }
int searchThreadsAllowed(unsigned cores) {
    return static_cast<int>(std::clamp(cores, 1u, static_cast<unsigned>(MaxSearchThreads)));
}
int clampSearchThreads(int threads, unsigned cores) { return std::clamp(threads, 1, searchThreadsAllowed(cores)); }

void showThinking(Core& core, int score, int depthShown) {
    EngineState& en = core.engine;
    SearchState& s = en.search;
    SearchStats& st = en.lastStats;
    st.timed = !en.infiniteThinking;
    st.seconds = st.timed ? static_cast<int>(searchMilliseconds(core) / 1000) : 0;
    st.depth = depthShown;
    st.nodes = s.nodeCount;
    st.score = score;
    st.moveNumber = (s.pliesPlayed + 2) / 2;
    int n = 0;
    for (int p = 0; p < PvSize - 1 && s.bestLine[p].from != 0; ++p) st.pv[n++] = s.bestLine[p];
    st.pvLength = n;
    en.statsShown = true;
    if (core.host) core.host->showThinking(st);
}

const rules::Move* bestLine(const Core& core) { return core.engine.search.bestLine.data(); }

bool initialiseSearch(Core& core) {
    EngineState& en = core.engine;
    if (!allocateSearchTables(en.tables)) return false;
    loadEngineKnowledge(core);
    clearTable(en.tables);
    return true;
}

void loadEngineKnowledge(Core& core) {
    loadSearchData(core.engine.tables, core.programDir, core.host);
    loadEndgameTables(core);
}

void loadEndgameTables(Core& core) {
    EngineState& en = core.engine;
    if (en.endgameTables && en.endgameTables->databasesLoaded) return;
    auto tables = std::make_shared<EndgameTables>();
    loadEndgameDatabases(*tables, core.programDir);
    en.endgameTables = tables;
    // Said once, naming what is missing, unreadable or damaged; such a table
    // is not consulted, the others are.
    if (const std::string report = endgameLoadReport(*tables); !report.empty() && core.host)
        core.host->showError(report);
    // Without a single table the search does its own work.
    if (!anyTableLoaded(*tables)) {
        en.databases = nullptr;
        return;
    }
    en.endgameProbe = std::make_unique<TableDatabases>(*en.endgameTables);
    en.databases = en.endgameProbe.get();
}

RootAnswer searchRoot(Core& core, rules::Side side) {
    EngineState& en = core.engine;
    SearchState& st = en.search;
    SearchTables& t = en.tables;
    rules::RulesState& r = core.rules;
    eval::EvalState& ev = core.eval;
    OrderingOff ordering(r);

    // Step 1. The tables exist; the lists are fresh.
    r.board[0] = rules::Sentinel;
    if (!allocateSearchTables(t)) return RootAnswer{};
    for (int p = 0; p <= rules::MaxPly; ++p) r.list(p).clear();

    // Step 2. The start of the clock, the keys.
    st.rootSide = side;
    st.otherSide = rules::opposite(side);
    st.pliesPlayed = core.game.record.plyCounter;
    if (core.host) st.startMs = core.host->readMilliseconds();
    computeKeys(t, r.board);
    newSearchGeneration(t.table);
    en.limitReached = false;

    // Step 3. Clear the line and the counts; the evaluation's root set-up.
    st.nodeCount = 0;
    st.bestRootIndex = 0;
    st.iterationDepth = 1;
    st.bestLine[0].from = 0;
    eval::prepareSearchRoot(ev, r.board, side);

    // Step 4. A side without pieces.
    const eval::PieceCount& pc = ev.acc.pieceCount;
    if (piecesOf(pc, rules::White) == 0 || piecesOf(pc, rules::Black) == 0) return RootAnswer{};

    // Step 5. The root moves.
    r.currentPly = 1;
    const int n = rules::generateMoves(r, side);
    if (n == 0) return RootAnswer{};
    const bool rootCaptures = r.captureCount > 0;

    // Step 6. A single move needs no search, except to value it during an
    // analysis or while thinking without limits.
    if (n == 1) {
        if (en.gameAnalysis) {
            if (st.pliesPlayed != core.game.record.recordLength) {
                en.lastScore = SingleMoveAnalysisScore;
                if (!en.infiniteThinking) return {SearchAnswer::SingleMove, 0};
            }
        } else if (!en.infiniteThinking) {
            return {SearchAnswer::SingleMove, 0};
        }
    }

    // Step 7. The opening book.
    if (const int book = bookMove(core, side); book >= 0) return {SearchAnswer::Move, book};

    // Step 8. The searchers: the engine's own thread, and its helpers on
    // the same root.
    if (core.host) core.host->clearRootMoves();
    auto searcher = std::make_unique<Searcher>(core, r, ev, true);
    Searcher& s = *searcher;
    prepareSearcher(s, side, t.keyIndex, t.keyLock, r.list(1), rootCaptures);
    s.previousRootValue = en.lastScore;
    HelpersRunning helpers(en);
    startHelpers(core, s);

    // Step 9. Iterative deepening.
    int last = en.lastScore;
    for (int depth = 1; depth <= MaxIterations; ++depth) {
        st.iterationDepth = depth;
        s.iterationDepth = depth;

        // Step 9.1. Search the root to this depth.
        const std::optional<int> v = searchIteration(s, depth, last);
        st.nodeCount = allNodes(s);

        // Step 9.2. Stopped from outside or by a hard limit: the best move
        // found so far, the value of the last finished iteration.
        if (!v) {
            if (en.abandonSearch) {
                en.lastScore = 0;
                return {SearchAnswer::Abandoned, -1};
            }
            return {SearchAnswer::Move, st.bestRootIndex};
        }

        // Step 9.3. The iteration's value is the search's value so far.
        last = *v;
        en.lastScore = last;
        if (en.infiniteThinking) showThinking(core, last, depth);

        // Step 9.4. No new iteration past the soft time limit.
        if (!en.infiniteThinking && en.limits.softMs > 0 && depth >= en.limits.softFromIteration &&
            searchMilliseconds(core) >= en.limits.softMs)
            break;

        // Step 9.5. Depth caps of the weakest levels and of front ends.
        if (en.limits.depth > 0 && depth >= en.limits.depth) break;

        // Step 9.6. A win found; in an analysis, a loss too.
        if (!en.infiniteThinking && last >= DecisiveScore + 1) break;
        if (en.gameAnalysis && last < -DecisiveScore) break;
    }
    st.nodeCount = allNodes(s);
    return {SearchAnswer::Move, st.bestRootIndex};
}

}  // namespace engine
