#include "support/game_builder.h"

#include "game/play.h"

namespace testsupport {

int playRandomMoves(game::Core& core, int plies, unsigned seed) {
    const bool twoPeople = core.game.options.humanVsHuman;
    core.game.options.humanVsHuman = true;
    int played = 0;
    for (; played < plies; ++played) {
        core.rules.board = core.rules.gamePosition;
        const int n = rules::generateRootMoves(core.rules, core.game.sideToMove);
        if (n == 0 || core.game.record.full()) break;
        seed = seed * 1103515245u + 12345u;
        const rules::Move m = core.rules.rootList()[static_cast<int>((seed >> 16) % static_cast<unsigned>(n))];
        game::playMove(core, m);
    }
    core.game.options.humanVsHuman = twoPeople;
    return played;
}

}  // namespace testsupport
