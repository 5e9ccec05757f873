#pragma once
// A person's click on the board, from pixels to a played move and its place
// in the record.

#include "game/core.h"
#include "rules/move_input.h"

namespace game {

struct PersonClick {
    rules::ClickOutcome board;   // what the board view must draw, and the move when played
    bool handled = false;        // the click was taken (the engine was not to move)
    bool movePlayed = false;
    bool recordFull = false;     // no further ply can be recorded: the game must end
    bool noMoveLeft = false;     // two people: the side now to move cannot move and loses
};

// Handles a click at pixel (x, y) of the board area.
PersonClick clic1(Core& core, int x, int y);

// The bookkeeping after a person's move on the working board: game position,
// side to move, record (cut first when moves had been taken back), move list,
// and the hand-over to the engine or to the other person.
void completePersonMove(Core& core, const rules::Move& move, PersonClick& out);

}  // namespace game
