#pragma once
// Endgame databases: every position of two to four pieces of 22 materials,
// each byte telling whether the side to move wins (> 0), loses (< 0) or draws
// (0), and in how many plies the game ends with best play. Tables holding
// men are kept for White to move: with Black to move the board is read
// turned half round. Tables of kings alone are read as they stand.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "rules/board.h"

namespace engine {

constexpr int EndgameTableCount = 22;

struct EndgameTableInfo {
    const char* file;       // "dod.bib"
    std::uint8_t moverMen, moverKings, otherMen, otherKings;
    std::size_t size;       // bytes
};
// In the order the tables are loaded.
extern const std::array<EndgameTableInfo, EndgameTableCount> EndgameTableList;

// The manifest make_endgame_tables writes beside the tables: the CRC-32
// and size of each (files/checksum.h).
constexpr const char* EndgameManifestFile = "endgame.sum";

// What loading found of one table.
enum class TableLoad : std::uint8_t {
    Missing,      // no such file
    Unreadable,   // a folder, or a file that cannot be read
    Damaged,      // the wrong size, or bytes that disagree with the manifest
    Loaded,
};

struct EndgameTables {
    // A table is used only while it holds exactly its size in bytes; a table
    // that could not be loaded is left empty, and positions of its material
    // are then searched as if there were no table.
    std::array<std::vector<std::int8_t>, EndgameTableCount> tables;
    std::array<TableLoad, EndgameTableCount> load{};
    bool manifestRead = false;   // without the manifest the tables are used unchecked
    bool databasesLoaded = false;
};

// Where a position stands in the tables.
struct TableSlot {
    int table = -1;        // index into EndgameTableList; -1 when no table holds this material
    std::size_t offset = 0;
};
// The table and byte of `board` with `side` to move; the board must hold
// at least one piece of each side.
TableSlot tableSlot(const rules::Board& board, rules::Side side);

// The byte for `board` with `side` to move; nothing when no table holds the
// material or its table is not loaded.
std::optional<std::int8_t> probeByte(const EndgameTables& t, const rules::Board& board, rules::Side side);

// Distance in plies to the end of the game for a stored byte. A side left
// without a move has lost at once; it is stored as -1, since a real loss
// always takes an even number of plies.
constexpr int lossDistance(std::int8_t v) { return v == -1 ? 0 : -v; }

// A stored byte as a score for the side to move at `ply`.
int valueForSideToMove(std::int8_t v, int ply);

// The probe of the search: a score from the root side's view, the side to
// move being rootSide at odd plies; nothing when no table matches.
std::optional<int> probeEndgame(const EndgameTables& t, const rules::Board& board, rules::Side rootSide, int ply);

// Reads the 22 files from `folder` and checks each against the manifest. A
// table that is missing, unreadable, of the wrong size or whose bytes
// disagree with the manifest is left empty and not used; the other tables
// keep working. Returns the names of the missing files (`load` tells the
// rest); endgameLoadReport says everything in one message.
std::vector<std::string> loadEndgameDatabases(EndgameTables& t, const std::filesystem::path& folder);

// The error box's text for what loading could not use: a line "Fichier
// absent : ...", "Fichier illisible : ..." or "Fichier endommagé : ..."
// for each kind of failure, naming the files; empty when every table was
// loaded.
std::string endgameLoadReport(const EndgameTables& t);
// Whether any table can be probed.
bool anyTableLoaded(const EndgameTables& t);

// Whether `side`'s king or kings, placed on the long diagonals, win against
// the other side's few men: 30000 when a pattern holds, 0 otherwise.
int kingsVersusMen(const rules::Board& board, rules::Side side);

// What the search asks of the endgame databases; installed in the engine's
// state once the tables are loaded.
class EndgameDatabases {
public:
    virtual ~EndgameDatabases() = default;
    // The value of a position of at most four pieces for the side to move:
    // 0 drawn, 32000 - distance - ply when it wins, the negation when it
    // loses; nothing when no table covers the material.
    virtual std::optional<int> probe(const rules::Board& board, rules::Side sideToMove, int ply) = 0;
    // Kings against men: true when `strong`, which has a king while the other
    // side has none and fewer than seven men, wins by force.
    virtual bool kingsAgainstMenWin(const rules::Board& board, rules::Side strong) = 0;
};

// The databases of our own tables.
class TableDatabases : public EndgameDatabases {
public:
    explicit TableDatabases(const EndgameTables& tables) : m_tables(tables) {}
    std::optional<int> probe(const rules::Board& board, rules::Side sideToMove, int ply) override;
    bool kingsAgainstMenWin(const rules::Board& board, rules::Side strong) override;

private:
    const EndgameTables& m_tables;
};

// Pair and triple indices of like pieces on ascending squares.
constexpr int pairIndex(int l, int h) { return l + (h - 1) * (h - 2) / 2; }
constexpr int tripleIndex(int x, int y, int z) { return x + (y - 1) * (y - 2) / 2 + (z - 1) * (z - 2) * (z - 3) / 6; }

}  // namespace engine
