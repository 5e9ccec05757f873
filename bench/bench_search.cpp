// The search's hot spots: making a move the search's way, probing the
// transposition table, and a whole search to a fixed depth.

#include <benchmark/benchmark.h>

#include <memory>

#include "engine/search.h"
#include "eval/accumulators.h"
#include "game/core.h"
#include "game/navigation.h"
#include "rules/fen.h"

namespace {

constexpr const char* kMiddleGame = "W:W17,19,21,22,23,25,26,27,30,31:B2,3,5,6,7,9,10,11,13,15";

std::unique_ptr<game::Core> coreAt(const char* fen) {
    auto core = std::make_unique<game::Core>();
    engine::allocateSearchTables(core->engine.tables);
    const rules::Position pos = *rules::parseFen(fen).position;
    game::installPosition(*core, pos.board, pos.side);
    core->rules.board = pos.board;
    core->rules.gamePosition = pos.board;
    core->game.sideToMove = pos.side;
    return core;
}

void BM_MakeSearchMove(benchmark::State& state) {
    auto core = coreAt(kMiddleGame);
    eval::prepareSearchRoot(core->eval, core->rules.board, rules::White);
    engine::computeKeys(core->engine.tables, core->rules.board);
    core->rules.currentPly = 2;
    const int n = rules::generateMoves(core->rules, rules::White);
    const rules::Board board = core->rules.board;
    const eval::Accumulators acc = core->eval.acc;
    int k = 0;
    for (auto _ : state) {
        engine::makeSearchMove(*core, k);
        benchmark::DoNotOptimize(core->engine.tables.keyIndex);
        core->rules.board = board;
        core->eval.acc = acc;
        k = (k + 1) % n;
    }
}
BENCHMARK(BM_MakeSearchMove);

void BM_ProbeTable(benchmark::State& state) {
    engine::SearchTables t;
    engine::allocateSearchTables(t);
    std::uint32_t key = 12345;
    for (auto _ : state) {
        key = key * 1664525u + 1013904223u;
        benchmark::DoNotOptimize(engine::probeTable(t.table, engine::HashKey{key, key ^ 0x5555u}));
    }
}
BENCHMARK(BM_ProbeTable);

void BM_SearchFixedDepth(benchmark::State& state) {
    std::int64_t nodes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto core = coreAt(kMiddleGame);
        core->engine.limits = engine::SearchLimits{};
        core->engine.limits.depth = static_cast<int>(state.range(0));
        state.ResumeTiming();
        engine::searchRoot(*core, rules::White);
        nodes += core->engine.search.nodeCount;
    }
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SearchFixedDepth)->Arg(7)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace
