#pragma once
// Teaching the engine: the final position of an analysed game, with the
// value the analysis gave it, goes into the table of learned positions, and
// the whole table is kept in a learning file ("*.dal", 1,048,568 bytes) that
// can be loaded back later. Sessions let the engine play, analyse and learn
// game after game on its own.

#include <filesystem>
#include <string>

namespace game {
struct Core;
}

namespace engine {

struct SearchTables;

// A session's learning budget: the first search-control value of the level
// is raised to at least this much (about five seconds a move).
constexpr int SessionBudget = 500;
// Learned values this large are proven wins and losses; learning never
// overwrites them.
constexpr int LearnedGuard = 30000;

struct LearningState {
    bool session = false;  // "Lancer une session" .. "Arrêter la session"
    // Where the current session writes its table after every game learned.
    std::filesystem::path sessionFile;
};

// Steps forward to the end of the game and says whether its final position
// may be learned: a game longer than 20 plies whose material (3 a man, 1 a
// king) differs by less than 3.
bool learningQualifies(game::Core& core);

enum class LearnOutcome { Stored, Guarded };
// Stores the final position shown with the analysis value of its ply, unless
// the slot holds a proven win or loss.
LearnOutcome learnFinalPosition(game::Core& core);

// The whole table into `file`, through a temporary file.
bool writeLearningFile(const SearchTables& t, const std::filesystem::path& file);

enum class LearningFileStatus { Ok, Short, Unreadable };
// Reads a learning file over the table. A short file fills the entries it
// holds whole and leaves the rest; an unreadable one changes nothing.
LearningFileStatus readLearningFile(SearchTables& t, const std::filesystem::path& file);

// "Lancer une session": the flag, the budget, self-play; the learning file
// of the session is named after `stamp` in "Parametres".
void startLearningSession(game::Core& core, const std::string& stamp);
// "Arrêter la session": the flag and self-play go; the budget stays.
void stopLearningSession(game::Core& core);

// After a session's game was analysed: learns its final position when it
// qualifies (writing the session's file), then sets up a new game from the
// starting position with self-play on. Returns false when the file could
// not be written (the table keeps the entry).
bool continueSession(game::Core& core);

}  // namespace engine
