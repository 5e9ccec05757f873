#include "engine/tables.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>
#include <type_traits>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "files/bytes.h"
#include "files/checksum.h"
#include "files/program_folder.h"
#include "game/host.h"

namespace engine {

SearchTables::SearchTables() {
    for (int i = 0; i < KeyCount; ++i) {
        indexKeys[i] = fixedKeyWord(i);
        lockKeys[i] = fixedKeyWord(KeyCount + i);
    }
}

namespace {

// Every probe of the table lands on a random bucket, so with pages of 4 KB
// probes often miss the processor's cache of page addresses as well as its
// data caches. A table of a megabyte or more is therefore laid out on whole
// pages of 2 MB, aligned to them, and the system is asked to back it with
// such large pages (it may not; the table works the same either way). The
// memory past the last bucket is never touched.
constexpr std::size_t LargePageBytes = std::size_t{2} << 20;
constexpr std::size_t LargePagesFrom = std::size_t{1} << 20;

// A fresh table of `buckets` buckets, or nothing when memory is refused.
bool allocateBuckets(TranspositionTable& t, std::uint32_t buckets) {
    // Even the smallest size keeps a bucket.
    buckets = std::max<std::uint32_t>(buckets, 1);
    std::size_t bytes = std::size_t{buckets} * sizeof(HashBucket);
    const bool large = bytes >= LargePagesFrom;
    const std::size_t alignment = large ? LargePageBytes : alignof(HashBucket);
    bytes = (bytes + alignment - 1) / alignment * alignment;
    void* memory = std::aligned_alloc(alignment, bytes);
    if (!memory) return false;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (large) madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    HashBucket* first = static_cast<HashBucket*>(memory);
    std::uninitialized_value_construct_n(first, buckets);
    t.buckets.reset(first);
    t.bucketCount = buckets;
    return true;
}

// The data word of a slot: value and static evaluation (16 bits each), the
// best move's squares (6 bits each), the depth (8 bits), the bound (2 bits)
// and the generation (6 bits). A data word of 0 is an empty slot.
constexpr int GenerationBits = 6;
constexpr std::uint8_t GenerationMask = (1 << GenerationBits) - 1;

std::uint64_t packData(int value, int staticEval, int depth, Bound bound, rules::Square from, rules::Square to,
                       std::uint8_t generation) {
    return std::uint64_t{static_cast<std::uint16_t>(value)} |
           std::uint64_t{static_cast<std::uint16_t>(staticEval)} << 16 | std::uint64_t{from & 63u} << 32 |
           std::uint64_t{to & 63u} << 38 | std::uint64_t{static_cast<std::uint8_t>(std::clamp(depth, 0, 255))} << 44 |
           std::uint64_t{static_cast<std::uint8_t>(bound)} << 52 |
           std::uint64_t{static_cast<std::uint8_t>(generation & GenerationMask)} << 54;
}
int dataDepth(std::uint64_t d) { return static_cast<int>((d >> 44) & 255); }
Bound dataBound(std::uint64_t d) { return static_cast<Bound>((d >> 52) & 3); }
std::uint8_t dataGeneration(std::uint64_t d) { return static_cast<std::uint8_t>((d >> 54) & GenerationMask); }

std::uint64_t fullKey(HashKey key) { return std::uint64_t{key.lock} << 32 | key.index; }

HashBucket& bucketOf(const TranspositionTable& t, HashKey key) {
    return t.buckets[(std::uint64_t{key.index} * t.bucketCount) >> 32];
}

}  // namespace

void ReleaseBuckets::operator()(HashBucket* buckets) const {
    // The slots are atomics of plain words: nothing to destroy.
    static_assert(std::is_trivially_destructible_v<HashBucket>);
    std::free(buckets);
}

bool allocateSearchTables(SearchTables& t) {
    if (!t.table.buckets && !allocateBuckets(t.table, bucketsFor(t.sizeFactor))) return false;
    if (!t.learned) t.learned = std::make_shared<const LearnedTable>();
    return true;
}

LearnedTable& learnedForWriting(SearchTables& t) {
    auto copy = t.learned ? std::make_shared<LearnedTable>(*t.learned) : std::make_shared<LearnedTable>();
    t.learned = copy;
    return *copy;
}

bool setTableSize(SearchTables& t, int item) {
    if (item < 0 || item >= static_cast<int>(TableSizes.size())) return false;
    const TableSize& size = TableSizes[static_cast<std::size_t>(item)];
    if (!t.table.buckets) {
        // Nothing allocated yet: the size is the one the first search gets.
        t.sizeFactor = size.sizeFactor;
        t.sizeItem = item;
        return true;
    }
    // The old table goes first, as a smaller machine needs its memory back;
    // when the new one is refused the old size is allocated again.
    const std::uint32_t oldBuckets = t.table.bucketCount;
    t.table.buckets.reset();
    t.table.bucketCount = 0;
    if (!allocateBuckets(t.table, bucketsFor(size.sizeFactor))) {
        allocateBuckets(t.table, oldBuckets);
        return false;
    }
    t.sizeFactor = size.sizeFactor;
    t.sizeItem = item;
    return true;
}

void clearTable(SearchTables& t) {
    TranspositionTable& tt = t.table;
    for (std::uint32_t b = 0; b < tt.bucketCount; ++b)
        for (HashSlot& s : tt.buckets[b].slot) {
            s.check.store(0, std::memory_order_relaxed);
            s.data.store(0, std::memory_order_relaxed);
        }
    tt.generation = 0;
}

void computeKeys(SearchTables& t, const rules::Board& board) {
    t.keyIndex = 0;
    t.keyLock = 0;
    for (int s = 1; s <= rules::NumSquares; ++s)
        if (rules::isPiece(board[s])) togglePiece(t, board[s], static_cast<rules::Square>(s));
}

std::optional<HashHit> probeTable(const TranspositionTable& t, HashKey key) {
    if (t.bucketCount == 0) return std::nullopt;
    const std::uint64_t k = fullKey(key);
    for (const HashSlot& s : bucketOf(t, key).slot) {
        const std::uint64_t data = s.data.load(std::memory_order_relaxed);
        if (data == 0 || (s.check.load(std::memory_order_relaxed) ^ data) != k) continue;
        HashHit hit;
        hit.value = static_cast<std::int16_t>(data & 0xFFFF);
        hit.staticEval = static_cast<std::int16_t>((data >> 16) & 0xFFFF);
        hit.from = static_cast<rules::Square>((data >> 32) & 63);
        hit.to = static_cast<rules::Square>((data >> 38) & 63);
        hit.depth = dataDepth(data);
        hit.bound = dataBound(data);
        return hit;
    }
    return std::nullopt;
}

void storeTable(TranspositionTable& t, HashKey key, int value, int staticEval, int depth, Bound bound,
                rules::Square from, rules::Square to) {
    if (t.bucketCount == 0) return;
    const std::uint64_t k = fullKey(key);
    HashBucket& b = bucketOf(t, key);
    const std::uint8_t generation = t.generation & GenerationMask;
    HashSlot* target = nullptr;
    int worst = 1 << 20;
    for (HashSlot& s : b.slot) {
        const std::uint64_t data = s.data.load(std::memory_order_relaxed);
        if (data != 0 && (s.check.load(std::memory_order_relaxed) ^ data) == k) {
            // The same position: a much shallower bound keeps the deeper
            // result, but lends it its move when it had none.
            if (bound != Bound::Exact && depth + 3 < dataDepth(data) && dataGeneration(data) == generation) {
                if (from == 0 || ((data >> 32) & 63) != 0) return;
                const std::uint64_t moved = (data & ~(std::uint64_t{4095} << 32)) | std::uint64_t{from & 63u} << 32 |
                                            std::uint64_t{to & 63u} << 38;
                s.check.store(k ^ moved, std::memory_order_relaxed);
                s.data.store(moved, std::memory_order_relaxed);
                return;
            }
            // Without a move of its own the new result keeps the old one.
            if (from == 0) {
                from = static_cast<rules::Square>((data >> 32) & 63);
                to = static_cast<rules::Square>((data >> 38) & 63);
            }
            target = &s;
            break;
        }
        // Otherwise the slot worth least: empty, from an earlier search, or
        // searched least deep.
        const int age = (generation - dataGeneration(data)) & GenerationMask;
        const int worth = data == 0 ? -(1 << 19) : dataDepth(data) - 8 * age;
        if (worth < worst) {
            worst = worth;
            target = &s;
        }
    }
    const std::uint64_t data = packData(value, staticEval, depth, bound, from, to, generation);
    target->check.store(k ^ data, std::memory_order_relaxed);
    target->data.store(data, std::memory_order_relaxed);
}

void newSearchGeneration(TranspositionTable& t) {
    t.generation = static_cast<std::uint8_t>((t.generation + 1) & GenerationMask);
}

std::uint32_t tableEntries(const TranspositionTable& t) { return t.bucketCount * SlotsPerBucket; }

void storeLearned(SearchTables& t, bool whiteToMove, int value) {
    LearnedTable& table = learnedForWriting(t);
    LearnedEntry& e = table.entries[learnedSlot(t.keyIndex, whiteToMove)];
    const bool had = e.value != 0;
    e.lock = t.keyLock;
    e.value = static_cast<std::int16_t>(value);
    table.count += (e.value != 0) - had;
}

std::optional<int> probeLearned(const SearchTables& t, bool whiteToMove) {
    if (!t.learned) return std::nullopt;
    return probeLearned(*t.learned, t.keyIndex, t.keyLock, whiteToMove);
}

void decodeKeys(SearchTables& t, std::span<const std::uint8_t> bytes) {
    files::ByteReader r(bytes);
    for (auto& k : t.indexKeys) k = static_cast<std::uint32_t>(r.i32());
    for (auto& k : t.lockKeys) k = static_cast<std::uint32_t>(r.i32());
}

int decodeLearned(SearchTables& t, std::span<const std::uint8_t> bytes) {
    const int whole = static_cast<int>(std::min(bytes.size(), LearnedFileSize) / 8);
    files::ByteReader r(bytes);
    LearnedTable& table = learnedForWriting(t);
    for (int i = 0; i < whole; ++i) {
        LearnedEntry& e = table.entries[static_cast<std::size_t>(i)];
        e.lock = static_cast<std::uint32_t>(r.i32());
        e.value = r.i16();
        e.unused = r.u16();
    }
    table.count = 0;
    for (const LearnedEntry& e : table.entries) table.count += e.value != 0;
    return whole;
}

namespace {

// Missing or Unreadable for a file the reader refused.
DataFileStatus refusal(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(file, ec)) ? DataFileStatus::Unreadable
                                                                              : DataFileStatus::Missing;
}

}  // namespace

