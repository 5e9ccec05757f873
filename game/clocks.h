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

// Timer1's tick (`ajouter_temps`): while a person is to move, their total is
// their clock at the start of the turn plus the seconds since.
void ajouter_temps(Core& core);
// The search's display of the engine's clock: the side to move's total.
void showEngineClock(Core& core, std::int32_t total);
// "Horloges à zéro": both clocks to zero; also ends a rated game's clock rule.
void Horlogeszro1Click(Core& core);
// "Pause": stops or restarts the tick. A resumed turn counts from now, so the
// seconds of the turn before the pause are not banked.
void Pause2Click(Core& core);
// "Arrêt du calcul", "Arrêter le calcul", "Suivant": the engine stops and
// plays (or reports) its best move so far.
void pause(Core& core);
// After a move: the mover banks its last shown total and the side now to
// move starts its turn.
void changeTurn(Core& core, rules::Side mover);

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
