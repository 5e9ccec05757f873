// The engine's worker thread: answers come once per request, from another
// thread, the same as a search on the caller's thread; stopping plays the
// last finished iteration's move; a newer request supersedes an older one;
// and the worker ends at once when it is destroyed mid-search. These tests
// also run under ThreadSanitizer.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include <unistd.h>

#include "engine/search.h"
#include "engine/worker.h"
#include "game/core.h"
#include "game/navigation.h"
#include "rules/fen.h"
#include "rules/perft.h"
#include "support/game_builder.h"

namespace {

using Clock = std::chrono::steady_clock;

// What the worker reported, gathered from its thread.
struct Reports {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<engine::SearchStats> thinking;
    std::vector<engine::SearchOutput> answers;
    std::set<std::thread::id> threads;

    engine::SearchCallbacks callbacks() {
        engine::SearchCallbacks c;
        c.thinking = [this](const engine::SearchStats& st) {
            const std::lock_guard lock(mutex);
            thinking.push_back(st);
            threads.insert(std::this_thread::get_id());
            changed.notify_all();
        };
        c.done = [this](const engine::SearchOutput& out) {
            const std::lock_guard lock(mutex);
            answers.push_back(out);
            threads.insert(std::this_thread::get_id());
            changed.notify_all();
        };
        return c;
    }
    // Waits (at most a minute, for slow sanitiser builds) until `ready`.
    template <typename Ready>
    bool waitFor(Ready ready) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::minutes(1), [&] { return ready(); });
    }
};

// A core holding a game, as the window's does; searches go to the worker.
struct Asker {
    explicit Asker(const char* fen = "W:W21-32:B1-12") : core(std::make_unique<game::Core>()) {
        // An empty program folder: nothing found, whatever folder the test
        // runs in.
        folder = std::filesystem::temp_directory_path() / ("tavolex_worker_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        core->programDir = folder;
        engine::loadEngineKnowledge(*core);
        const rules::Position p = *rules::parseFen(fen).position;
        game::installPosition(*core, p.board, p.side);
    }
    ~Asker() { std::filesystem::remove_all(folder); }
    engine::SearchInput input(int depth) const {
        engine::SearchLimits limits;
        limits.depth = depth;
        return engine::searchInputFor(*core, limits);
    }
    std::filesystem::path folder;
    std::unique_ptr<game::Core> core;
};

TEST(EngineWorker, AnswersOnceFromItsOwnThreadAsASearchHereWould) {
    Asker asker("W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14");
    Reports reports;
    std::uint64_t ticket = 0;
    {
        engine::EngineWorker worker;
        ticket = worker.think(asker.input(6), reports.callbacks());
        ASSERT_TRUE(reports.waitFor([&] { return !reports.answers.empty(); }));
    }
    ASSERT_EQ(reports.answers.size(), 1u);
    const engine::SearchOutput& out = reports.answers.front();
    EXPECT_EQ(out.ticket, ticket);
    ASSERT_TRUE(out.hasMove());
    EXPECT_EQ(reports.threads.size(), 1u);
    EXPECT_FALSE(reports.threads.count(std::this_thread::get_id())) << "reports come from the worker's thread";

    // The same input searched on this thread gives the same move, value and
    // node count: the worker adds nothing of its own.
    game::Core searcher;
    const engine::SearchOutput here = engine::runSearch(searcher, asker.input(6));
    EXPECT_TRUE(out.move.sameAs(here.move));
    EXPECT_EQ(out.score, here.score);
    EXPECT_EQ(out.nodes, here.nodes);
    // And the asking core's game was never touched.
    EXPECT_EQ(asker.core->game.record.plyCounter, 0);
}

TEST(EngineWorker, PlaysOnlyLegalMovesOverManyRequests) {
    engine::EngineWorker worker;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        Asker asker;
        testsupport::playRandomMoves(*asker.core, static_cast<int>(seed % 50), seed);
        game::Core& c = *asker.core;
        c.rules.board = c.rules.gamePosition;
        const int n = rules::generateRootMoves(c.rules, c.game.sideToMove);
        std::set<std::string> legal;
        for (int k = 0; k < n; ++k) legal.insert(rules::moveText(c.rules.rootList()[k]));
        Reports reports;
        worker.think(asker.input(1 + static_cast<int>(seed % 4)), reports.callbacks());
        ASSERT_TRUE(reports.waitFor([&] { return !reports.answers.empty(); }));
        const engine::SearchOutput out = reports.answers.front();
        if (n == 0) {
            EXPECT_EQ(out.kind, engine::SearchAnswer::NoMove);
            continue;
        }
        ASSERT_TRUE(out.hasMove()) << seed;
        EXPECT_TRUE(legal.count(rules::moveText(out.move))) << seed << " " << rules::moveText(out.move);
    }
}

