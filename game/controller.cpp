#include "game/controller.h"

#include "game/engine_turn.h"
#include "players/new_game.h"

namespace game {

PassOutcome gameLoopPass(Core& core) {
    PassOutcome out;
    GameState& g = core.game;

    // Who moves in this pass.
    if (g.moveNowRequest) g.engineToMove = true;
    if (g.options.selfPlay) g.engineToMove = true;
    if (g.options.humanVsHuman) g.engineToMove = false;
    out.hideCaptureLabels = g.engineToMove;
    out.moveNumber = g.record.plyCounter / 2 + 1;
    out.engineTurn = g.engineToMove && !g.setupMode;
    g.moveNowRequest = false;
    return out;
}

std::optional<EndOfGame> offerDraw(Core& core) {
    if (acceptsDrawOffer(core)) {
        core.game.drawRefusedShown = false;
        return endOfGame(core, EndReason::Draw);
    }
    core.game.drawRefusedShown = true;
    return std::nullopt;
}

void toggleTwoPeople(Core& core) {
    GameState& g = core.game;
    g.options.humanVsHuman = !g.options.humanVsHuman;
    g.computerPlays = !g.options.humanVsHuman;
    if (g.options.humanVsHuman) {
        g.engineToMove = false;
        g.options.selfPlay = false;
    }
}

void setSelfPlay(Core& core, bool on) {
    GameState& g = core.game;
    if (on) {
        g.options.selfPlay = true;
        g.options.humanVsHuman = false;
        g.computerPlays = true;
        g.engineToMove = true;
        return;
    }
    if (!g.options.selfPlay) return;
    g.options.selfPlay = false;
    g.engineToMove = false;
    g.computerColour = rules::opposite(g.sideToMove);
    const bool whiteIsComputer = nameText(g.whiteName) == players::ComputerName;
    const bool blackIsComputer = nameText(g.blackName) == players::ComputerName;
    if (whiteIsComputer != blackIsComputer && whiteIsComputer != (g.computerColour == rules::White)) {
        std::swap(g.whiteName, g.blackName);
        PlyRecord& shown = g.record.plies[g.record.plyCounter];
        shown.whiteName = g.whiteName;
        shown.blackName = g.blackName;
    }
}

}  // namespace game