DataFileStatus loadKeys(SearchTables& t, const std::filesystem::path& file) {
    files::FileError error = files::FileError::None;
    const std::vector<std::uint8_t> bytes = files::readWholeFile(file.string(), error, KeyFileSize + 1);
    if (error == files::FileError::CannotOpen) return refusal(file);
    // A key file has one size only: shorter or longer, it is not what the
    // tool wrote.
    if (error != files::FileError::None || bytes.size() != KeyFileSize) return DataFileStatus::Damaged;
    const std::optional<files::Manifest> manifest =
        files::readManifest(files::resolveInFolder(file.parent_path(), KeyManifestFile));
    if (manifest && files::checkIntegrity(*manifest, KeyFileName, bytes) != files::Integrity::Intact)
        return DataFileStatus::Damaged;
    decodeKeys(t, bytes);
    // Without the manifest (a folder copied without it) the keys of the
    // right size are used unchecked.
    return manifest ? DataFileStatus::Ok : DataFileStatus::Unchecked;
}

DataFileStatus loadLearned(SearchTables& t, const std::filesystem::path& file) {
    files::FileError error = files::FileError::None;
    const std::vector<std::uint8_t> bytes = files::readFileStart(file.string(), error, LearnedFileSize);
    if (error != files::FileError::None) return refusal(file);
    if (bytes.size() < LearnedFileSize) return DataFileStatus::Short;
    t.learned = std::make_shared<const LearnedTable>();
    decodeLearned(t, bytes);
    return DataFileStatus::Ok;
}

