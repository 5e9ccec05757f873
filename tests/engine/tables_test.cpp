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

std::unique_ptr<SearchTables> freshTables() {
    auto t = std::make_unique<SearchTables>();
    EXPECT_TRUE(engine::allocateSearchTables(*t));
    return t;
}

// ----------------------------------------------------------- the table

engine::HashKey keyOf(const char* fen) {
    const auto pos = rules::parseFen(fen).position;
    EXPECT_TRUE(pos) << fen;
    SearchTables k;
    engine::computeKeys(k, pos->board);
    return engine::hashKeyFor(k.keyIndex, k.keyLock, pos->side);
}

TEST(TranspositionTable, FindsWhatWasStoredForThatSideToMoveOnly) {
    auto t = freshTables();
    const engine::HashKey white = keyOf("W:W21-32:B1-12");
    const engine::HashKey black = keyOf("B:W21-32:B1-12");
    EXPECT_FALSE(engine::probeTable(t->table, white));
    engine::storeTable(t->table, white, -123, 45, 7, engine::Bound::Lower, 22, 18);
    const auto hit = engine::probeTable(t->table, white);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->value, -123);
    EXPECT_EQ(hit->staticEval, 45);
    EXPECT_EQ(hit->depth, 7);
    EXPECT_EQ(hit->bound, engine::Bound::Lower);
    EXPECT_EQ(hit->from, 22);
    EXPECT_EQ(hit->to, 18);
    EXPECT_FALSE(engine::probeTable(t->table, black)) << "the same pieces with the other side to move";
    // Values keep their full range, decisive ones included.
    engine::storeTable(t->table, black, -31990, engine::NoStaticEval, 0, engine::Bound::Exact, 0, 0);
    EXPECT_EQ(engine::probeTable(t->table, black)->value, -31990);
    EXPECT_EQ(engine::probeTable(t->table, black)->staticEval, engine::NoStaticEval);
    engine::clearTable(*t);
    EXPECT_FALSE(engine::probeTable(t->table, white));
}

TEST(TranspositionTable, APositionKeepsItsDeepResultAndGainsAMove) {
    auto t = freshTables();
    const engine::HashKey key = keyOf("W:W13,18,22,23,26,27,31:B2,5,6,9,10,11,15");
    engine::storeTable(t->table, key, 50, 0, 9, engine::Bound::Lower, 0, 0);
    // Much shallower and only a bound: the deep result stays, and takes the
    // move it did not have.
    engine::storeTable(t->table, key, -10, 0, 2, engine::Bound::Upper, 23, 19);
    auto hit = engine::probeTable(t->table, key);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->depth, 9);
    EXPECT_EQ(hit->value, 50);
    EXPECT_EQ(hit->from, 23);
    // An exact result replaces it; one without a move keeps the old move.
    engine::storeTable(t->table, key, 20, 0, 3, engine::Bound::Exact, 0, 0);
    hit = engine::probeTable(t->table, key);
    EXPECT_EQ(hit->depth, 3);
    EXPECT_EQ(hit->value, 20);
    EXPECT_EQ(hit->from, 23);
    EXPECT_EQ(hit->to, 19);
}

TEST(TranspositionTable, AFullBucketGivesUpItsShallowestOrOldestEntry) {
    // The smallest size has few buckets: many positions share each one.
    auto t = freshTables();
    ASSERT_TRUE(engine::setTableSize(*t, 0));
    const std::uint32_t buckets = t->table.bucketCount;
    ASSERT_GT(buckets, 0u);
    // Keys of one bucket: the bucket comes from the top of the index word.
    const auto key = [&](std::uint32_t i) { return engine::HashKey{0x01000000u, 1000u + i}; };
    for (std::uint32_t i = 0; i < engine::SlotsPerBucket; ++i)
        engine::storeTable(t->table, key(i), 1, 0, 10 + static_cast<int>(i), engine::Bound::Exact, 0, 0);
    engine::storeTable(t->table, key(9), 1, 0, 1, engine::Bound::Exact, 0, 0);
    EXPECT_FALSE(engine::probeTable(t->table, key(0))) << "the shallowest went";
    EXPECT_TRUE(engine::probeTable(t->table, key(9)));
    EXPECT_TRUE(engine::probeTable(t->table, key(3)));
    // In a later search the entries of this one go first, deep as they are.
    engine::newSearchGeneration(t->table);
    engine::newSearchGeneration(t->table);
    engine::storeTable(t->table, key(20), 1, 0, 1, engine::Bound::Exact, 0, 0);
    engine::storeTable(t->table, key(21), 1, 0, 1, engine::Bound::Exact, 0, 0);
    EXPECT_TRUE(engine::probeTable(t->table, key(20)));
    EXPECT_TRUE(engine::probeTable(t->table, key(21)));
    EXPECT_FALSE(engine::probeTable(t->table, key(9)));
    EXPECT_FALSE(engine::probeTable(t->table, key(1)));
    EXPECT_TRUE(engine::probeTable(t->table, key(3)));
}

