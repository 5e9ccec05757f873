// The search with our endgame tables: small endings are answered from them,
// a side left with pieces but no move counts as lost, and the engine
// converts a won ending.

#include <gtest/gtest.h>

#include "engine/search.h"
#include "game/core.h"
#include "game/navigation.h"
#include "rules/fen.h"
#include "rules/perft.h"
#include "support/fake_host.h"

namespace {

struct TableEngine {
    explicit TableEngine(const char* fen) {
        core.host = &host;
        core.programDir = TAVOLEX_PROGRAM_DIR;
        EXPECT_TRUE(engine::initialiseSearch(core));
        EXPECT_TRUE(host.errors.empty()) << host.errors.front();
        EXPECT_NE(core.engine.databases, nullptr);
        set(fen);
    }
    void set(const char* fen) {
        const rules::Position p = *rules::parseFen(fen).position;
        game::installPosition(core, p.board, p.side);
        side = p.side;
    }
    // The move chosen at `depth` plies, played on the game position.
    std::string play(int depth) {
        core.engine.limits = engine::SearchLimits{};
        core.engine.limits.depth = depth;
        core.rules.board = core.rules.gamePosition;
        const engine::RootAnswer r = engine::searchRoot(core, side);
        if (!r.hasMove()) return "none";
        const rules::Move m = core.rules.rootList()[r.index];
        rules::applyMove(core.rules.gamePosition, m);
        side = rules::opposite(side);
        return rules::moveText(m);
    }
    testsupport::FakeHost host;
    game::Core core;
    rules::Side side = rules::White;
};

TEST(EndgameSearch, BlockingTheLastManWinsAtOnce) {
    // After e3-d4 or e3-f4 Black's man on h2 cannot move (g1 is White's):
    // stored as lost at once, the search must see the win.
    TableEngine e("W:W32,23:B28");
    const std::string move = e.play(3);
    EXPECT_TRUE(move == "e3-d4" || move == "e3-f4") << move;
    EXPECT_GE(e.core.engine.lastScore, 30000);
}

TEST(EndgameSearch, ThreeKingsBeatOneOffTheLongDiagonal) {
    // The engine, with the tables, takes the lone king within the tables'
    // distance: the game ends with Black's king gone.
    TableEngine e("W:WK29,K30,K31:BK13");
    for (int ply = 0; ply < 40; ++ply) {
        const rules::PieceTotals t = rules::countPieces(e.core.rules.gamePosition);
        if (t.black() == 0) break;
        if (e.play(4) == "none") break;
    }
    EXPECT_EQ(rules::countPieces(e.core.rules.gamePosition).black(), 0);
}

}  // namespace
