#pragma once
// Game analysis: the engine goes back through the game from the position
// shown to the start, searches every position, compares its best move with
// the move played and writes a line per move. Moves that lost more than half
// a man against the best are marked. Runs on the caller's thread; the search
// lets the window breathe, where "Terminer l'analyse" only clears
// gameAnalysis and raises stopRequested.

#include <array>
#include <string>
#include <vector>

#include "rules/board.h"

namespace game {
struct Core;
}

namespace engine {

// One analysed move. Scores are as shown: halved, in 1/100 of a man, from
// the mover's side.
struct AnalysisLine {
    int ply = 0;        // plies played before the game's move
    rules::Side mover = rules::White;  // the side that made it
    rules::Square playedFrom = 0, playedTo = 0;
    rules::Square bestFrom = 0, bestTo = 0;
    int playedScore = 0;
    int bestScore = 0;
    bool marked = false;  // a much better move existed
    // From and to squares of the second and third moves of the best line
    // (0 where the line is shorter).
    std::array<rules::Square, 4> continuation{};
};

// The texts, by interface language (0 French, 3 Portuguese, 4 Spanish;
// every other language English; the header and legend have no Spanish).
std::string analysisLongLine(const AnalysisLine& line, int language);   // the analysis window
std::string analysisShortLine(const AnalysisLine& line, int language);  // the main window's strip
std::string analysisHeader(int language);  // "(ne pas prendre en compte ...)"
std::string analysisLegend(int language);  // "+100 gagne un pion ; ..."

// What the analysis window shows: the long lines in game order, then the
// legend and the header. The strip shows the short lines alone.
std::vector<std::string> analysisWindowLines(const std::vector<AnalysisLine>& lines, int language);
std::vector<std::string> analysisStripLines(const std::vector<AnalysisLine>& lines, int language);

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

// "Débuter une analyse". Leaves the position where the walk stopped (the
// start of the game when it completed) and clears gameAnalysis.
AnalysisOutcome Analyser(game::Core& core, AnalysisObserver* observer = nullptr);

// "Terminer l'analyse", the part that may run inside the search: the walk
// stops at its next polling point.
void stopAnalysis(game::Core& core);
// The rest of "Terminer l'analyse", once the walk has returned: the pondering
// tick comes back, and the side to move is the one whose move it is in the
// position shown; the person has it, so that nothing is played over the
// analysed record unasked.
void fin_analyse(game::Core& core);

}  // namespace engine
