#include "files/setup.h"

#include "game/navigation.h"
#include "rules/move_input.h"

namespace files {

namespace {

// A set-up action changed what the new game will start from.
void changed(game::Core& core) {
    beginSetup(core);
    core.game.setupChanged = true;
    core.game.ratedGame = game::RatedState::None;
}

}  // namespace

void beginSetup(game::Core& core) {
    game::GameState& g = core.game;
    if (g.setupMode) return;
    g.setupMode = true;
    g.setupChanged = false;
    // A turn the engine had before the set-up is void: the position changes.
    g.engineToMove = false;
    rules::clearMoveEntry(core.rules);
}

SetupEnd endSetup(game::Core& core) {
    game::GameState& g = core.game;
    SetupEnd out;
    if (!g.setupMode) return out;
    g.setupMode = false;
    if (g.setupChanged) {
        // A new game from the position as set up: its record starts there,
        // so it is saved, exported and replayed from it.
        const std::int64_t now = core.now();
        for (game::SideClock* c : {&g.whiteClock, &g.blackClock}) *c = game::SideClock{0, 0, 0, now, 0};
        game::installPosition(core, core.rules.gamePosition, g.sideToMove);
        g.lastResult = game::GameResult::None;
        g.lastMoveFrom = g.lastMoveTo = 0;
        g.navigated = true;
        out.newGame = true;
    }
    g.setupChanged = false;
    if (g.computerToMove) {
        g.computerToMove = false;
        out.moveNow = !g.options.humanVsHuman;
        g.moveNowRequest = out.moveNow;
    }
    return out;
}

SetupToggle toggleSetup(game::Core& core) {
    SetupToggle t;
    if (core.game.setupMode) {
        t.moveNow = endSetup(core).moveNow;
    } else {
        beginSetup(core);
        t.on = true;
    }
    return t;
}

bool placePiece(game::Core& core, rules::Square square) {
    if (square < 1 || square > rules::NumSquares || !core.game.setupMode) return false;
    changed(core);
    core.rules.gamePosition[square] = core.game.setupPiece;
    core.rules.board = core.rules.gamePosition;
    return true;
}

void emptyBoard(game::Core& core) {
    changed(core);
    for (int s = 1; s <= rules::NumSquares; ++s) core.rules.gamePosition[s] = rules::Empty;
    core.rules.board = core.rules.gamePosition;
}

void resetToStartingPosition(game::Core& core) {
    game::GameState& g = core.game;
    g.inverted = false;
    const std::int64_t now = core.now();
    for (game::SideClock* c : {&g.whiteClock, &g.blackClock}) *c = game::SideClock{0, 0, 0, now, 0};
    game::installPosition(core, rules::startingPosition(), rules::White);
    game::PlyRecord& first = g.record.plies[0];
    first.from = first.to = first.captureCount = 0;
    g.computerToMove = false;
    g.ratedGame = game::RatedState::None;
    g.lastResult = game::GameResult::None;  // a new game has no result yet: the export must not repeat the last one
    g.navigated = true;
    g.lastMoveFrom = g.lastMoveTo = 0;
    // Already a new game: nothing is left for the end of a set-up to do.
    g.setupChanged = false;
}

void flipWhiteDirection(game::Core& core) {
    changed(core);
    core.game.inverted = !core.game.inverted;
    rules::mirrorPosition(core.rules.gamePosition);
    core.rules.board = core.rules.gamePosition;
}

void switchComputerColour(game::Core& core) {
    changed(core);
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

void switchSideToMove(game::Core& core) {
    changed(core);
    game::GameState& g = core.game;
    g.computerToMove = !g.computerToMove;
    g.sideToMove = rules::opposite(g.sideToMove);
}

}  // namespace files
