#include "engine/search.h"

#include <algorithm>
#include <cstdlib>

#include "engine/book.h"
#include "engine/endgame.h"
#include "eval/accumulators.h"
#include "eval/evaluate.h"
#include "game/clocks.h"
#include "game/core.h"

namespace engine {

namespace {

using game::Core;
using rules::Move;
using rules::MoveList;

// A plausible score that no search produces: the position had one move
// during an analysis and was not searched.
constexpr int SingleMoveAnalysisScore = 32001;
constexpr int AspirationHalfWidth = 250;
constexpr int NodesPerClockCheck = 5000;

int piecesOf(const eval::PieceCount& pc, rules::Side side) {
    return side == rules::White ? pc[rules::WhiteMan] + pc[rules::WhiteKing] : pc[rules::BlackMan] + pc[rules::BlackKing];
}
int piecesOnBoard(const eval::PieceCount& pc) { return pc[1] + pc[2] + pc[3] + pc[4]; }

int evaluateAt(Core& core, int ply, int alpha, int beta) {
    core.eval.currentPly = ply;
    return eval::evaluate(core.eval, core.rules.board, core.engine.search.rootSide, alpha, beta);
}

bool sameSquares(const Move& a, const Move& b) { return a.from == b.from && a.to == b.to; }

// The generator's ordering step, driven by the search's state.
class SearchOrdering final : public rules::MoveOrdering {
public:
    explicit SearchOrdering(EngineState& e) : m_e(e) {}
    void clearTables() override { resetKillers(m_e.tables); }

    void order(rules::RulesState& r, MoveList& list, bool captures) override {
        const SearchState& s = m_e.search;
        const SearchTables& t = m_e.tables;
        const int ply = r.currentPly;
        const bool nearRoot = ply < s.iterationDepth - 2;
        if (captures) {
            if (s.followPV) {
                // Replaying last iteration's line: its capture first. The last
                // captured square may differ where a king had a choice.
                const Move& pv = s.principalVariation[1][ply];
                for (int i = 0; i < list.size(); ++i) {
                    Move& m = list[i];
                    m.key = static_cast<std::int16_t>(80 - i);
                    if (pv.from != 0 && sameSquares(m, pv) && m.ncapt == pv.ncapt &&
                        std::equal(m.captured.begin(), m.captured.begin() + std::max(0, m.ncapt - 1), pv.captured.begin()))
                        m.key = 100;
                }
                sortByKey(list);
            } else if (nearRoot) {
                orderByKillers(t, list, ply, true);
            }
            return;
        }
        if (t.hashMove.holdsMove() && nearRoot)
            for (Move& m : list)
                if (m.from == t.hashMove.from && m.to == t.hashMove.to) m.key = 255;
        if (ply > 1 && nearRoot) {
            orderByKillers(t, list, ply, false);
        } else if (ply == 1) {
            // The root: by last iteration's scores.
            for (int i = 0; i < list.size(); ++i) {
                Move& m = list[i];
                for (int j = 0; j < s.rootCount; ++j)
                    if (m.from == s.rootFrom[j] && m.to == s.rootTo[j]) {
                        m.key = static_cast<std::int16_t>(s.rootMoveScores[j] - i);
                        break;
                    }
            }
            sortByKey(list);
        }
    }

private:
    EngineState& m_e;
};

// Installs the search's ordering for the duration of one search.
class OrderingInstalled {
public:
    OrderingInstalled(rules::RulesState& r, EngineState& e) : m_r(r), m_ordering(e), m_previous(r.ordering) {
        r.ordering = &m_ordering;
    }
    ~OrderingInstalled() { m_r.ordering = m_previous; }
    OrderingInstalled(const OrderingInstalled&) = delete;
    OrderingInstalled& operator=(const OrderingInstalled&) = delete;

private:
    rules::RulesState& m_r;
    SearchOrdering m_ordering;
    rules::MoveOrdering* m_previous;
};

std::int64_t searchMilliseconds(Core& core) {
    return core.host ? core.host->readMilliseconds() - core.engine.search.startMs : 0;
}

// Step 1 of searchMax every 5001 nodes: the hard time limit and the node
// limit. Stops asked from outside arrive through stopRequested at any time.
void nodeClockCheck(Core& core) {
    EngineState& en = core.engine;
    SearchState& s = en.search;
    s.nodesSinceCheck = 0;
    if (en.limits.hardMs > 0 && searchMilliseconds(core) >= en.limits.hardMs) en.stopRequested = true;
    if (en.limits.nodes > 0 && s.nodeCount >= en.limits.nodes) en.stopRequested = true;
}

// What a node saves before each move and restores after it.
struct Saved {
    rules::Board board;
    eval::Accumulators acc;
    rules::Square lastTo;
    int quietPlies, materialSwing, rootReduction, promotionExtension;
    bool ownAdvance, oppAdvance;
    std::uint32_t keyIndex, keyLock;

