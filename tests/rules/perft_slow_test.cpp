#include <gtest/gtest.h>

#include "rules/perft.h"

namespace {

// Deeper than the normal suite goes: every capture order a move of its own.
TEST(PerftSlow, StartPositionToDepthNine) {
    rules::RulesState r;
    r.board = rules::startingPosition();
    EXPECT_EQ(rules::perft(r, rules::White, 8), 907836u);
    EXPECT_EQ(rules::perft(r, rules::White, 9), 4431847u);
}

}  // namespace
