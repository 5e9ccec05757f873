#pragma once
// Recording plies and moving through the record. Taking moves back never
// shortens the record: later plies stay available until a different move is
// played, which cuts the record there.

#include "game/core.h"

namespace game {

// Entry k := the current state (working board, the move just played, both
// clocks, both names, the computer's colour).
void recordPly(Core& core, int k, const rules::Move* move);
// The current state := entry k.
void restorePly(Core& core, int k);
// A move is played while plies after the current one exist: they go, and the
// move list keeps only the lines of plies 1..current.
void cutRecord(Core& core);
// Writes the ply just played (the ply counter) into the move list.
void appendMoveText(Core& core);
// Installs `board` as the game's starting position with `side` to move:
// empty record, entry 0 stored, move list cleared.
void installPosition(Core& core, const rules::Board& board, rules::Side side);

// The move list's line for plies 2n - 1 and 2n (n from 1), as written after
// every move: "%2d.%s%s%s %s%s%s", or "%2d.%s%s%s " while ply 2n - 1 stands alone.
std::string moveLine(const GameRecord& record, int n, bool halfLine);

void takeBack(Core& core);        // take back one ply
void stepForward(Core& core);        // replay one ply
void goToStart(Core& core);  // back to the start
void goToEnd(Core& core);      // forward to the end
void goToSelectedMove(Core& core);      // to the selected line, the same side keeping the move
// To the position after `ply` plies, a ply at a time as the buttons go, so
// that the side to move and the clocks follow; a ply beyond the record
// stops at its end.
void goToPly(Core& core, int ply);

}  // namespace game
