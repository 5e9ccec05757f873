#pragma once
// The search's memory: position keys, the transposition table, killer moves,
// one good move per ply, and the table of positions the user has taught.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "rules/board.h"
#include "rules/movegen.h"

namespace game {
class Host;
}

namespace engine {

// Keys are indexed by 32 x piece code + square (codes 1..4, squares 0..32).
constexpr int KeyCount = 165;
using KeyTable = std::array<std::uint32_t, KeyCount>;
constexpr int keyIndexOf(rules::PieceCode code, rules::Square s) { return 32 * code + s; }

// "hashkey33.dat": indexKeys then lockKeys, little-endian; its CRC-32 is in
// the manifest "hashkey33.sum" that make_search_data writes beside it.
constexpr const char* KeyFileName = "hashkey33.dat";
constexpr const char* KeyManifestFile = "hashkey33.sum";
constexpr std::size_t KeyFileSize = 2 * KeyCount * 4;
// "kesto.dat": the learned positions, 8 bytes each. The user's own data,
// changed by learning, so it has no checksum: it is only read with care.
constexpr const char* LearnedFileName = "kesto.dat";
constexpr int LearnedEntries = 131071;
constexpr std::size_t LearnedFileSize = static_cast<std::size_t>(LearnedEntries) * 8;

// The fixed pseudo-random sequence the key file is made from, and what the
// program uses when the file is missing or short: word i of the file is
// fixedKeyWord(i), indexKeys first.
constexpr std::uint32_t fixedKeyWord(int i) {
    // splitmix32 over a constant seed: every word depends on its index only.
    std::uint32_t z = 0x9E3779B9u * static_cast<std::uint32_t>(i + 1) + 0x7F4A7C15u;
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    return z ^ (z >> 16);
}

// Type codes are a base plus the root side of the search that stored the
// entry (0 White, 1 Black). searchMax stores 1 exact, 3 lower bound, 5 upper
// bound, 100 decisive; searchMin 51 exact, 53 upper bound, 55 lower bound,
// 150 decisive. A decisive value (30000 and beyond) is used as exact.
enum TypeBase : int {
    MaxExact = 1,
    MaxLower = 3,
    MaxUpper = 5,
    MaxDecisive = 100,
    MinExact = 51,
    MinUpper = 53,
    MinLower = 55,
    MinDecisive = 150,
};
constexpr bool isDecisiveType(int type) { return type >= 100; }
constexpr bool isBoundType(int type) { return (type >= 3 && type <= 6) || (type >= 53 && type <= 56); }
constexpr bool isExactType(int type) { return type == 1 || type == 2 || type == 51 || type == 52; }

struct TableEntry {
    std::uint32_t lock = 0;
    std::int16_t value = 0;        // from the view of the root side that stored it
    rules::Square from = 0;        // best move, 0 when none
    rules::Square to = 0;
    std::uint8_t type = 0;         // 0: empty slot
    std::uint8_t plyStamp = 0;     // node's ply + plies played in the game
    std::uint8_t depthStamp = 0;   // iteration depth + plies played
};

// The "Taille des tables de transposition" menu.
struct TableSize {
    const char* item;
    const char* caption;
    int sizeFactor;
    int plyLimitOffset;
};
inline constexpr std::array<TableSize, 8> TableSizes = {{
    {"N0Mo1", "0 Mo", 1, -4},
    {"N07Mo1", "0,7 Mo", 50, 0},
    {"N15Mo1", "1,5Mo", 100, 2},
    {"N3Mo1", "3Mo", 200, 2},
    {"N5Mo1", "5Mo", 350, 2},
    {"N10Mo1", "10Mo", 700, 4},
    {"N15Mo2", "15Mo", 1000, 6},
    {"N30Mo1", "25Mo", 2000, 8},
}};
constexpr int DefaultTableSizeItem = 2;  // "1,5Mo"
constexpr std::uint32_t entriesFor(int sizeFactor) { return 1310u * static_cast<std::uint32_t>(sizeFactor); }
constexpr std::int64_t bytesReservedFor(int sizeFactor) { return std::int64_t{sizeFactor} * 1572864 / 100; }

struct Killer {
    rules::Square from = 0;
    rules::Square to = 0;
    std::int16_t score = 0;
    bool holdsMove() const { return from != 0; }
};
struct MoveSquares {
    rules::Square from = 0;
    rules::Square to = 0;
    bool holdsMove() const { return from != 0; }
};

struct LearnedEntry {
    std::uint32_t lock = 0;
    std::int16_t value = 0;        // from the view of the side to move; 0: nothing learned
    std::uint16_t unused = 0;
};

// The positions the user has taught, by slot (see learnedSlot).
struct LearnedTable {
    std::vector<LearnedEntry> entries = std::vector<LearnedEntry>(LearnedEntries);
    int count = 0;  // entries with a value; while there are none the search skips the probe
};

// Plies 1..34 (index 0 unused, 35 a guard for seeding's "after the line").
constexpr int KillerPlies = rules::MaxPly + 2;

struct SearchTables {
    SearchTables();

