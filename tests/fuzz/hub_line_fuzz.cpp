// The hub protocol's lines: any line is read into a command and pairs or
// refused with a reason; values written back read the same; positions,
// moves and times in the values are read without fault.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/hub_protocol.h"
#include "fuzz_support.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const cli::hub::Line line = cli::hub::parseLine(text);
    if (!line.error.empty()) return 0;
    rules::RulesState r;
    for (const cli::hub::Line::Arg& a : line.args) {
        check(!a.name.empty(), "every pair has a name");
        // A value without quotes or control characters survives a round trip
        // (value() writes a quote as an apostrophe, a control character as a blank).
        const bool plain = std::none_of(a.value.begin(), a.value.end(),
                                        [](char c) { return c == '"' || static_cast<unsigned char>(c) < 0x20; });
        if (plain) {
            const cli::hub::Line back = cli::hub::parseLine("x v=" + cli::hub::value(a.value));
            check(back.error.empty() && back.args.size() == 1 && back.args[0].value == a.value, "values read back");
        }
        if (const auto pos = cli::hub::parsePosition(a.value))
            check(cli::hub::positionText(pos->board, pos->side) == a.value, "positions read back");
        r.board = rules::startingPosition();
        if (const auto m = cli::hub::findMove(r, rules::White, a.value))
            check(m->from >= 21 && m->from <= 32, "a legal first move is a White man's");
        if (const auto s = cli::hub::parseSeconds(a.value))
            check(cli::hub::moveBudgetMs({*s, 0, *s}) >= 1, "a move always gets some time");
    }
    return 0;
}
