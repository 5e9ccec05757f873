#include "game/play.h"

#include "game/clocks.h"
#include "game/navigation.h"
#include "rules/move_input.h"

namespace game {

PlayedMove playMove(Core& core, const rules::Move& move) {
    GameState& g = core.game;
    GameRecord& rec = g.record;
    rules::RulesState& r = core.rules;
    PlayedMove out;
    out.mover = g.sideToMove;
    if (rec.full()) {
        out.end = EndReason::Draw;
        return out;
    }

    // The position: the move's captures go, the piece lands, and a man whose
    // whole move ends on its far row is crowned.
    rules::applyMove(r.gamePosition, move);
    r.gamePosition[0] = rules::Sentinel;
    r.board = r.gamePosition;
    rules::clearMoveEntry(r);

    // The record: a move played from an earlier ply replaces what followed.
    if (rec.plyCounter < rec.recordLength) cutRecord(core);
    changeTurn(core, out.mover);
    g.sideToMove = rules::opposite(out.mover);
    ++rec.plyCounter;
    rec.recordLength = rec.plyCounter;
    rec.sideToMoveAtEnd = g.sideToMove;
    recordPly(core, rec.plyCounter, &move);
    appendMoveText(core);
    out.recorded = true;

    // Can the game go on? The side now to move has lost when it cannot
    // move; a record with no room for another ply ends the game drawn.
    g.legalMoveCount = rules::generateRootMoves(r, g.sideToMove);
    out.legalMoves = g.legalMoveCount;
    const bool engineMoved = !g.options.humanVsHuman && (g.options.selfPlay || out.mover == g.computerColour);
    if (out.legalMoves == 0)
        out.end = engineMoved ? EndReason::NoMoveAfterEngine : EndReason::NoMoveAfterPerson;
    else if (rec.full())
        out.end = EndReason::Draw;
    return out;
}

}  // namespace game
