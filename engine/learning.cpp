#include "engine/learning.h"

#include <algorithm>
#include <cstdlib>

#include "files/bytes.h"
#include "files/program_folder.h"
#include "files/setup.h"
#include "game/core.h"
#include "game/navigation.h"

namespace engine {

bool learningQualifies(game::Core& core) {
    game::GameRecord& rec = core.game.record;
    while (rec.plyCounter < rec.recordLength) game::stepForward(core);
    core.rules.board = core.rules.gamePosition;
    // Kings count less than men here: a game that ends with kings against
    // men is still worth learning only when the men balance.
    int material = 0;
    for (int s = 1; s <= rules::NumSquares; ++s) {
        switch (core.rules.gamePosition[s]) {
            case rules::WhiteMan: material += 3; break;
            case rules::WhiteKing: material += 1; break;
            case rules::BlackMan: material -= 3; break;
            case rules::BlackKing: material -= 1; break;
            default: break;
        }
    }
    return material > -3 && material < 3 && rec.plyCounter > 20;
}

LearnOutcome learnFinalPosition(game::Core& core) {
    SearchTables& t = core.engine.tables;
    const game::GameRecord& rec = core.game.record;
    const rules::Board& board = core.rules.gamePosition;
    computeKeys(t, board);
    // The slot of a position with White to move is one further: the piece
    // that made the last move is Black's.
    const rules::Square lastTo = rec.plies[rec.plyCounter].to;
    const bool whiteToMove =
        lastTo != 0 ? rules::sideOf(board[lastTo]) == rules::Black : core.game.sideToMove == rules::White;
    if (!allocateSearchTables(t)) return LearnOutcome::Guarded;
    const LearnedEntry& e = t.learned->entries[learnedSlot(t.keyIndex, whiteToMove)];
    if (std::abs(static_cast<int>(e.value)) >= LearnedGuard) return LearnOutcome::Guarded;
    storeLearned(t, whiteToMove, core.engine.analysisScores[rec.plyCounter]);
    return LearnOutcome::Stored;
}

bool writeLearningFile(const SearchTables& t, const std::filesystem::path& file) {
    if (!t.learned) return false;
    files::ByteWriter w;
    for (const LearnedEntry& e : t.learned->entries) {
        w.i32(static_cast<std::int32_t>(e.lock));
        w.i16(e.value);
        w.u16(e.unused);
    }
    return files::writeFileAtomically(file.string(), w.data());
}

LearningFileStatus readLearningFile(SearchTables& t, const std::filesystem::path& file) {
    files::FileError error{};
    const std::vector<std::uint8_t> bytes = files::readFileStart(file.string(), error, LearnedFileSize);
    if (error != files::FileError::None) return LearningFileStatus::Unreadable;
    return decodeLearned(t, bytes) == LearnedEntries ? LearningFileStatus::Ok : LearningFileStatus::Short;
}

void startLearningSession(game::Core& core, const std::string& stamp) {
    LearningState& l = core.engine.learning;
    l.session = true;
    l.sessionFile = files::resolveInFolder(core.programDir, "Parametres") / ("session_" + stamp + ".dal");
    LevelState& level = core.engine.level;
    if (level.levelBudget < SessionBudget) level.levelBudget = SessionBudget;
    core.game.options.selfPlay = true;
}

void stopLearningSession(game::Core& core) {
    core.engine.learning.session = false;
    core.game.options.selfPlay = false;
}

bool continueSession(game::Core& core) {
    bool written = true;
    if (learningQualifies(core)) {
        learnFinalPosition(core);
        std::error_code ec;
        std::filesystem::create_directories(core.engine.learning.sessionFile.parent_path(), ec);
        written = writeLearningFile(core.engine.tables, core.engine.learning.sessionFile);
    }
    files::resetToStartingPosition(core);
    core.game.options.selfPlay = true;
    return written;
}

}  // namespace engine
