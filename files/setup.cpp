#include "files/setup.h"

#include "game/navigation.h"
#include "rules/move_input.h"

namespace files {

SetupToggle Entrerpositionclick(game::Core& core) {
    game::GameState& g = core.game;
    core.engine.stopRequested = true;
    SetupToggle t;
    g.setupMode = !g.setupMode;
    t.on = g.setupMode;
    // A turn the engine had before the set-up is void: the position changes.
    g.engineToMove = false;
    if (g.computerToMove) {
        g.computerToMove = false;
        t.moveNow = !g.options.humanVsHuman;
        g.moveNowRequest = t.moveNow;
    }
    return t;
}

bool placePiece(game::Core& core, rules::Square square) {
    if (square < 1 || square > rules::NumSquares) return false;
    game::GameState& g = core.game;
    core.rules.board[square] = g.setupPiece;
    core.rules.gamePosition = core.rules.board;
    g.ratedGame = game::RatedState::None;
    game::StorePly(core, g.record.plyCounter, nullptr);
    return true;
}

void vider(game::Core& core) {
    for (int s = 1; s <= rules::NumSquares; ++s) {
        core.rules.board[s] = rules::Empty;
        core.rules.gamePosition[s] = rules::Empty;
    }
}

void remplir(game::Core& core) {
    game::GameState& g = core.game;
    g.inverted = false;
    const std::int64_t now = core.now();
    for (game::SideClock* c : {&g.whiteClock, &g.blackClock}) *c = game::SideClock{0, 0, 0, now};
    game::installPosition(core, rules::startingPosition(), rules::White);
    game::PlyRecord& first = g.record.plies[0];
    first.from = first.to = first.captureCount = 0;
    g.computerToMove = false;
    g.ratedGame = game::RatedState::None;
    g.lastResult = game::GameResult::None;  // a new game has no result yet: the export must not repeat the last one
    g.navigated = true;
    g.lastMoveFrom = g.lastMoveTo = 0;
}

void Change_dir(game::Core& core) {
    core.game.inverted = !core.game.inverted;
    rules::mirrorPosition(core.rules.board);
    core.rules.gamePosition = core.rules.board;
}

void Change_couleur(game::Core& core) {
    game::GameState& g = core.game;
    // The person's colour is the side to move.
    if (g.computerColour == rules::White) {
        g.computerColour = rules::Black;
        g.sideToMove = rules::White;
    } else {
        g.computerColour = rules::White;
        g.sideToMove = rules::Black;
    }
}

void Couleur_joue(game::Core& core) {
    game::GameState& g = core.game;
    g.computerToMove = !g.computerToMove;
    g.sideToMove = rules::opposite(g.sideToMove);
}

}  // namespace files
