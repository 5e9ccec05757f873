#pragma once
// The search's memory: position keys, the transposition table shared by the
// search threads, and the table of positions the user has taught.

#include <array>
#include <atomic>
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

// The transposition table. Values are from the view of the side to move at
// the node that stored them, decisive ones counted from that node (the
// search moves them to and from its own ply). A slot is two words written
// and read whole: the first is the position's key XOR the second, so two
// search threads may share the table without a lock, and a slot torn by
// two simultaneous writes simply fails its check.
enum class Bound : std::uint8_t { None = 0, Upper = 1, Lower = 2, Exact = 3 };

// A position's key with the side to move folded in: `index` chooses the
// bucket, both words together identify the position.
struct HashKey {
    std::uint32_t index = 0;
    std::uint32_t lock = 0;
};
// Folded into both words when Black is to move (the key files hold pieces
// only).
constexpr std::uint32_t BlackToMoveIndexKey = 0x6C8E9CF5u;
constexpr std::uint32_t BlackToMoveLockKey = 0xB5297A4Du;
constexpr HashKey hashKeyFor(std::uint32_t keyIndex, std::uint32_t keyLock, rules::Side toMove) {
    return toMove == rules::White ? HashKey{keyIndex, keyLock}
                                  : HashKey{keyIndex ^ BlackToMoveIndexKey, keyLock ^ BlackToMoveLockKey};
}

// The static evaluation is kept beside the value; this marks "none".
constexpr int NoStaticEval = -32768;

struct HashHit {
    int value = 0;
    int staticEval = NoStaticEval;
    int depth = 0;
    Bound bound = Bound::None;
    rules::Square from = 0;   // best move, 0 when none
    rules::Square to = 0;
};

struct HashSlot {
    std::atomic<std::uint64_t> check{0};
    std::atomic<std::uint64_t> data{0};
};
// Four slots, one cache line.
constexpr int SlotsPerBucket = 4;
struct alignas(64) HashBucket {
    std::array<HashSlot, SlotsPerBucket> slot;
};

// Gives back the memory of a table's buckets, which are allocated aligned to
// large pages (tables.cpp) and so freed with std::free.
struct ReleaseBuckets {
    void operator()(HashBucket* buckets) const;
};

struct TranspositionTable {
    std::unique_ptr<HashBucket[], ReleaseBuckets> buckets;
    std::uint32_t bucketCount = 0;
    // Counts the searches, so that entries of earlier ones are replaced first.
    std::uint8_t generation = 0;
};

// The "Taille des tables de transposition" menu: the memory each item
// reserves, in bytes, is sizeFactor x 1572864 / 100.
struct TableSize {
    const char* item;
    const char* caption;
    int sizeFactor;
};
inline constexpr std::array<TableSize, 8> TableSizes = {{
    {"N0Mo1", "0 Mo", 1},
    {"N07Mo1", "0,7 Mo", 50},
    {"N15Mo1", "1,5Mo", 100},
    {"N3Mo1", "3Mo", 200},
    {"N5Mo1", "5Mo", 350},
    {"N10Mo1", "10Mo", 700},
    {"N15Mo2", "15Mo", 1000},
    {"N30Mo1", "25Mo", 2000},
}};
constexpr int DefaultTableSizeItem = 2;  // "1,5Mo"
constexpr std::int64_t bytesReservedFor(int sizeFactor) { return std::int64_t{sizeFactor} * 1572864 / 100; }
constexpr std::uint32_t bucketsFor(int sizeFactor) {
    return static_cast<std::uint32_t>(bytesReservedFor(sizeFactor) / static_cast<std::int64_t>(sizeof(HashBucket)));
}

struct MoveSquares {
    rules::Square from = 0;
    rules::Square to = 0;
    bool holdsMove() const { return from != 0; }
    bool operator==(const MoveSquares&) const = default;
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

struct SearchTables {
    SearchTables();

    KeyTable indexKeys{};
    KeyTable lockKeys{};
    // The keys of a position: the working board's at the start of a search,
    // the game position's for learning.
    std::uint32_t keyIndex = 0;
    std::uint32_t keyLock = 0;

    TranspositionTable table;
    int sizeFactor = TableSizes[DefaultTableSizeItem].sizeFactor;
    int sizeItem = DefaultTableSizeItem;   // the checked item of the size menu

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

// The entry of `key`, if the table holds one.
std::optional<HashHit> probeTable(const TranspositionTable& t, HashKey key);
// Stores or keeps: a bucket keeps, of the positions it holds, those of the
// running search searched deepest; the same position is written over unless
// the new result is much shallower and only a bound.
void storeTable(TranspositionTable& t, HashKey key, int value, int staticEval, int depth, Bound bound,
                rules::Square from, rules::Square to);
// A new search begins: older entries go first.
void newSearchGeneration(TranspositionTable& t);
// Entries the table can hold.
std::uint32_t tableEntries(const TranspositionTable& t);

inline void prefetchTable(const TranspositionTable& t, std::uint32_t index) {
    if (t.bucketCount) __builtin_prefetch(&t.buckets[(std::uint64_t{index} * t.bucketCount) >> 32]);
}

// The learned value of the position for the side to move, or nothing.
std::optional<int> probeLearned(const SearchTables& t, bool whiteToMove);
inline std::uint32_t learnedSlot(std::uint32_t keyIndex, bool whiteToMove) {
    return (keyIndex + (whiteToMove ? 1u : 0u)) % static_cast<std::uint32_t>(LearnedEntries);
}
// Inline: the search asks at every node, and mostly nothing has been taught.
inline std::optional<int> probeLearned(const LearnedTable& table, std::uint32_t keyIndex, std::uint32_t keyLock,
                                       bool whiteToMove) {
    if (table.count == 0) return std::nullopt;
    const LearnedEntry& e = table.entries[learnedSlot(keyIndex, whiteToMove)];
    if (e.lock != keyLock || e.value == 0) return std::nullopt;
    return e.value;
}
// Teaches the position of the current keys: `value` for the side to move.
void storeLearned(SearchTables& t, bool whiteToMove, int value);

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

}  // namespace engine
