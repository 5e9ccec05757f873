#include "engine/levels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace engine {

void selectLevel(LevelState& level, int item) {
    if (item < 0 || item >= static_cast<int>(LevelTable.size())) return;
    const LevelItem& l = LevelTable[static_cast<std::size_t>(item)];
    level.levelBudget = l.budget;
    level.levelHardBudget = l.hardBudget;
    level.levelNumber = l.number;
    level.checkedItem = item;
    std::snprintf(level.nbMinutes, sizeof level.nbMinutes, "%d", l.minutes);
}

void showCustomTimePanel(LevelState& level) { level.customPanelShown = true; }

bool setCustomTime(LevelState& level, std::string_view text) {
    // A plain decimal number; anything else, an empty box or a number too
    // large for the budgets is refused and the panel stays.
    if (text.empty() || text.size() > 5) return false;
    int m = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        m = m * 10 + (c - '0');
    }
    if (m <= 0) return false;
    level.customPanelShown = false;
    level.levelBudget = 55 * m;
    level.levelHardBudget = 60 * m - 2;
    level.levelNumber = CustomLevelNumber;
    level.checkedItem = -1;
    std::snprintf(level.nbMinutes, sizeof level.nbMinutes, "%.*s", static_cast<int>(text.size()), text.data());
    return true;
}

void hideCustomTimePanel(LevelState& level) { level.customPanelShown = false; }

int depthCap(const LevelState& level) {
    // Budgets 1..5 stop after iterations 2..6.
    return level.levelBudget >= 1 && level.levelBudget <= 5 ? level.levelBudget + 1 : 0;
}

void planMove(TimePlan& plan, const LevelState& level, int n, std::int32_t clockTotal, std::int64_t now,
              bool infiniteThinking, bool gameAnalysis) {
    const std::int32_t budget = level.levelBudget;
    const std::int32_t hard = level.levelHardBudget;
    // Step 1. The time base, so that now - timeBase is the side's total.
    if (!infiniteThinking) {
        plan.timeBase = static_cast<std::int32_t>(now) - clockTotal;
        plan.moveStart = clockTotal;
        plan.elapsed = clockTotal;
    }
    // Step 2. The target per move.
    std::int32_t target;
    if (gameAnalysis) {
        target = budget / 30;
    } else {
        // The first 30 moves of each side get the whole budget and every
        // further 15 moves half of it. Plies left counts both sides, so the
        // target is about half a fair share.
        std::int32_t pliesLeft, timeLeft;
        if (n >= 60) {
            pliesLeft = 30 * (n / 30) + 30 - n;
            timeLeft = (n / 30 + 1) * budget / 2 - plan.moveStart;
        } else {
            pliesLeft = 60 - n;
            timeLeft = budget - plan.moveStart;
        }
        target = timeLeft / pliesLeft;
        target = target * 9 / 10;
        if (target < 1 && budget != 30) target = 1;
        if (budget / 90 > target && budget / 90 + plan.moveStart < hard) target = budget / 90;
    }
    // Step 3. Never more than a tenth of the budget.
    if (budget / 10 < target) target = budget / 10;
    plan.targetTime = target;
    plan.hardTime = 5 * target;
    plan.gameBudget = n >= 60 ? (n + 1) * hard / 60 : hard;
    if (budget == NoTimeLimit || infiniteThinking) plan.targetTime = plan.hardTime = UnlimitedTime;
}

}  // namespace engine

namespace engine {

namespace {

// The plan counts whole seconds of a clock read once a second: "more than T
// seconds" has passed, on average, half a second after T.
std::int64_t planMilliseconds(std::int32_t seconds) { return std::int64_t{seconds} * 1000 + 500; }

}  // namespace

SearchLimits moveTimeLimits(std::int64_t ms) {
    SearchLimits l;
    l.hardMs = ms;
    l.softMs = std::max<std::int64_t>(1, ms / 2);
    return l;
}

SearchLimits levelLimits(const LevelState& level, int n, std::int32_t clockTotal, bool gameAnalysis) {
    SearchLimits l;
    l.depth = depthCap(level);
    if (level.levelBudget == NoTimeLimit) return l;
    TimePlan plan;
    planMove(plan, level, n, clockTotal, 0, false, gameAnalysis);
    l.softMs = planMilliseconds(plan.targetTime);
    l.softFromIteration = 6;
    // The side's whole clock may be spent already: then the search stops at
    // its first check, with the best move of the iterations it finished.
    const std::int32_t leftInGame = plan.gameBudget - clockTotal;
    l.hardMs = std::max<std::int64_t>(1, planMilliseconds(std::min(plan.hardTime, leftInGame)));
    return l;
}

std::int64_t personTimeLimitMs(const LevelState& level, int n, std::int32_t engineClockTotal) {
    TimePlan plan;
    planMove(plan, level, n + 1, engineClockTotal, 0, false, false);
    const std::int64_t own = level.levelBudget == NoTimeLimit ? 60 : plan.hardTime;
    return std::clamp<std::int64_t>(own, 10, 60) * 1000;
}

}  // namespace engine
