#pragma once
// Playing levels: each is a pair of time budgets, and the weakest also cap
// the depth. planMove turns the level and the side's clock into the limits
// of one search. All arithmetic is in whole seconds, integer division.

#include <array>
#include <cstdint>
#include <string_view>

namespace engine {

// A value of exactly this many seconds means no time limit.
constexpr int NoTimeLimit = 32000;
// What the limits become when nothing may stop the search on time.
constexpr int UnlimitedTime = 3200000;

struct LevelItem {
    const char* item;      // menu item
    const char* caption;
    int budget;            // seconds for 30 moves (levelBudget)
    int hardBudget;        // allowance for the side's clock (levelHardBudget)
    int minutes;           // written into Nbminutes
    int number;            // levelNumber
};

// The "Niveau" menu, then the "X : Spécial" items; "Autre" (N8Autre1, number
// 18) is customLevel below.
inline constexpr std::array<LevelItem, 16> LevelTable = {{
    {"Dbutant1", "0 : Néophyte", 5, 58, 1, 0},
    {"Niveau01", "1 : Débutant", 2, 58, 1, 1},
    {"Niveau02", "2 : Amateur", 5, 158, 1, 2},
    {"Niveau03", "3 : Promotion", 6, 358, 1, 3},
    {"Niveau04", "4 : Honneur", 10, 600, 1, 4},
    {"Niveau05", "5 : Excellence", 160, 178, 3, 5},
    {"Niveau06", "6 : Maître", 270, 298, 5, 6},
    {"Niveau07", "7 : Grand Maître", 540, 598, 10, 7},
    {"Niveau081", "8 : Grand Maître International", 1680, 1798, 30, 8},
    {"N150coupsen3mn1", "1 : 30 coups en 3 mn", 160, 178, 3, 11},
    {"N250coupsen5mn1", "2 : 30 coups en 5 mn", 270, 298, 5, 12},
    {"N350coupsen10mn1", "3 : 30 coups en 10 mn", 540, 598, 10, 13},
    {"N450coupsen30mn1", "4 : 30 coups en 30 mn", 1680, 1798, 30, 14},
    {"N550coupsen1h1", "5 : 30 coups en 1 h", 3360, 3598, 60, 15},
    {"N650coupsen2h1", "6 : 30 coups en 2 h", 6700, 7198, 120, 16},
    {"N7longlong1", "7 : long, long", 320000, 319998, 500, 17},
}};
constexpr int NumRegularLevels = 9;            // items 0..8 form the "Niveau" menu
constexpr int StartLevelItem = 5;              // "5 : Excellence"
constexpr int NeophyteLevelNumber = 0;
constexpr int CustomLevelNumber = 18;          // "Autre"
constexpr const char* CustomLevelCaption = "Autre";

struct LevelState {
    int levelBudget = LevelTable[StartLevelItem].budget;
    int levelHardBudget = LevelTable[StartLevelItem].hardBudget;
    int levelNumber = LevelTable[StartLevelItem].number;
    // The checked item: an index of LevelTable, or -1 for "Autre".
    int checkedItem = StartLevelItem;
    // The minutes of the level as the box Nbminutes on Panel9 shows them:
    // set by every level, read back by "Autre", saved with the game.
    char nbMinutes[8] = "3";
    bool customPanelShown = false;    // Panel9
    // "Réflexion sur temps adverse" ("Arret réflexion par clic souris" is
    // the game's option stopByClick).
    bool ponderOnPersonTime = true;
};

// One of the seventeen handlers: the item's budgets, minutes and number.
void selectLevel(LevelState& level, int item);
// showCustomTimePanel shows the panel; setCustomTime reads Nbminutes as m and, when
// it is a positive number, sets 55 x m and 60 x m - 2 and checks "Autre".
// Otherwise nothing changes, the panel stays, and false is returned.
void showCustomTimePanel(LevelState& level);
bool setCustomTime(LevelState& level, std::string_view nbMinutes);
void hideCustomTimePanel(LevelState& level);
// The depth cap: the last iteration a level allows, or 0 for none.
int depthCap(const LevelState& level);

// What one search may spend. 0 means no such limit; with none at all the
// search goes on until it is stopped or has run its thirtieth iteration.
// The playing levels turn into these through levelLimits (levels.h).
struct SearchLimits {
    int depth = 0;                 // stop after this iteration
    std::int64_t nodes = 0;        // stop at the first node check past this many
    // Checked after each finished iteration from softFromIteration on: no
    // new iteration is begun once this many milliseconds have passed (not
    // while an iteration's value has just fallen outside the window).
    std::int64_t softMs = 0;
    int softFromIteration = 1;
    // Checked every few thousand nodes: the search stops, whatever it is
    // doing, once this many milliseconds have passed.
    std::int64_t hardMs = 0;

    bool operator==(const SearchLimits&) const = default;
};
// A fixed time per move: an iteration begun past half of it would rarely
// finish.
SearchLimits moveTimeLimits(std::int64_t ms);

// The limits of one search, in whole seconds, as the level plans them.
struct TimePlan {
    std::int32_t timeBase = 0;    // clock reading minus the side's total at the start
    std::int32_t elapsed = 0;     // last computed side total, running move included
    std::int32_t moveStart = 0;   // the side's total when the search started
    std::int32_t targetTime = 0;  // checked after each finished iteration
    std::int32_t hardTime = 0;    // checked while searching
    std::int32_t gameBudget = 0;  // the side's whole clock
};

// `clockTotal` is the seconds used so far by the side to move, `now` the
// clock reading, n the plies played. Under infinite thinking the time base
// is left alone and both time limits become unlimited.
void planMove(TimePlan& plan, const LevelState& level, int n, std::int32_t clockTotal, std::int64_t now,
              bool infiniteThinking, bool gameAnalysis);

// The engine's own move at `level`, n plies played, `clockTotal` seconds on
// the engine side's clock: the level's target and hard times, the hard time
// never past the side's budget for the game, and the weakest levels' depth
// caps. In a game analysis every position gets a thirtieth of the budget.
SearchLimits levelLimits(const LevelState& level, int n, std::int32_t clockTotal, bool gameAnalysis);

// Thinking on the person's time stops by itself once it has thought as long
// as the engine may on its next move at this level, but never less than 10
// nor more than 60 seconds: an idle window goes quiet.
std::int64_t personTimeLimitMs(const LevelState& level, int n, std::int32_t engineClockTotal);

}  // namespace engine
