#pragma once
// The engine's state: stop flags, the search and its tables, the level and
// its time plan, the installed books and databases. One per game::Core, so
// two engines can play each other in one process.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/book.h"
#include "engine/endgame.h"
#include "engine/learning.h"
#include "engine/levels.h"
#include "engine/random.h"
#include "engine/search_stats.h"
#include "engine/tables.h"
#include "game/record.h"
#include "rules/movegen.h"

namespace engine {

constexpr int MaxIterations = 30;
constexpr int MaxRootMoves = 128;
// Rows and entries of the best-line table: plies 1..34 and a terminator.
constexpr int PvSize = rules::MaxPly + 2;

// What the search leaves for its callers and its display; the working
// state of each search thread lives in the search itself.
struct SearchState {
    rules::Side rootSide = rules::White;
    rules::Side otherSide = rules::Black;
    // The iteration under way, or the last one once the search has ended.
    int iterationDepth = 1;
    int pliesPlayed = 0;
    // Nodes of every search thread.
    std::int64_t nodeCount = 0;
    int bestRootIndex = 0;

    // The best line of the root: entries 0.. ended by an entry whose from
    // square is 0.
    std::array<rules::Move, PvSize> bestLine{};

    std::int64_t startMs = 0;      // when the search began, for its limits
};

// The search threads that help the engine's own (see search.cpp).
struct HelperThreads;
struct HelperThreadsDeleter {
    void operator()(HelperThreads* helpers) const;
};

struct EngineState {
    // Raised, from any thread, to end a running search at once: it answers
    // with the best move of its last finished iteration.
    std::atomic<bool> stopRequested{false};
    // With stopRequested: the answer will not be used, so nothing is worth
    // evaluating on the way out.
    std::atomic<bool> abandonSearch{false};
    // Raised by the search itself when its time or node limit is reached.
    std::atomic<bool> limitReached{false};
    // No time limits and no clock display: thinking on the person's time and
    // analysis.
    bool infiniteThinking = false;
    // A recorded game is being analysed.
    bool gameAnalysis = false;
    int analysisEnd = 0;
    int playedMoveValue = 0;
    // The best value found for the position at each ply of the record, from
    // the side to move there; kept for the annotated export until the next
    // analysis or a new game.
    std::array<std::int16_t, game::RecordEntries> analysisScores{};
    // "Réflexion sur temps adverse" as it was before the analysis.
    bool savedPonder = true;

    // The value of the last finished iteration; survives from one search to
    // the next.
    int lastScore = 0;

    SearchTables tables;
    SearchState search;
    // Threads searching together, sharing the transposition table: 1 is the
    // engine's own thread alone, which plays the same moves for the same
    // inputs every time.
    int threads = 1;
    std::unique_ptr<HelperThreads, HelperThreadsDeleter> helpers;
    LevelState level;
    SearchLimits limits;

    // The opening libraries, read at start-up (empty until then).
    OpeningBooks books;
    LearningState learning;
    // Installed by the databases when they exist.
    EndgameDatabases* databases = nullptr;
    // Our own endgame tables, read at start-up and never changed after, so
    // that the engine's worker can read the same ones; and their probe.
    std::shared_ptr<const EndgameTables> endgameTables;
    std::unique_ptr<TableDatabases> endgameProbe;
    // Book choices; the window seeds it from the clock at start-up.
    Rand15 random{1};

    // The thinking list as last shown (the "Calcul" page; "Editer coups").
    SearchStats lastStats;
    bool statsShown = false;
};

}  // namespace engine
