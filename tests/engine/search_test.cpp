// The search: its answers, its stop rules, its regressions at fixed depth,
// and that it plays only legal moves and plays them reproducibly.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "engine/search.h"
#include "engine/thinking.h"
#include "eval/accumulators.h"
#include "eval/eval_support.h"
#include "game/core.h"
#include "game/navigation.h"
#include "rules/fen.h"
#include "rules/perft.h"
#include "support/fake_host.h"
#include "support/game_builder.h"

namespace {

// A fake host that can act at the search's reports, and whose millisecond
// clock may run on by itself each time it is read.
class ScriptedHost : public testsupport::FakeHost {
public:
    std::int64_t readMilliseconds() override {
        milliseconds += msPerReading;
        return milliseconds;
    }
    void showThinking(const engine::SearchStats& st) override {
        shown.push_back(st);
        if (onThinking) onThinking(st);
    }
    void showRootMove(const engine::RootMoveLine& line) override {
        if (onRootMove) onRootMove(line);
    }
    std::function<void(const engine::SearchStats&)> onThinking;
    std::function<void(const engine::RootMoveLine&)> onRootMove;
    std::vector<engine::SearchStats> shown;
    std::int64_t milliseconds = 0;
    std::int64_t msPerReading = 0;
};

struct Engine {
    explicit Engine(const char* fen = "W:W21-32:B1-12") : core(std::make_unique<game::Core>()) {
        core->host = &host;
        // A folder without data files, whatever folder the tests run in: no
        // endgame tables, no learned positions.
        core->programDir = std::filesystem::temp_directory_path() / "tavolex_search_test_without_data";
        EXPECT_TRUE(engine::initialiseSearch(*core));
        host.errors.clear();
        setPosition(fen);
        // A fixed parameter set, so the regressions do not follow data files.
        eval::EvalParameters& p = core->eval.params;
        p.p1 = 16;
        p.p2 = 10;
        p.p3 = 6;
        for (auto& table : p.manTables)
            for (int q = 1; q <= 32; ++q)
                table[static_cast<std::size_t>(q)] = static_cast<std::uint8_t>(rules::squareRow(q) * 3);
        p.tempoWeights.fill(2);
        core->eval.weights = evaltest::handSetWeights();
    }
    void setPosition(const char* fen) {
        const rules::FenResult r = rules::parseFen(fen);
        EXPECT_TRUE(r.position) << fen;
        game::installPosition(*core, r.position->board, r.position->side);
        core->game.sideToMove = r.position->side;
        core->rules.board = r.position->board;
        core->rules.gamePosition = r.position->board;
        side = r.position->side;
    }
    engine::RootAnswer search(int depth) {
        core->engine.limits = engine::SearchLimits{};
        core->engine.limits.depth = depth;
        core->rules.board = core->rules.gamePosition;
        return engine::searchRoot(*core, side);
    }
    std::string moveOf(const engine::RootAnswer& r) const {
        if (!r.hasMove()) return "none";
        return rules::moveText(core->rules.rootList()[r.index]);
    }
    ScriptedHost host;
    std::unique_ptr<game::Core> core;
    rules::Side side = rules::White;
};

// ----------------------------------------------------------- answers

TEST(SearchRoot, NoPieceOrNoMoveIsNoMove) {
    for (const char* fen : {"W:W21,22:B", "B:W21,22:B", "W:W:B1,2", "B:W5,6,10:B1", "W:W29:B25,22"}) {
        Engine e(fen);
        EXPECT_EQ(e.search(5).kind, engine::SearchAnswer::NoMove) << fen;
        EXPECT_EQ(e.core->engine.search.nodeCount, 0) << fen;
    }
}

TEST(SearchRoot, SingleMoveIsAnsweredAtOnceOutsideInfiniteThinking) {
    Engine e("W:W21:B1");
    EXPECT_EQ(e.search(5).kind, engine::SearchAnswer::SingleMove);
    EXPECT_EQ(e.core->engine.search.nodeCount, 0);
    // A forced capture is a single move too.
    e.setPosition("W:W22,30:B18,1");
    EXPECT_EQ(e.search(5).kind, engine::SearchAnswer::SingleMove);

    // Thinking without limits searches it (until it is stopped).
    e.setPosition("W:W21:B1");
    e.core->engine.infiniteThinking = true;
    int reports = 0;
    e.host.onThinking = [&](const engine::SearchStats&) {
        if (++reports == 3) e.core->engine.stopRequested = true;
    };
    const engine::RootAnswer r = e.search(0);
    EXPECT_EQ(r.kind, engine::SearchAnswer::Move);
    EXPECT_EQ(r.index, 0);
    EXPECT_GT(e.core->engine.search.nodeCount, 0);
}

// ----------------------------------------------------------- regressions

struct RegressionCase {
    const char* name;
    const char* fen;
    int depth;
    const char* best;
    std::int64_t nodes;
    int score;
};

// Fixed positions, fixed depth, fixed parameters: the move and the node
// count are the search's signature. A change in the search changes them;
// update them only for a change meant to change the search.
const RegressionCase kRegressions[] = {
    {"Start", "W:W21-32:B1-12", 7, "g3-f4", 12261, 12},
    {"BlackReplies", "B:W17,21,22,23,25,26,27,28,29,30,31,32:B1-12", 7, "f6-e5", 17876, 14},
    {"MiddleGame", "W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14", 7, "g3-h4", 23298, 24},
    {"KingsEnding", "B:WK29,25,27,28:BK4,6,9,10", 7, "h8-d4", 5588, -46},
    {"MenEnding", "W:W22,26,30,31:B3,7,11", 9, "c3-b4", 8070, 315},
    {"WinsAMan", "W:W17,20,22,23,24,25,28,30:B2,5,6,8,9,11,13,16", 7, "c3-d4", 6723, 364},
};

class SearchRegression : public testing::TestWithParam<RegressionCase> {};

TEST_P(SearchRegression, BestMoveAndNodeCount) {
    const RegressionCase& c = GetParam();
    Engine e(c.fen);
    const engine::RootAnswer r = e.search(c.depth);
    EXPECT_EQ(e.moveOf(r), c.best);
    EXPECT_EQ(e.core->engine.search.nodeCount, c.nodes);
    EXPECT_EQ(e.core->engine.lastScore, c.score);
}

INSTANTIATE_TEST_SUITE_P(FixedDepth, SearchRegression, testing::ValuesIn(kRegressions),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SearchRegressionRules, SameInputsSameResultsEvenSideBySide) {
    // Two engines searched in turn give what each gives alone: they share
    // nothing.
    Engine a("W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14");
    Engine b("W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14");
    Engine other("B:WK29,25,27,28:BK4,6,9,10");
    for (int depth = 3; depth <= 7; ++depth) {
        const engine::RootAnswer ra = a.search(depth);
        other.search(depth);
        const engine::RootAnswer rb = b.search(depth);
        EXPECT_EQ(a.moveOf(ra), b.moveOf(rb));
        EXPECT_EQ(a.core->engine.search.nodeCount, b.core->engine.search.nodeCount);
        EXPECT_EQ(a.core->engine.lastScore, b.core->engine.lastScore);
    }
}

// ----------------------------------------------------------- known moves

// Positions, level in material, where one quiet move wins within a few
// moves: each must be found within a node budget, about a tenth of a
// second on an ordinary machine.
struct KnownMove {
    const char* name;
    const char* fen;
    const char* move;
};

const KnownMove kKnownMoves[] = {
    // The man on c5 walks through to c7 and takes its way to a crown.
    {"Breakthrough", "W:W13,14,18,28,30,31,32:B1,3,4,6,7,11,12", "c5-b6"},
    // d4-c5 b6xd4, and c3xg3 takes two.
    {"ManGivenForTwo", "W:W18,21,22,25,26,27,29,30,32:B1,2,4,5,6,7,8,9,19", "d4-c5"},
};

TEST(SearchKnownMoves, FoundWithinANodeBudget) {
    for (const KnownMove& c : kKnownMoves) {
        Engine e(c.fen);
        e.core->engine.limits = engine::SearchLimits{};
        e.core->engine.limits.nodes = 300000;
        e.core->rules.board = e.core->rules.gamePosition;
        const engine::RootAnswer r = engine::searchRoot(*e.core, e.side);
        EXPECT_EQ(e.moveOf(r), c.move) << c.name;
        EXPECT_GT(e.core->engine.lastScore, 100) << c.name << ": about half a man or more";
    }
}

// ----------------------------------------------------------- stop rules

TEST(SearchStop, StopInIterationSevenKeepsIterationSixsScore) {
    const char* fen = "W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14";
    Engine six(fen);
    six.search(6);
    const int scoreOfSix = six.core->engine.lastScore;

    Engine e(fen);
    e.host.onThinking = [&](const engine::SearchStats&) {
        // After the first root move of iteration 7 is searched.
        if (e.core->engine.search.iterationDepth == 7) e.core->engine.stopRequested = true;
    };
    const engine::RootAnswer r = e.search(0);
    EXPECT_EQ(e.core->engine.search.iterationDepth, 7);
    EXPECT_EQ(e.core->engine.lastScore, scoreOfSix);
    ASSERT_EQ(r.kind, engine::SearchAnswer::Move);
    ASSERT_LT(r.index, e.core->rules.rootList().size());
    // The move searched first and found best so far in iteration 7.
    EXPECT_EQ(r.index, e.core->engine.search.bestRootIndex);
}

TEST(SearchStop, AbandonedSearchAnswersAbandoned) {
    Engine e;
    // Inside an iteration, while the root moves of the fifth are searched.
    e.host.onRootMove = [&](const engine::RootMoveLine& line) {
        if (e.core->engine.search.iterationDepth == 5 && line.index == 2)
            e.core->engine.stopRequested = e.core->engine.abandonSearch = true;
    };
    EXPECT_EQ(e.search(0).kind, engine::SearchAnswer::Abandoned);
    EXPECT_EQ(e.core->engine.lastScore, 0);
}

TEST(SearchStop, WeakLevelsStopAtTheirDepthCap) {
    const struct {
        int item;
        int lastIteration;
    } cases[] = {{1, 3}, {0, 6}, {2, 6}};
    for (const auto& c : cases) {
        Engine e;
        engine::selectLevel(e.core->engine.level, c.item);
        e.core->engine.limits = engine::levelLimits(e.core->engine.level, 0, 0, false);
        e.core->rules.board = e.core->rules.gamePosition;
        const engine::RootAnswer r = engine::searchRoot(*e.core, rules::White);
        EXPECT_TRUE(r.hasMove());
        EXPECT_EQ(e.core->engine.search.iterationDepth, c.lastIteration) << "item " << c.item;
    }
}

TEST(SearchStop, TheLevelsTimeStopsTheSearch) {
    // Level "5 : Excellence" at the first move: no new iteration after 1.5 s
    // from the sixth on, and a hard stop at 5.5 s. The clock runs 20 ms at
    // every reading, which the search makes every 4096 nodes and after every
    // iteration.
    Engine e;
    e.core->engine.limits = engine::levelLimits(e.core->engine.level, 0, 0, false);
    e.host.msPerReading = 20;
    e.core->rules.board = e.core->rules.gamePosition;
    const engine::RootAnswer r = engine::searchRoot(*e.core, rules::White);
    EXPECT_TRUE(r.hasMove());
    EXPECT_LT(e.core->engine.search.iterationDepth, engine::MaxIterations);
    EXPECT_GE(e.host.milliseconds, 1500);
    EXPECT_LE(e.host.milliseconds, 5500 + 40);

    // The hard limit alone ends an iteration in its middle.
    Engine hard;
    hard.core->engine.limits.hardMs = 300;
    hard.host.msPerReading = 20;
    hard.core->rules.board = hard.core->rules.gamePosition;
    EXPECT_TRUE(engine::searchRoot(*hard.core, rules::White).hasMove());
    // At most 15 readings before 300 ms, each after up to 4096 nodes.
    EXPECT_LT(hard.core->engine.search.nodeCount, 16 * 4096);
    EXPECT_LT(hard.core->engine.search.iterationDepth, engine::MaxIterations);
}

TEST(SearchStop, AWinFoundEndsTheSearch) {
    Engine e("W:WK1,K5,K10:B20");
    const engine::RootAnswer r = e.search(0);
    EXPECT_TRUE(r.hasMove());
    EXPECT_GE(e.core->engine.lastScore, 30001);
    EXPECT_LT(e.core->engine.search.iterationDepth, engine::MaxIterations);
}

// ----------------------------------------------------------- the root

TEST(SearchRoot, RepetitionClosingMoveIsADraw) {
    // Kings shuffling: c3-d4 d6-e5? no: plies n-5..n are b2-c3 (W), g7-h6,
    // c3-b2, h6-g7, b2-c3, g7-h6; playing c3-b2 again closes the cycle.
    Engine e("W:WK29:BK4");
    auto& rec = e.core->game.record;
    const rules::Square path[][2] = {{29, 25}, {4, 8}, {25, 29}, {8, 4}, {29, 25}, {4, 8}};
    for (int i = 0; i < 6; ++i) {
        rec.plies[static_cast<std::size_t>(i + 1)].from = path[i][0];
        rec.plies[static_cast<std::size_t>(i + 1)].to = path[i][1];
    }
    rec.plyCounter = 6;
    rec.recordLength = 6;
    e.core->engine.search.pliesPlayed = 6;
    rules::Move back;
    back.from = 25;
    back.to = 29;
    EXPECT_TRUE(engine::closesRepetition(*e.core, back));
    rules::Move elsewhere;
    elsewhere.from = 25;
    elsewhere.to = 22;
    EXPECT_FALSE(engine::closesRepetition(*e.core, elsewhere));
    e.core->engine.search.pliesPlayed = 5;
    EXPECT_FALSE(engine::closesRepetition(*e.core, back)) << "needs six plies";
}

TEST(SearchRoot, ThinkingLinesAndRootMoves) {
    Engine e;
    // The root-move list as the page keeps it, line by line: while a pass
    // works its way down (a move marked as under search), no move is shown
    // twice, though the search reorders the moves between its passes.
    std::vector<std::pair<int, int>> page;
    int duplicates = 0, updates = 0;
    e.host.onRootMove = [&](const engine::RootMoveLine& line) {
        if (line.index >= static_cast<int>(page.size())) page.resize(static_cast<std::size_t>(line.index) + 1);
        page[static_cast<std::size_t>(line.index)] = {line.from, line.to};
        ++updates;
        if (!line.searching) return;
        std::vector<std::pair<int, int>> sorted = page;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) ++duplicates;
    };
    e.search(6);
    EXPECT_EQ(page.size(), 7u) << "one line for each of the seven moves of the start";
    EXPECT_GT(updates, 6 * 7);
    EXPECT_EQ(duplicates, 0);
    e.host.onRootMove = nullptr;
    e.host.shown.clear();
    e.search(4);
    ASSERT_FALSE(e.host.shown.empty());
    const engine::SearchStats& last = e.host.shown.back();
    const std::vector<std::string> lines = engine::thinkingLines(last);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Profondeur :     5") << "the last root move shows the next depth";
    EXPECT_EQ(lines[2], "Temps :      0 s");
    EXPECT_EQ(lines[3], "Noeuds/s : //");
    EXPECT_EQ(lines[4], "Score : " + std::string(5 - std::to_string(last.score / 2).size(), ' ') +
                            std::to_string(last.score / 2));
    EXPECT_EQ(lines[5], "Coups :   1");
    EXPECT_EQ(lines[6].size(), std::string("c3 - d4 , f6 - e5").size());
}

