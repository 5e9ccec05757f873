// The key file "hashkey33.dat" with its manifest ("hashkey33.sum", then a
// NUL, then the key bytes): any manifest parses into entries that write
// back the same way, any key bytes either pass the check or not, and keys
// from any bytes drive the transposition table without fault.

#include <cstdint>
#include <span>

#include "engine/tables.h"
#include "files/checksum.h"
#include "fuzz_support.h"
#include "rules/fen.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [text, keys] = fuzzsupport::splitAtNul(std::span<const std::uint8_t>(data, size));
    const files::Manifest manifest = files::parseManifest(text);
    // Written out and parsed again, a manifest is the same, unless a name
    // ends in a carriage return, which the line reader takes as a line end.
    const std::string written = files::manifestText(manifest);
    const files::Manifest reread =
        files::parseManifest(std::span(reinterpret_cast<const std::uint8_t*>(written.data()), written.size()));
    bool plainNames = true;
    for (const files::ManifestEntry& e : manifest) plainNames = plainNames && e.name.back() != '\r';
    if (plainNames) check(reread == manifest, "a manifest reads back as written");

    // Intact means every line naming the file agrees with it.
    if (files::checkIntegrity(manifest, engine::KeyFileName, keys) == files::Integrity::Intact)
        for (const files::ManifestEntry& e : manifest)
            if (e.name == engine::KeyFileName) check(e.size == keys.size(), "an intact file has its listed size");

    static engine::SearchTables* t = [] {
        auto* tables = new engine::SearchTables;
        engine::allocateSearchTables(*tables);
        engine::setTableSize(*tables, 0);
        return tables;
    }();
    engine::decodeKeys(*t, keys);
    engine::clearTable(*t);
    int stored = 0;
    for (const char* fen : {"W:W21-32:B1-12", "W:W13,18,22,23,26,27,31:B2,5,6,9,10,11,15", "W:WK1,22,30:B3,7,12"}) {
        const rules::Board board = rules::parseFen(fen).position->board;
        engine::computeKeys(*t, board);
        const engine::HashKey key = engine::hashKeyFor(t->keyIndex, t->keyLock, rules::White);
        engine::storeTable(t->table, key, 100 + stored, 0, 5, engine::Bound::Exact, 22, 18);
        check(engine::probeTable(t->table, key).has_value(), "a stored position is found at once");
        ++stored;
        engine::togglePiece(*t, rules::WhiteMan, 22);
        engine::probeTable(t->table, engine::hashKeyFor(t->keyIndex, t->keyLock, rules::White));
    }
    return 0;
}
