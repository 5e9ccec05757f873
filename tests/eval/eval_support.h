#pragma once
// Helpers shared by the evaluation tests.

#include <string>
#include <vector>

#include "eval/accumulators.h"
#include "eval/eval_state.h"
#include "game/host.h"
#include "rules/fen.h"

namespace evaltest {

inline rules::Board board(const char* fen) {
    const rules::FenResult r = rules::parseFen(fen);
    if (!r.position) throw std::runtime_error(std::string("bad test position ") + fen + ": " + r.error);
    return r.position->board;
}

// A set of parameters simple enough to work evaluations out by hand: every
// man table is worth 10 per row in Black's frame (0 on b8..h8, 60 on the row
// before promotion), thresholds 16/10/6, tempo weights 1..8 in file order.
inline eval::EvalParameters rowParameters(int p1 = 16, int p2 = 10, int p3 = 6) {
    eval::EvalParameters p;
    for (eval::SquareTable& t : p.manTables)
        for (int q = 1; q <= 32; ++q) t[q] = static_cast<std::uint8_t>(10 * rules::squareRow(q));
    p.p1 = static_cast<std::int8_t>(p1);
    p.p2 = static_cast<std::int8_t>(p2);
    p.p3 = static_cast<std::int8_t>(p3);
    for (int i = 0; i < eval::NumTempoWeights; ++i) p.tempoWeights[i] = static_cast<std::int8_t>(i + 1);
    return p;
}

// The weights as the rules are written (every scale 100) and as they were
// set by hand, so that worked-out values and search regressions do not
// follow data/eval_weights.txt when it is refitted.
inline eval::EvalWeights handSetWeights() {
    eval::EvalWeights w;
    w.values = {520, 580, 620, 660, 30,  50,  5,   8,   45,  15,  100, 170, 25,  30,  100, 100, 100, 100, 125, 50,
                100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 70,  100, 60,  80,  120, 180};
    return w;
}

struct RecordingHost : game::Host {
    std::vector<std::string> errors;
    std::int64_t readClock() override { return 0; }
    void showError(std::string_view text) override { errors.emplace_back(text); }
};

}  // namespace evaltest
