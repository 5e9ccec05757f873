#pragma once
// Setting up a position by hand. Showing the set-up page changes nothing:
// the set-up begins with an explicit action (choosing a piece to place,
// emptying or filling the board, "Installer une position"), and from then on
// a click puts the chosen piece on a square instead of playing a move. Any
// placement is accepted, as a problem composer expects. When the set-up
// ends, a position that was changed becomes a new game whose first position
// it is; the game shown before is given up only then. The window shows the
// captions that follow from this state.

#include "game/core.h"

namespace files {

// Begins the set-up (nothing happens when it runs already). While pieces
// are placed nobody is to move.
void beginSetup(game::Core& core);

// Ends the set-up. A changed position becomes a new game from that position,
// with the side to move chosen; when "Couleurjoue" names the computer,
// moveNow is returned and the next pass of the game loop hands the move to
// the engine (not when two people play: then the side to move is simply
// theirs).
struct SetupEnd {
    bool newGame = false;
    bool moveNow = false;
};
SetupEnd endSetup(game::Core& core);

// "Installer une position" and the set-up's toggle: begins or ends it.
struct SetupToggle {
    bool on = false;
    bool moveNow = false;
};
SetupToggle toggleSetup(game::Core& core);

// A click on a square while setting up: the selected piece goes there, and
// the game stops being rated. Returns false for a square off the board, or
// when no set-up is under way.
bool placePiece(game::Core& core, rules::Square square);

void emptyBoard(game::Core& core);     // empty board (begins the set-up)
void resetToStartingPosition(game::Core& core);   // the starting position and a reset game
void flipWhiteDirection(game::Core& core);      // which way White moves on the screen
void switchComputerColour(game::Core& core);  // the computer takes the other colour
void switchSideToMove(game::Core& core);    // the other side moves next

}  // namespace files
