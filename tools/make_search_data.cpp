// make_search_data: the search's data files.
//
//   make_search_data keys OUTPUT      "hashkey33.dat": 1320 bytes, the
//                                     position keys (indexKeys, then
//                                     lockKeys) from the fixed sequence
//   make_search_data learned OUTPUT   "kesto.dat": an empty table of
//                                     learned positions, 1048568 bytes
//
// Both are little-endian. The file is written aside and renamed, so a failed
// run leaves the previous file.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "engine/tables.h"
#include "files/bytes.h"

namespace {

bool writeFile(const std::filesystem::path& out, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path temp = out;
    temp += ".tmp";
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!f) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, out, ec);
    return !ec;
}

}  // namespace

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
    if (!writeFile(argv[2], w.data())) {
        std::fprintf(stderr, "make_search_data: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
