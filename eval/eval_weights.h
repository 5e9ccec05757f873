#pragma once
// The evaluation's weights in force. Their defaults are the values of
// data/eval_weights.txt, which the build turns into eval/default_weights.inc
// (tools/make_eval_weights); the fitting tool tries others in place.

#include "eval/weight_names.h"

namespace eval {

inline constexpr WeightValues DefaultWeights = {
#include "eval/default_weights.inc"
};

struct EvalWeights {
    WeightValues values = DefaultWeights;

    int operator[](Weight w) const { return values[w]; }
    int& operator[](Weight w) { return values[w]; }
    bool operator==(const EvalWeights&) const = default;
};

}  // namespace eval