    void save(const Core& core) {
        const SearchState& s = core.engine.search;
        board = core.rules.board;
        acc = core.eval.acc;
        lastTo = core.eval.lastTo;
        quietPlies = s.quietPlies;
        materialSwing = s.materialSwing;
        rootReduction = s.rootReduction;
        promotionExtension = s.promotionExtension;
        ownAdvance = s.ownAdvance;
        oppAdvance = s.oppAdvance;
        keyIndex = core.engine.tables.keyIndex;
        keyLock = core.engine.tables.keyLock;
    }
    void restore(Core& core) const {
        SearchState& s = core.engine.search;
        core.rules.board = board;
        core.eval.acc = acc;
        core.eval.lastTo = lastTo;
        s.quietPlies = quietPlies;
        s.materialSwing = materialSwing;
        s.rootReduction = rootReduction;
        s.promotionExtension = promotionExtension;
        s.ownAdvance = ownAdvance;
        s.oppAdvance = oppAdvance;
        core.engine.tables.keyIndex = keyIndex;
        core.engine.tables.keyLock = keyLock;
    }
};

// A man moving into the far third of the board, outside the opening.
bool advancesFar(const Core& core, rules::PieceCode code, rules::Square to) {
    if (core.eval.phase == eval::PhaseOpening) return false;
    return (code == rules::WhiteMan && to <= 12) || (code == rules::BlackMan && to >= 21);
}

}  // namespace

bool closesRepetition(const Core& core, const Move& m) {
    const game::GameRecord& rec = core.game.record;
    const int n = core.engine.search.pliesPlayed;
    if (n < 6) return false;
    const auto& p = rec.plies;
    return m.from == p[n - 3].from && m.to == p[n - 3].to && p[n].captureCount == p[n - 4].captureCount &&
           p[n].from == p[n - 4].from && p[n - 1].captureCount == p[n - 5].captureCount &&
           p[n - 1].from == p[n - 5].from;
}

namespace {

void showRootLine(Core& core, int k, const Move& m, int value, bool searching) {
    if (!core.host) return;
    RootMoveLine line;
    line.index = k;
    line.from = m.from;
    line.to = m.to;
    line.capture = m.ncapt > 0;
    line.shownScore = value / 2;
    line.searching = searching;
    core.host->showRootMove(line);
}

template <bool Max>
int searchNode(Core& core, int alpha, int beta, int ply) {
    EngineState& en = core.engine;
    SearchState& s = en.search;
    SearchTables& t = en.tables;
    rules::RulesState& r = core.rules;
    const eval::PieceCount& pc = core.eval.acc.pieceCount;
    const rules::Side side = Max ? s.rootSide : s.otherSide;

    // Step 1. Count the node; every 5001 nodes look at the clock and let
    // the window breathe.
    ++s.nodeCount;
    ++s.nodesSinceCheck;
    if constexpr (Max)
        if (s.nodesSinceCheck > NodesPerClockCheck) nodeClockCheck(core);
    s.principalVariation[ply][ply].from = 0;
    t.hashMove = MoveSquares{};
    const int pieces = piecesOnBoard(pc);

    // Step 2. Endgame databases, for four pieces or fewer. A four-piece
    // value is trusted only when drawn or clearly decided.
    if (en.databases && ply >= 2 && pieces <= 4) {
        if (const std::optional<int> v = en.databases->probe(r.board, side, ply))
            if (pieces < 4 || *v == 0 || std::abs(*v) > 1000) return Max ? *v : -*v;
    }

    // Step 3. Kings against men.
    if (en.databases && ply > 2 && pieces > 3) {
        const int won = s.rootSide == rules::White ? 31001 : -31001;
        if (pc[rules::WhiteKing] > 0 && pc[rules::BlackKing] == 0 && pc[rules::BlackMan] < 7 &&
            en.databases->kingsAgainstMenWin(r.board, rules::White))
            return won;
        if (pc[rules::BlackKing] > 0 && pc[rules::WhiteKing] == 0 && pc[rules::WhiteMan] < 7 &&
            en.databases->kingsAgainstMenWin(r.board, rules::Black))
            return -won;
    }

    // Step 4. Transposition table.
    const int absPly = ply + s.pliesPlayed;
    const int absDepth = s.iterationDepth + s.pliesPlayed;
    const bool tableInReach = Max ? (ply > 3 && ply - t.plyLimitOffset < 18) : (ply > 2 && ply - t.plyLimitOffset < 17);
    if (tableInReach) {
        if (const TableEntry* e = probeTable(t, absPly, absDepth)) {
            if (const std::optional<int> v = useTableHit(t, *e, Max, s.rootSide, alpha, beta)) return *v;
        }
    }

    // Step 5. Positions the user has taught, valued for the side to move.
    if (ply > 1)
        if (const std::optional<int> v = probeLearned(t, side == rules::White)) return Max ? *v : -*v;

    // Step 6. The deepest ply.
    if (ply >= 33) return evaluateAt(core, ply, alpha, beta);

    // Step 7. Generate.
    r.currentPly = ply;
    const int n = rules::generateMoves(r, side);
    MoveList& list = r.list(ply);
    if (Max && ply == 1) {
        s.rootCount = std::min(n, MaxRootMoves);
        const std::int16_t floor = static_cast<std::int16_t>(alpha > -DecisiveScore ? alpha - 500 : -Infinity);
        for (int i = 0; i < s.rootCount; ++i) {
            s.rootFrom[i] = list[i].from;
            s.rootTo[i] = list[i].to;
            s.rootMoveScores[i] = floor;
        }
    }

    // Step 8. The horizon. A side that must capture is never a leaf, and
    // each capturing ply pushes the horizon a ply deeper.
    const bool captureNode = r.captureCount > 0;
    if (!captureNode && ply - s.extensions[ply] - s.rootReduction - s.promotionExtension > s.iterationDepth)
        return evaluateAt(core, ply, alpha, beta);

    // Step 9. No move loses.
    if (n == 0) return Max ? -Infinity + ply : Infinity - ply;

    // Step 10. Save what each move changes.
    s.extensions[ply + 1] = static_cast<std::uint8_t>(s.extensions[ply] + (captureNode ? 1 : 0));
    Saved saved;
    saved.save(core);
    int best = Max ? -Infinity : Infinity;
    const int entryAlpha = alpha;
    const int entryBeta = beta;
    rules::Square bestFrom = 0, bestTo = 0;
    int previousRootValue = en.lastScore;

    // Step 11. The moves.
    for (int k = 0; k < n; ++k) {
        const Move& move = list[k];
        // Step 11.1. The root: show the move under search, and search moves
        // that did badly last time, or that cannot matter much once a clear
        // gain has been found, less deeply.
        if (Max && ply == 1 && !en.stopRequested) {
            showRootLine(core, k, move, previousRootValue, true);
            s.rootReduction = 0;
            if (move.key > -Infinity && move.key < Infinity && best > -Infinity - 1 && best < Infinity + 1) {
                s.rootReduction = move.key < best - 200 ? -1 : 0;
                if (best > s.rootStaticScore + 150 && best > en.lastScore + 150 && best > 200) s.rootReduction = -2;
            }
        }
        // Step 11.2. Stop as soon as asked.
        r.currentPly = ply;
        if (en.stopRequested) return en.abandonSearch ? 0 : evaluateAt(core, ply, alpha, beta);
        // Step 11.3.
        if (Max && ply == 1) core.eval.rootMovePiece = r.board[move.from];
        // Step 11.4.
        s.quietPlies = captureNode ? 0 : s.quietPlies + 1;
        s.promotionExtension = s.promotionExtension == 2 ? 1 : 0;
        const bool advance = advancesFar(core, r.board[move.from], move.to);
        if constexpr (Max)
            s.ownAdvance = advance;
        else
            s.oppAdvance = advance;
        // Step 11.5. The iteration's value is the search's value so far.
        makeSearchMove(core, k);

        // Step 11.6. Forward pruning of quiet lines that have lost (or, at
        // the opponent's nodes, won) material, near the horizon.
        int v = 0;
        bool pruned = false;
        bool answerNow = false;
        if (piecesOnBoard(pc) >= 7 && s.quietPlies >= 2) {
            const int swing = Max ? s.materialSwing : -s.materialSwing;
            bool toStep3 = true;
            if (swing < 0 && !s.ownAdvance && !s.oppAdvance) {
                if (s.quietPlies > s.iterationDepth / 2) {
                    pruned = true;
                    toStep3 = false;
                }
            }
            if (toStep3) {
                const int d = ply - s.extensions[ply + 1] - s.rootReduction - (advance ? 1 : 0) - s.promotionExtension;
                if (d > s.iterationDepth - 4) {
                    if (swing < -3)
                        answerNow = true;
                    else if (swing == -3)
                        pruned = true;
                    else if (swing == -2)
                        pruned = d > s.iterationDepth - 2;
                    else if (swing == -1)
                        pruned = d > s.iterationDepth - 1;
                }
            }
        }
        if (pruned || answerNow) {
            v = evaluateAt(core, ply + 1, alpha, beta);
            saved.restore(core);
            if (answerNow) return v;
            best = Max ? std::max(best, v) : std::min(best, v);
            if (k == n - 1) return best;
            continue;
        }

        // Step 11.7. The full search.
        if (piecesOf(pc, Max ? s.otherSide : s.rootSide) == 0) {
            if (Max && ply == 1) {
                s.principalVariation[1][1] = move;
                s.principalVariation[1][2].from = 0;
                s.bestRootIndex = k;
            }
            saved.restore(core);
            return Max ? Infinity - ply : -Infinity + ply;
        }
        const game::GameRecord& rec = core.game.record;
        if (Max && ply == 1 && en.gameAnalysis && s.pliesPlayed < en.analysisEnd &&
            move.from == rec.plies[s.pliesPlayed + 1].from && move.to == rec.plies[s.pliesPlayed + 1].to) {
            v = en.playedMoveValue;
        } else if constexpr (Max) {
            if (k == 0) {
                v = searchNode<false>(core, alpha, beta, ply + 1);
            } else {
                v = searchNode<false>(core, alpha, alpha + 1, ply + 1);
                if (alpha < v && v < beta && v > -31000 && v < 31000) v = searchNode<false>(core, v - 1, beta, ply + 1);
            }
        } else {
            if (k == 0) {
                v = searchNode<true>(core, alpha, beta, ply + 1);
            } else {
                v = searchNode<true>(core, beta - 1, beta, ply + 1);
                if (alpha < v && v < beta && v > -31000 && v < 31000) v = searchNode<true>(core, alpha, v + 1, ply + 1);
            }
        }
        s.followPV = false;

        // Step 11.8. The root: repetition, and the score that orders the
        // next iteration.
        if (Max && ply == 1) {
            if (v > -DecisiveScore && v < DecisiveScore && closesRepetition(core, move)) v = 0;
            if (k < MaxRootMoves)
                s.rootMoveScores[k] = static_cast<std::int16_t>(v > best ? v + 200 + 2 * k : v < best ? v - 300 : v - 200);
        }

        // Step 11.8. Stopped from outside or by a hard limit.
        saved.restore(core);

        // Step 11.10. A new best: the line below it becomes this node's line.
        const bool improves = Max ? v > best : v < best;
        if (improves && !en.stopRequested) {
            best = v;
            bestFrom = move.from;
            bestTo = move.to;
            auto& row = s.principalVariation[ply];
            const auto& below = s.principalVariation[ply + 1];
            row[ply] = move;
            int q = ply + 1;
            for (; q < PvSize - 1 && below[q].from != 0; ++q) row[q] = below[q];
            row[q].from = 0;
            if (Max && ply == 1) s.bestRootIndex = k;
        }

        // Step 11.11. The root: thinking and the move's line.
        if (Max && ply == 1 && !en.stopRequested) {
            if (!en.infiniteThinking) showThinking(core, best, k == n - 1 ? s.iterationDepth + 1 : s.iterationDepth);
            showRootLine(core, k, move, v, false);
            previousRootValue = v;
        }

        // Step 11.12. Window and cut.
        if constexpr (Max) {
            if (v > alpha) {
                // A move whose search was cut short by a stop has no value
                // worth choosing it for.
                if (ply == 1 && !en.stopRequested) s.bestRootIndex = k;
                if (v >= beta && !en.stopRequested && v > -DecisiveScore) {
                    if (n > 1 && !captureNode) updateKillers(t, move, v, ply);
                    if (ply != 1 && ply - t.plyLimitOffset < 18 && ply > 3)
                        storeTable(t, v, absPly, absDepth, (v > DecisiveScore ? MaxDecisive : MaxLower) + rules::sideIndex(s.rootSide),
                                   move.from, move.to, pieces);
                    return v;
                }
                alpha = v;
                if (n > 1) noteGoodMove(t, move, ply);
            }
        } else {
            if (v < beta) {
                if (v <= alpha && !en.stopRequested && v < DecisiveScore) {
                    if (n > 1 && !captureNode) updateKillers(t, move, v, ply);
                    if (ply >= 4 && ply - t.plyLimitOffset <= 16)
                        storeTable(t, v, absPly, absDepth, (v < -DecisiveScore ? MinDecisive : MinUpper) + rules::sideIndex(s.rootSide),
                                   move.from, move.to, pieces);
                    return v;
                }
                beta = v;
                if (n > 1) noteGoodMove(t, move, ply);
            }
        }

        // Step 11.13.
        s.principalVariation[ply + 1][ply + 1].from = 0;
    }

    // Step 12. Store the node's result, away from the horizon, whatever the
    // window: a side that is behind searches below zero and needs its table
    // as much as a side that is ahead.
    const bool storable = !en.stopRequested && ply < s.extensions[ply] + s.iterationDepth + s.rootReduction &&
                          (Max ? (ply - t.plyLimitOffset < 18 && ply > 3) : (ply - t.plyLimitOffset < 17 && ply > 2));
    if (storable) {
        int type;
        if constexpr (Max) {
            if (best > entryAlpha)
                type = best >= DecisiveScore + 1 ? MaxDecisive : MaxExact;
            else
                type = best < -DecisiveScore ? MaxDecisive : MaxUpper;
        } else {
            if (best < entryBeta)
                type = best < -DecisiveScore ? MinDecisive : MinExact;
            else
                type = best > DecisiveScore ? MinDecisive : MinLower;
        }
        storeTable(t, best, absPly, absDepth, type + rules::sideIndex(s.rootSide), bestFrom, bestTo, pieces);
    }
    return best;
}

void clearRootState(SearchState& s) {
    for (auto& row : s.principalVariation)
        for (Move& m : row) m.from = 0;
    s.nodeCount = 0;
    s.nodesSinceCheck = 0;
    s.extensions.fill(0);
    s.rootCount = 0;
    s.bestRootIndex = 0;
    s.rootReduction = 0;
    s.promotionExtension = 0;
    s.materialSwing = 0;
    s.ownAdvance = s.oppAdvance = false;
    s.followPV = false;
}

// Step 9 of the root: a book move, chosen at random among the candidates.
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

void makeSearchMove(Core& core, int k) {
    rules::RulesState& r = core.rules;
    SearchState& s = core.engine.search;
    SearchTables& t = core.engine.tables;
    eval::EvalState& ev = core.eval;
    const Move& m = r.list(r.currentPly)[k];
    rules::Board& b = r.board;
    const rules::PieceCode code = b[m.from];
    const rules::Side mover = rules::sideOf(code);
    const rules::PieceCode ownKing = mover == rules::White ? rules::WhiteKing : rules::BlackKing;
    const bool hadKing = ev.acc.pieceCount[ownKing] > 0;

    eval::updateForMove(ev, b, m);
    ev.currentPly = r.currentPly + 1;

    for (int i = 0; i < m.ncapt; ++i) {
        const rules::Square sq = m.captured[i];
        const rules::PieceCode taken = b[sq];
        togglePiece(t, taken, sq);
        const int worth = rules::isKing(taken) ? 3 : 1;
        s.materialSwing += rules::sideOf(taken) == s.rootSide ? -worth : worth;
        b[sq] = rules::Empty;
    }
    togglePiece(t, code, m.from);
    b[m.from] = rules::Empty;
    const rules::PieceCode after = rules::promotedCode(code, m.to);
    b[m.to] = after;
    togglePiece(t, after, m.to);
    prefetchSlot(t);

    if (after != code) {
        // A first king made near the horizon, by a side that is not behind,
        // is searched about a ply deeper.
        const bool own = mover == s.rootSide;
        const int swing = own ? s.materialSwing : -s.materialSwing;
        const int p = r.currentPly;
        if (!hadKing && swing >= 0 && swing <= 4 && p - s.extensions[p + 1] - s.rootReduction > s.iterationDepth - 2)
            s.promotionExtension = 2;
        s.materialSwing += own ? 2 : -2;
    }
}

int moveAspirationWindow(Aspiration& a, int v) {
    if (a.research && (v <= a.alpha || v >= a.beta)) {
        // Outside again after a re-search: the full window, and go on.
        a.failures = 1;
        a.research = false;
        a.alpha = -Infinity;
        a.beta = Infinity;
        return 0;
    }
    if (a.alpha < v && v < a.beta) {
        a.failures = 0;
        a.research = false;
        if (v > -31000) a.alpha = v - AspirationHalfWidth;
        if (v < 31000) a.beta = v + AspirationHalfWidth;
        return 0;
    }
    // Outside the window: the same depth again, with the window opened on
    // the side the value fell.
    a.research = true;
    if (v >= a.beta) {
        a.failures = v >= DecisiveScore ? 0 : a.failures + 1;
        a.alpha = v - AspirationHalfWidth;
        a.beta = Infinity;
    } else {
        a.failures = v <= -DecisiveScore ? 0 : a.failures + 1;
        a.alpha = -Infinity;
        a.beta = v + AspirationHalfWidth;
    }
    return -1;
}

int searchMax(Core& core, int alpha, int beta, int ply) { return searchNode<true>(core, alpha, beta, ply); }
int searchMin(Core& core, int alpha, int beta, int ply) { return searchNode<false>(core, alpha, beta, ply); }

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
    const auto& row = s.principalVariation[1];
    int n = 0;
    for (int p = 1; p < PvSize - 1 && row[p].from != 0; ++p) st.pv[n++] = row[p];
    st.pvLength = n;
    en.statsShown = true;
    if (core.host) core.host->showThinking(st);
}

const rules::Move* bestLine(const Core& core) { return &core.engine.search.principalVariation[1][1]; }

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
    if (const std::string report = endgameLoadReport(*tables); !report.empty() && core.host) core.host->showError(report);
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
    SearchState& s = en.search;
    SearchTables& t = en.tables;
    rules::RulesState& r = core.rules;
    eval::EvalState& ev = core.eval;
    OrderingInstalled ordering(r, en);