void loadSearchData(SearchTables& t, const std::filesystem::path& programDir, game::Host* host) {
    const auto report = [host](DataFileStatus s, const char* name) {
        if (s == DataFileStatus::Ok || !host) return;
        std::string text;
        switch (s) {
            case DataFileStatus::Missing: text = std::string("Fichier absent : ") + name; break;
            case DataFileStatus::Short: text = std::string("Fichier incomplet : ") + name; break;
            case DataFileStatus::Unreadable: text = std::string("Fichier illisible : ") + name; break;
            case DataFileStatus::Damaged: text = std::string("Fichier endommagé : ") + name; break;
            case DataFileStatus::Unchecked:
            case DataFileStatus::Ok: return;
        }
        host->showError(text);
    };
    const DataFileStatus keys = loadKeys(t, files::resolveInFolder(programDir, KeyFileName));
    if (keys != DataFileStatus::Ok && keys != DataFileStatus::Unchecked) {
        // Keys that cannot be trusted are made again from the fixed
        // sequence they were written from, so every key is defined.
        SearchTables fresh;
        t.indexKeys = fresh.indexKeys;
        t.lockKeys = fresh.lockKeys;
    }
    report(keys, KeyFileName);
    const DataFileStatus learned = loadLearned(t, files::resolveInFolder(programDir, LearnedFileName));
    if (learned != DataFileStatus::Ok) t.learned = std::make_shared<const LearnedTable>();
    report(learned, LearnedFileName);
}

}  // namespace engine
