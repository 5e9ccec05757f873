#pragma once
// The readable form of the evaluation's weights (data/eval_weights.txt): one
// weight a line, "name value", '#' starting a comment. The build turns it
// into the compiled-in defaults; the fitting tool rewrites its values.

#include <optional>
#include <string>
#include <string_view>

#include "eval/weight_names.h"

namespace eval {

struct WeightsText {
    std::optional<WeightValues> values;   // set when the whole text is good
    int line = 0;                         // the line at fault, from 1
    std::string error;
};

// Every weight of WeightNames exactly once, each a whole number within
// MinWeight..MaxWeight; an unknown name, a repeated one, a missing value or
// anything after it is an error naming its line. Missing weights are
// reported at the last line.
WeightsText parseWeights(std::string_view text);

// `text` (which parses) with each weight's value replaced by `values`; the
// comments, order and spacing of the lines stay as they were.
std::string rewriteWeights(std::string_view text, const WeightValues& values);

}  // namespace eval
