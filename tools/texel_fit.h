#pragma once
// The fitting core of fit_eval (Texel's method): positions of played games,
// each with the game's result, and integer parameters moved one at a time
// while the mean squared error between the results and the win probability
// predicted from the scores falls.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tools {

// The win probability of a score (1/200 of a man) under scale k.
double winProbability(double k, int score);

// Mean of (result - winProbability(k, score))^2 over the samples.
double meanSquaredError(std::span<const float> results, std::span<const int> scores, double k);

// The scale k that minimises the error of these scores, searched between
// 1e-5 and 1e-1 (a man's lead of 200 then predicts from 50.05% to certainty).
double chooseScale(std::span<const float> results, std::span<const int> scores);

// One integer to fit. apply(v) puts v in force for the scorer; `samples`
// lists the samples whose score v can change (empty: all of them), so that
// a trial rescores only those.
struct FitParameter {
    std::string name;
    int value = 0;
    int low = 0, high = 0;
    int step = 1;   // the first step; halved down to 1 when neither way helps
    std::vector<std::uint32_t> samples;
    std::function<void(int)> apply;
};

struct FitOptions {
    int maxSweeps = 20;
    // Called after each sweep with its number, the mean error and how many
    // parameters moved.
    std::function<void(int sweep, double error, int moved)> progress;
};

// Texel's local search: each parameter in turn is moved by its step while
// that lowers the error, one way or the other; a parameter that moves
// neither way has its step halved. Ends after a sweep that moved nothing
// with every step at 1, or after maxSweeps. `scores` holds the samples'
// scores with the parameters in force and is kept in step; `score(i)`
// scores sample i afresh. Returns the final mean error.
double fitParameters(std::span<FitParameter> params, std::span<const float> results, std::vector<int>& scores,
                     const std::function<int(std::uint32_t)>& score, double k, const FitOptions& options);

}  // namespace tools
