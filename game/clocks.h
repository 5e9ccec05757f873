#pragma once
// The game clocks: each side's seconds used, advanced by a one-second tick
// while a person thinks and by the search while the engine thinks, and the
// loss on time of rated games.

#include <cstdint>
#include <optional>
#include <string>

#include "game/core.h"

namespace game {

// The labels of one side: minutes as a plain number, seconds on two digits
// ("1" and "05" after 65 seconds).
std::string clockMinutesText(const SideClock& c);
std::string clockSecondsText(const SideClock& c);

// Each tick of the window's clock timer: the side to move's total so far, its
// banked seconds plus those of the running turn, is shown. The clocks stand
// still until the game's first move is being thought about (startClocks)
// and while "Pause" is ticked.
void tickClocks(Core& core);
// Both clocks show their totals (after they were set from elsewhere).
void showTotals(Core& core);
// The clocks run from now: the person's first click, or the engine's first
// turn. Nothing happens when they already run.
void startClocks(Core& core);
// The game is over: the clocks stand still, the running turn banked, until
// a move is played again.
void stopClocks(Core& core);
// "Horloges à zéro": both clocks to zero; also ends a rated game's clock rule.
void resetClocks(Core& core);
// "Pause": stops or restarts the clocks. The seconds of the running turn are
// banked when it stops, so a resumed clock goes on from where it stood.
void switchClockPause(Core& core);
// After a move: the mover banks the whole seconds of its turn and the side
// now to move starts its own. A clock never goes back during play.
void changeTurn(Core& core, rules::Side mover);
// The seconds `side` has used, its running turn included.
std::int32_t runningTotal(const Core& core, rules::Side side);

// Reasons of the end of a game that the clocks can give.
constexpr int PersonLostOnTime = 4;
constexpr int EngineLostOnTime = 5;

// The time limit of a rated game after n plies, in seconds.
std::int32_t timeLimit(int hardBudget, int n);
// In a rated game: 4 when the person (the side not to move) has overstepped
// the limit, 5 when the engine (the side to move) has. A person rated below
// 1800 is given twice the time. Nothing outside rated games.
std::optional<int> checkTimeLoss(const Core& core, int personRating);

}  // namespace game
