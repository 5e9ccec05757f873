// Learning files ("*.dal") and "kesto.dat": any bytes fill the learned
// positions they cover, whole entries only, and the count of learned
// positions the search relies on matches the table.

#include <algorithm>
#include <cstdint>
#include <span>

#include "engine/tables.h"
#include "fuzz_support.h"
#include "rules/fen.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static engine::SearchTables* t = [] {
        auto* tables = new engine::SearchTables;
        engine::allocateSearchTables(*tables);
        return tables;
    }();
    // Each run starts from an empty table: only what the last run read is
    // cleared, as clearing all of it would cost more than the run.
    static int lastRead = 0;
    engine::LearnedTable& learned = engine::learnedForWriting(*t);
    std::fill(learned.entries.begin(), learned.entries.begin() + lastRead, engine::LearnedEntry{});
    learned.count = 0;

    const int read = engine::decodeLearned(*t, std::span<const std::uint8_t>(data, size));
    lastRead = read;
    check(read == static_cast<int>(std::min(size, engine::LearnedFileSize) / 8), "whole entries only");
    int count = 0;
    for (const engine::LearnedEntry& e : t->learned->entries) count += e.value != 0;
    check(count == t->learned->count, "the learned count matches the table");

    for (const char* fen : {"W:W21-32:B1-12", "B:W21-32:B1-12", "W:WK4:BK29"}) {
        engine::computeKeys(*t, rules::parseFen(fen).position->board);
        engine::probeLearned(*t, true);
        engine::probeLearned(*t, false);
    }
    return 0;
}
