#pragma once
// The game controller's steps that need no window: what the game waits for
// next, draw offers, and the switches between the engine, two people and
// self-play. The window runs a pass whenever something happened (a move, a
// command, the engine's answer) and does what the pass reports: it starts
// the engine's search when its turn is due; clicks are handled as they come
// (person_move.h).

#include <optional>

#include "game/core.h"
#include "game/end_of_game.h"

namespace game {

struct PassOutcome {
    bool hideCaptureLabels = false;  // the engine is to move: "Prise", "obligatoire", "majoritaire" go
    bool engineTurn = false;         // the engine's turn is due
    int moveNumber = 1;              // "Coups : " and this number
};

// One pass of the game loop: whose turn it is. Self-play and a set-up
// position handed to the computer give the move to the engine; while pieces
// are being placed nobody moves.
PassOutcome gameLoopPass(Core& core);

// The person offers a draw ("Proposer nul"). The engine accepts when fewer
// than 20 pieces are left and its last score does not promise it more than
// a draw (from the person's side while it thinks on the person's time, from
// its own side otherwise); the result is then decided. Otherwise the notice
// "Nul refusé" is shown, until the next click on the board.
std::optional<EndOfGame> offerDraw(Core& core);

// "Humain contre humain": two people play, or the person plays the computer
// again. When two people take over, the engine's pending turn goes to the
// person whose side is to move.
void toggleTwoPeople(Core& core);

// "Ordinateur contre ordinateur". Turned on, the engine plays both sides
// from the side to move. Turned off, the person takes the side to move and
// the engine the other one; when one player is the computer and the other a
// person, their names follow their colours.
void setSelfPlay(Core& core, bool on);

}  // namespace game
