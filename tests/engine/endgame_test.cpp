// The endgame tables: every stored result agrees with the results of the
// moves from it, facts every player knows hold, and the probe converts
// bytes to scores as the search expects.

#include <gtest/gtest.h>

#include <random>

#include "engine/endgame.h"
#include "rules/fen.h"
#include "rules/movegen.h"

namespace {

const engine::EndgameTables& tables() {
    static const engine::EndgameTables t = [] {
        engine::EndgameTables loaded;
        const auto missing = engine::loadEndgameDatabases(loaded, TAVOLEX_PROGRAM_DIR);
        EXPECT_TRUE(missing.empty()) << missing.size() << " tables missing, first " << missing.front();
        return loaded;
    }();
    return t;
}

// Checks one position against its moves; returns a description of what is
// wrong, or an empty string.
std::string checkConsistency(const rules::Board& board, rules::Side side) {
    const engine::EndgameTables& t = tables();
    const std::optional<std::int8_t> v = engine::probeByte(t, board, side);
    if (!v) return "no table";
    rules::RulesState r;
    r.board = board;
    const int n = rules::generateRootMoves(r, side);
    bool quickerLoss = false, exactLoss = false, anyDraw = false, anyLoss = false;
    int maxWin = -1;
    bool allWins = true;
    for (int k = 0; k < n; ++k) {
        rules::Board child = board;
        rules::applyMove(child, r.rootList()[k]);
        const rules::PieceTotals pt = rules::countPieces(child);
        int childValue;  // as the byte of the opponent to move
        if ((side == rules::White ? pt.black() : pt.white()) == 0) {
            childValue = -1;  // lost at once
        } else {
            const auto c = engine::probeByte(t, child, rules::opposite(side));
            if (!c) return "a move leads to no table";
            childValue = *c;
        }
        if (childValue < 0) {
            anyLoss = true;
            allWins = false;
            const int d = engine::lossDistance(static_cast<std::int8_t>(childValue));
            if (*v > 0 && d + 1 < *v) quickerLoss = true;
            if (*v > 0 && d + 1 == *v) exactLoss = true;
        } else if (childValue == 0) {
            anyDraw = true;
            allWins = false;
        } else {
            maxWin = std::max(maxWin, childValue);
        }
    }
    if (*v > 0) {
        if (!exactLoss) return "a win with no move one ply nearer the end";
        if (quickerLoss) return "a win slower than it could be";
    } else if (*v < 0) {
        const int d = engine::lossDistance(*v);
        if (d == 0) return n == 0 ? "" : "lost at once yet it can move";
        if (!allWins || maxWin + 1 != d) return "a loss that is not forced to this length";
    } else {
        if (anyLoss) return "a draw with a winning move";
        if (n > 0 && !anyDraw) return "a draw with no drawing move";
        if (n == 0) return "no move stored as a draw";
    }
    return "";
}

TEST(EndgameTables, EveryStoredResultFollowsFromItsMoves) {
    std::mt19937 rng(11);
    int checked = 0;
    for (int t = 0; t < engine::EndgameTableCount; ++t) {
        const engine::EndgameTableInfo& e = engine::EndgameTableList[t];
        const int pieces = e.moverMen + e.moverKings + e.otherMen + e.otherKings;
        const int samples = pieces <= 3 ? 12000 : 6000;
        for (int i = 0; i < samples; ++i) {
            // A random placement of the table's material, either side to move.
            const rules::Side side = rules::sideFromByte(static_cast<unsigned>(rng() % 2));
            rules::Board b{};
            b[0] = rules::Sentinel;
            auto put = [&](rules::PieceCode c, int count) {
                for (int k = 0; k < count;) {
                    const int s = 1 + static_cast<int>(rng() % 32);
                    if (b[s] != rules::Empty) continue;
                    if ((c == rules::WhiteMan && s <= 4) || (c == rules::BlackMan && s >= 29)) continue;
                    b[s] = c;
                    ++k;
                }
            };
            const bool white = side == rules::White;
            put(white ? rules::WhiteMan : rules::BlackMan, e.moverMen);
            put(white ? rules::WhiteKing : rules::BlackKing, e.moverKings);
            put(white ? rules::BlackMan : rules::WhiteMan, e.otherMen);
            put(white ? rules::BlackKing : rules::WhiteKing, e.otherKings);
            const std::string problem = checkConsistency(b, side);
            ASSERT_EQ(problem, "") << e.file << " " << rules::toFen(b, side);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100000);
}

TEST(EndgameTables, WhatEveryPlayerKnows) {
    const struct {
        const char* fact;
        const char* fen;
        int sign;  // +1 the side to move wins, 0 draw, -1 loses
    } facts[] = {
        {"king against king is a draw", "W:WK29:BK3", 0},
        {"two kings cannot catch a king on the long diagonal", "W:WK1,K32:BK4", 0},
        {"three kings beat a king off the long diagonal", "W:WK29,K30,K31:BK13", 1},
        {"a lone king holding the long diagonal draws against three", "B:WK1,K2,K3:BK22", 0},
        {"a king takes a lone man walking into it", "W:WK32:B23", 1},
        {"a man far from crowning is lost against a king", "B:WK1:B5", -1},
        {"a king on the long diagonal caught from the other corner", "W:WK4:BK29", -1},
    };
    for (const auto& f : facts) {
        const rules::Position p = *rules::parseFen(f.fen).position;
        const auto v = engine::probeByte(tables(), p.board, p.side);
        ASSERT_TRUE(v) << f.fact;
        EXPECT_EQ((*v > 0) - (*v < 0), f.sign) << f.fact << ": byte " << int{*v};
    }
}

TEST(EndgameProbe, OffsetsTurningAndScores) {
    engine::EndgameTables t;
    for (int i = 0; i < engine::EndgameTableCount; ++i) t.tables[i].assign(engine::EndgameTableList[i].size, 0);
    // King against king, White to move: offset 18 x 32 + 11.
    const rules::Position kk = *rules::parseFen("W:WK18:BK11").position;
    EXPECT_EQ(engine::tableSlot(kk.board, rules::White).offset, 18u * 32 + 11);
    t.tables[0][18 * 32 + 11] = 3;
    EXPECT_EQ(engine::probeEndgame(t, kk.board, rules::White, 1), 32000 - 3 - 1);
    // At ply 2 the other side moves: the value is turned to the root's view.
    t.tables[0][11 * 32 + 18] = 3;
    EXPECT_EQ(engine::probeEndgame(t, kk.board, rules::White, 2), -(32000 - 3 - 2));
    t.tables[0][18 * 32 + 11] = -3;
    EXPECT_EQ(engine::probeEndgame(t, kk.board, rules::White, 3), -32000 + 3 + 3);
    // Byte 3 at ply 4 is 31993 for the side to move there (White), so -31993
    // for Black at the root.
    t.tables[0][18 * 32 + 11] = 3;
    EXPECT_EQ(engine::probeEndgame(t, kk.board, rules::Black, 4), -31993);
    t.tables[0][18 * 32 + 11] = 0;
    EXPECT_EQ(engine::probeEndgame(t, kk.board, rules::White, 5), 0);

    // Man against man, Black to move: read turned, Black's man as the mover.
    const rules::Position mm = *rules::parseFen("B:W22:B10").position;
    const engine::TableSlot s = engine::tableSlot(mm.board, rules::Black);
    EXPECT_EQ(engine::EndgameTableList[s.table].file, std::string("pop.bib"));
    EXPECT_EQ(s.offset, static_cast<std::size_t>((33 - 10) * 32 + (33 - 22)));
    // Two against two, or more than four pieces: no table.
    EXPECT_FALSE(engine::probeEndgame(t, rules::parseFen("W:W21,22:B1,2").position->board, rules::White, 2));
    EXPECT_FALSE(engine::probeEndgame(t, rules::parseFen("W:WK1,K2,K3:B5").position->board, rules::White, 2));
    EXPECT_FALSE(engine::probeEndgame(t, rules::startingPosition(), rules::White, 2));
}

TEST(KingsVersusMen, EntryTestsAndPatterns) {
    const struct {
        const char* fen;
        rules::Side side;
        int expected;
    } cases[] = {
        {"W:WK1:B3,7", rules::White, 30000},        // b8 held, h2 empty, men in the far corner untouched
        {"W:WK28:B3,7", rules::White, 30000},       // the same from h2
        {"W:WK1,29:B3,7", rules::White, 30000},     // a White man far enough back
        {"W:WK1,15:B3,7", rules::White, 0},         // a White man too far up
        {"W:WK1,K29:B3,7", rules::White, 30000},
        {"W:WK1,K2:B3,7", rules::White, 0},         // the king on d8 touches e7
        {"W:WK1:B3,7,8,12", rules::White, 0},       // four men: no pattern applies
        {"W:WK1:B10", rules::White, 0},             // d6 is not in the far corner
        {"B:W30,26:BK32", rules::Black, 30000},     // Black's mirror of the first pattern
        {"B:W30,26:BK32,K5", rules::Black, 0},      // both corner squares taken: no entry
        {"W:W25:BK2", rules::White, 0},             // no White king at all
    };
    for (const auto& c : cases) {
        const rules::Position p = *rules::parseFen(c.fen).position;
        EXPECT_EQ(engine::kingsVersusMen(p.board, c.side), c.expected) << c.fen;
    }
}

}  // namespace
