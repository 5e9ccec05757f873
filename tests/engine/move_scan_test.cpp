// The search's quick look at a position (must take / can only move quietly /
// cannot move) against the generator's full list, over random positions
// rich in kings and blocked men, where a flying king's far capture or a
// man's backward one is easily missed.

#include <gtest/gtest.h>

#include "engine/move_scan.h"
#include "rules/fen.h"
#include "rules/movegen.h"
#include "support/reference_movegen.h"

namespace {

engine::MovesOnBoard fromGenerator(rules::RulesState& r, rules::Side side) {
    const int n = rules::generateRootMoves(r, side);
    if (n == 0) return engine::MovesOnBoard::None;
    return r.captureCount > 0 ? engine::MovesOnBoard::Capture : engine::MovesOnBoard::QuietOnly;
}

TEST(MoveScan, AgreesWithTheGenerator) {
    unsigned seed = 20261207;
    const struct {
        int maxPerSide, kingPercent, count;
    } mixes[] = {{12, 0, 4000}, {10, 10, 3000}, {6, 50, 3000}, {3, 100, 3000}, {12, 0, 1000}};
    int seen[3] = {};
    for (const auto& mix : mixes) {
        for (int i = 0; i < mix.count; ++i) {
            rules::RulesState r;
            r.board = testsupport::randomPosition(seed, mix.maxPerSide, mix.kingPercent);
            for (const rules::Side side : {rules::White, rules::Black}) {
                const engine::MovesOnBoard expected = fromGenerator(r, side);
                ASSERT_EQ(engine::movesOnBoard(r.board, side), expected) << rules::toFen(r.board, side);
                ++seen[static_cast<int>(expected)];
            }
        }
    }
    // Every answer was met often enough for the comparison to mean something.
    for (int answer : seen) EXPECT_GT(answer, 20);
}

TEST(MoveScan, HandPickedPositions) {
    const struct {
        const char* fen;
        engine::MovesOnBoard expected;
    } cases[] = {
        {"W:W21-32:B1-12", engine::MovesOnBoard::QuietOnly},
        // A man takes backwards.
        {"W:Wd4:Bc3", engine::MovesOnBoard::Capture},
        // A king takes from the far end of its diagonal, not past two pieces.
        {"W:WKa1:Bg7", engine::MovesOnBoard::Capture},
        {"W:WKa1:Bf6,g7", engine::MovesOnBoard::QuietOnly},
        // Its own man in the way.
        {"W:WKa1,d4:Bg7", engine::MovesOnBoard::QuietOnly},
        // White's men blocked on the last-but-one row with nothing to take;
        // Black's man on the edge cannot step either.
        {"W:Wa7:Bb8", engine::MovesOnBoard::None},
        {"B:Wa7:Bb8", engine::MovesOnBoard::QuietOnly},
        {"W:W:Bb8", engine::MovesOnBoard::None},
    };
    for (const auto& c : cases) {
        const rules::FenResult f = rules::parseFen(c.fen);
        ASSERT_TRUE(f.position) << c.fen << ": " << f.error;
        EXPECT_EQ(engine::movesOnBoard(f.position->board, f.position->side), c.expected) << c.fen;
    }
}

}  // namespace
