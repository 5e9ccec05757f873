// The generator against the plain reference and its own invariants, over
// random positions and random games.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "rules/fen.h"
#include "rules/movegen.h"
#include "rules/perft.h"
#include "support/reference_movegen.h"

namespace {

// Checks one generation: the list matches the reference, and the board and
// the list keep the generator's promises.
void checkGeneration(rules::RulesState& r, rules::Side side, const std::string& where) {
    const rules::Board before = r.board;
    const int n = rules::generateRootMoves(r, side);
    ASSERT_EQ(r.board, before) << where << ": the board changed";
    std::set<std::string> seen;
    for (int i = 0; i < n; ++i) {
        const rules::Move& m = r.rootList()[i];
        const std::string text = rules::moveText(m);
        ASSERT_TRUE(seen.insert(text).second) << where << ": " << text << " listed twice";
        ASSERT_EQ(m.ncapt, r.captureCount) << where << ": " << text;
        ASSERT_TRUE(rules::isPiece(before[m.from]) && rules::sideOf(before[m.from]) == side) << where << ": " << text;
        ASSERT_TRUE(before[m.to] == rules::Empty || m.to == m.from) << where << ": " << text;
        for (int k = 0; k < m.ncapt; ++k) {
            const rules::PieceCode c = before[m.captured[k]];
            ASSERT_TRUE(rules::isPiece(c) && rules::sideOf(c) != side) << where << ": " << text << " takes no enemy";
        }
    }
    ASSERT_EQ(seen, testsupport::referenceMoves(before, side)) << where;
}

TEST(GeneratorAgainstReference, RandomPositions) {
    unsigned seed = 20261206;
    const struct {
        int maxPerSide, kingPercent, count;
    } mixes[] = {{12, 0, 3000}, {8, 20, 3000}, {6, 60, 3000}, {4, 100, 2000}};
    for (const auto& mix : mixes) {
        for (int i = 0; i < mix.count; ++i) {
            rules::RulesState r;
            r.board = testsupport::randomPosition(seed, mix.maxPerSide, mix.kingPercent);
            for (const rules::Side side : {rules::White, rules::Black}) {
                checkGeneration(r, side, rules::toFen(r.board, side));
                if (HasFatalFailure()) return;
            }
        }
    }
}

TEST(GeneratorAgainstReference, RandomGames) {
    unsigned seed = 7;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    int plies = 0;
    for (int game = 0; game < 300; ++game) {
        rules::RulesState r;
        r.board = rules::startingPosition();
        rules::Side side = rules::White;
        for (int ply = 0; ply < 200; ++ply) {
            checkGeneration(r, side, "game " + std::to_string(game) + " " + rules::toFen(r.board, side));
            if (HasFatalFailure()) return;
            const int n = r.rootList().size();
            if (n == 0) break;
            rules::applyMove(r.board, r.rootList()[next(n)]);
            side = rules::opposite(side);
            ++plies;
        }
    }
    EXPECT_GT(plies, 10000);
}

// Whole trees below positions rich in kings and captures, move for move.
TEST(GeneratorAgainstReference, PerftOfKingPositions) {
    const struct {
        const char* fen;
        int depth;
    } cases[] = {
        {"W:WK29,22,23,24:BK4,9,10,11", 4},
        {"B:WK18,K15,26,27:B5,6,K13,K20,3", 4},
        {"W:W21,22,23,24,25,26,27,28:B5,6,7,8,9,10,11,12", 5},
        {"W:WKc3,Kf2:Bb4,d4,b6,d6,Kh8", 3},
    };
    for (const auto& c : cases) {
        const rules::Position pos = *rules::parseFen(c.fen).position;
        rules::RulesState r;
        r.board = pos.board;
        for (int d = 1; d <= c.depth; ++d)
            EXPECT_EQ(rules::perft(r, pos.side, d), testsupport::referencePerft(pos.board, pos.side, d))
                << c.fen << " depth " << d;
    }
}

}  // namespace
