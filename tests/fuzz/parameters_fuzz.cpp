// Parameter files ("*.par"): any bytes either are refused as short or give
// parameters that round-trip through the block and that the evaluation
// uses without fault, whatever the thresholds, tables and condition squares.

#include <cstdint>
#include <span>

#include "eval/evaluate.h"
#include "eval/parameter_file.h"
#include "eval/parameters.h"
#include "fuzz_support.h"
#include "rules/fen.h"

using fuzzsupport::check;

namespace {

// Openings, middle games with both structures, endings with kings.
constexpr const char* Positions[] = {
    "W:W21-32:B1-12",
    "B:W17,21,22,23,24,25,26,27,28,29,30,31:B1,2,3,4,5,6,7,8,9,10,11,16",
    "W:W13,18,22,23,26,27,31:B2,5,6,9,10,11,15",
    "W:WK1,22,30:B3,7,12",
    "B:WK4,K29:BK10,14",
    "W:W26:B7",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    eval::ParameterBlock block{};
    if (eval::decodeParameters(std::span<const std::uint8_t>(data, size), block) != eval::ParameterFileStatus::Ok) {
        check(size < eval::ParameterFileSize, "only short files are refused");
        return 0;
    }
    const eval::EvalParameters params = eval::readFields(block);
    eval::ParameterBlock written{};
    eval::writeFields(params, written);
    check(std::equal(written.begin(), written.begin() + eval::ReservedOffset, block.begin()),
          "every field goes back to its bytes");

    static eval::EvalState* st = new eval::EvalState;
    st->params = params;
    for (const char* fen : Positions) {
        const rules::Board board = rules::parseFen(fen).position->board;
        eval::selectPhaseAndVariant(*st, board);
        eval::evaluateStatic(*st, board, rules::White);
        eval::evaluateStatic(*st, board, rules::Black);
    }
    return 0;
}
