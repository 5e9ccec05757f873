// Positions as text (FEN): any text is read or refused with a reason, in
// our numbering or another program's; a position read is written by number
// and by name and both read back into the same position.

#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "rules/fen.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the numbering, as a GameType tag would: bits 0-1
    // the corner of square 1, bits 2-3 that of a1 (the seeds start with 2,
    // our own numbering, or 0, both counted from a1).
    const rules::Notation notation{static_cast<rules::Corner>(data[0] & 3),
                                   static_cast<rules::Corner>((data[0] >> 2) & 3)};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const rules::FenResult r = rules::parseFen(text, notation);
    if (!r.position) {
        check(!r.error.empty(), "a refusal says why");
        return 0;
    }
    check(r.position->board[0] == rules::Sentinel, "the sentinel is in place");
    for (const rules::FenSquares squares : {rules::FenSquares::Numbers, rules::FenSquares::Names}) {
        const rules::FenResult back = rules::parseFen(rules::toFen(r.position->board, r.position->side, squares));
        check(back.position.has_value(), "what is written reads back");
        check(back.position->board == r.position->board && back.position->side == r.position->side,
              "into the same position");
    }
    return 0;
}