TEST(ThinkingText, FormatsAsTheCalculPageShowsThem) {
    engine::SearchStats st;
    st.depth = 12;
    st.nodes = 1234567;
    st.timed = true;
    st.seconds = 3;
    st.score = -201;
    st.moveNumber = 14;
    st.pv[0].from = 22;
    st.pv[0].to = 18;
    st.pv[1].from = 13;
    st.pv[1].to = 22;
    st.pv[1].ncapt = 1;
    st.pv[2].from = 26;
    st.pv[2].to = 17;
    st.pvLength = 3;
    const std::vector<std::string> expected = {
        "Profondeur :    12", "Noeuds :  1234567", "Temps :      3 s",  "Noeuds/s :   411522",
        "Score :  -100",      "Coups :  14",       "c3 - d4 , a5 x c3", "d2 - b4",
    };
    EXPECT_EQ(engine::thinkingLines(st), expected);
    st.timed = false;
    EXPECT_EQ(engine::thinkingLines(st).size(), expected.size() - 2) << "no time lines under infinite thinking";

    EXPECT_EQ(engine::rootMoveText({0, 22, 18, false, -12, true}), "c3-d4 :   -12 ?<---");
    EXPECT_EQ(engine::rootMoveText({0, 13, 22, true, 7, false}), "a5xc3 :     7");
}

