// Every entry of the shot catalogue proven: on the position made of its own
// pattern it is the entry that fires, for White and turned for Black, and a
// small search in which every capture is played out shows that the side to
// move wins what the entry's value claims.

#include <gtest/gtest.h>

#include <algorithm>

#include "eval/catalogues.h"
#include "eval/shots.h"
#include "eval_support.h"
#include "rules/movegen.h"

namespace {

using rules::Board;

int material(const Board& b, rules::Side side) {
    int v = 0;
    for (int q = 1; q <= 32; ++q) {
        if (!rules::isPiece(b[q])) continue;
        const int worth = rules::isKing(b[q]) ? 300 : 100;
        v += rules::sideOf(b[q]) == side ? worth : -worth;
    }
    return v;
}

// Negamax on material with alpha-beta. Below the depth, a side that must
// capture still does: no line ends in the middle of an exchange.
int forcedSearch(rules::RulesState& r, rules::Side side, int depth, int ply, int alpha, int beta) {
    r.currentPly = ply;
    const int n = rules::generateMoves(r, side);
    if (n == 0 || ply >= rules::MaxPly - 1 || (depth <= 0 && r.captureCount == 0)) return material(r.board, side);
    const Board saved = r.board;
    for (int i = 0; i < n; ++i) {
        rules::applyMove(r.board, r.list(ply)[i]);
        const int v = -forcedSearch(r, rules::opposite(side), depth - 1, ply + 1, -beta, -alpha);
        r.board = saved;
        r.currentPly = ply;
        alpha = std::max(alpha, v);
        if (alpha >= beta) break;
    }
    return alpha;
}

// What the side to move wins, in hundredths of a man, within `depth` plies.
int gainFor(const Board& b, rules::Side side, int depth = 7) {
    rules::RulesState r;
    r.board = b;
    return forcedSearch(r, side, depth, 1, -100000, 100000) - material(b, side);
}

Board patternPosition(const eval::ShotPattern& p) {
    Board b{};
    b[0] = rules::Sentinel;
    for (int q = 1; q <= 32; ++q) {
        if (eval::has(p.own, q)) b[q] = rules::WhiteMan;
        if (eval::has(p.enemy, q)) b[q] = rules::BlackMan;
    }
    return b;
}

// The position turned half a circle with the colours exchanged.
Board turned(const Board& b) {
    Board t = b;
    rules::mirrorPosition(t);
    for (int q = 1; q <= 32; ++q) {
        if (t[q] == rules::WhiteMan)
            t[q] = rules::BlackMan;
        else if (t[q] == rules::BlackMan)
            t[q] = rules::WhiteMan;
    }
    return t;
}

// At least a man for 80 and 120, two men's worth for 180.
int requiredGain(int value) { return value == 180 ? 200 : 100; }

class ShotCatalogue : public testing::TestWithParam<int> {};

TEST_P(ShotCatalogue, EntryFiresAndWinsMaterial) {
    const int i = GetParam();
    const eval::ShotPattern& p = eval::patternCatalogue()[i];
    const int entry = eval::WrittenOutShots + i;
    ASSERT_TRUE(p.value == 80 || p.value == 120 || p.value == 180);
    // The pattern's squares do not contradict each other.
    ASSERT_EQ(p.own & p.enemy, 0u);
    ASSERT_EQ((p.own | p.enemy) & p.empty, 0u);

    const Board b = patternPosition(p);
    const eval::ShotMatch white = eval::findShot(b, true);
    EXPECT_EQ(white.entry, entry) << "an earlier entry hides this one";
    EXPECT_EQ(white.value, p.value);
    const eval::ShotMatch black = eval::findShot(turned(b), false);
    EXPECT_EQ(black.entry, entry);
    // Only the side to move's catalogue is read.
    EXPECT_NE(eval::findShot(b, false).entry, entry);

    const int gain = gainFor(b, rules::White);
    EXPECT_GE(gain, requiredGain(p.value)) << "White gains only " << gain;
    EXPECT_EQ(gainFor(turned(b), rules::Black), gain);

    // In the evaluation: White's shot counts for White.
    eval::EvalState st;
    st.weights = evaltest::handSetWeights();
    st.acc.pieceCount = eval::recountPieces(b);
    st.currentPly = 1;
    EXPECT_EQ(eval::shotTerm(st, b, rules::White), p.value);
    st.currentPly = 2;
    EXPECT_EQ(eval::shotTerm(st, b, rules::Black), -p.value);
}

INSTANTIATE_TEST_SUITE_P(Entries, ShotCatalogue, testing::Range(0, static_cast<int>(eval::patternCatalogue().size())));

struct WrittenOutCase {
    const char* name;
    const char* fen;   // White to move
    int entry;
    int value;
};

const WrittenOutCase kWrittenOut[] = {
    // b6-c7, d8xb6 forced, a5xc7xe5... : f6 black with g7 empty, 120.
    {"FirstTakesOnTowardsG7", "W:W13,9:B1,2,10,11", 0, 120},
    // The same with nothing beyond d6: 80.
    {"FirstPlain", "W:W13,9,30:B1,2,10,21", 0, 80},
    // b4-c5, d6xb4 forced, a3xc5 and on over d4 or f4.
    {"SecondTakesOnTowardsF4", "W:W21,17:B9,10,18,19", 1, 120},
    // b4-c5, d6xb4 forced, a3xc5xa7 with b8 empty: a king in sight, 180.
    {"SecondBreakthrough", "W:W21,17,18:B9,10", 1, 180},
};

class WrittenOutShots : public testing::TestWithParam<WrittenOutCase> {};

TEST_P(WrittenOutShots, FireAndWin) {
    const WrittenOutCase& c = GetParam();
    const Board b = evaltest::board(c.fen);
    const eval::ShotMatch m = eval::findShot(b, true);
    EXPECT_EQ(m.entry, c.entry);
    EXPECT_EQ(m.value, c.value);
    EXPECT_EQ(eval::findShot(turned(b), false).entry, c.entry);
    EXPECT_GE(gainFor(b, rules::White), requiredGain(c.value));
}

INSTANTIATE_TEST_SUITE_P(Cases, WrittenOutShots, testing::ValuesIn(kWrittenOut),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ShotCatalogue, HasAboutFiftyFiveEntriesASide) {
    EXPECT_GE(eval::shotCatalogueSize(), 50);
    EXPECT_EQ(eval::findShot(rules::startingPosition(), true).entry, -1);
    EXPECT_EQ(eval::findShot(rules::startingPosition(), false).entry, -1);
}

}  // namespace
