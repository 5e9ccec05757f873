// The search tables: how entries are found, used, kept and replaced, the
// killer tables and their ordering, learned positions, and the data files.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/search.h"
#include "engine/tables.h"
#include "eval/accumulators.h"
#include "files/checksum.h"
#include "game/core.h"
#include "rules/fen.h"
#include "support/fake_host.h"
#include "support/game_builder.h"

namespace {

using engine::SearchTables;
using engine::TableEntry;

std::unique_ptr<SearchTables> freshTables() {
    auto t = std::make_unique<SearchTables>();
    EXPECT_TRUE(engine::allocateSearchTables(*t));
    return t;
}

rules::Move quiet(rules::Square from, rules::Square to) {
    rules::Move m;
    m.from = from;
    m.to = to;
    return m;
}

// ----------------------------------------------------------- table hits

struct HitCase {
    const char* name;
    int type;
    bool maxNode;
    int rootSide;  // 0 White, 1 Black
    int value;
    int alpha, beta;
    std::optional<int> answer;
    int alphaAfter, betaAfter;
};

// Entries are stored from the root side's view; a search whose root side is
// the other colour meets the same position with the same side to move at
// the other kind of node, and reads the value negated with the bound flipped.
const HitCase kHitCases[] = {
    {"MaxExactSameRoot", 1, true, 0, 40, -100, 100, 40, -100, 100},
    {"MaxExactOtherRootIsMinExactForBlack", 52, true, 0, 40, -100, 100, -40, -100, 100},
    {"MinExactStoredUnderWhiteReadByBlackMax", 51, true, 1, 40, -100, 100, -40, -100, 100},
    {"MaxDecisiveSameRoot", 100, true, 0, 31000, -100, 100, 31000, -100, 100},
    {"MinDecisiveOtherRoot", 151, true, 0, -31000, -100, 100, 31000, -100, 100},
    {"MaxLowerCuts", 3, true, 0, 150, -100, 100, 150, -100, 100},
    {"MaxLowerRaisesAlpha", 3, true, 0, 20, -100, 100, std::nullopt, 20, 100},
    {"MaxLowerNeverLowersAlpha", 3, true, 0, -150, -100, 100, std::nullopt, -100, 100},
    {"MaxUpperCuts", 5, true, 0, -150, -100, 100, -150, -100, 100},
    {"MaxUpperLowersBeta", 5, true, 0, 30, -100, 100, std::nullopt, -100, 30},
    {"MinLowerOtherRootLowersBetaAtMax", 55, true, 1, 30, -100, 100, std::nullopt, -100, -30},
    {"MinUpperOtherRootRaisesAlphaAtMax", 53, true, 1, -30, -100, 100, std::nullopt, 30, 100},
    {"MinUpperOtherRootCutsAtMax", 53, true, 1, -130, -100, 100, 130, -100, 100},
    {"MinExactSameRoot", 51, false, 0, 40, -100, 100, 40, -100, 100},
    {"MaxExactOtherRootAtMin", 2, false, 0, 40, -100, 100, -40, -100, 100},
    {"MaxDecisiveOtherRootAtMin", 101, false, 0, 31000, -100, 100, -31000, -100, 100},
    {"MinUpperCuts", 53, false, 0, -120, -100, 100, -120, -100, 100},
    {"MinUpperLowersBeta", 53, false, 0, 60, -100, 100, std::nullopt, -100, 60},
    {"MinLowerRaisesAlpha", 55, false, 0, -60, -100, 100, std::nullopt, -60, 100},
    {"MaxLowerOtherRootLowersBetaAtMin", 4, false, 0, -60, -100, 100, std::nullopt, -100, 60},
    {"MaxUpperOtherRootRaisesAlphaAtMin", 6, false, 0, 60, -100, 100, std::nullopt, -60, 100},
    {"MaxCodeNotReadAtMinSameRoot", 1, false, 0, 40, -100, 100, std::nullopt, -100, 100},
    {"MinCodeNotReadAtMaxSameRoot", 51, true, 0, 40, -100, 100, std::nullopt, -100, 100},
};

class TableHit : public testing::TestWithParam<HitCase> {};

TEST_P(TableHit, AnswersOrNarrowsTheWindow) {
    const HitCase& c = GetParam();
    auto t = freshTables();
    TableEntry e;
    e.type = static_cast<std::uint8_t>(c.type);
    e.value = static_cast<std::int16_t>(c.value);
    e.from = 22;
    e.to = 18;
    int alpha = c.alpha, beta = c.beta;
    EXPECT_EQ(engine::useTableHit(*t, e, c.maxNode, rules::sideFromByte(static_cast<unsigned>(c.rootSide)), alpha, beta), c.answer);
    EXPECT_EQ(alpha, c.alphaAfter);
    EXPECT_EQ(beta, c.betaAfter);
    // A bound that does not answer the node hands its move to the generator;
    // an entry of the other kind of node is no hit at all.
    const bool readable = std::string_view(c.name).find("NotRead") == std::string_view::npos;
    EXPECT_EQ(t->hashMove.holdsMove(), !c.answer && readable);
}

INSTANTIATE_TEST_SUITE_P(TypeCodes, TableHit, testing::ValuesIn(kHitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ----------------------------------------------------------- probe and store

TEST(TableProbe, FindsEntriesByPlyParityDepthAndDecisiveness) {
    auto t = freshTables();
    t->keyIndex = 12345;
    t->keyLock = 777;
    // Stored at ply 5 in iteration 8, 10 plies into the game.
    engine::storeTable(*t, 31500, 15, 18, engine::MaxDecisive, 22, 18, 10);
    EXPECT_NE(engine::probeTable(*t, 17, 18), nullptr) << "decisive: found at ply 7, same side to move";
    EXPECT_EQ(engine::probeTable(*t, 16, 18), nullptr) << "other side to move";
    EXPECT_EQ(engine::probeTable(*t, 17, 19), nullptr) << "deeper iteration";
    t->keyLock = 778;
    EXPECT_EQ(engine::probeTable(*t, 15, 18), nullptr) << "other lock";

    auto b = freshTables();
    b->keyIndex = 999;
    b->keyLock = 5;
    engine::storeTable(*b, 40, 15, 18, engine::MaxLower, 0, 0, 10);
    EXPECT_NE(engine::probeTable(*b, 15, 18), nullptr) << "a bound at its own ply";
    EXPECT_NE(engine::probeTable(*b, 15, 17), nullptr) << "and for a shallower iteration";
    EXPECT_EQ(engine::probeTable(*b, 17, 18), nullptr) << "a bound is not reused two plies deeper";
}

TEST(TableProbe, StampsAreUnsignedBytes) {
    auto t = freshTables();
    t->keyIndex = 4;
    t->keyLock = 9;
    engine::storeTable(*t, 10, 200, 200, engine::MaxExact, 0, 0, 20);
    EXPECT_NE(engine::probeTable(*t, 200, 200), nullptr);
    EXPECT_EQ(engine::probeTable(*t, 200, 201), nullptr);
    // Past 254 the stamp cannot hold the depth: nothing is written.
    t->keyIndex = 5;
    engine::storeTable(*t, 10, 200, 255, engine::MaxExact, 0, 0, 20);
    EXPECT_EQ(engine::probeTable(*t, 200, 200), nullptr);
}

TEST(TableStore, NeverWritesWithThreePiecesOrFewer) {
    auto t = freshTables();
    t->keyIndex = 4;
    t->keyLock = 9;
    engine::storeTable(*t, 10, 10, 10, engine::MaxExact, 0, 0, 3);
    EXPECT_EQ(engine::probeTable(*t, 10, 10), nullptr);
}

struct StoreCase {
    const char* name;
    int oldType, oldPly, oldDepth;
    int newType, newPly, newDepth;
    bool written;
};

const StoreCase kStoreCases[] = {
    {"DecisiveReplacesExact", 1, 10, 20, 100, 10, 10, true},
    {"ExactKeepsDecisive", 100, 10, 20, 1, 10, 12, false},
    {"SameTypeNearerTheRoot", 1, 10, 20, 1, 8, 20, true},
    {"DeeperIterationReplaces", 1, 10, 20, 3, 12, 21, true},
    {"ShallowerKeepsExact", 1, 10, 20, 3, 12, 19, false},
    {"BoundGivesWayAtEqualDepth", 3, 10, 20, 5, 12, 20, true},
    {"ExactReplacesBoundOneShallower", 3, 10, 20, 1, 12, 19, true},
    {"BoundKeptAgainstShallowerBound", 3, 10, 20, 5, 12, 19, false},
    {"DecisiveKeptWithinSixteen", 100, 10, 40, 100, 12, 30, false},
    {"OldDecisiveGivesWay", 100, 10, 40, 1, 12, 20, true},
};

class TableStoreRules : public testing::TestWithParam<StoreCase> {};

TEST_P(TableStoreRules, WritesOrKeeps) {
    const StoreCase& c = GetParam();
    auto t = freshTables();
    t->keyIndex = 77;
    t->keyLock = 1;
    engine::storeTable(*t, 11, c.oldPly, c.oldDepth, c.oldType, 0, 0, 10);
    t->keyLock = 2;
    engine::storeTable(*t, 22, c.newPly, c.newDepth, c.newType, 0, 0, 10);
    const TableEntry& e = t->table[77 % t->entries];
    EXPECT_EQ(e.value == 22, c.written);
    EXPECT_EQ(e.lock == 2, c.written);
}

INSTANTIATE_TEST_SUITE_P(Replacement, TableStoreRules, testing::ValuesIn(kStoreCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TableSize, MenuItemsSetEntriesAndPlyLimit) {
    auto t = freshTables();
    EXPECT_EQ(t->entries, 131000u);
    EXPECT_EQ(t->plyLimitOffset, 2);
    const engine::KeyTable keys = t->indexKeys;
    ASSERT_TRUE(engine::setTableSize(*t, 0));
    EXPECT_EQ(t->entries, 1310u);
    EXPECT_EQ(t->plyLimitOffset, -4);
    EXPECT_EQ(engine::bytesReservedFor(1), 15728);
    // The keys stay, so positions keep their learned slots.
    EXPECT_EQ(t->indexKeys, keys);
    ASSERT_TRUE(engine::setTableSize(*t, 7));
    EXPECT_EQ(t->entries, 2620000u);
    EXPECT_EQ(engine::bytesReservedFor(2000), 31457280);
    EXPECT_FALSE(engine::setTableSize(*t, 8));
    EXPECT_EQ(t->entries, 2620000u);
}

// ----------------------------------------------------------- keys

TEST(Keys, KeysAndEvaluationSumsKeptThroughTheSearchMoves) {
    // Random games: after every move made the search's way, the keys equal
    // those computed from the board.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        auto core = std::make_unique<game::Core>();
        testsupport::playRandomMoves(*core, 20, seed);
        core->rules.board = core->rules.gamePosition;
        engine::computeKeys(core->engine.tables, core->rules.board);
        for (auto& table : core->eval.params.manTables)
            for (int q = 1; q <= 32; ++q) table[static_cast<std::size_t>(q)] = static_cast<std::uint8_t>(q * 7 % 23);
        rules::Side side = core->game.sideToMove;
        eval::prepareSearchRoot(core->eval, core->rules.board, side);
        bool promoted = core->eval.acc.pieceCount[rules::WhiteKing] + core->eval.acc.pieceCount[rules::BlackKing] > 0;
        for (int ply = 1; ply < 30; ++ply) {
            core->rules.currentPly = ply;
            const int n = rules::generateMoves(core->rules, side);
            if (n == 0) break;
            engine::makeSearchMove(*core, static_cast<int>(seed * 7 + ply) % n);
            side = rules::opposite(side);
            SearchTables check;
            engine::computeKeys(check, core->rules.board);
            ASSERT_EQ(core->engine.tables.keyIndex, check.keyIndex) << "seed " << seed << " ply " << ply;
            ASSERT_EQ(core->engine.tables.keyLock, check.keyLock);
            ASSERT_EQ(core->eval.acc.pieceCount, eval::recountPieces(core->rules.board));
            // The evaluation's sums, rebuilt from the board with the root's
            // tables, agree with the ones kept move by move (promotions keep
            // the man's tempo, regions and centre, so compare those only
            // while no man has been promoted).
            eval::EvalState rebuilt = core->eval;
            eval::buildAccumulators(rebuilt, core->rules.board, core->eval.viewSide);
            if (rebuilt.kingTable == core->eval.kingTable) {
                ASSERT_EQ(rebuilt.acc.positional, core->eval.acc.positional) << "seed " << seed << " ply " << ply;
            }
            promoted = promoted || rebuilt.acc.pieceCount[rules::WhiteKing] + rebuilt.acc.pieceCount[rules::BlackKing] > 0;
            if (!promoted) {
                ASSERT_EQ(rebuilt.acc.tempo, core->eval.acc.tempo) << "seed " << seed << " ply " << ply;
                ASSERT_EQ(rebuilt.acc.ownRegion, core->eval.acc.ownRegion);
                ASSERT_EQ(rebuilt.acc.oppCentre, core->eval.acc.oppCentre);
            }
        }
    }
}

// ----------------------------------------------------------- killers

TEST(Killers, EvenPlyPrefersLowerScores) {
    auto t = freshTables();
    t->killer1[4] = {22, 18, 20};
    t->killer2[4] = {0, 0, 32000};
    engine::updateKillers(*t, quiet(23, 19), 10, 4);
    EXPECT_EQ(t->killer1[4].from, 23);
    EXPECT_EQ(t->killer1[4].score, 10);
    EXPECT_EQ(t->killer2[4].from, 22);
    EXPECT_EQ(t->killer2[4].score, 20);
    // Worse than both: nothing changes; the same move as killer1: nothing.
    engine::updateKillers(*t, quiet(24, 20), 25, 4);
    EXPECT_EQ(t->killer2[4].from, 22);
    engine::updateKillers(*t, quiet(23, 19), -500, 4);
    EXPECT_EQ(t->killer1[4].score, 10);
    // Between the two: replaces killer2.
    engine::updateKillers(*t, quiet(24, 20), 15, 4);
    EXPECT_EQ(t->killer2[4].from, 24);
}

TEST(Killers, SeededFromTheBestLine) {
    auto t = freshTables();
    std::array<rules::Move, engine::PvSize> line{};
    line[1] = quiet(22, 18);
    line[2].from = 13;   // a capture
    line[2].to = 22;
    line[2].ncapt = 1;
    line[3] = quiet(26, 17);
    t->killer1[6] = {1, 5, 0};
    engine::seedKillersFromLine(*t, line, 100, 27);
    EXPECT_EQ(t->killer1[1].from, 22);
    EXPECT_EQ(t->killer1[1].score, -190);
    EXPECT_FALSE(t->killer1[2].holdsMove());
    EXPECT_EQ(t->killer1[2].score, 32000);
    EXPECT_EQ(t->killer1[3].score, -190);
    EXPECT_FALSE(t->killer1[6].holdsMove()) << "plies after the line are cleared";
    EXPECT_EQ(t->killer2[1].score, -32000);

    // Only as many plies as asked for.
    engine::seedKillersFromLine(*t, line, 100, 1);
    EXPECT_TRUE(t->killer1[1].holdsMove());
    EXPECT_FALSE(t->killer1[3].holdsMove());
}

TEST(Killers, OrderPutsKillersThenGoodMovesFirst) {
    auto core = std::make_unique<game::Core>();
    rules::RulesState& r = core->rules;
    r.currentPly = 3;
    const int n = rules::generateMoves(r, rules::White);   // 24-19 24-20 23-18 23-19 22-17 22-18 21-17
    ASSERT_EQ(n, 7);
    auto t = freshTables();
    t->killer1[3] = {22, 18, 0};
    t->killer2[3] = {23, 19, 0};
    t->goodMove[3] = {21, 17};
    engine::orderByKillers(*t, r.list(3), 3, false);
    const rules::MoveList& l = r.list(3);
    EXPECT_EQ(l[0].from, 22);
    EXPECT_EQ(l[0].to, 18);
    EXPECT_EQ(l[1].from, 23);
    EXPECT_EQ(l[1].to, 19);
    EXPECT_EQ(l[2].from, 21);
    EXPECT_EQ(l[3].from, 24) << "then generation order";
    for (const rules::Move& m : l) EXPECT_EQ(m.key, 0);

    // A killer two plies up, when this ply has none.
    r.currentPly = 5;
    rules::generateMoves(r, rules::White);
    t->killer1[5] = {};
    engine::orderByKillers(*t, r.list(5), 5, false);
    EXPECT_EQ(r.list(5)[0].from, 22);
    EXPECT_EQ(r.list(5)[0].to, 18);

    // The hash move keeps its place at the front.
    r.currentPly = 3;
    rules::generateMoves(r, rules::White);
    r.list(3)[6].key = 255;   // 21-17
    engine::orderByKillers(*t, r.list(3), 3, false);
    EXPECT_EQ(r.list(3)[0].from, 21);
    EXPECT_EQ(r.list(3)[1].from, 22);
}

// ----------------------------------------------------------- learned positions

TEST(Learned, FoundForTheSideTaughtOnly) {
    auto t = freshTables();
    engine::computeKeys(*t, rules::startingPosition());
    EXPECT_FALSE(engine::probeLearned(*t, true));
    engine::storeLearned(*t, true, 150);
    EXPECT_EQ(engine::probeLearned(*t, true), 150);
    EXPECT_FALSE(engine::probeLearned(*t, false));
    EXPECT_EQ(engine::learnedSlot(t->keyIndex, true), (t->keyIndex + 1) % 131071u);
    // Erased again: the search no longer probes.
    engine::storeLearned(*t, true, 0);
    EXPECT_EQ(t->learned->count, 0);
}

TEST(Learned, ALearnedValueAnswersTheSearch) {
    // White to move is a man down; teach the position after 21-17 (Black
    // to move) as lost for Black: the engine must then play 21-17.
    auto core = std::make_unique<game::Core>();
    ASSERT_TRUE(engine::initialiseSearch(*core));
    const auto pos = rules::parseFen("W:W21,30,31:B1,2,3,4").position;
    ASSERT_TRUE(pos);
    rules::Board after = pos->board;
    after[21] = rules::Empty;
    after[17] = rules::WhiteMan;
    engine::computeKeys(core->engine.tables, after);
    engine::storeLearned(core->engine.tables, false, -25000);
    core->rules.board = pos->board;
    core->engine.limits.depth = 4;
    const engine::RootAnswer r = engine::searchRoot(*core, rules::White);
    ASSERT_TRUE(r.hasMove());
    EXPECT_EQ(core->rules.rootList()[r.index].from, 21);
    EXPECT_EQ(core->rules.rootList()[r.index].to, 17);
    EXPECT_EQ(core->engine.lastScore, 25000);
}

// ----------------------------------------------------------- data files

class DataFiles : public testing::Test {
public:   // the cases below arrange the folder through it
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("tavolex_tables_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               std::to_string(::getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::vector<std::uint8_t> write(const char* name, std::size_t bytes, std::uint8_t fill) {
        const std::vector<std::uint8_t> data(bytes, fill);
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        return data;
    }
    // The manifest make_search_data writes, for `bytes` as the key file.
    void listKeys(std::span<const std::uint8_t> bytes) {
        ASSERT_TRUE(files::writeManifest(dir / engine::KeyManifestFile,
                                         {files::manifestEntryOf(engine::KeyFileName, bytes)}));
    }
    std::filesystem::path dir;
};

// Every way the key file can be unfit: one message naming it, and the keys
// made again from the fixed sequence, which is what the tool writes.
TEST_F(DataFiles, UnfitKeyFilesAreReportedAndReplacedByTheFixedKeys) {
    std::vector<std::uint8_t> fixedKeys;
    for (int i = 0; i < 2 * engine::KeyCount; ++i)
        for (int shift = 0; shift < 32; shift += 8)
            fixedKeys.push_back(static_cast<std::uint8_t>(engine::fixedKeyWord(i) >> shift));
    struct Case {
        const char* name;
        std::function<void(DataFiles&)> arrange;
        const char* message;
    };
    const Case cases[] = {
        {"missing", [](DataFiles&) {}, "Fichier absent : hashkey33.dat"},
        {"a folder", [](DataFiles& f) { std::filesystem::create_directory(f.dir / "hashkey33.dat"); },
         "Fichier illisible : hashkey33.dat"},
        {"short", [&](DataFiles& f) { f.listKeys(fixedKeys); f.write("hashkey33.dat", 100, 0xAB); },
         "Fichier endommagé : hashkey33.dat"},
        {"long", [&](DataFiles& f) { f.listKeys(fixedKeys); f.write("hashkey33.dat", engine::KeyFileSize + 1, 0xAB); },
         "Fichier endommagé : hashkey33.dat"},
        {"all zero", [&](DataFiles& f) { f.listKeys(fixedKeys); f.write("hashkey33.dat", engine::KeyFileSize, 0); },
         "Fichier endommagé : hashkey33.dat"},
        {"not in its manifest",
         [](DataFiles& f) {
             const auto bytes = f.write("hashkey33.dat", engine::KeyFileSize, 0x01);
             ASSERT_TRUE(files::writeManifest(f.dir / engine::KeyManifestFile, {files::manifestEntryOf("other", bytes)}));
         },
         "Fichier endommagé : hashkey33.dat"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        c.arrange(*this);
        write("kesto.dat", engine::LearnedFileSize, 0);
        testsupport::FakeHost host;
        SearchTables t;
        t.indexKeys.fill(0x5555);
        engine::loadSearchData(t, dir, &host);
        ASSERT_EQ(host.errors.size(), 1u) << c.name;
        EXPECT_EQ(host.errors[0], c.message) << c.name;
        for (int i = 0; i < engine::KeyCount; ++i) {
            ASSERT_EQ(t.indexKeys[i], engine::fixedKeyWord(i)) << c.name;
            ASSERT_EQ(t.lockKeys[i], engine::fixedKeyWord(engine::KeyCount + i)) << c.name;
        }
    }
}

TEST_F(DataFiles, KeysWithoutTheirManifestAreReadUnchecked) {
    // A program folder copied without the manifest: the keys of the right
    // size are used, and nothing is said.
    write("hashkey33.dat", engine::KeyFileSize, 0x01);
    write("kesto.dat", engine::LearnedFileSize, 0);
    testsupport::FakeHost host;
    SearchTables t;
    engine::loadSearchData(t, dir, &host);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(t.indexKeys[0], 0x01010101u);
}

TEST_F(DataFiles, KeysListedInTheirManifestAreRead) {
    listKeys(write("hashkey33.dat", engine::KeyFileSize, 0x01));
    write("KESTO.DAT", engine::LearnedFileSize, 0);
    testsupport::FakeHost host;
    SearchTables t;
    engine::loadSearchData(t, dir, &host);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(t.indexKeys[7], 0x01010101u);
    EXPECT_EQ(t.lockKeys[164], 0x01010101u);
}

// The learned positions are the user's own data and carry no checksum: a
// file that cannot be read whole gives an empty table, said once.
TEST_F(DataFiles, UnfitLearnedFilesGiveAnEmptyTable) {
    struct Case {
        const char* name;
        std::function<void(DataFiles&)> arrange;
        const char* message;
    };
    const Case cases[] = {
        {"missing", [](DataFiles&) {}, "Fichier absent : kesto.dat"},
        {"a folder", [](DataFiles& f) { std::filesystem::create_directory(f.dir / "kesto.dat"); },
         "Fichier illisible : kesto.dat"},
        {"short", [](DataFiles& f) { f.write("kesto.dat", 1000, 0x11); }, "Fichier incomplet : kesto.dat"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        c.arrange(*this);
        testsupport::FakeHost host;
        SearchTables t;
        engine::loadSearchData(t, dir, &host);
        ASSERT_EQ(host.errors.size(), 2u) << c.name;   // the keys are missing too
        EXPECT_EQ(host.errors[1], c.message) << c.name;
        EXPECT_EQ(t.learned->count, 0) << c.name;
        engine::computeKeys(t, rules::startingPosition());
        EXPECT_FALSE(engine::probeLearned(t, true)) << c.name;
    }
}

// Folders in place of the search's data files used to abort every front
// end that starts the engine.
TEST_F(DataFiles, FoldersInPlaceOfEveryDataFileDoNotStopTheEngine) {
    for (const char* name : {"hashkey33.dat", "hashkey33.sum", "kesto.dat", "endgame.sum", "dod.bib", "pdod.bib"})
        std::filesystem::create_directory(dir / name);
    testsupport::FakeHost host;
    auto core = std::make_unique<game::Core>();
    core->host = &host;
    core->programDir = dir;
    ASSERT_TRUE(engine::initialiseSearch(*core));
    EXPECT_FALSE(host.errors.empty());
    core->rules.board = rules::startingPosition();
    core->engine.limits.depth = 3;
    EXPECT_TRUE(engine::searchRoot(*core, rules::White).hasMove());
}

}  // namespace
