#include "game/controller.h"

#include "game/engine_turn.h"

#include "rules/movegen.h"

namespace game {

PassOutcome gameLoopPass(Core& core) {
    PassOutcome out;
    GameState& g = core.game;

    // Steps 1 to 3. Who moves in this pass.
    if (g.moveNowRequest) g.engineToMove = true;
    if (g.engineToMove) out.hideCaptureLabels = true;
    if (g.options.selfPlay) g.engineToMove = true;

    // Step 5.
    out.moveNumber = g.record.plyCounter / 2 + 1;

    // Step 7. The person's turn or the engine's. Thinking on the person's
    // time comes with the engine.
    if (!g.setupMode) {
        if ((!g.engineToMove || g.options.humanVsHuman) && !g.moveNowRequest) {
            core.engine.stopRequested = false;
            if (g.options.humanVsHuman) core.rules.gamePosition = core.rules.board;
        } else {
            core.rules.board = core.rules.gamePosition;
            core.rules.board[0] = rules::Sentinel;
            core.engine.infiniteThinking = false;
            out.engineTurn = true;
        }
    }

    // Steps 8 and 9.
    g.moveNowRequest = false;
    if (g.click.pending) {
        g.click.pending = false;
        out.click = clic1(core, g.click.x, g.click.y);
        out.clickHandled = true;
    }
    return out;
}

bool clic(Core& core, int x, int y) {
    GameState& g = core.game;
    if (g.engineToMove && g.ratedGame == game::RatedState::InProgress) return false;
    if (g.engineToMove && !g.options.stopByClick) return false;
    g.click = {true, x, y};
    core.engine.stopRequested = true;
    return true;
}

std::optional<EndOfGame> turnWithoutEngine(Core& core) {
    GameState& g = core.game;
    g.legalMoveCount = rules::generateRootMoves(core.rules, g.sideToMove);
    if (g.legalMoveCount > 0) return std::nullopt;
    g.engineToMove = false;
    return endOfGame(core, EndReason::NoMoveAfterEngine);
}

std::optional<EndOfGame> ProposernulClick(Core& core) {
    if (acceptsDrawOffer(core)) {
        core.game.drawRefusedShown = false;
        return endOfGame(core, EndReason::Draw);
    }
    core.game.drawRefusedShown = true;
    return std::nullopt;
}

void Ordinateur(Core& core) {
    GameState& g = core.game;
    g.options.humanVsHuman = !g.options.humanVsHuman;
    g.computerPlays = !g.options.humanVsHuman;
    if (g.options.humanVsHuman) {
        g.engineToMove = false;
        g.options.selfPlay = false;
    }
}

}  // namespace game