// ----------------------------------------------------------- legality

// With one thread and with a helper sharing the table: every answer is a
// legal move of the position, and the working board is given back.
class SearchThreads : public testing::TestWithParam<int> {};

TEST_P(SearchThreads, PlaysOnlyLegalMovesInRandomPositions) {
    Engine e;
    e.core->engine.threads = GetParam();
    int searched = 0, ended = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        auto game = std::make_unique<game::Core>();
        const int plies = testsupport::playRandomMoves(*game, static_cast<int>(seed % 70), seed);
        (void)plies;
        const rules::Side side = game->game.sideToMove;
        game::installPosition(*e.core, game->rules.gamePosition, side);
        e.core->game.sideToMove = side;
        e.side = side;
        e.core->rules.gamePosition = game->rules.gamePosition;

        // The legal moves, by the generator alone.
        game->rules.board = game->rules.gamePosition;
        const int n = rules::generateRootMoves(game->rules, side);
        std::set<std::string> legal;
        for (int i = 0; i < n; ++i) legal.insert(rules::moveText(game->rules.rootList()[i]));

        const engine::RootAnswer r = e.search(1 + static_cast<int>(seed % 6));
        if (n == 0) {
            ++ended;
            EXPECT_EQ(r.kind, engine::SearchAnswer::NoMove);
            continue;
        }
        ASSERT_TRUE(r.hasMove()) << rules::toFen(game->rules.gamePosition, side);
        EXPECT_TRUE(legal.count(e.moveOf(r))) << rules::toFen(game->rules.gamePosition, side) << " " << e.moveOf(r);
        EXPECT_EQ(e.core->rules.board, e.core->rules.gamePosition) << "the working board is given back";
        ++searched;
    }
    EXPECT_GT(searched, 200) << ended << " games had ended";
}

