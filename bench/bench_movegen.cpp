// Move generation on positions of different kinds: the start, a middle game,
// kings on an open board, and a position full of capture choices.

#include <benchmark/benchmark.h>

#include "rules/fen.h"
#include "rules/movegen.h"
#include "rules/perft.h"

namespace {

struct BenchPosition {
    const char* name;
    const char* fen;
};

constexpr BenchPosition kPositions[] = {
    {"start", "W:W21-32:B1-12"},
    {"middlegame", "W:W17,19,21,22,23,25,26,27,30,31:B2,3,5,6,7,9,10,11,13,15"},
    {"kings", "W:WK14,K19,25,26:BK7,K12,2,3"},
    {"captures", "W:W14,15,18,19,22,23:B5,6,7,10,11"},
};

rules::Position load(const char* fen) { return *rules::parseFen(fen).position; }

void BM_GenerateMoves(benchmark::State& state) {
    const BenchPosition& p = kPositions[state.range(0)];
    const rules::Position pos = load(p.fen);
    rules::RulesState r;
    r.board = pos.board;
    r.currentPly = 1;
    for (auto _ : state) benchmark::DoNotOptimize(rules::generateMoves(r, pos.side));
    state.SetLabel(p.name);
}
BENCHMARK(BM_GenerateMoves)->DenseRange(0, std::size(kPositions) - 1);

void BM_PerftStart(benchmark::State& state) {
    rules::RulesState r;
    r.board = rules::startingPosition();
    std::uint64_t nodes = 0;
    for (auto _ : state) nodes += rules::perft(r, rules::White, static_cast<int>(state.range(0)));
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PerftStart)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
