// make_eval_weights: turns the readable weights (data/eval_weights.txt) into
// the list of default values the evaluation compiles in.
//
//   make_eval_weights SOURCE OUTPUT
//
// A source that does not parse stops the build with the line at fault, and
// the output is left as it was.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "eval/weights_text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_eval_weights SOURCE OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "make_eval_weights: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const eval::WeightsText parsed = eval::parseWeights(text.str());
    if (!parsed.values) {
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], parsed.line, parsed.error.c_str());
        return 1;
    }
    std::string out = "// Written by make_eval_weights from data/eval_weights.txt; edit that file.\n";
    for (int k = 0; k < eval::NumWeights; ++k)
        out += std::to_string((*parsed.values)[k]) + ",   // " + std::string(eval::WeightNames[k]) + "\n";

    // Written beside the output and renamed over it, so a failed write never
    // leaves half a list for the compiler.
    const std::filesystem::path target = argv[2];
    const std::filesystem::path temporary = target.string() + ".new";
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << out;
        if (!file.flush()) {
            std::fprintf(stderr, "make_eval_weights: cannot write %s\n", temporary.string().c_str());
            return 1;
        }
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::fprintf(stderr, "make_eval_weights: cannot write %s: %s\n", argv[2], ec.message().c_str());
        return 1;
    }
    return 0;
}
