// Game analysis: the backward walk over the record with small depths, its
// lines and marks, stopping it, and the texts in each language.

#include <gtest/gtest.h>

#include <functional>

#include "engine/analysis.h"
#include "engine/search.h"
#include "game/clocks.h"
#include "game/navigation.h"
#include "game/play.h"
#include "rules/fen.h"
#include "support/fake_host.h"
#include "support/game_builder.h"

namespace {

// The searching core's host: a test may act as each root move is searched.
class SearchHost : public testsupport::FakeHost {
public:
    void showRootMove(const engine::RootMoveLine& line) override {
        if (onRootMove) onRootMove(line);
    }
    std::function<void(const engine::RootMoveLine&)> onRootMove;
};

// White's and Black's pieces by square name, e.g. {"d4", "a1"}.
std::string fenOf(char side, std::initializer_list<const char*> white, std::initializer_list<const char*> black) {
    auto list = [](std::initializer_list<const char*> names) {
        std::string s;
        for (const char* n : names) s += (s.empty() ? "" : ",") + std::to_string(*rules::parseSquareName(n));
        return s;
    };
    return std::string(1, side) + ":W" + list(white) + ":B" + list(black);
}

struct Game {
    explicit Game(const std::string& fen = "W:W21-32:B1-12")
        : core(std::make_unique<game::Core>()), searcher(std::make_unique<game::Core>()) {
        core->host = &host;
        searcher->host = &searchHost;
        engine::loadEngineKnowledge(*core);
        const rules::FenResult r = rules::parseFen(fen);
        EXPECT_TRUE(r.position) << fen;
        game::installPosition(*core, r.position->board, r.position->side);
        limits.depth = 4;
        core->game.options.humanVsHuman = true;  // moves are entered by the test
    }
    engine::AnalysisOutcome analyse(engine::AnalysisObserver* observer = nullptr) {
        return engine::analyseGame(*core, *searcher, observer, limits);
    }
    void play(const char* from, const char* to) {
        rules::RulesState& r = core->rules;
        r.board = r.gamePosition;
        const int n = rules::generateRootMoves(r, core->game.sideToMove);
        for (int k = 0; k < n; ++k) {
            const rules::Move m = r.rootList()[k];
            if (rules::squareName(m.from) == from && rules::squareName(m.to) == to) {
                game::playMove(*core, m);
                return;
            }
        }
        ADD_FAILURE() << "no move " << from << "-" << to;
    }
    testsupport::FakeHost host;
    SearchHost searchHost;
    std::unique_ptr<game::Core> core;
    std::unique_ptr<game::Core> searcher;  // searches every position, as the engine's worker does
    engine::SearchLimits limits;
};

TEST(Analysis, NothingToAnalyseWithoutAPly) {
    Game g;
    g.core->game.ratedGame = game::RatedState::InProgress;
    const engine::AnalysisOutcome out = g.analyse();
    EXPECT_FALSE(out.started);
    EXPECT_EQ(g.core->game.ratedGame, game::RatedState::InProgress);
    EXPECT_FALSE(g.core->engine.gameAnalysis);
}

TEST(Analysis, WalksBackToTheStartWritingOneLinePerMoveInGameOrder) {
    Game g;
    ASSERT_EQ(testsupport::playRandomMoves(*g.core, 7, 11), 7);
    const game::GameRecord rec = g.core->game.record;
    g.core->engine.level.ponderOnPersonTime = true;
    g.core->game.ratedGame = game::RatedState::InProgress;

    struct Watch : engine::AnalysisObserver {
        std::vector<int> plies, remaining, written;
        void positionStarted(int ply, int left) override {
            plies.push_back(ply);
            remaining.push_back(left);
        }
        void lineWritten(const engine::AnalysisLine& l) override { written.push_back(l.ply); }
    } watch;
    const engine::AnalysisOutcome out = g.analyse(&watch);
    ASSERT_TRUE(out.started);
    EXPECT_TRUE(out.completed);
    EXPECT_EQ(out.endPly, 7);
    EXPECT_EQ(watch.plies, (std::vector<int>{7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(watch.remaining, (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(watch.written, (std::vector<int>{6, 5, 4, 3, 2, 1, 0}));  // the last position has no move after it
    ASSERT_EQ(out.lines.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        const engine::AnalysisLine& l = out.lines[static_cast<std::size_t>(i)];
        EXPECT_EQ(l.ply, i);
        EXPECT_EQ(l.mover, i % 2 == 0 ? rules::White : rules::Black);
        EXPECT_EQ(l.playedFrom, rec.plies[static_cast<std::size_t>(i + 1)].from);
        EXPECT_EQ(l.playedTo, rec.plies[static_cast<std::size_t>(i + 1)].to);
        EXPECT_EQ(l.bestScore, g.core->engine.analysisScores[static_cast<std::size_t>(i)] / 2);
        if (l.bestFrom == l.playedFrom && l.bestTo == l.playedTo) {
            // The best move was the move played: one value, never marked.
            EXPECT_EQ(l.playedScore, l.bestScore) << i;
            EXPECT_FALSE(l.marked) << i;
        } else {
            // Otherwise the played move is worth what the next position is.
            EXPECT_EQ(l.playedScore, -g.core->engine.analysisScores[static_cast<std::size_t>(i + 1)] / 2) << i;
        }
    }
    // Back where the person was, the game no longer rated, the record
    // untouched, and pondering switched off until the analysis is ended.
    EXPECT_FALSE(g.core->engine.gameAnalysis);
    EXPECT_EQ(g.core->game.record.plyCounter, 7);
    rules::Board shown{};
    shown[0] = rules::Sentinel;
    for (int q = 1; q <= 32; ++q) shown[q] = rec.plies[7].squares[static_cast<std::size_t>(q - 1)];
    EXPECT_EQ(g.core->rules.gamePosition, shown);
    EXPECT_EQ(g.core->game.sideToMove, rules::Black);
    EXPECT_EQ(g.core->game.record.recordLength, 7);
    EXPECT_EQ(g.core->game.ratedGame, game::RatedState::None);
    EXPECT_FALSE(g.core->engine.level.ponderOnPersonTime);
    engine::endAnalysis(*g.core);
    EXPECT_TRUE(g.core->engine.level.ponderOnPersonTime);
    EXPECT_EQ(g.core->game.sideToMove, rules::Black);  // as in the position shown
    EXPECT_EQ(g.core->game.computerColour, rules::White);
    EXPECT_FALSE(g.core->game.engineToMove);
}

TEST(Analysis, TheClocksStandStillAndKeepTheTurnSoFar) {
    Game g;
    ASSERT_EQ(testsupport::playRandomMoves(*g.core, 4, 5), 4);
    g.host.clock = 1000;
    game::startClocks(*g.core);
    g.host.clock = 1042;  // White has thought 42 s on its fifth ply
    const std::int32_t black = g.core->game.blackClock.total;
    g.analyse();
    g.host.clock = 2000;  // the analysis took its time
    EXPECT_FALSE(g.core->game.clockRunning);
    EXPECT_EQ(g.core->game.whiteClock.total, 42);
    EXPECT_EQ(g.core->game.whiteClock.seconds, 42);
    EXPECT_EQ(g.core->game.blackClock.total, black);
}

TEST(Analysis, MarksAManLostAndValuesTheForcedReplyUnsearched) {
    // White's d4-e5 loses a man to f6xd4, Black's only move; d4-c5 was safe.
    Game g(fenOf('W', {"d4", "a1", "c1", "e1", "g1"}, {"f6", "h8", "b8", "d8", "a7"}));
    g.play("d4", "e5");
    g.play("f6", "d4");
    g.play("c1", "b2");
    const engine::AnalysisOutcome out = g.analyse();
    ASSERT_EQ(out.lines.size(), 3u);
    const engine::AnalysisLine& blunder = out.lines[0];
    const engine::AnalysisLine& forced = out.lines[1];
    const engine::AnalysisLine& quiet = out.lines[2];
    // The single legal move: the played move shown as the best, worth the
    // negated value of the position after it.
    EXPECT_EQ(forced.bestFrom, forced.playedFrom);
    EXPECT_EQ(forced.bestTo, forced.playedTo);
    // Both are captures, to be written with "x".
    EXPECT_TRUE(forced.playedCapture);
    EXPECT_TRUE(forced.bestCapture);
    EXPECT_FALSE(quiet.playedCapture);
    EXPECT_EQ(forced.bestScore, -quiet.bestScore);
    EXPECT_FALSE(forced.marked);
    // The blunder: a much better move existed, and the line says which.
    EXPECT_TRUE(blunder.marked);
    EXPECT_NE(rules::squareName(blunder.bestTo), "e5");
    EXPECT_GT(blunder.bestScore - blunder.playedScore, 50);
    EXPECT_EQ(rules::squareName(blunder.playedFrom), "d4");
    EXPECT_EQ(rules::squareName(blunder.playedTo), "e5");
    // The best line goes on: its next two moves are given.
    EXPECT_NE(blunder.continuation[0], 0);
    EXPECT_NE(blunder.continuation[1], 0);
}

TEST(Analysis, EndsAtOnceWhenTerminatedAndGoesOnWhenAPhaseIsStopped) {
    Game g;
    ASSERT_EQ(testsupport::playRandomMoves(*g.core, 6, 3), 6);
    // "Arrêter cette phase" during each search: every position still gets
    // its line, from the iterations finished.
    g.limits.depth = 0;
    g.searchHost.onRootMove = [&](const engine::RootMoveLine&) {
        if (g.searcher->engine.search.iterationDepth >= 3) g.searcher->engine.stopRequested = true;
    };
    const engine::AnalysisOutcome phases = g.analyse();
    EXPECT_TRUE(phases.completed);
    EXPECT_EQ(phases.lines.size(), 6u);

    game::goToEnd(*g.core);
    g.searchHost.onRootMove = nullptr;
    g.limits.depth = 3;
    struct Stopper : engine::AnalysisObserver {
        game::Core* core = nullptr;
        void positionStarted(int ply, int) override {
            if (ply == 3) engine::stopAnalysis(*core);
        }
    } stopper;
    stopper.core = g.core.get();
    const engine::AnalysisOutcome cut = g.analyse(&stopper);
    EXPECT_TRUE(cut.started);
    EXPECT_FALSE(cut.completed);
    ASSERT_EQ(cut.lines.size(), 2u);  // plies 4 and 5
    EXPECT_EQ(cut.lines[0].ply, 4);
    EXPECT_EQ(g.core->game.record.plyCounter, 6);  // where the walk began
    EXPECT_FALSE(g.core->engine.gameAnalysis);
    engine::endAnalysis(*g.core);
    EXPECT_EQ(g.core->game.sideToMove, rules::White);  // ply 6 is White's to play
}

}  // namespace
