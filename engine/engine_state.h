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


// Everything one search works with; most of it is rebuilt by each searchRoot.
struct SearchState {
    rules::Side rootSide = rules::White;
    rules::Side otherSide = rules::Black;
    int iterationDepth = 1;
    int pliesPlayed = 0;
    std::array<std::uint8_t, rules::MaxPly + 3> extensions{};
    int rootReduction = 0;
    int promotionExtension = 0;
    int materialSwing = 0;
    int quietPlies = 0;
    bool ownAdvance = false;
    bool oppAdvance = false;
    std::int64_t nodeCount = 0;
    std::int64_t nodesSinceCheck = 0;
    bool followPV = false;
    int rootStaticScore = 0;
    int aspirationFailures = 0;
    int bestRootIndex = 0;

    // Root moves in the order of the running iteration, with the scores the
    // next iteration orders them by.
    int rootCount = 0;
    std::array<rules::Square, MaxRootMoves> rootFrom{};
    std::array<rules::Square, MaxRootMoves> rootTo{};
    std::array<std::int16_t, MaxRootMoves> rootMoveScores{};

    // Row p: the best line from ply p, in entries p, p + 1, ... ended by an
    // entry whose from square is 0.
    std::array<std::array<rules::Move, PvSize>, PvSize> principalVariation{};

    std::int64_t startMs = 0;      // when the search began, for its limits
};

struct EngineState {
    // Raised, from any thread, to end a running search at once: it answers
    // with the best move of its last finished iteration.
    std::atomic<bool> stopRequested{false};
    // With stopRequested: the answer will not be used, so nothing is worth
    // evaluating on the way out.
    std::atomic<bool> abandonSearch{false};
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