TEST_P(SearchThreads, StopsWhenAbandonedAtTheHardLimitAndWhenAsked) {
    // Abandoned inside an iteration: no move, the helpers ended.
    Engine abandoned;
    abandoned.core->engine.threads = GetParam();
    abandoned.host.onRootMove = [&](const engine::RootMoveLine& line) {
        if (abandoned.core->engine.search.iterationDepth == 7 && line.index == 2)
            abandoned.core->engine.stopRequested = abandoned.core->engine.abandonSearch = true;
    };
    EXPECT_EQ(abandoned.search(0).kind, engine::SearchAnswer::Abandoned);

    // The hard limit ends an unlimited search in its middle, with a move.
    Engine hard("W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14");
    hard.core->engine.threads = GetParam();
    hard.core->engine.limits.hardMs = 300;
    hard.host.msPerReading = 20;
    hard.core->rules.board = hard.core->rules.gamePosition;
    EXPECT_TRUE(engine::searchRoot(*hard.core, rules::White).hasMove());
    EXPECT_LT(hard.core->engine.search.iterationDepth, engine::MaxIterations);

    // A stop asked from outside answers with the best move so far; the same
    // engine then searches again as usual.
    Engine asked;
    asked.core->engine.threads = GetParam();
    asked.host.onThinking = [&](const engine::SearchStats&) {
        if (asked.core->engine.search.iterationDepth == 8) asked.core->engine.stopRequested = true;
    };
    EXPECT_TRUE(asked.search(0).hasMove());
    asked.host.onThinking = nullptr;
    asked.core->engine.stopRequested = false;
    const engine::RootAnswer again = asked.search(6);
    EXPECT_TRUE(again.hasMove());
    EXPECT_EQ(asked.core->engine.search.iterationDepth, 6);
}

INSTANTIATE_TEST_SUITE_P(OneAndTwo, SearchThreads, testing::Values(1, 2),
                         [](const auto& test) { return test.param == 1 ? std::string("One") : std::string("Two"); });

// The threads a machine is offered and starts with, by its processors (0:
// the machine cannot say), and a kept number brought within them.
TEST(SearchThreadCount, FollowsTheProcessors) {
    struct Case {
        unsigned cores;
        int defaults, allowed;
    };
    const Case cases[] = {{0, 1, 1}, {1, 1, 1}, {2, 2, 2}, {3, 2, 3}, {8, 2, 8}, {64, 2, engine::MaxSearchThreads}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cores);
        EXPECT_EQ(engine::defaultSearchThreads(c.cores), c.defaults);
        EXPECT_EQ(engine::searchThreadsAllowed(c.cores), c.allowed);
        EXPECT_EQ(engine::clampSearchThreads(-3, c.cores), 1);
        EXPECT_EQ(engine::clampSearchThreads(0, c.cores), 1);
        EXPECT_EQ(engine::clampSearchThreads(2, c.cores), std::min(2, c.allowed));
        EXPECT_EQ(engine::clampSearchThreads(99, c.cores), c.allowed);
    }
}

}  // namespace
