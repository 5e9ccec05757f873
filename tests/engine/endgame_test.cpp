// The endgame tables: every stored result agrees with the results of the
// moves from it, facts every player knows hold, and the probe converts
// bytes to scores as the search expects.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
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
        // The manifest the generator wrote vouches for every table it wrote.
        EXPECT_EQ(engine::endgameLoadReport(loaded), "");
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
        {"W:WK1,K29:B3,7", rules::White, 30000}, {"W:WK1,K2:B3,7", rules::White, 0},  // the king on d8 touches e7
        {"W:WK1:B3,7,8,12", rules::White, 0},  // four men: no pattern applies
        {"W:WK1:B10", rules::White, 0},  // d6 is not in the far corner
        {"B:W30,26:BK32", rules::Black, 30000},  // Black's mirror of the first pattern
        {"B:W30,26:BK32,K5", rules::Black, 0},  // both corner squares taken: no entry
        {"W:W25:BK2", rules::White, 0},  // no White king at all
    };
    for (const auto& c : cases) {
        const rules::Position p = *rules::parseFen(c.fen).position;
        EXPECT_EQ(engine::kingsVersusMen(p.board, c.side), c.expected) << c.fen;
    }
}

// ------------------------------------------------------- damaged tables

// A program folder whose tables are links to the build's, except those a
// case replaces with a file of its own.
class DamagedTables : public testing::Test {
public:  // the cases below arrange the folder through it
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("tavolex_egdb_" + std::to_string(::getpid()) + "_" +
                                                        testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void linkAll() {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        const std::filesystem::path build = TAVOLEX_PROGRAM_DIR;
        for (const auto& e : engine::EndgameTableList) std::filesystem::create_symlink(build / e.file, dir / e.file);
        std::filesystem::create_symlink(build / engine::EndgameManifestFile, dir / engine::EndgameManifestFile);
    }
    std::vector<std::uint8_t> bytesOf(const char* name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Replaces the link by a real file.
    void put(const char* name, const std::vector<std::uint8_t>& bytes) const {
        std::filesystem::remove(dir / name);
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::filesystem::path dir;
};

int tableIndex(const char* name) {
    for (int i = 0; i < engine::EndgameTableCount; ++i)
        if (std::string(engine::EndgameTableList[i].file) == name) return i;
    return -1;
}

// Each damage the tables can suffer: the damaged tables are named once and
// not used, every other table still answers.
TEST_F(DamagedTables, AreReportedByNameAndNotUsed) {
    struct Case {
        const char* name;
        std::function<void(DamagedTables&)> damage;
        std::vector<const char*> unusable;
        const char* report;
    };
    const Case cases[] = {
        {"one byte changed",
         [](DamagedTables& d) {
             auto b = d.bytesOf("pdod.bib");
             b[12345] = static_cast<std::uint8_t>(b[12345] + 1);
             d.put("pdod.bib", b);
         },
         {"pdod.bib"},
         "Fichier endommagé : pdod.bib"},
        {"zeroed",
         [](DamagedTables& d) {
             d.put("pddod.bib", std::vector<std::uint8_t>(523683, 0));
             d.put("dopdd.bib", std::vector<std::uint8_t>(523683, 0));
         },
         {"pddod.bib", "dopdd.bib"},
         "Fichier endommagé : pddod.bib, dopdd.bib"},
        {"two swapped",
         [](DamagedTables& d) {
             const auto a = d.bytesOf("pdod.bib"), b = d.bytesOf("dopd.bib");
             d.put("pdod.bib", b);
             d.put("dopd.bib", a);
         },
         {"pdod.bib", "dopd.bib"},
         "Fichier endommagé : pdod.bib, dopd.bib"},
        {"truncated",
         [](DamagedTables& d) {
             auto b = d.bytesOf("ppod.bib");
             b.resize(b.size() / 2);
             d.put("ppod.bib", b);
         },
         {"ppod.bib"},
         "Fichier endommagé : ppod.bib"},
        {"longer",
         [](DamagedTables& d) {
             auto b = d.bytesOf("dod.bib");
             b.push_back(0);
             d.put("dod.bib", b);
         },
         {"dod.bib"},
         "Fichier endommagé : dod.bib"},
        {"missing",
         [](DamagedTables& d) { std::filesystem::remove(d.dir / "dop.bib"); },
         {"dop.bib"},
         "Fichier absent : dop.bib"},
        {"a folder",
         [](DamagedTables& d) {
             std::filesystem::remove(d.dir / "pop.bib");
             std::filesystem::create_directory(d.dir / "pop.bib");
         },
         {"pop.bib"},
         "Fichier illisible : pop.bib"},
        {"its manifest line damaged",
         [](DamagedTables& d) {
             auto b = d.bytesOf("endgame.sum");
             const std::string text(b.begin(), b.end());
             const std::size_t at = text.find(" ddop.bib");
             b[at - 1] = b[at - 1] == '1' ? '2' : '1';  // the size, one digit off
             d.put("endgame.sum", b);
         },
         {"ddop.bib"},
         "Fichier endommagé : ddop.bib"},
    };
    for (const Case& c : cases) {
        linkAll();
        c.damage(*this);
        engine::EndgameTables t;
        const std::vector<std::string> missing = engine::loadEndgameDatabases(t, dir);
        EXPECT_EQ(engine::endgameLoadReport(t), c.report) << c.name;
        for (int i = 0; i < engine::EndgameTableCount; ++i) {
            const char* file = engine::EndgameTableList[i].file;
            const bool unusable = std::any_of(c.unusable.begin(), c.unusable.end(),
                                              [&](const char* u) { return std::string(u) == file; });
            EXPECT_EQ(t.load[i] == engine::TableLoad::Loaded, !unusable) << c.name << " " << file;
            EXPECT_EQ(t.tables[i].empty(), unusable) << c.name << " " << file;
        }
        EXPECT_EQ(missing.size(), std::string(c.name) == "missing" ? 1u : 0u) << c.name;
    }
}

TEST_F(DamagedTables, TheProbeHasNoAnswerFromADamagedTable) {
    linkAll();
    auto b = bytesOf("pdod.bib");
    b[100] ^= 1;
    put("pdod.bib", b);
    engine::EndgameTables t;
    engine::loadEndgameDatabases(t, dir);
    // The position of the report: a man and a king against a king.
    const rules::Position p = *rules::parseFen("W:W22,K4:BK29").position;
    EXPECT_EQ(engine::EndgameTableList[engine::tableSlot(p.board, rules::White).table].file, std::string("pdod.bib"));
    EXPECT_FALSE(engine::probeByte(t, p.board, rules::White));
    EXPECT_FALSE(engine::probeEndgame(t, p.board, rules::White, 1));
    engine::TableDatabases databases(t);
    EXPECT_FALSE(databases.probe(p.board, rules::White, 1));
    // The other tables keep answering: king against king.
    EXPECT_TRUE(engine::probeByte(t, rules::parseFen("W:WK4:BK29").position->board, rules::White));
    EXPECT_EQ(tableIndex("pdod.bib"), engine::tableSlot(p.board, rules::White).table);
}

TEST_F(DamagedTables, WithoutTheManifestTheTablesAreUsedUnchecked) {
    // A program folder copied without its manifest still plays its endings.
    linkAll();
    std::filesystem::remove(dir / engine::EndgameManifestFile);
    engine::EndgameTables t;
    EXPECT_TRUE(engine::loadEndgameDatabases(t, dir).empty());
    EXPECT_TRUE(engine::anyTableLoaded(t));
    EXPECT_EQ(engine::endgameLoadReport(t), "");
    EXPECT_TRUE(engine::probeByte(t, rules::parseFen("W:WK4:BK29").position->board, rules::White));
}

}  // namespace
