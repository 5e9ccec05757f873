#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "rules/board.h"
#include "rules/fen.h"
#include "rules/square_sets.h"

namespace {

TEST(Board, NeighboursNamesAndRows) {
    const struct {
        int s, d, n;
    } steps[] = {{5, 0, 0}, {4, 1, 0}, {1, 3, 6}, {32, 3, 0}, {29, 1, 25},
                 {6, 0, 1}, {9, 0, 5}, {1, 2, 5}, {28, 2, 32}};
    for (const auto& c : steps) EXPECT_EQ(rules::neighbour(c.s, c.d), c.n) << c.s << " dir " << c.d;
    for (int d = 0; d < 4; ++d) EXPECT_EQ(rules::neighbour(0, d), 0);
    // A step and its reverse come back, wherever the first step stays on the board.
    for (int s = 1; s <= 32; ++s)
        for (int d = 0; d < 4; ++d) {
            if (const rules::Square n = rules::neighbour(s, d)) {
                EXPECT_EQ(rules::neighbour(n, 3 - d), s);
            }
        }

    EXPECT_EQ(rules::squareName(1), "b8");
    EXPECT_EQ(rules::squareName(4), "h8");
    EXPECT_EQ(rules::squareName(5), "a7");
    EXPECT_EQ(rules::squareName(29), "a1");
    EXPECT_EQ(rules::squareName(32), "g1");
    EXPECT_EQ(rules::squareName(0), "0");
    for (int s = 1; s <= 32; ++s) EXPECT_EQ(rules::parseSquareName(rules::squareName(s)), s);
    EXPECT_FALSE(rules::parseSquareName("a8"));  // light
    EXPECT_FALSE(rules::parseSquareName("i1"));

    EXPECT_TRUE(rules::promotionRow(rules::WhiteMan, 4));
    EXPECT_FALSE(rules::promotionRow(rules::WhiteMan, 5));
    EXPECT_TRUE(rules::promotionRow(rules::BlackMan, 29));
    EXPECT_FALSE(rules::promotionRow(rules::BlackMan, 28));
    EXPECT_FALSE(rules::promotionRow(rules::WhiteKing, 1));
}

TEST(Board, StartingPositionAndMirror) {
    const rules::Board start = rules::startingPosition();
    EXPECT_EQ(start[0], rules::Sentinel);
    const rules::PieceTotals t = rules::countPieces(start);
    EXPECT_EQ(t.whiteMen, 12);
    EXPECT_EQ(t.blackMen, 12);
    for (int s = 21; s <= 32; ++s) EXPECT_EQ(start[s], rules::WhiteMan);

    rules::Board m = start;
    rules::mirrorPosition(m);
    for (int s = 1; s <= 12; ++s) EXPECT_EQ(m[s], rules::WhiteMan);
    for (int s = 21; s <= 32; ++s) EXPECT_EQ(m[s], rules::BlackMan);
    EXPECT_EQ(m[0], rules::Sentinel);
    rules::mirrorPosition(m);
    EXPECT_EQ(m, start);
}

// The inline count of the default build against the standard library's,
// on the sets where a carry between bit groups could go wrong and on random
// ones.
TEST(Board, CountSquaresAgreesWithPopcount) {
    constexpr std::uint32_t edges[] = {0u,          1u,          0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0xFFFFFFFEu,
                                       0x55555555u, 0xAAAAAAAAu, 0x0F0F0F0Fu, 0xF0F0F0F0u, 0x00FF00FFu, 0xFF00FF00u,
                                       0x0000FFFFu, 0xFFFF0000u, 0x80000001u, 0x01010101u};
    for (const std::uint32_t m : edges) EXPECT_EQ(rules::countSquares(m), std::popcount(m)) << std::hex << m;
    for (int q = 1; q <= 32; ++q) EXPECT_EQ(rules::countSquares(rules::squareBit(q)), 1) << q;
    std::mt19937 random(20261207);
    for (int i = 0; i < 10000; ++i) {
        // Sparse, dense and even sets alike.
        std::uint32_t m = static_cast<std::uint32_t>(random());
        if (i % 3 == 1) m &= static_cast<std::uint32_t>(random());
        if (i % 3 == 2) m |= static_cast<std::uint32_t>(random());
        ASSERT_EQ(rules::countSquares(m), std::popcount(m)) << std::hex << m;
    }
}

struct FenCase {
    const char* text;
    const char* fen;    // as written back, or nullptr when refused
    const char* error;  // a word the refusal must contain
};

TEST(Fen, ReadsWhatPeopleWriteAndRefusesTheRest) {
    const FenCase cases[] = {
        {"W:W21-32:B1-12", "W:W21,22,23,24,25,26,27,28,29,30,31,32:B1,2,3,4,5,6,7,8,9,10,11,12", nullptr},
        {"B:WK4,22:B1,2", "B:WK4,22:B1,2", nullptr},
        {"W:Wa1,Kh8:Bb2,d4", "W:WK4,29:B18,25", nullptr},
        {"w:bk1:w32", "W:W32:BK1", nullptr},  // lists in either order, any case
        {"B:W:B1", "B:W:B1", nullptr},
        {" W:W21:B1. ", "W:W21:B1", nullptr},
        {"", nullptr, "empty"},
        {"X:W21:B1", nullptr, "side to move"},
        {"W:W21", nullptr, "both piece lists"},
        {"W:W21:W22", nullptr, "twice"},
        {"W:Wa8:B1", nullptr, "light square"},
        {"W:W0:B1", nullptr, "off the board"},
        {"W:W33:B1", nullptr, "off the board"},
        {"W:Wj2:B1", nullptr, "off the board"},
        {"W:W21,21:B1", nullptr, "given twice"},
        {"W:W21:B21", nullptr, "given twice"},
        {"W:W21-25:B24", nullptr, "given twice"},
        {"W:W25-21:B1", nullptr, "backwards"},
        {"W:W21,,22:B1", nullptr, "empty entry"},
        {"W:W1,:B3", nullptr, "empty entry"},
        {"W:W,1:B3", nullptr, "empty entry"},
        {"W:W21:B1:H0:F1", "W:W21:B1", nullptr},  // counters other programs add
        {"W:W21:B1:H", nullptr, "W or B"},
        {"W:W9999999999:B1", nullptr, "not a square"},
        {"W:W2147483647-2147483647:B1", nullptr, "two square numbers"},
        {"W:Wxyz:B1", nullptr, "not a square"},
        {"W;W21:B1", nullptr, "':'"},
    };
    for (const FenCase& c : cases) {
        const rules::FenResult r = rules::parseFen(c.text);
        if (c.fen) {
            // Written by name, read back the same.
            ASSERT_TRUE(r.position) << c.text << ": " << r.error;
            const std::string names = rules::toFen(r.position->board, r.position->side, rules::FenSquares::Names);
            const rules::FenResult back = rules::parseFen(names);
            ASSERT_TRUE(back.position) << names;
            EXPECT_EQ(back.position->board, r.position->board) << names;
        }
        if (c.fen) {
            ASSERT_TRUE(r.position) << c.text << ": " << r.error;
            EXPECT_EQ(rules::toFen(r.position->board, r.position->side), c.fen) << c.text;
            EXPECT_EQ(r.position->board[0], rules::Sentinel);
        } else {
            EXPECT_FALSE(r.position) << c.text;
            EXPECT_NE(r.error.find(c.error), std::string::npos) << c.text << " gave: " << r.error;
        }
    }
}

// Other programs' numberings: square 1 in each corner, seen from White.
TEST(Fen, NumbersAndNamesFromEveryCorner) {
    const struct {
        rules::Corner corner;
        rules::Square one, five, thirtyTwo;  // where their squares 1, 5 and 32 are in ours
    } cases[] = {
        {rules::Corner::TopLeft, 1, 5, 32},
        {rules::Corner::TopRight, 4, 8, 29},
        {rules::Corner::BottomLeft, 29, 25, 4},
        {rules::Corner::BottomRight, 32, 28, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rules::squareOfNumber(1, c.corner), c.one);
        EXPECT_EQ(rules::squareOfNumber(5, c.corner), c.five);
        EXPECT_EQ(rules::squareOfNumber(32, c.corner), c.thirtyTwo);
        EXPECT_EQ(rules::squareOfNumber(0, c.corner), 0);
        EXPECT_EQ(rules::squareOfNumber(33, c.corner), 0);
    }
    EXPECT_EQ(rules::squareOfName('a', '1', rules::Corner::BottomLeft), 29);
    EXPECT_EQ(rules::squareOfName('a', '1', rules::Corner::TopRight), 4);  // the board turned round: h8
    EXPECT_EQ(rules::squareOfName('a', '1', rules::Corner::TopLeft), 0);   // a8, a light square of ours
    const rules::FenResult r = rules::parseFen("W:W1-4:B29-32", {rules::Corner::BottomLeft, rules::Corner::BottomLeft});
    ASSERT_TRUE(r.position);
    EXPECT_EQ(rules::toFen(r.position->board, r.position->side, rules::FenSquares::Names),
              "W:Wa1,c1,e1,g1:Bb8,d8,f8,h8");
}

}  // namespace
