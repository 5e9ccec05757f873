// The fitting core of fit_eval on made-up sets whose answer is known: the
// results follow the win probability of a known weight exactly, so the fit
// must find that weight (and the scale) again.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/texel_fit.h"

namespace {

// Sample i has features a_i and b_i; its score is wa * a_i + wb * b_i and
// its result the win probability of the true weights under TrueScale.
constexpr double TrueScale = 0.005;

struct Synthetic {
    std::vector<int> a, b;
    std::vector<float> results;
    int wa = 0, wb = 0;   // in force for score()
    int score(std::uint32_t i) const { return wa * a[i] + wb * b[i]; }
};

Synthetic makeSet(int trueA, int trueB) {
    Synthetic s;
    for (int x = -6; x <= 6; ++x)
        for (int y = -3; y <= 3; ++y) {
            s.a.push_back(x);
            s.b.push_back(y);
            s.results.push_back(static_cast<float>(tools::winProbability(TrueScale, trueA * x + trueB * y)));
        }
    return s;
}

std::vector<int> scoresOf(const Synthetic& s) {
    std::vector<int> scores;
    for (std::uint32_t i = 0; i < s.a.size(); ++i) scores.push_back(s.score(i));
    return scores;
}

TEST(TexelFit, ChoosesTheScaleTheResultsFollow) {
    Synthetic s = makeSet(200, 50);
    s.wa = 200;
    s.wb = 50;
    const std::vector<int> scores = scoresOf(s);
    EXPECT_NEAR(tools::chooseScale(s.results, scores), TrueScale, TrueScale * 0.01);
    EXPECT_LT(tools::meanSquaredError(s.results, scores, TrueScale), 1e-12);
}

struct FitCase {
    const char* name;
    int trueA, trueB;
    int startA, startB;
    bool listB;   // b's parameter names the samples it can change
};

const FitCase kFitCases[] = {
    {"FromBelow", 200, 50, 100, 0, false},
    {"FromAbove", 120, -40, 300, 60, false},
    // b changes only samples with b_i != 0: the rescoring of a list must
    // give the same answer as rescoring everything.
    {"WithSampleLists", 160, 70, 40, 10, true},
};

class TexelFitFinds : public testing::TestWithParam<FitCase> {};

TEST_P(TexelFitFinds, TheWeightsTheResultsFollow) {
    const FitCase& c = GetParam();
    Synthetic s = makeSet(c.trueA, c.trueB);
    s.wa = c.startA;
    s.wb = c.startB;
    std::vector<int> scores = scoresOf(s);
    std::vector<tools::FitParameter> params(2);
    params[0] = {"a", c.startA, -500, 500, 32, {}, [&s](int v) { s.wa = v; }};
    params[1] = {"b", c.startB, -500, 500, 32, {}, [&s](int v) { s.wb = v; }};
    if (c.listB)
        for (std::uint32_t i = 0; i < s.b.size(); ++i)
            if (s.b[i] != 0) params[1].samples.push_back(i);
    int sweeps = 0;
    tools::FitOptions options;
    options.maxSweeps = 200;
    options.progress = [&sweeps](int, double, int) { ++sweeps; };
    const double error = tools::fitParameters(
        params, s.results, scores, [&s](std::uint32_t i) { return s.score(i); }, TrueScale, options);
    EXPECT_EQ(params[0].value, c.trueA);
    EXPECT_EQ(params[1].value, c.trueB);
    EXPECT_EQ(s.wa, c.trueA);   // the values left in force are the fitted ones
    EXPECT_EQ(s.wb, c.trueB);
    EXPECT_LT(error, 1e-9);
    EXPECT_LT(sweeps, 200);     // it stopped by itself
    EXPECT_EQ(scores, scoresOf(s));
}

INSTANTIATE_TEST_SUITE_P(Synthetic, TexelFitFinds, testing::ValuesIn(kFitCases),
                         [](const testing::TestParamInfo<FitCase>& i) { return std::string(i.param.name); });

TEST(TexelFit, KeepsEachParameterWithinItsRange) {
    Synthetic s = makeSet(200, 0);
    s.wa = 50;
    std::vector<int> scores = scoresOf(s);
    std::vector<tools::FitParameter> params(1);
    params[0] = {"a", 50, 0, 120, 16, {}, [&s](int v) { s.wa = v; }};
    tools::fitParameters(params, s.results, scores, [&s](std::uint32_t i) { return s.score(i); }, TrueScale, {});
    EXPECT_EQ(params[0].value, 120);
}

}  // namespace
