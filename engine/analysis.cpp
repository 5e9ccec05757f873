#include "engine/analysis.h"

#include <algorithm>
#include <cstdlib>

#include "engine/learning.h"
#include "engine/search.h"
#include "game/clocks.h"
#include "game/core.h"
#include "game/navigation.h"
#include "rules/move_input.h"

namespace engine {

namespace {

constexpr int SingleMoveAnalysisScore = 32001;  // searchRoot's mark for a single legal move
// A move that loses more than half a man against the best is marked; values
// this far apart are wins and losses, where the difference says nothing.
constexpr int MarkThreshold = 100;
constexpr int DecisiveGap = 60000;

bool sameMove(rules::Square from, rules::Square to, const game::PlyRecord& e) { return from == e.from && to == e.to; }

}  // namespace

bool GameAnalysis::begin(game::Core& core, std::optional<SearchLimits> limits) {
    game::GameState& g = core.game;
    EngineState& en = core.engine;
    const int n = g.record.plyCounter;
    if (n == 0 || en.gameAnalysis || m_running) return false;
    m_running = true;
    m_end = n;
    m_sideAtEnd = g.sideToMove;
    // Nobody's clock runs while the engine goes through the game; the turn
    // so far is kept for when the game goes on.
    game::stopClocks(core);
    m_whiteClock = g.whiteClock.total;
    m_blackClock = g.blackClock.total;
    m_ply = n;
    m_previous = 0;
    m_limits = limits;
    m_outcome = AnalysisOutcome{};
    m_outcome.started = true;
    m_outcome.endPly = n;

    // An analysed game no longer counts for the ratings, and nothing else
    // thinks meanwhile.
    g.ratedGame = game::RatedState::None;
    g.engineToMove = false;
    en.infiniteThinking = false;
    en.savedPonder = en.level.ponderOnPersonTime;
    en.level.ponderOnPersonTime = false;
    en.analysisScores.fill(0);
    en.gameAnalysis = true;
    en.analysisEnd = n;
    // A session learns from its analyses: they think at least as long as
    // its games.
    if (en.learning.session && en.level.levelBudget < SessionBudget) en.level.levelBudget = SessionBudget;
    return true;
}

std::optional<SearchInput> GameAnalysis::next(game::Core& core, AnalysisObserver* observer) {
    game::GameState& g = core.game;
    game::GameRecord& rec = g.record;
    EngineState& en = core.engine;
    rules::RulesState& r = core.rules;
    // Backwards from the position shown. m_previous is the value of the
    // position after the game's move, from the side to move there; for the
    // first position it is unknown and counts as 0 (the header tells the
    // reader not to trust the last line).
    while (m_running && m_ply >= 0) {
        game::restorePly(core, m_ply);
        rec.plyCounter = static_cast<std::uint8_t>(m_ply);
        r.gamePosition = r.board;
        r.gamePosition[0] = rules::Sentinel;
        g.sideToMove = (m_end - m_ply) % 2 == 0 ? m_sideAtEnd : rules::opposite(m_sideAtEnd);
        if (observer) observer->positionStarted(m_ply, m_ply + 1);
        if (!en.gameAnalysis) return std::nullopt;  // "Terminer l'analyse"
        if (rules::generateRootMoves(r, g.sideToMove) == 0) {
            // The game is over here (no piece or no move left): lost.
            writeLine(core, -Infinity, nullptr, {}, observer);
            continue;
        }
        SearchInput in = searchInputFor(core, m_limits ? *m_limits : levelLimits(en.level, m_ply, 0, true));
        in.gameAnalysis = true;
        in.analysisEnd = m_end;
        // The game's move is worth what the position after it is worth; it
        // is also the aspiration window's centre and a book move's value.
        in.playedMoveValue = -m_previous;
        in.lastScore = -m_previous;
        return in;
    }
    return std::nullopt;
}

void GameAnalysis::take(game::Core& core, const SearchOutput& out, AnalysisObserver* observer) {
    if (!m_running || m_ply < 0) return;
    // A single legal move is not searched: it is worth what the position
    // after it is worth.
    const int score = out.score == SingleMoveAnalysisScore ? -m_previous : out.score;
    writeLine(core, score, out.hasMove() ? &out.move : nullptr, out.bestLine, observer);
}

void GameAnalysis::writeLine(game::Core& core, int score, const rules::Move* best, const std::vector<rules::Move>& line,
                             AnalysisObserver* observer) {
    const game::GameRecord& rec = core.game.record;
    EngineState& en = core.engine;
    const int i = m_ply;
    const bool continued = i < rec.recordLength;
    if (continued) {
        const game::PlyRecord& played = rec.plies[static_cast<std::size_t>(std::min(i + 1, game::RecordEntries - 1))];
        rules::Square bestFrom = played.from, bestTo = played.to;
        bool bestCapture = played.captureCount != 0;
        if (best && best->from != 0) {
            bestFrom = best->from;
            bestTo = best->to;
            bestCapture = best->ncapt > 0;
        }
        const int playedValue = sameMove(bestFrom, bestTo, played) ? -score : m_previous;
        AnalysisLine l;
        l.ply = i;
        l.mover = core.game.sideToMove;
        l.playedFrom = played.from;
        l.playedTo = played.to;
        l.playedCapture = played.captureCount != 0;
        l.bestFrom = bestFrom;
        l.bestTo = bestTo;
        l.bestCapture = bestCapture;
        l.playedScore = -playedValue / 2;
        l.bestScore = score / 2;
        l.marked = std::abs(score + playedValue) > MarkThreshold && std::abs(score - playedValue) < DecisiveGap;
        if (best && line.size() > 1) {
            l.continuation[0] = line[1].from;
            l.continuation[1] = line[1].to;
            l.continuationCaptures[0] = line[1].ncapt > 0;
            if (line.size() > 2) {
                l.continuation[2] = line[2].from;
                l.continuation[3] = line[2].to;
                l.continuationCaptures[1] = line[2].ncapt > 0;
            }
        }
        m_outcome.lines.push_back(l);
        if (observer) observer->lineWritten(l);
    }
    en.analysisScores[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::clamp(score, -32768, 32767));
    en.lastScore = score;
    m_previous = score;
    --m_ply;
}

AnalysisOutcome GameAnalysis::finish(game::Core& core) {
    if (!m_running) return {};
    m_running = false;
    m_outcome.completed = m_ply < 0;
    core.engine.gameAnalysis = false;
    // The position the person was looking at when the walk began.
    game::restorePly(core, m_end);
    core.game.record.plyCounter = static_cast<std::uint8_t>(m_end);
    core.rules.gamePosition = core.rules.board;
    core.rules.gamePosition[0] = rules::Sentinel;
    core.game.sideToMove = m_sideAtEnd;
    core.game.whiteClock.total = m_whiteClock;
    core.game.blackClock.total = m_blackClock;
    game::showTotals(core);
    rules::clearMoveEntry(core.rules);
    std::reverse(m_outcome.lines.begin(), m_outcome.lines.end());
    return std::move(m_outcome);
}

AnalysisOutcome analyseGame(game::Core& core, game::Core& searcher, AnalysisObserver* observer,
                            std::optional<SearchLimits> limits) {
    GameAnalysis walk;
    if (!walk.begin(core, limits)) return {};
    while (const std::optional<SearchInput> in = walk.next(core, observer))
        walk.take(core, runSearch(searcher, *in), observer);
    return walk.finish(core);
}

void stopAnalysis(game::Core& core) { core.engine.gameAnalysis = false; }

void endAnalysis(game::Core& core) {
    EngineState& en = core.engine;
    game::GameState& g = core.game;
    en.gameAnalysis = false;
    en.level.ponderOnPersonTime = en.savedPonder;
    g.computerColour = rules::opposite(g.sideToMove);
    g.engineToMove = false;
    g.navigated = true;
}

}  // namespace engine
