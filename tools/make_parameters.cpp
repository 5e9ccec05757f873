// make_parameters: turns the readable parameter source (data/defaut_par.txt)
// into a binary parameter file of 1162 bytes.
//
//   make_parameters SOURCE OUTPUT
//
// The source holds, in any order and each exactly once: "thresholds P1 P2 P3";
// "table NAME" followed by 8 lines of 4 values (Black's back row first);
// "variant1-white", "variant1-black", "variant2-white", "variant2-black" with
// 7 squares each; "tempo NAME WEIGHT". '#' starts a comment. Anything else,
// a missing field or a value out of range stops the tool with the line at
// fault, and the output is left as it was.

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "eval/eval_state.h"
#include "eval/parameter_file.h"

namespace {

const std::map<std::string, int> TableNames = {
    {"default-opening", eval::DefaultOpening},   {"default-middle", eval::DefaultMiddle},
    {"pre-endgame", eval::PreEndgame},           {"endgame", eval::Endgame},
    {"variant1-opening", eval::Variant1Opening}, {"variant1-middle", eval::Variant1Middle},
    {"variant2-opening", eval::Variant2Opening}, {"variant2-middle", eval::Variant2Middle},
};

struct Parser {
    std::string file;
    std::vector<std::string> lines;
    std::size_t next = 0;
    int lineNumber = 0;

    [[noreturn]] void fail(const std::string& what) const {
        std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), lineNumber, what.c_str());
        std::exit(1);
    }

    // The next line with something on it, split into words; empty at the end.
    std::vector<std::string> words() {
        while (next < lines.size()) {
            std::string line = lines[next++];
            lineNumber = static_cast<int>(next);
            if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
            std::istringstream in(line);
            std::vector<std::string> w;
            for (std::string word; in >> word;) w.push_back(word);
            if (!w.empty()) return w;
        }
        return {};
    }

    int number(const std::string& word, int low, int high) const {
        std::size_t used = 0;
        int v = 0;
        try {
            v = std::stoi(word, &used);
        } catch (...) {
            fail("'" + word + "' is not a number");
        }
        if (used != word.size()) fail("'" + word + "' is not a number");
        if (v < low || v > high) fail(word + " is outside " + std::to_string(low) + ".." + std::to_string(high));
        return v;
    }
};

eval::EvalParameters parse(Parser& p) {
    eval::EvalParameters params;
    std::set<std::string> seen;
    const auto once = [&](const std::string& key) {
        if (!seen.insert(key).second) p.fail(key + " given twice");
    };
    for (std::vector<std::string> w = p.words(); !w.empty(); w = p.words()) {
        const std::string& key = w[0];
        if (key == "thresholds") {
            once(key);
            if (w.size() != 4) p.fail("thresholds needs P1 P2 P3");
            params.p1 = static_cast<std::int8_t>(p.number(w[1], 0, 24));
            params.p2 = static_cast<std::int8_t>(p.number(w[2], 0, 24));
            params.p3 = static_cast<std::int8_t>(p.number(w[3], 0, 24));
        } else if (key == "table") {
            if (w.size() != 2 || !TableNames.count(w[1])) p.fail("table needs one of the eight table names");
            once("table " + w[1]);
            eval::SquareTable& table = params.manTables[TableNames.at(w[1])];
            for (int row = 0; row < 8; ++row) {
                const std::vector<std::string> r = p.words();
                if (r.size() != 4) p.fail("a table row holds 4 values");
                for (int k = 0; k < 4; ++k) table[4 * row + k + 1] = static_cast<std::uint8_t>(p.number(r[k], 0, 255));
            }
        } else if (key == "variant1-white" || key == "variant1-black" || key == "variant2-white" ||
                   key == "variant2-black") {
            once(key);
            if (w.size() != 8) p.fail(key + " needs 7 squares");
            eval::ConditionSquares& squares = key == "variant1-white"   ? params.variant1White
                                              : key == "variant1-black" ? params.variant1Black
                                              : key == "variant2-white" ? params.variant2White
                                                                        : params.variant2Black;
            for (int k = 0; k < 7; ++k) squares[k] = static_cast<std::int8_t>(p.number(w[k + 1], 1, 32));
        } else if (key == "tempo") {
            if (w.size() != 3 || !TableNames.count(w[1])) p.fail("tempo needs a table name and a weight");
            once("tempo " + w[1]);
            params.tempoWeights[TableNames.at(w[1])] = static_cast<std::int8_t>(p.number(w[2], -128, 127));
        } else {
            p.fail("unknown entry '" + key + "'");
        }
    }
    // 1 thresholds + 8 tables + 4 condition lists + 8 tempo weights.
    if (seen.size() != 21) {
        p.lineNumber = static_cast<int>(p.lines.size());
        p.fail("incomplete: " + std::to_string(seen.size()) + " of 21 entries given");
    }
    return params;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_parameters SOURCE OUTPUT\n");
        return 2;
    }
    Parser p;
    p.file = argv[1];
    std::ifstream in(p.file);
    if (!in) {
        std::fprintf(stderr, "make_parameters: cannot read %s\n", argv[1]);
        return 1;
    }
    for (std::string line; std::getline(in, line);) p.lines.push_back(line);

    eval::EvalState st;
    st.params = parse(p);
    // The reserved bytes of a fresh file are zero.
    const std::filesystem::path out = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(out.parent_path(), ec);
    if (eval::saveParameters(st, nullptr, out) != eval::ParameterFileStatus::Ok) {
        std::fprintf(stderr, "make_parameters: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
