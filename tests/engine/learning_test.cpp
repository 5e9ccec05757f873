// Position learning, learning files and sessions.

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "engine/learning.h"
#include "engine/search.h"
#include "engine/tables.h"
#include "game/navigation.h"
#include "game/person_move.h"
#include "rules/fen.h"
#include "support/fake_host.h"
#include "support/game_builder.h"

namespace {

struct Learner {
    explicit Learner(const char* fen = "W:W21-32:B1-12") : core(std::make_unique<game::Core>()) {
        core->host = &host;
        dir = std::filesystem::temp_directory_path() / ("tavolex_learning_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        core->programDir = dir;
        EXPECT_TRUE(engine::initialiseSearch(*core));
        const rules::FenResult r = rules::parseFen(fen);
        game::installPosition(*core, r.position->board, r.position->side);
        core->game.options.humanVsHuman = true;
    }
    ~Learner() { std::filesystem::remove_all(dir); }
    // The slot the final position shown would be learned in.
    const engine::LearnedEntry& slot() {
        engine::SearchTables& t = core->engine.tables;
        engine::computeKeys(t, core->rules.gamePosition);
        return t.learned->entries[engine::learnedSlot(t.keyIndex, core->game.sideToMove == rules::White)];
    }
    // The same slot, in a private copy of the table, to write.
    engine::LearnedEntry& slotToWrite() {
        engine::SearchTables& t = core->engine.tables;
        engine::computeKeys(t, core->rules.gamePosition);
        return engine::learnedForWriting(t)
            .entries[engine::learnedSlot(t.keyIndex, core->game.sideToMove == rules::White)];
    }
    testsupport::FakeHost host;
    std::unique_ptr<game::Core> core;
    std::filesystem::path dir;
};

// Random games until one ends balanced (or not) after `plies` plies.
void playUntil(Learner& l, int plies, bool balanced) {
    for (unsigned seed = 1; seed < 500; ++seed) {
        game::installPosition(*l.core, rules::startingPosition(), rules::White);
        if (testsupport::playRandomMoves(*l.core, plies, seed) != plies) continue;
        int material = 0;
        for (int s = 1; s <= rules::NumSquares; ++s) {
            const rules::PieceCode c = l.core->rules.gamePosition[s];
            material += c == rules::WhiteMan    ? 3
                        : c == rules::WhiteKing ? 1
                        : c == rules::BlackMan  ? -3
                        : c == rules::BlackKing ? -1
                                                : 0;
        }
        if ((material > -3 && material < 3) == balanced) return;
    }
    FAIL() << "no such game";
}

TEST(Learning, OnlyLongBalancedGamesAreLearned) {
    struct Case {
        int plies;
        bool balanced;
        bool learned;
    };
    for (const Case c : {Case{20, true, false}, Case{24, true, true}, Case{24, false, false}}) {
        Learner l;
        playUntil(l, c.plies, c.balanced);
        // Learning starts from wherever the game is shown: it goes to the end.
        game::goToStart(*l.core);
        EXPECT_EQ(engine::learningQualifies(*l.core), c.learned) << c.plies << " plies";
        EXPECT_EQ(l.core->game.record.plyCounter, c.plies);
    }
}

TEST(Learning, StoresTheAnalysisValueUnlessAProvenResultIsThere) {
    Learner l;
    playUntil(l, 24, true);
    ASSERT_TRUE(engine::learningQualifies(*l.core));
    l.core->engine.analysisScores[24] = 140;
    EXPECT_EQ(engine::learnFinalPosition(*l.core), engine::LearnOutcome::Stored);
    EXPECT_EQ(l.slot().value, 140);
    EXPECT_EQ(l.slot().lock, l.core->engine.tables.keyLock);
    // The engine now finds it.
    EXPECT_EQ(engine::probeLearned(l.core->engine.tables, l.core->game.sideToMove == rules::White), 140);

    for (const int proven : {30000, -30000, 31000}) {
        l.slotToWrite().value = static_cast<std::int16_t>(proven);
        EXPECT_EQ(engine::learnFinalPosition(*l.core), engine::LearnOutcome::Guarded);
        EXPECT_EQ(l.slot().value, proven);
    }
    l.slotToWrite().value = 29999;
    EXPECT_EQ(engine::learnFinalPosition(*l.core), engine::LearnOutcome::Stored);
    EXPECT_EQ(l.slot().value, 140);
}

TEST(LearningFiles, WholeTableOutAndBackShortAndMissingFiles) {
    Learner l;
    engine::SearchTables& t = l.core->engine.tables;
    engine::learnedForWriting(t).entries[5] = {0x12345678u, -77, 0};
    engine::learnedForWriting(t).entries[engine::LearnedEntries - 1] = {42u, 300, 0};
    const std::filesystem::path file = l.dir / "lecon.dal";
    ASSERT_TRUE(engine::writeLearningFile(t, file));
    EXPECT_EQ(std::filesystem::file_size(file), engine::LearnedFileSize);

    // Loading replaces every entry, also those learned since.
    engine::learnedForWriting(t).entries[5] = {};
    engine::learnedForWriting(t).entries[9] = {7u, 11, 0};
    EXPECT_EQ(engine::readLearningFile(t, file), engine::LearningFileStatus::Ok);
    EXPECT_EQ(t.learned->entries[5].lock, 0x12345678u);
    EXPECT_EQ(t.learned->entries[5].value, -77);
    EXPECT_EQ(t.learned->entries[9].value, 0);
    EXPECT_EQ(t.learned->entries[engine::LearnedEntries - 1].value, 300);

    // A short file fills whole entries from the start; the rest stays.
    {
        std::ofstream out(l.dir / "short.dal", std::ios::binary);
        const char bytes[8 * 2 + 3] = {1, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0, 6, 0, 0, 0, 9, 9, 9};
        out.write(bytes, sizeof bytes);
    }
    EXPECT_EQ(engine::readLearningFile(t, l.dir / "short.dal"), engine::LearningFileStatus::Short);
    EXPECT_EQ(t.learned->entries[0].value, 5);
    EXPECT_EQ(t.learned->entries[1].value, 6);
    EXPECT_EQ(t.learned->entries[2].value, 0);  // the cut entry is not read
    EXPECT_EQ(t.learned->entries[5].value, -77);

    EXPECT_EQ(engine::readLearningFile(t, l.dir / "absent.dal"), engine::LearningFileStatus::Unreadable);
    EXPECT_EQ(t.learned->entries[5].value, -77);
    EXPECT_FALSE(engine::writeLearningFile(t, l.dir / "no_folder" / "x.dal"));
}

TEST(Sessions, StartRaisesTheBudgetStopKeepsItAndEachGameIsLearned) {
    Learner l;
    engine::LevelState& level = l.core->engine.level;
    level.levelBudget = 160;
    engine::startLearningSession(*l.core, "test");
    EXPECT_TRUE(l.core->engine.learning.session);
    EXPECT_EQ(level.levelBudget, 500);
    EXPECT_TRUE(l.core->game.options.selfPlay);
    EXPECT_EQ(l.core->engine.learning.sessionFile.filename(), "session_test.dal");

    // A finished long game: learned into the session's file, then a new game.
    playUntil(l, 24, true);
    l.core->engine.analysisScores[24] = -60;
    std::filesystem::create_directories(l.dir / "Parametres");
    ASSERT_TRUE(engine::continueSession(*l.core));
    EXPECT_EQ(std::filesystem::file_size(l.dir / "Parametres" / "session_test.dal"), engine::LearnedFileSize);
    EXPECT_EQ(l.core->game.record.plyCounter, 0);
    EXPECT_EQ(l.core->rules.gamePosition, rules::startingPosition());
    EXPECT_TRUE(l.core->game.options.selfPlay);
    engine::SearchTables fresh;
    ASSERT_TRUE(engine::allocateSearchTables(fresh));
    fresh.indexKeys = l.core->engine.tables.indexKeys;
    fresh.lockKeys = l.core->engine.tables.lockKeys;
    EXPECT_EQ(engine::readLearningFile(fresh, l.dir / "Parametres" / "session_test.dal"),
              engine::LearningFileStatus::Ok);
    EXPECT_EQ(fresh.learned->count, l.core->engine.tables.learned->count);

    engine::stopLearningSession(*l.core);
    EXPECT_FALSE(l.core->engine.learning.session);
    EXPECT_FALSE(l.core->game.options.selfPlay);
    EXPECT_EQ(level.levelBudget, 500);
}

}  // namespace
