#pragma once
// Game analysis: the engine goes back through the game from the position
// shown to the start, searches every position, compares its best move with
// the move played and writes a line per move. Moves that lost more than half
// a man against the best are marked.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/worker.h"
#include "rules/board.h"

namespace game {
struct Core;
}

namespace engine {

// One analysed move, as data: the window words it in its own language. Scores
// are as shown: halved, in 1/100 of a man, from
// the mover's side.
struct AnalysisLine {
    int ply = 0;        // plies played before the game's move
    rules::Side mover = rules::White;  // the side that made it
    rules::Square playedFrom = 0, playedTo = 0;
    rules::Square bestFrom = 0, bestTo = 0;
    bool playedCapture = false, bestCapture = false;
    int playedScore = 0;
    int bestScore = 0;
    bool marked = false;  // a much better move existed
    // From and to squares of the second and third moves of the best line
    // (0 where the line is shorter).
    std::array<rules::Square, 4> continuation{};
    std::array<bool, 2> continuationCaptures{};
};

class AnalysisObserver {
public:
    virtual ~AnalysisObserver() = default;
    // Before a position is searched: its ply and how many positions remain,
    // this one included. The position is in the game position.
    virtual void positionStarted(int /*ply*/, int /*remaining*/) {}
    // A line was written; lines arrive from the end of the game backwards.
    virtual void lineWritten(const AnalysisLine&) {}
};

struct AnalysisOutcome {
    bool started = false;    // false: no ply played, or an analysis runs already
    bool completed = false;  // the start of the game was reached
    int endPly = 0;          // where the analysis began (analysisEnd)
    std::vector<AnalysisLine> lines;  // in game order
};

// The walk, a position at a time, so that each search can run wherever the
// caller likes (the window hands them to the engine's worker). Between the
// positions the caller's thread is free.
class GameAnalysis {
public:
    // "Débuter une analyse", from the position shown. False when there is no
    // ply to go back over or an analysis runs already. Every position is
    // searched within `limits`, or the level's analysis time when none.
    bool begin(game::Core& core, std::optional<SearchLimits> limits = std::nullopt);
    // Installs the next position to analyse as the game position and returns
    // its search; nothing once the start has been reached or the walk was
    // stopped. A position where the game was over is valued here, unsearched.
    std::optional<SearchInput> next(game::Core& core, AnalysisObserver* observer);
    // The search of the position `next` installed.
    void take(game::Core& core, const SearchOutput& out, AnalysisObserver* observer);
    // Ends the walk: the position shown when it began is shown again, and
    // the lines are returned in game order.
    AnalysisOutcome finish(game::Core& core);
    bool running() const { return m_running; }

private:
    void writeLine(game::Core& core, int score, const rules::Move* best, const std::vector<rules::Move>& line,
                   AnalysisObserver* observer);

    bool m_running = false;
    int m_end = 0;                       // the ply shown when the walk began
    rules::Side m_sideAtEnd = rules::White;
    std::int32_t m_whiteClock = 0, m_blackClock = 0;  // the clocks when the walk began
    int m_ply = 0;                       // the position being analysed
    int m_previous = 0;                  // the value of the position after it, from its side to move
    std::optional<SearchLimits> m_limits;
    AnalysisOutcome m_outcome;
};

// The whole analysis at once on the caller's thread, each position searched
// by `searcher`, a core kept for searching.
AnalysisOutcome analyseGame(game::Core& core, game::Core& searcher, AnalysisObserver* observer = nullptr,
                            std::optional<SearchLimits> limits = std::nullopt);

// "Terminer l'analyse": the walk stops before its next position.
void stopAnalysis(game::Core& core);
// The rest of "Terminer l'analyse", once the walk has returned: the pondering
// tick comes back, and the side to move is the one whose move it is in the
// position shown; the person has it, so that nothing is played over the
// analysed record unasked.
void endAnalysis(game::Core& core);

}  // namespace engine