TEST(TranspositionTable, ATornSlotIsNotTaken) {
    // Two threads writing one slot at once may leave the words of two
    // different positions: the check word no longer matches either.
    auto t = freshTables();
    const engine::HashKey a = keyOf("W:W21-32:B1-12");
    engine::storeTable(t->table, a, 77, 0, 5, engine::Bound::Exact, 22, 18);
    for (auto& slot : t->table.buckets[(std::uint64_t{a.index} * t->table.bucketCount) >> 32].slot)
        if (slot.data.load() != 0) slot.data.store(slot.data.load() ^ 1);
    EXPECT_FALSE(engine::probeTable(t->table, a));
}

TEST(TableSize, MenuItemsSetTheMemory) {
    auto t = freshTables();
    EXPECT_EQ(engine::tableEntries(t->table), 1572864u / 16);
    const engine::KeyTable keys = t->indexKeys;
    ASSERT_TRUE(engine::setTableSize(*t, 0));
    EXPECT_EQ(engine::tableEntries(t->table) * 16, 15728u / 64 * 64);
    EXPECT_EQ(engine::bytesReservedFor(1), 15728);
    // The keys stay, so positions keep their learned slots.
    EXPECT_EQ(t->indexKeys, keys);
    ASSERT_TRUE(engine::setTableSize(*t, 7));
    EXPECT_EQ(engine::tableEntries(t->table) * 16, 31457280u);
    EXPECT_FALSE(engine::setTableSize(*t, 8));
    EXPECT_EQ(engine::tableEntries(t->table) * 16, 31457280u);
    EXPECT_EQ(t->sizeItem, 7);
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
            promoted =
                promoted || rebuilt.acc.pieceCount[rules::WhiteKing] + rebuilt.acc.pieceCount[rules::BlackKing] > 0;
            if (!promoted) {
                ASSERT_EQ(rebuilt.acc.tempo, core->eval.acc.tempo) << "seed " << seed << " ply " << ply;
                ASSERT_EQ(rebuilt.acc.ownRegion, core->eval.acc.ownRegion);
                ASSERT_EQ(rebuilt.acc.oppCentre, core->eval.acc.oppCentre);
            }
        }
    }
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
        ASSERT_TRUE(
            files::writeManifest(dir / engine::KeyManifestFile, {files::manifestEntryOf(engine::KeyFileName, bytes)}));
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
        {"short",
         [&](DataFiles& f) {
             f.listKeys(fixedKeys);
             f.write("hashkey33.dat", 100, 0xAB);
         },
         "Fichier endommagé : hashkey33.dat"},
        {"long",
         [&](DataFiles& f) {
             f.listKeys(fixedKeys);
             f.write("hashkey33.dat", engine::KeyFileSize + 1, 0xAB);
         },
         "Fichier endommagé : hashkey33.dat"},
        {"all zero",
         [&](DataFiles& f) {
             f.listKeys(fixedKeys);
             f.write("hashkey33.dat", engine::KeyFileSize, 0);
         },
         "Fichier endommagé : hashkey33.dat"},
        {"not in its manifest",
         [](DataFiles& f) {
             const auto bytes = f.write("hashkey33.dat", engine::KeyFileSize, 0x01);
             ASSERT_TRUE(
                 files::writeManifest(f.dir / engine::KeyManifestFile, {files::manifestEntryOf("other", bytes)}));
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
