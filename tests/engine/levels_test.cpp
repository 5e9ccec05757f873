// Playing levels: the budgets of each item, the custom level, planMove's
// integer arithmetic and the depth caps.

#include <gtest/gtest.h>

#include "engine/levels.h"

namespace {

using engine::LevelState;
using engine::TimePlan;

int itemOf(int number) {
    for (std::size_t i = 0; i < engine::LevelTable.size(); ++i)
        if (engine::LevelTable[i].number == number) return static_cast<int>(i);
    return -1;
}

struct PlanCase {
    const char* name;
    int levelNumber;         // -1: custom budgets below
    int budget, hardBudget;
    int n;                   // plies played
    int clockTotal;          // the side's seconds so far
    int target, hard, game;
};

const PlanCase kPlanCases[] = {
    // 160 / 60 = 2, x 9/10 = 1.
    {"ExcellenceFirstMove", 5, 0, 0, 0, 0, 1, 5, 178},
    // 320000 / 60 = 5333, x 9/10 = 4799.
    {"LongLongFirstMove", 17, 0, 0, 0, 0, 4799, 23995, 319998},
    // Plies left 15, time left 240 - 100 = 140: 140 / 15 = 9, x 9/10 = 8;
    // never above 160 / 10 = 16; game budget 76 x 178 / 60 = 225.
    {"ExcellenceAtPly75", 5, 0, 0, 75, 100, 8, 40, 225},
    // The weakest levels: target and hard time 0 (a tenth of their budget).
    {"NeophyteGetsNoTime", 0, 0, 0, 0, 0, 0, 0, 58},
    {"PromotionGetsNoTime", 3, 0, 0, 10, 0, 0, 0, 358},
    {"HonneurGetsOneSecond", 4, 0, 0, 0, 0, 1, 5, 600},
    // A clock already past the budget still gets one second.
    {"OverspentClockGetsOneSecond", 5, 0, 0, 20, 200, 1, 5, 178},
    // ... or the budget / 90 while that still fits the hard budget.
    {"OverspentLongGetsBudgetOver90", -1, 9000, 9500, 20, 9200, 100, 500, 9500},
    // A budget of exactly 30 is not raised to one second.
    {"ThirtySecondsForThirtyMoves", -1, 30, 100, 0, 630, -9, -45, 100},
    // No time limit.
    {"NoLimit", -1, 32000, 32000, 0, 0, 3200000, 3200000, 32000},
};

class PlanMove : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanMove, GivesTheWorkedNumbers) {
    const PlanCase& c = GetParam();
    LevelState level;
    if (c.levelNumber >= 0) {
        engine::selectLevel(level, itemOf(c.levelNumber));
    } else {
        level.levelBudget = c.budget;
        level.levelHardBudget = c.hardBudget;
    }
    TimePlan plan;
    engine::planMove(plan, level, c.n, c.clockTotal, 1000, false, false);
    EXPECT_EQ(plan.targetTime, c.target);
    EXPECT_EQ(plan.hardTime, c.hard);
    EXPECT_EQ(plan.gameBudget, c.game);
    EXPECT_EQ(plan.moveStart, c.clockTotal);
    EXPECT_EQ(plan.timeBase, 1000 - c.clockTotal);
}

INSTANTIATE_TEST_SUITE_P(Levels, PlanMove, testing::ValuesIn(kPlanCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlanMoveModes, AnalysisAndInfiniteThinking) {
    LevelState level;   // 160 / 178
    TimePlan plan;
    plan.timeBase = 77;
    plan.moveStart = 12;
    engine::planMove(plan, level, 30, 500, 1000, true, false);
    EXPECT_EQ(plan.timeBase, 77) << "infinite thinking keeps the time base";
    EXPECT_EQ(plan.moveStart, 12);
    EXPECT_EQ(plan.targetTime, engine::UnlimitedTime);
    EXPECT_EQ(plan.hardTime, engine::UnlimitedTime);

    engine::planMove(plan, level, 30, 500, 1000, false, true);
    EXPECT_EQ(plan.targetTime, 160 / 30);
    EXPECT_EQ(plan.hardTime, 5 * (160 / 30));
}

TEST(Levels, DepthCapsOfTheWeakestLevels) {
    const struct {
        int number;
        int cap;
    } caps[] = {{0, 6}, {1, 3}, {2, 6}, {3, 0}, {4, 0}, {5, 0}, {17, 0}};
    for (const auto& c : caps) {
        LevelState level;
        engine::selectLevel(level, itemOf(c.number));
        EXPECT_EQ(engine::depthCap(level), c.cap) << "level " << c.number;
    }
}

TEST(Levels, ItemsSetBudgetsMinutesAndNumber) {
    LevelState level;
    EXPECT_EQ(level.levelBudget, 160);
    EXPECT_STREQ(level.nbMinutes, "3");
    engine::selectLevel(level, itemOf(16));
    EXPECT_EQ(level.levelBudget, 6700);
    EXPECT_EQ(level.levelHardBudget, 7198);
    EXPECT_STREQ(level.nbMinutes, "120");
    EXPECT_EQ(level.levelNumber, 16);
    EXPECT_STREQ(engine::LevelTable[static_cast<std::size_t>(level.checkedItem)].caption, "6 : 30 coups en 2 h");
}

TEST(Levels, CustomLevelFromTheMinutesBox) {
    LevelState level;
    engine::showCustomTimePanel(level);
    EXPECT_TRUE(level.customPanelShown);
    for (const char* refused : {"", "0", "-3", "abc", "4x", "999999"}) {
        EXPECT_FALSE(engine::setCustomTime(level, refused)) << refused;
        EXPECT_TRUE(level.customPanelShown);
        EXPECT_EQ(level.levelBudget, 160);
    }
    EXPECT_TRUE(engine::setCustomTime(level, "4"));
    EXPECT_FALSE(level.customPanelShown);
    EXPECT_EQ(level.levelBudget, 220);
    EXPECT_EQ(level.levelHardBudget, 238);
    EXPECT_EQ(level.levelNumber, engine::CustomLevelNumber);
    EXPECT_EQ(level.checkedItem, -1);
}

}  // namespace
