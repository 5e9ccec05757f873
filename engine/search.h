#pragma once
// The search: iterative deepening of a principal-variation alpha-beta
// search. Inside, every value is from the side to move at its node; what
// the search shows and returns is from the root side's view, in 1/200 of a
// man, with 32000 standing for infinity and 30000 and beyond decisive.
// Moves are taken back by restoring saved copies; there is no unmake
// routine and nothing is allocated per node. With more than one thread the
// helpers search the same root and share the transposition table.

#include "engine/engine_state.h"

namespace game {
struct Core;
}

namespace engine {

constexpr int Infinity = 32000;
constexpr int DecisiveScore = 30000;
// Threads a search may use.
constexpr int MaxSearchThreads = 8;

// What a search answers.
enum class SearchAnswer : std::uint8_t {
    Move,        // the move at `index` of the root list
    SingleMove,  // the only legal move (index 0), played without a search
    NoMove,      // a side has no piece, or the side to move no legal move
    Abandoned,   // stopped with abandonSearch: the game changed, nothing to play
};
struct RootAnswer {
    SearchAnswer kind = SearchAnswer::NoMove;
    int index = -1;
    bool hasMove() const { return kind == SearchAnswer::Move || kind == SearchAnswer::SingleMove; }
};

// The move to play for `side` in the working board, searched within
// engine.limits with engine.threads threads. Leaves the root list in the
// search's final order (best first, then by value), lastScore, the best line
// and the thinking shown.
RootAnswer searchRoot(game::Core& core, rules::Side side);

// Threads for a machine with `cores` processors (0 when it cannot say, as
// std::thread::hardware_concurrency may): two when it has two or more, so
// that the engine's own thread has a helper, one otherwise.
int defaultSearchThreads(unsigned cores);
// The same for this machine.
int defaultSearchThreads();
// The most threads worth offering on such a machine: one per processor, no
// more than MaxSearchThreads, and always at least the engine's own.
int searchThreadsAllowed(unsigned cores);
// A number of threads asked for (a kept setting, say) brought within 1 and
// searchThreadsAllowed(cores).
int clampSearchThreads(int threads, unsigned cores);

// Plays move k of the list of currentPly on the working board, keeping the
// keys of core.engine.tables and the evaluation's accumulators in step.
void makeSearchMove(game::Core& core, int k);

// Fills the thinking list with `score` and the best line.
void showThinking(game::Core& core, int score, int depthShown);

// The search's tables and keys from the program folder; missing files are
// reported once through the host. False when the tables cannot be had.
bool initialiseSearch(game::Core& core);
// What a core that does not search itself needs to hand to one that does
// (the window's, whose searches run on the engine's worker): the keys, the
// learned positions and the endgame tables, without a transposition table.
void loadEngineKnowledge(game::Core& core);
// The endgame tables from the program folder, once; installs their probe.
void loadEndgameTables(game::Core& core);

// The root's repetition rule, with n the plies played: the move has the
// squares of ply n - 3 while plies n and n - 1 repeat plies n - 4 and n - 5
// (same piece leaving, same kind of move): it would close a cycle of the
// last plies and is scored as a draw.
bool closesRepetition(const game::Core& core, const rules::Move& move);

// The best line of the last search, plies 1.. (from 0 ends it).
const rules::Move* bestLine(const game::Core& core);

}  // namespace engine
