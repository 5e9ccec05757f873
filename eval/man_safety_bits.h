#pragma once
// The man-safety rules for all men at once, on square sets: the same sum as
// the rules applied man by man (manSafetyTerm), computed with a few dozen
// mask operations instead of a walk over the men.

#include "eval/masks.h"

namespace eval {

// White's view, before the clamp; the caller clamps and turns it.
int manSafetySum(const BoardMasks& m, const TurnedMasks& turned, int phase);

}  // namespace eval