    // Step 1.
    r.board[0] = rules::Sentinel;
    Aspiration window;

    // Step 2. The tables exist; the lists are fresh.
    if (!allocateSearchTables(t)) return RootAnswer{};
    for (int p = 0; p <= rules::MaxPly; ++p) r.list(p).clear();

    // Step 3. The start of the clock, the keys, the killers.
    s.rootSide = side;
    s.otherSide = rules::opposite(side);
    s.pliesPlayed = core.game.record.plyCounter;
    if (core.host) s.startMs = core.host->readMilliseconds();
    computeKeys(t, r.board);
    resetKillers(t);

    // Step 4. Clear the line and the counts; the evaluation's root set-up.
    clearRootState(s);
    eval::prepareSearchRoot(ev, r.board, side);

    // Step 5. A side without pieces.
    const eval::PieceCount& pc = ev.acc.pieceCount;
    if (piecesOf(pc, rules::White) == 0 || piecesOf(pc, rules::Black) == 0) return RootAnswer{};

    // Step 6. Ready to search (a stop asked before this point still counts).
    s.quietPlies = 0;
    s.aspirationFailures = 0;
    r.currentPly = 1;
    s.iterationDepth = 1;
    s.rootStaticScore = evaluateAt(core, 1, -Infinity, Infinity);

