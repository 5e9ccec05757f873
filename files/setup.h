#pragma once
// Setting up a position by hand: while the mode is on a click puts the
// selected piece on a square instead of playing a move. Any placement is
// accepted, as a problem composer expects. The window shows the captions
// that follow from this state.

#include "game/core.h"

namespace files {

// Toggles the mode; returns whether it is now on. Turning it off with the
// computer to move gives the move to the computer (GameState::computerToMove
// is cleared and moveNow returned true).
struct SetupToggle {
    bool on = false;
    bool moveNow = false;
};
SetupToggle Entrerpositionclick(game::Core& core);

// A click on a square while setting up: the selected piece goes there. The
// game stops being rated and the shown ply's record entry is stored again.
// Returns false for a square off the board.
bool placePiece(game::Core& core, rules::Square square);

void vider(game::Core& core);     // empty board
void remplir(game::Core& core);   // the starting position and a reset game
void Change_dir(game::Core& core);      // which way White moves on the screen
void Change_couleur(game::Core& core);  // the computer takes the other colour
void Couleur_joue(game::Core& core);    // the other side moves next

}  // namespace files
