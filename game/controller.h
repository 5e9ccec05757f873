#pragma once
// The game controller's steps that need no window: one pass of the game
// loop, the board's mouse handler, draw offers and the two-people switch.
// The window runs a pass whenever something happened (a click, a command, a
// turn that is due) and draws what the pass reports.

#include <optional>

#include "game/core.h"
#include "game/end_of_game.h"
#include "game/person_move.h"

namespace game {

struct PassOutcome {
    bool hideCaptureLabels = false;  // the engine is to move: "Prise", "obligatoire", "majoritaire" go
    bool engineTurn = false;         // the engine's turn is due (the working board holds the game position)
    bool clickHandled = false;       // a pending click went to the move input
    PersonClick click;               // its outcome, when clickHandled
    int moveNumber = 1;              // "Coups : " and this number
};

// One pass of the game loop, steps 1 to 9, without the window's work
// (mode display, message processing) and without the engine, which the
// window calls when engineTurn is set.
PassOutcome gameLoopPass(Core& core);

// The board's mouse-down handler: records the click for the next pass and
// raises the engine's stop flag. It may run inside an animation or a
// search, so it only records. Returns false when the click is ignored.
bool clic(Core& core, int x, int y);

// The engine's turn while no engine is built in: the computer's side makes
// no move and the turn stays with it. Only when that side has no legal move
// at all is the game over: the person's move has won it.
std::optional<EndOfGame> turnWithoutEngine(Core& core);

// The person offers a draw ("Proposer nul"). The engine accepts when fewer
// than 20 pieces are left and its last score does not promise it more than
// a draw (from the person's side while it thinks on the person's time, from
// its own side otherwise); the result is then decided. Otherwise the notice
// "Nul refusé" is shown, until the next click on the board.
std::optional<EndOfGame> ProposernulClick(Core& core);

// "Humain contre humain" (its handler is named `Ordinateur`): two people
// play, or the person plays the computer again. When two people take over,
// the engine's pending turn goes to the person whose side is to move.
void Ordinateur(Core& core);

}  // namespace game
