#pragma once
// A person's click on the board, from a square to a played move and its
// place in the record.

#include <optional>

#include "game/core.h"
#include "game/end_of_game.h"
#include "rules/move_input.h"

namespace game {

struct PersonClick {
    rules::ClickOutcome board;   // what the board view must draw, and the move when played
    bool handled = false;        // the click was move input (the person is to move)
    bool movePlayed = false;
    // The game cannot go on: the side now to move has no move (it has lost),
    // or the record is full (drawn).
    std::optional<EndReason> end;
};

// A click on `square` (0: off the board) on the person's turn, or either
// person's when two people play. While the engine is to move, and while
// pieces are being placed, clicks are no move input and nothing happens.
PersonClick handleBoardClick(Core& core, rules::Square square);

// A press on the board while the engine thinks about its own move stops the
// search, so that it plays its best move so far, when "Arret réflexion par
// clic souris" is ticked and no rated game is on. It is never a move.
bool clickStopsEngine(const Core& core);

}  // namespace game