    KeyTable indexKeys{};
    KeyTable lockKeys{};
    std::uint32_t keyIndex = 0;
    std::uint32_t keyLock = 0;

    std::unique_ptr<TableEntry[]> table;
    std::uint32_t entries = 0;        // N; 0 until allocated
    int sizeFactor = TableSizes[DefaultTableSizeItem].sizeFactor;
    int plyLimitOffset = TableSizes[DefaultTableSizeItem].plyLimitOffset;
    int sizeItem = DefaultTableSizeItem;   // the checked item of the size menu

    std::array<Killer, KillerPlies> killer1{};
    std::array<Killer, KillerPlies> killer2{};
    std::array<MoveSquares, KillerPlies> goodMove{};
    // The best move of the last table hit that narrowed the window.
    MoveSquares hashMove{};

    // The learned positions, shared with the engine's worker, which only
    // reads them while it searches: whoever teaches the engine writes a
    // fresh copy (learnedForWriting), never the table a search may hold.
    std::shared_ptr<const LearnedTable> learned;
};

// The transposition table at the current size and an empty learned table;
// the keys are already set. False when memory is refused: the tables are
// left as they were.
bool allocateSearchTables(SearchTables& t);

// A private copy of the learned table, installed in `t`, to change.
LearnedTable& learnedForWriting(SearchTables& t);

// Menu item `item` of TableSizes: a fresh, empty table of the new size (or,
// before any table exists, the size the first one gets). When the memory is
// refused the previous table and size stay and false is returned. The keys
// are not touched, so learned positions keep their slots.
bool setTableSize(SearchTables& t, int item);

void clearTable(SearchTables& t);

// Keys of a whole board, then kept by XOR as moves are made.
void computeKeys(SearchTables& t, const rules::Board& board);
inline void togglePiece(SearchTables& t, rules::PieceCode code, rules::Square s) {
    t.keyIndex ^= t.indexKeys[keyIndexOf(code, s)];
    t.keyLock ^= t.lockKeys[keyIndexOf(code, s)];
}

// Probe and store. `absPly` = node's ply + plies played; `absDepth` =
// iteration depth + plies played.
const TableEntry* probeTable(const SearchTables& t, int absPly, int absDepth);
void storeTable(SearchTables& t, int value, int absPly, int absDepth, int type, rules::Square from, rules::Square to,
                int piecesOnBoard);

// A hit at a node where the root side moves (maxNode) or its opponent does:
// the value that answers the node, or nothing, the window narrowed and the
// entry's move made the hash move.
std::optional<int> useTableHit(SearchTables& t, const TableEntry& e, bool maxNode, rules::Side rootSide, int& alpha,
                               int& beta);

// Killers.
void resetKillers(SearchTables& t);
void updateKillers(SearchTables& t, const rules::Move& move, int score, int ply);
void noteGoodMove(SearchTables& t, const rules::Move& move, int ply);
// The best line of the last iteration, plies 1..34 (entry p: the move at
// ply p; from 0 ends it).
void seedKillersFromLine(SearchTables& t, std::span<const rules::Move> line, int score, int count);
// Orders the move list of ply p, highest key first; keys are left at 0.
void orderByKillers(const SearchTables& t, rules::MoveList& list, int ply, bool captures);

// The learned value of the position for the side to move, or nothing.
std::optional<int> probeLearned(const SearchTables& t, bool whiteToMove);
std::uint32_t learnedSlot(std::uint32_t keyIndex, bool whiteToMove);
// Teaches the position of the current keys: `value` for the side to move.
void storeLearned(SearchTables& t, bool whiteToMove, int value);

// The slot of the current keys, fetched ahead of its probe.
inline void prefetchSlot(const SearchTables& t) {
    if (t.entries) __builtin_prefetch(&t.table[t.keyIndex % t.entries]);
}

// Start-up reads: "hashkey33.dat" and "kesto.dat" in the program folder. A
// file that cannot be used is reported once through the host and replaced
// by defined contents (the fixed key sequence, an empty learned table).
enum class DataFileStatus {
    Ok,
    Missing,
    Short,        // "kesto.dat" with fewer bytes than the whole table
    Unreadable,   // a folder, or a file that cannot be read
    Damaged,      // keys of the wrong size or disagreeing with their manifest
    Unchecked,    // keys without their manifest: used as they are, unchecked
};
// The key file's bytes, as many as there are, over the keys.
void decodeKeys(SearchTables& t, std::span<const std::uint8_t> bytes);
// Learned entries from the start of `bytes` over the table (allocated),
// whole entries only, the rest left as it was; recounts the table and
// returns how many entries were read.
int decodeLearned(SearchTables& t, std::span<const std::uint8_t> bytes);
DataFileStatus loadKeys(SearchTables& t, const std::filesystem::path& file);
DataFileStatus loadLearned(SearchTables& t, const std::filesystem::path& file);
void loadSearchData(SearchTables& t, const std::filesystem::path& programDir, game::Host* host);

// Sorts by key, highest first; equal keys keep their order (no allocation).
void sortByKey(rules::MoveList& list);

}  // namespace engine
