#include <gtest/gtest.h>

#include "rules/fen.h"
#include "rules/perft.h"

namespace {

// Every order of taking the same pieces counts as a move of its own, so the
// deeper figures exceed the public tables that merge such captures.
constexpr std::uint64_t kStartPerft[] = {1, 7, 49, 302, 1469, 7473, 37628, 187302, 907836, 4431847};

TEST(Perft, StartPositionToDepthSeven) {
    rules::RulesState r;
    r.board = rules::startingPosition();
    for (int d = 1; d <= 7; ++d) EXPECT_EQ(rules::perft(r, rules::White, d), kStartPerft[d]) << "depth " << d;
    EXPECT_EQ(r.board, rules::startingPosition());
}

}  // namespace
