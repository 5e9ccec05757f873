// The readable weights: the source the build compiles in, damaged sources
// refused with their line, and values rewritten in place.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "eval/eval_weights.h"
#include "eval/weights_text.h"

namespace {

std::string sourceText() {
    std::ifstream in(TAVOLEX_SOURCE_DIR "/data/eval_weights.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A complete source: every weight on its own line, line k + 1 for weight k.
std::string completeText() {
    std::string text;
    for (int k = 0; k < eval::NumWeights; ++k)
        text += std::string(eval::WeightNames[k]) + " " + std::to_string(k) + "\n";
    return text;
}

TEST(WeightsText, TheSourceIsWhatTheBuildCompiledIn) {
    const eval::WeightsText parsed = eval::parseWeights(sourceText());
    ASSERT_TRUE(parsed.values) << "line " << parsed.line << ": " << parsed.error;
    EXPECT_EQ(*parsed.values, eval::DefaultWeights);
}

struct DamageCase {
    const char* name;
    int line;              // of completeText() to replace (from 1), 0 to append
    const char* text;      // the replacement line, or nullptr to delete it
    int faultLine;
    const char* error;
};

// Line 3 of completeText() is weight 2, king-pre-endgame.
const DamageCase kDamageCases[] = {
    {"UnknownName", 3, "king-pre-endgames 620", 3, "unknown weight 'king-pre-endgames'"},
    {"NotANumber", 3, "king-pre-endgame 6x0", 3, "'6x0' is not a whole number"},
    {"MissingValue", 3, "king-pre-endgame", 3, "king-pre-endgame needs one value"},
    {"TwoValues", 3, "king-pre-endgame 620 640", 3, "king-pre-endgame needs one value"},
    {"OutOfRange", 3, "king-pre-endgame 99999", 3, "99999 is outside -2000..2000"},
    {"GivenTwice", 0, "king-opening 1", eval::NumWeights + 1, "king-opening given twice"},
    {"Missing", 3, nullptr, eval::NumWeights - 1, "incomplete: missing king-pre-endgame"},
};

class DamagedWeights : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedWeights, AreRefusedWithTheLineAtFault) {
    const DamageCase& c = GetParam();
    std::istringstream in(completeText());
    std::string text;
    int n = 0;
    for (std::string line; std::getline(in, line);) {
        ++n;
        if (n == c.line) {
            if (c.text) text += std::string(c.text) + "\n";
        } else {
            text += line + "\n";
        }
    }
    if (c.line == 0) text += std::string(c.text) + "\n";
    const eval::WeightsText parsed = eval::parseWeights(text);
    EXPECT_FALSE(parsed.values);
    EXPECT_EQ(parsed.line, c.faultLine);
    EXPECT_EQ(parsed.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(Source, DamagedWeights, testing::ValuesIn(kDamageCases),
                         [](const testing::TestParamInfo<DamageCase>& i) { return std::string(i.param.name); });

TEST(WeightsText, CommentsAndBlankLinesAreIgnored) {
    const eval::WeightsText parsed = eval::parseWeights("# heading\n\n" + completeText() + "   # trailing\n");
    ASSERT_TRUE(parsed.values) << parsed.error;
    EXPECT_EQ((*parsed.values)[eval::KingMiddle], 1);
}

TEST(WeightsText, RewritingChangesOnlyTheValues) {
    const std::string text = sourceText();
    eval::WeightValues changed = eval::DefaultWeights;
    changed[eval::KingOpening] = 1234;   // longer than the value it replaces
    changed[eval::ShotLarge] = 7;        // shorter
    changed[eval::WingBalance] = -15;
    const std::string rewritten = eval::rewriteWeights(text, changed);
    const eval::WeightsText parsed = eval::parseWeights(rewritten);
    ASSERT_TRUE(parsed.values) << parsed.error;
    EXPECT_EQ(*parsed.values, changed);
    // Every comment line is kept, in order.
    std::istringstream before(text), after(rewritten);
    std::string a, b;
    while (std::getline(before, a) && std::getline(after, b)) {
        if (a.empty() || a[0] == '#') {
            EXPECT_EQ(a, b);
        }
    }
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(rewritten.begin(), rewritten.end(), '\n'));
    // The same values give the same text.
    EXPECT_EQ(eval::rewriteWeights(text, eval::DefaultWeights), text);
}

}  // namespace