    // Step 7. The root moves.
    const int n = rules::generateMoves(r, side);
    if (n == 0) return RootAnswer{};

    // Step 8. A single move needs no search, except to value it during an
    // analysis or while thinking without limits.
    if (n == 1) {
        if (en.gameAnalysis) {
            if (s.pliesPlayed != core.game.record.recordLength) {
                en.lastScore = SingleMoveAnalysisScore;
                if (!en.infiniteThinking) return {SearchAnswer::SingleMove, 0};
            }
        } else if (!en.infiniteThinking) {
            return {SearchAnswer::SingleMove, 0};
        }
    }

    // Step 9. The opening book.
    if (const int book = bookMove(core, side); book >= 0) return {SearchAnswer::Move, book};

    // Step 10. The starting point every iteration goes back to.
    if (core.host) core.host->clearRootMoves();
    const int startQuiet = s.quietPlies;
    const eval::Accumulators startAcc = ev.acc;
    const std::uint32_t startIndex = t.keyIndex, startLock = t.keyLock;
    s.iterationDepth = 1;
    int seeded = MaxIterations + 1;

    // Step 11. Iterative deepening.
    while (s.iterationDepth <= MaxIterations) {
        // Step 11.1. Back to the starting point.
        const rules::Board savedBoard = r.board;
        s.rootReduction = 0;
        s.nodesSinceCheck = 0;
        s.materialSwing = 0;
        s.bestRootIndex = 0;
        s.promotionExtension = 0;
        s.ownAdvance = s.oppAdvance = false;
        s.quietPlies = startQuiet;
        ev.acc = startAcc;
        ev.lastTo = 0;
        t.keyIndex = startIndex;
        t.keyLock = startLock;

        // Step 11.2. Search the root to this depth.
        int v = searchMax(core, window.alpha, window.beta, 1);
        s.followPV = true;
        r.board = savedBoard;
        ev.acc = startAcc;

        // Step 11.3. The aspiration window.
        s.iterationDepth += moveAspirationWindow(window, v);
        s.aspirationFailures = window.failures;

        // Step 11.4. An interrupted iteration keeps the last finished value.
        if (en.stopRequested) v = en.abandonSearch ? 0 : en.lastScore;

        // Step 11.5. The iteration's value is the search's value so far.
        en.lastScore = v;
        if (en.infiniteThinking) showThinking(core, en.lastScore, s.iterationDepth);

        // Step 11.6. The best line seeds the killers of the next iteration.
        seeded = std::max(seeded - 4, s.iterationDepth);
        seedKillersFromLine(t, s.principalVariation[1], v, seeded);

        // Step 11.7. No new iteration past the soft time limit, unless this
        // one's value has just fallen outside the window.
        if (!en.infiniteThinking && en.limits.softMs > 0 && s.iterationDepth >= en.limits.softFromIteration &&
            s.aspirationFailures != 1 && searchMilliseconds(core) >= en.limits.softMs)
            return {SearchAnswer::Move, s.bestRootIndex};

        // Step 11.8. Stopped from outside or by a hard limit.
        if (en.stopRequested) return en.abandonSearch ? RootAnswer{SearchAnswer::Abandoned, -1} : RootAnswer{SearchAnswer::Move, s.bestRootIndex};

        // Step 11.9. Depth caps of the weakest levels and of front ends.
        if (en.limits.depth > 0 && s.iterationDepth >= en.limits.depth) return {SearchAnswer::Move, s.bestRootIndex};

        // Step 11.10. A win found.
        if (!en.infiniteThinking && v >= DecisiveScore + 1 && s.aspirationFailures != 1)
            return {SearchAnswer::Move, s.bestRootIndex};
        if (en.gameAnalysis && v < -DecisiveScore && s.aspirationFailures != 1) return {SearchAnswer::Move, s.bestRootIndex};

        // Step 11.11. One ply deeper.
        ++s.iterationDepth;
    }
    // Step 12. Every iteration has run.
    return {SearchAnswer::Move, s.bestRootIndex};
}

}  // namespace engine