TEST(EngineWorker, AStopAtTheStartOfAnIterationPlaysTheLastOnesMove) {
    for (int stopAfter : {3, 5, 7}) {
        Asker asker("W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14");
        engine::EngineWorker worker;
        Reports reports;
        engine::SearchInput in = asker.input(0);
        in.infinite = true;  // a line after every finished iteration
        engine::SearchCallbacks callbacks = reports.callbacks();
        auto gather = callbacks.thinking;
        callbacks.thinking = [&, gather](const engine::SearchStats& st) {
            gather(st);
            // Iteration `stopAfter` is done; the next one begins at once.
            if (st.depth == stopAfter) worker.stop();
        };
        worker.think(in, std::move(callbacks));
        ASSERT_TRUE(reports.waitFor([&] { return !reports.answers.empty(); }));
        const engine::SearchOutput out = reports.answers.front();
        ASSERT_TRUE(out.hasMove());
        const std::lock_guard lock(reports.mutex);
        const auto finished = std::find_if(reports.thinking.begin(), reports.thinking.end(),
                                           [&](const engine::SearchStats& st) { return st.depth == stopAfter; });
        ASSERT_NE(finished, reports.thinking.end());
        ASSERT_GT(finished->pvLength, 0);
        EXPECT_TRUE(out.move.sameAs(finished->pv[0])) << "stopped after iteration " << stopAfter;
        EXPECT_EQ(out.score, finished->score);
    }
}

TEST(EngineWorker, ANewRequestSupersedesTheOldOnes) {
    Asker asker;
    engine::EngineWorker worker;
    Reports first, second, third;
    engine::SearchInput endless = asker.input(0);
    endless.infinite = true;
    const std::uint64_t a = worker.think(endless, first.callbacks());
    const std::uint64_t b = worker.think(endless, second.callbacks());
    const std::uint64_t c = worker.think(asker.input(3), third.callbacks());
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    ASSERT_TRUE(third.waitFor([&] { return !third.answers.empty(); }));
    ASSERT_TRUE(first.waitFor([&] { return !first.answers.empty(); }));
    ASSERT_TRUE(second.waitFor([&] { return !second.answers.empty(); }));
    EXPECT_EQ(second.answers.front().kind, engine::SearchAnswer::Abandoned) << "never begun";
    EXPECT_TRUE(third.answers.front().hasMove());
    EXPECT_FALSE(worker.busy());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(first.answers.size() + second.answers.size() + third.answers.size(), 3u) << "one answer each";
}

// Quitting and stopping, with the engine's thread alone and with a helper.
TEST(EngineWorker, EndsAtOnceWhenDestroyedMidSearch) {
    for (const int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        Asker asker;
        asker.core->engine.threads = threads;
        Reports reports;
        auto worker = std::make_unique<engine::EngineWorker>();
        engine::SearchInput endless = asker.input(0);
        endless.infinite = true;
        worker->think(endless, reports.callbacks());
        ASSERT_TRUE(reports.waitFor([&] { return !reports.thinking.empty() && reports.thinking.back().depth >= 4; }));
        const auto start = Clock::now();
        worker.reset();
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        EXPECT_LT(took, 100);
        const std::lock_guard lock(reports.mutex);
        EXPECT_TRUE(reports.answers.empty()) << "nothing is reported to an owner that is going away";
    }
}

TEST(EngineWorker, AStoppedSearchAnswersAndAStrayStopIsHarmless) {
    for (const int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        Asker asker;
        asker.core->engine.threads = threads;
        engine::EngineWorker worker;
        Reports busy, stopped;
        engine::SearchInput endless = asker.input(0);
        endless.infinite = true;
        worker.think(endless, busy.callbacks());
        ASSERT_TRUE(busy.waitFor([&] { return !busy.thinking.empty(); }));
        worker.stop();
        ASSERT_TRUE(busy.waitFor([&] { return !busy.answers.empty(); }));
        EXPECT_TRUE(busy.answers.front().hasMove());
        worker.stop();  // nothing running: nothing happens
        worker.think(asker.input(2), stopped.callbacks());
        ASSERT_TRUE(stopped.waitFor([&] { return !stopped.answers.empty(); }));
        EXPECT_TRUE(stopped.answers.front().hasMove());
    }
}

}  // namespace
