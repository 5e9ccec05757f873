// The static evaluation as the search calls it at a leaf: accumulators
// already built, the full window (no early exit).

#include <benchmark/benchmark.h>

#include "eval/accumulators.h"
#include "eval/catalogues.h"
#include "eval/evaluate.h"
#include "rules/fen.h"

namespace {

struct EvalPosition {
    const char* name;
    const char* fen;
};

constexpr EvalPosition kPositions[] = {
    // Men only, no shot for the side to move: the whole catalogue is scanned.
    {"middlegame", "W:W17,19,21,22,23,25,26,27,30,31:B2,3,5,6,7,9,10,11,13,15"},
    {"middlegame2", "W:W18,21,22,24,25,26,27,28,29,31:B1,2,3,5,6,8,10,11,12,16"},
    {"start", "W:W21-32:B1-12"},
    // Kings on the board: no shot catalogue.
    {"kings", "W:WK14,19,22,25,26,27:BK7,2,3,5,10,12"},
    {"late-kings", "W:WK14,K19,25,26:BK7,K12,2,3"},
};

eval::EvalParameters benchParameters() {
    eval::EvalParameters p;
    for (eval::SquareTable& t : p.manTables)
        for (int q = 1; q <= 32; ++q) t[q] = static_cast<std::uint8_t>(6 * rules::squareRow(q) + (q % 4));
    p.p1 = 16;
    p.p2 = 10;
    p.p3 = 6;
    p.tempoWeights = {1, 2, 3, 6, 0, 1, 1, 2};
    return p;
}

void BM_Evaluate(benchmark::State& state) {
    const EvalPosition& p = kPositions[state.range(0)];
    const rules::Position pos = *rules::parseFen(p.fen).position;
    eval::EvalState st;
    st.params = benchParameters();
    eval::prepareSearchRoot(st, pos.board, pos.side);
    st.currentPly = 5;   // a leaf a few plies down
    st.lastTo = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(eval::evaluate(st, pos.board, pos.side, -eval::Infinity, eval::Infinity));
    state.SetLabel(std::string(p.name) +
                   (eval::findShot(pos.board, eval::whiteToMove(st, pos.side)).entry >= 0 ? " (shot)" : ""));
}
BENCHMARK(BM_Evaluate)->DenseRange(0, std::size(kPositions) - 1);

}  // namespace
