// The accumulators kept in step move by move must equal a count from
// scratch, except for what a promotion keeps on purpose.

#include <gtest/gtest.h>

#include <random>

#include "eval/accumulators.h"
#include "eval_support.h"
#include "rules/movegen.h"

namespace {

// An independent count from scratch with the tables held fixed (the search
// never rebuilds them inside the tree).
eval::Accumulators fromScratch(const eval::EvalState& st, const rules::Board& b) {
    eval::Accumulators a;
    const rules::Side own = st.viewSide;
    for (int q = 1; q <= 32; ++q) {
        const rules::PieceCode c = b[q];
        if (!rules::isPiece(c)) continue;
        const int sign = rules::sideOf(c) == own ? 1 : -1;
        if (rules::isKing(c)) {
            a.positional += sign * st.kingTable[q];
            continue;
        }
        const int frame = c == rules::BlackMan ? q : 33 - q;
        const int row = (q - 1) / 4;
        a.positional += sign * st.activeManTable[frame];
        a.tempo += sign * (c == rules::BlackMan ? row : 7 - row);
        const int region = eval::RegionOfSquare[frame];
        const int file = rules::squareFile(q);
        if (sign > 0) {
            ++a.ownRegion[region];
            a.ownCentre = static_cast<std::int8_t>(a.ownCentre + eval::CentreWeight[file]);
        } else {
            ++a.oppRegion[region];
            a.oppCentre = static_cast<std::int8_t>(a.oppCentre + eval::CentreWeight[file]);
        }
    }
    a.pieceCount = eval::recountPieces(b);
    return a;
}

// A promoted man keeps its tempo, region and centre share on its promotion
// square for the rest of the line, even after the king moves or is taken.
void addPromotionGhost(eval::Accumulators& ghost, const eval::EvalState& st, rules::PieceCode man, int q) {
    const int sign = rules::sideOf(man) == st.viewSide ? 1 : -1;
    ghost.tempo += sign * 7;
    const int file = rules::squareFile(q);
    if (sign > 0) {
        ++ghost.ownRegion[0];
        ghost.ownCentre = static_cast<std::int8_t>(ghost.ownCentre + eval::CentreWeight[file]);
    } else {
        ++ghost.oppRegion[0];
        ghost.oppCentre = static_cast<std::int8_t>(ghost.oppCentre + eval::CentreWeight[file]);
    }
}

eval::Accumulators plus(eval::Accumulators a, const eval::Accumulators& g) {
    a.tempo += g.tempo;
    for (int r = 0; r < 5; ++r) {
        a.ownRegion[r] = static_cast<std::int8_t>(a.ownRegion[r] + g.ownRegion[r]);
        a.oppRegion[r] = static_cast<std::int8_t>(a.oppRegion[r] + g.oppRegion[r]);
    }
    a.ownCentre = static_cast<std::int8_t>(a.ownCentre + g.ownCentre);
    a.oppCentre = static_cast<std::int8_t>(a.oppCentre + g.oppCentre);
    return a;
}

TEST(Accumulators, IncrementalUpkeepMatchesCountFromScratch) {
    std::mt19937 rng(20260612);
    rules::RulesState r;
    int moves = 0, promotions = 0, kingCaptures = 0;
    for (int game = 0; game < 300; ++game) {
        eval::EvalState st;
        // Random tables make every square's value distinct enough to catch a
        // wrong frame or sign.
        for (eval::SquareTable& t : st.params.manTables)
            for (auto& v : t) v = static_cast<std::uint8_t>(rng() % 256);
        st.params.p1 = static_cast<std::int8_t>(rng() % 25);
        r.board = rules::startingPosition();
        rules::Side side = rules::White;
        const rules::Side rootSide = rules::sideFromByte(static_cast<unsigned>(rng() % 2));
        eval::prepareSearchRoot(st, r.board, rootSide);
        eval::Accumulators ghost{};
        for (int ply = 0; ply < 120; ++ply) {
            r.currentPly = 1;
            const int n = rules::generateMoves(r, side);
            if (n == 0) break;
            const rules::Move m = r.list(1)[static_cast<int>(rng() % n)];
            const rules::Board before = r.board;
            for (int i = 0; i < m.ncapt; ++i) kingCaptures += rules::isKing(before[m.captured[i]]);
            eval::updateForMove(st, before, m);
            rules::applyMove(r.board, m);
            if (rules::promotionRow(before[m.from], m.to)) {
                addPromotionGhost(ghost, st, before[m.from], m.to);
                ++promotions;
            }
            ++moves;
            ASSERT_EQ(st.acc, plus(fromScratch(st, r.board), ghost))
                << "game " << game << " ply " << ply << " after " << rules::toFen(r.board, rules::opposite(side));
            ASSERT_EQ(st.lastTo, m.to);
            side = rules::opposite(side);
        }
    }
    // The playouts must have exercised the promotion and king-capture paths.
    EXPECT_GT(promotions, 100);
    EXPECT_GT(kingCaptures, 20);
    EXPECT_GT(moves, 10000);
}

TEST(Accumulators, KingTableChoices) {
    struct Case {
        const char* fen;
        int square;
        int value;
    };
    const Case cases[] = {
        {"W:WK10:BK20", 1, 0},               // double corners are worth nothing
        {"W:WK10:BK20", 28, 0},
        {"W:WK10:BK20", 10, 1},
        {"W:WK2,K3,K7,K9:BK20", 1, 40},      // four kings against one
        {"W:WK2,K3,K7,K9:BK20", 14, 10},
        {"W:WK2:BK3,K7,K9,K20", 5, 40},      // whichever side has the four
        {"W:WK2,K3,K7,9:BK20", 1, 0},        // a man on the board: no
        {"W:WK2,K3,21,22:BK20,6", 29, 10},   // late ending: the long diagonal
        {"W:WK2,K3,21,22:BK20,6", 26, 5},
        {"W:WK2,K3,21,22:B6,7", 29, 1},      // but not without a black king
    };
    for (const Case& c : cases) {
        eval::EvalState st;
        const rules::Board b = evaltest::board(c.fen);
        st.acc.pieceCount = eval::recountPieces(b);
        eval::buildAccumulators(st, b, rules::White);
        EXPECT_EQ(st.kingTable[c.square], c.value) << c.fen << " square " << c.square;
    }
}

}  // namespace
