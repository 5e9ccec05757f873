#include "game/person_move.h"

#include "game/navigation.h"

namespace game {

PersonClick clic1(Core& core, int x, int y) {
    PersonClick out;
    GameState& g = core.game;
    const rules::Square square = rules::clickToSquare(x, y, g.inverted);
    if (square == 0) return out;
    // Set-up clicks place pieces; they are not moves.
    if (g.engineToMove || g.setupMode) return out;
    out.handled = true;
    g.drawRefusedShown = false;
    if (g.record.full()) {
        out.recordFull = true;
        return out;
    }
    if (!g.options.humanVsHuman) core.rules.board = core.rules.gamePosition;
    core.engine.stopRequested = true;  // ends any thinking on the person's time
    if (!g.clockRunning) {
        const std::int64_t now = core.now();
        g.whiteClock.reference = now;
        g.blackClock.reference = now;
        g.clockRunning = true;
        g.paused = false;
    }
    out.board = rules::enterClick(core.rules, g.sideToMove, square, g.options.decomposeCaptures);
    if (out.board.result == rules::ClickOutcome::Result::Played) completePersonMove(core, out.board.move, out);
    return out;
}

void completePersonMove(Core& core, const rules::Move& move, PersonClick& out) {
    GameState& g = core.game;
    GameRecord& rec = g.record;
    core.rules.gamePosition = core.rules.board;
    g.sideToMove = rules::opposite(g.sideToMove);
    if (rec.plyCounter < rec.recordLength) cutRecord(core);
    ++rec.plyCounter;
    rec.recordLength = rec.plyCounter;
    rec.sideToMoveAtEnd = g.sideToMove;
    StorePly(core, rec.plyCounter, &move);
    appendMoveText(core);
    out.movePlayed = true;

    if (g.options.humanVsHuman) {
        // The other person's clock starts now.
        (g.sideToMove == rules::White ? g.whiteClock : g.blackClock).reference = core.now();
        g.legalMoveCount = rules::generateRootMoves(core.rules, g.sideToMove);
        out.noMoveLeft = g.legalMoveCount == 0;
    } else {
        g.engineToMove = true;
        core.rules.gamePosition = core.rules.board;
    }
}

}  // namespace game
