// Opening books ("ouvert_b.ouv", "X_n.ouv"): lines of any text are read
// token by token within their bounds, and the continuations of games taken
// from the book's own lines are found without fault.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/book.h"
#include "files/text_lines.h"
#include "fuzz_support.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::BookLines lines = files::splitTextLines(std::span<const std::uint8_t>(data, size));
    std::erase_if(lines, [](const std::string& l) { return l.empty(); });
    engine::sortBook(lines);

    std::array<engine::BookMove, engine::MaxBookCandidates> out{};
    // The first lines' own moves, as games played so far (a few: every
    // lookup reads the whole book).
    for (std::size_t l = 0; l < lines.size() && l < 4; ++l) {
        const std::string& line = lines[l];
        std::vector<engine::BookMove> played;
        std::size_t at = 0;
        while (at < line.size() && played.size() <= static_cast<std::size_t>(engine::LastBookPly)) {
            const engine::BookToken t = engine::readBookToken(line, at);
            check(t.next > at, "a token always moves on");
            played.push_back({t.from, t.to});
            at = t.next;
        }
        for (std::size_t n = 0; n <= played.size(); ++n) {
            const int count = engine::bookCandidates(lines, std::span(played).first(n), out);
            check(count >= 0 && count <= engine::MaxBookCandidates, "at most 20 candidates");
            for (int i = 0; i < count; ++i)
                check(out[i].from >= 1 && out[i].from <= 32 && out[i].to >= 1 && out[i].to <= 32,
                      "candidates name squares of the board");
        }
    }
    return 0;
}
