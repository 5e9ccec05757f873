#include "engine/tables.h"

#include <algorithm>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "files/bytes.h"
#include "files/checksum.h"
#include "files/program_folder.h"
#include "game/host.h"

namespace engine {

namespace {

using rules::Move;
using rules::MoveList;

constexpr std::int16_t OddPlyFloor = -32000;   // odd plies: higher is better
constexpr std::int16_t EvenPlyFloor = 32000;   // even plies: lower is better

void clearKillerPair(SearchTables& t, int p) {
    const std::int16_t worst = p % 2 == 1 ? OddPlyFloor : EvenPlyFloor;
    t.killer1[p] = Killer{0, 0, worst};
    t.killer2[p] = Killer{0, 0, worst};
}

bool sameSquares(const Move& m, const Killer& k) { return m.from == k.from && m.to == k.to; }
bool sameSquares(const Move& m, const MoveSquares& k) { return m.from == k.from && m.to == k.to; }

}  // namespace

SearchTables::SearchTables() {
    for (int i = 0; i < KeyCount; ++i) {
        indexKeys[i] = fixedKeyWord(i);
        lockKeys[i] = fixedKeyWord(KeyCount + i);
    }
    resetKillers(*this);
}

bool allocateSearchTables(SearchTables& t) {
    if (!t.table) {
        const std::uint32_t n = entriesFor(t.sizeFactor);
        std::unique_ptr<TableEntry[]> fresh(new (std::nothrow) TableEntry[n]);
        if (!fresh) return false;
        t.table = std::move(fresh);
        t.entries = n;
    }
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
    if (!t.table) {
        // Nothing allocated yet: the size is the one the first search gets.
        t.sizeFactor = size.sizeFactor;
        t.plyLimitOffset = size.plyLimitOffset;
        t.sizeItem = item;
        return true;
    }
    const std::uint32_t n = entriesFor(size.sizeFactor);
    // The old table goes first, as a smaller machine needs its memory back;
    // when the new one is refused the old size is allocated again.
    std::unique_ptr<TableEntry[]> old = std::move(t.table);
    const std::uint32_t oldEntries = t.entries;
    old.reset();
    std::unique_ptr<TableEntry[]> fresh(new (std::nothrow) TableEntry[n]);
    if (!fresh) {
        t.table.reset(new (std::nothrow) TableEntry[oldEntries]);
        t.entries = t.table ? oldEntries : 0;
        return false;
    }
    t.table = std::move(fresh);
    t.entries = n;
    t.sizeFactor = size.sizeFactor;
    t.plyLimitOffset = size.plyLimitOffset;
    t.sizeItem = item;
    return true;
}

void clearTable(SearchTables& t) {
    for (std::uint32_t i = 0; i < t.entries; ++i) t.table[i].type = 0;
}

void computeKeys(SearchTables& t, const rules::Board& board) {
    t.keyIndex = 0;
    t.keyLock = 0;
    for (int s = 1; s <= rules::NumSquares; ++s)
        if (rules::isPiece(board[s])) togglePiece(t, board[s], static_cast<rules::Square>(s));
}

const TableEntry* probeTable(const SearchTables& t, int absPly, int absDepth) {
    if (t.entries == 0) return nullptr;
    const TableEntry& e = t.table[t.keyIndex % t.entries];
    if (e.type == 0 || e.lock != t.keyLock) return nullptr;
    // Reused at the same ply of the game within an iteration at least as
    // deep; a decisive result also at any ply with the same side to move.
    if (e.plyStamp == absPly && e.depthStamp >= absDepth) return &e;
    if ((absPly - e.plyStamp) % 2 != 0) return nullptr;
    if (e.depthStamp < absDepth) return nullptr;
    return isDecisiveType(e.type) ? &e : nullptr;
}

void storeTable(SearchTables& t, int value, int absPly, int absDepth, int type, rules::Square from, rules::Square to,
                int piecesOnBoard) {
    // The stamps are bytes; with three pieces or fewer the databases answer.
    if (t.entries == 0 || absDepth >= 255 || piecesOnBoard <= 3) return;
    TableEntry& e = t.table[t.keyIndex % t.entries];
    const bool write = [&] {
        if (e.type == 0) return true;
        const bool entryDecisive = isDecisiveType(e.type);
        if (isDecisiveType(type) && !entryDecisive) return true;
        if (type == e.type && absPly < e.plyStamp) return true;
        if (!entryDecisive && absDepth > e.depthStamp) return true;
        if (isBoundType(e.type)) {
            if (absDepth >= e.depthStamp) return true;
            if (absDepth >= e.depthStamp - 1 && isExactType(type)) return true;
        }
        if (absDepth >= e.depthStamp - 16 && absDepth <= e.depthStamp + 16) return false;
        return true;
    }();
    if (!write) return;
    e.lock = t.keyLock;
    e.value = static_cast<std::int16_t>(value);
    e.from = from;
    e.to = to;
    e.plyStamp = static_cast<std::uint8_t>(absPly);
    e.type = static_cast<std::uint8_t>(type);
    e.depthStamp = static_cast<std::uint8_t>(absDepth);
}

std::optional<int> useTableHit(SearchTables& t, const TableEntry& e, bool maxNode, rules::Side rootSide, int& alpha,
                               int& beta) {
    const int s = rules::sideIndex(rootSide);
    const int type = e.type;
    const int v = e.value;
    // An entry stored under the other root side describes the same position
    // with the same side to move, seen from the other side: negated, with its
    // bound flipped. A bound only ever narrows the window.
    if (maxNode) {
        if (type == s + MaxDecisive || type == s + MaxExact) return v;
        if (type == 151 - s || type == 52 - s) return -v;
        if (type == s + MaxLower) {
            if (v >= beta) return v;
            alpha = std::max(alpha, v);
        } else if (type == 54 - s) {
            if (-v >= beta) return -v;
            alpha = std::max(alpha, -v);
        } else if (type == 56 - s) {
            if (-v <= alpha) return -v;
            beta = std::min(beta, -v);
        } else if (type == s + MaxUpper) {
            if (v <= alpha) return v;
            beta = std::min(beta, v);
        } else {
            return std::nullopt;
        }
    } else {
        if (type == s + MinDecisive || type == s + MinExact) return v;
        if (type == 101 - s || type == 2 - s) return -v;
        if (type == s + MinUpper) {
            if (v <= alpha) return v;
            beta = std::min(beta, v);
        } else if (type == 4 - s) {
            if (-v <= alpha) return -v;
            beta = std::min(beta, -v);
        } else if (type == s + MinLower) {
            if (v >= beta) return v;
            alpha = std::max(alpha, v);
        } else if (type == 6 - s) {
            if (-v >= beta) return -v;
            alpha = std::max(alpha, -v);
        } else {
            return std::nullopt;
        }
    }
    t.hashMove = MoveSquares{e.from, e.to};
    return std::nullopt;
}

void resetKillers(SearchTables& t) {
    for (int p = 0; p < KillerPlies; ++p) {
        clearKillerPair(t, p);
        t.goodMove[p] = MoveSquares{};
    }
}

void updateKillers(SearchTables& t, const Move& move, int score, int ply) {
    if (ply < 1 || ply >= KillerPlies) return;
    Killer& k1 = t.killer1[ply];
    Killer& k2 = t.killer2[ply];
    if (sameSquares(move, k1)) return;
    // Scores are from the root side's view: at odd plies it moves and wants
    // them high, at even plies its opponent wants them low.
    const bool odd = ply % 2 == 1;
    const auto better = [odd](int a, int b) { return odd ? a > b : a < b; };
    if (!better(score, k1.score) && !better(score, k2.score)) return;
    const Killer fresh{move.from, move.to, static_cast<std::int16_t>(score)};
    if (better(score, k1.score)) {
        k2 = k1;
        k1 = fresh;
    } else {
        k2 = fresh;
    }
}

void noteGoodMove(SearchTables& t, const Move& move, int ply) {
    if (ply < 1 || ply >= KillerPlies) return;
    if (sameSquares(move, t.killer1[ply])) return;
    t.goodMove[ply] = MoveSquares{move.from, move.to};
}

void seedKillersFromLine(SearchTables& t, std::span<const Move> line, int score, int count) {
    int p = 1;
    for (; p <= count && p <= rules::MaxPly && p < static_cast<int>(line.size()) && line[p].from != 0; ++p) {
        clearKillerPair(t, p);
        const Move& m = line[p];
        if (m.ncapt == 0) {
            const int s = p % 2 == 1 ? score - 290 : score + 290;
            t.killer1[p] = Killer{m.from, m.to, static_cast<std::int16_t>(s)};
        }
    }
    for (; p <= rules::MaxPly; ++p) clearKillerPair(t, p);
}

void sortByKey(MoveList& list) {
    // Insertion sort: lists are short, and the order of equal keys stays put.
    for (int i = 1; i < list.size(); ++i) {
        const Move m = list[i];
        int j = i - 1;
        while (j >= 0 && list[j].key < m.key) {
            list[j + 1] = list[j];
            --j;
        }
        list[j + 1] = m;
    }
}

void orderByKillers(const SearchTables& t, MoveList& list, int ply, bool captures) {
    bool matched = false;
    bool hashMoveMet = false;
    for (int d = 0; !matched && !hashMoveMet && d < 7 && ply - d > 0 && ply + d < 35; d += 2) {
        const Killer& k1 = t.killer1[ply - d];
        if (!k1.holdsMove()) continue;
        const Killer& k2 = t.killer2[ply - d];
        const MoveSquares& g = t.goodMove[ply + d];
        bool k1Matched = false, k2Matched = false;
        for (int i = 0; i < list.size(); ++i) {
            Move& m = list[i];
            if (m.key == 255) {
                hashMoveMet = true;
                continue;
            }
            m.key = static_cast<std::int16_t>(80 - i);
            if (!captures && !k1Matched && sameSquares(m, k1)) {
                m.key = 250;
                k1Matched = matched = true;
            } else if (k2.holdsMove() && !k2Matched && sameSquares(m, k2)) {
                m.key = 200;
                k2Matched = matched = true;
            } else if (g.holdsMove() && sameSquares(m, g)) {
                m.key = static_cast<std::int16_t>(150 - i);
            }
        }
    }
    sortByKey(list);
    for (Move& m : list) m.key = 0;
}

std::uint32_t learnedSlot(std::uint32_t keyIndex, bool whiteToMove) {
    return (keyIndex + (whiteToMove ? 1u : 0u)) % static_cast<std::uint32_t>(LearnedEntries);
}

void storeLearned(SearchTables& t, bool whiteToMove, int value) {
    LearnedTable& table = learnedForWriting(t);
    LearnedEntry& e = table.entries[learnedSlot(t.keyIndex, whiteToMove)];
    const bool had = e.value != 0;
    e.lock = t.keyLock;
    e.value = static_cast<std::int16_t>(value);
    table.count += (e.value != 0) - had;
}

std::optional<int> probeLearned(const SearchTables& t, bool whiteToMove) {
    if (!t.learned || t.learned->count == 0) return std::nullopt;
    const LearnedEntry& e = t.learned->entries[learnedSlot(t.keyIndex, whiteToMove)];
    if (e.lock != t.keyLock || e.value == 0) return std::nullopt;
    return e.value;
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
