#pragma once
// The engine thinks on a thread of its own. Whoever asks (the window, the
// hub protocol) hands it a copy of everything one search needs, a
// SearchInput, and goes on with its own work; the worker reports its
// thinking and its answer through callbacks, called on the worker's thread,
// which the asker passes on to its own thread. Nothing of the asker's game
// is touched by the search, so the game may change while the engine thinks:
// the answer then simply comes for a game that is no longer there, and the
// asker, who numbers its requests, lets it go.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/engine_state.h"
#include "engine/search.h"
#include "eval/parameters.h"
#include "game/record.h"
#include "rules/board.h"

namespace game {
struct Core;
class Host;
}  // namespace game

namespace engine {

struct SearchInput {
    rules::Board position{};
    rules::Side side = rules::White;
    // The game up to the position (record.plyCounter plies played), for the
    // repetition rule and the opening books; in a game analysis the plies
    // after it too.
    game::GameRecord record;
    SearchLimits limits;
    // Thinking on the person's time and analysing: no time shown, a single
    // legal move is searched all the same, and a win found does not end it.
    bool infinite = false;
    // A game analysis: the game's own move at this ply is worth
    // playedMoveValue without being searched again.
    bool gameAnalysis = false;
    int analysisEnd = 0;
    int playedMoveValue = 0;
    // The centre of the first aspiration window, and the value reported for
    // a book move.
    int lastScore = 0;

    // What the engine knows, as the asking core holds it.
    eval::EvalParameters parameters;
    bool materialOnly = false;
    OpeningBooks books;
    std::shared_ptr<const LearnedTable> learned;
    std::shared_ptr<const EndgameTables> endgameTables;  // none: search without them
    KeyTable indexKeys{};
    KeyTable lockKeys{};
    int tableSizeItem = DefaultTableSizeItem;
    Rand15 random{1};
    // Search threads sharing the table (engine.threads).
    int threads = 1;
};

// A search of the game in `core` for its side to move: the position, the
// record, and the engine's knowledge of `core`; the limits are the caller's.
SearchInput searchInputFor(const game::Core& core, SearchLimits limits);

struct SearchOutput {
    std::uint64_t ticket = 0;              // the request this answers
    SearchAnswer kind = SearchAnswer::NoMove;
    int moveIndex = -1;                    // into rootMoves, with a move
    rules::Move move{};                    // the move chosen, with a move
    std::vector<rules::Move> rootMoves;    // the root list in the search's final order
    std::vector<rules::Move> bestLine;     // from the move chosen on, when searched
    int score = 0;                         // lastScore: the last finished iteration's value
    SearchStats stats;                     // the thinking list as last shown
    bool statsShown = false;
    std::int64_t nodes = 0;
    std::int64_t milliseconds = 0;
    Rand15 random{1};                      // the book choices' generator afterwards
    int tableSizeItem = DefaultTableSizeItem;  // in force (a refused size keeps the old one)

    bool hasMove() const { return kind == SearchAnswer::Move || kind == SearchAnswer::SingleMove; }
};

// Runs one search on `searcher`, a core kept for searching, on the caller's
// thread: the input is installed in it (its transposition table and killers
// carry over from one search to the next) and searchRoot answers. Callers
// without a thread of their own (the command line, tools, tests) use it
// directly.
SearchOutput runSearch(game::Core& searcher, const SearchInput& input);

// What the worker reports, called on the worker's thread.
struct SearchCallbacks {
    std::function<void(const SearchStats&)> thinking;   // the thinking list
    std::function<void()> rootMovesCleared;             // a new root-move list
    std::function<void(const RootMoveLine&)> rootMove;  // one of its lines
    std::function<void(const SearchOutput&)> done;      // exactly once per request
};

class EngineWorker {
public:
    // `milliseconds` is the clock the limits are measured on; the steady
    // clock when empty.
    explicit EngineWorker(std::function<std::int64_t()> milliseconds = {});
    ~EngineWorker();  // stops any search and waits for the thread, at once
    EngineWorker(const EngineWorker&) = delete;
    EngineWorker& operator=(const EngineWorker&) = delete;

    // Asks for a search and returns at once with the request's ticket. A
    // search still running is stopped first; requests that were waiting
    // behind it are answered Abandoned without a search.
    std::uint64_t think(SearchInput input, SearchCallbacks callbacks);
    // Stops the running search: it answers with the best move of its last
    // finished iteration. With `abandon` its answer is Abandoned instead.
    void stop(bool abandon = false);
    // A request is waiting or running.
    bool busy() const;

private:
    struct Request {
        std::uint64_t ticket = 0;
        SearchInput input;
        SearchCallbacks callbacks;
        bool stopped = false;     // stopped before it began: it answers at once
        bool superseded = false;  // asked again before it began: answered Abandoned unsearched
    };
    class Reporter;
    void run();

    std::function<std::int64_t()> m_milliseconds;
    std::unique_ptr<game::Core> m_core;  // the searching core, the worker thread's alone
    std::unique_ptr<Reporter> m_reporter;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Request> m_waiting;
    std::uint64_t m_nextTicket = 1;
    std::uint64_t m_running = 0;  // the ticket being searched, 0 when none
    bool m_quit = false;
    std::thread m_thread;         // last: started once everything above exists
};

}  // namespace engine
