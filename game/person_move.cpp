#include "game/person_move.h"

#include "game/clocks.h"
#include "game/play.h"

namespace game {

PersonClick handleBoardClick(Core& core, rules::Square square) {
    PersonClick out;
    GameState& g = core.game;
    if (square == 0 || g.setupMode) return out;
    if (g.engineToMove && !g.options.humanVsHuman) return out;
    out.handled = true;
    g.drawRefusedShown = false;
    if (g.record.full()) {
        out.end = EndReason::Draw;
        return out;
    }
    // The person's first click starts the clocks.
    startClocks(core);
    core.rules.board = core.rules.gamePosition;
    out.board = rules::enterSquare(core.rules, g.sideToMove, square, g.options.decomposeCaptures);
    if (out.board.result != rules::ClickOutcome::Result::Played) return out;

    const PlayedMove played = playMove(core, out.board.move);
    out.movePlayed = played.recorded;
    out.end = played.end;
    // Against the computer the engine answers, unless the game is over.
    if (played.recorded && !played.end && !g.options.humanVsHuman) g.engineToMove = true;
    return out;
}

bool clickStopsEngine(const Core& core) {
    const GameState& g = core.game;
    return g.ratedGame != RatedState::InProgress && g.options.stopByClick;
}

}  // namespace game
