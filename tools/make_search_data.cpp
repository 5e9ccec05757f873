// make_search_data: the search's data files.
//
//   make_search_data keys OUTPUT      "hashkey33.dat": 1320 bytes, the
//                                     position keys (indexKeys, then
//                                     lockKeys) from the fixed sequence,
//                                     and beside it "hashkey33.sum", its
//                                     checksum
//   make_search_data learned OUTPUT   "kesto.dat": an empty table of
//                                     learned positions, 1048568 bytes
//
// Both are little-endian. Files are written through files::saveFile, so a
// failed run leaves the previous file.

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "engine/tables.h"
#include "files/bytes.h"
#include "files/checksum.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_search_data keys|learned OUTPUT\n");
        return 2;
    }
    const std::string_view what = argv[1];
    files::ByteWriter w;
    if (what == "keys") {
        for (int i = 0; i < 2 * engine::KeyCount; ++i) w.i32(static_cast<std::int32_t>(engine::fixedKeyWord(i)));
        if (w.size() != engine::KeyFileSize) return 1;
    } else if (what == "learned") {
        w.zeros(engine::LearnedFileSize);
    } else {
        std::fprintf(stderr, "make_search_data: unknown file kind %s\n", argv[1]);
        return 2;
    }
    if (!files::writeFileAtomically(argv[2], w.data())) {
        std::fprintf(stderr, "make_search_data: cannot write %s\n", argv[2]);
        return 1;
    }
    if (what == "keys") {
        // The engine trusts the keys only as its manifest lists them.
        const std::filesystem::path manifest = std::filesystem::path(argv[2]).parent_path() / engine::KeyManifestFile;
        if (!files::writeManifest(manifest, {files::manifestEntryOf(engine::KeyFileName, w.data())})) {
            std::fprintf(stderr, "make_search_data: cannot write %s\n", manifest.string().c_str());
            return 1;
        }
    }
    return 0;
}
