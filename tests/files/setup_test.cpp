#include <gtest/gtest.h>

#include "files/setup.h"
#include "game/navigation.h"
#include "support/fake_host.h"
#include "support/game_builder.h"

namespace {

TEST(Setup, PlacingEmptyingAndRefilling) {
    testsupport::FakeHost host;
    game::Core core;
    core.host = &host;
    files::remplir(core);
    testsupport::playRandomMoves(core, 5, 1);
    core.game.ratedGame = game::RatedState::InProgress;

    EXPECT_TRUE(files::Entrerpositionclick(core).on);
    EXPECT_TRUE(core.engine.stopRequested);
    core.game.setupPiece = rules::BlackKing;
    EXPECT_TRUE(files::placePiece(core, 18));
    EXPECT_FALSE(files::placePiece(core, 0));
    EXPECT_EQ(core.rules.gamePosition[18], rules::BlackKing);
    EXPECT_EQ(core.game.ratedGame, game::RatedState::None);  // a placed piece ends a rated game
    EXPECT_EQ(core.game.record.plies[5].squares[17], rules::BlackKing);  // the shown ply is stored again

    // The eraser takes a piece off.
    const int before = rules::countPieces(core.rules.gamePosition).black();
    core.game.setupPiece = rules::Empty;
    files::placePiece(core, 18);
    EXPECT_EQ(rules::countPieces(core.rules.gamePosition).black(), before - 1);

    files::vider(core);
    EXPECT_EQ(rules::countPieces(core.rules.gamePosition).white(), 0);
    core.game.inverted = true;
    core.game.lastResult = game::GameResult::WhiteWon;
    host.clock = 777;
    files::remplir(core);
    EXPECT_EQ(core.rules.gamePosition, rules::startingPosition());
    EXPECT_EQ(core.game.sideToMove, rules::White);
    EXPECT_TRUE(core.game.moveList.empty());
    EXPECT_EQ(core.game.record.recordLength, 0);
    EXPECT_FALSE(core.game.inverted);
    EXPECT_EQ(core.game.whiteClock.total, 0);
    EXPECT_EQ(core.game.blackClock.reference, 777);
    EXPECT_TRUE(core.game.navigated);
    EXPECT_EQ(core.game.lastResult, game::GameResult::None);
}

TEST(Setup, ColoursDirectionAndTurn) {
    game::Core core;
    files::remplir(core);
    const rules::Side colour = core.game.computerColour, side = core.game.sideToMove;
    files::Change_couleur(core);
    EXPECT_NE(core.game.computerColour, colour);
    EXPECT_NE(core.game.computerColour, core.game.sideToMove);  // the person moves
    files::Change_couleur(core);
    EXPECT_EQ(core.game.computerColour, colour);
    EXPECT_EQ(core.game.sideToMove, side);

    files::Entrerpositionclick(core);
    files::Couleur_joue(core);
    EXPECT_TRUE(core.game.computerToMove);
    EXPECT_EQ(core.game.sideToMove, rules::opposite(side));
    const files::SetupToggle off = files::Entrerpositionclick(core);
    EXPECT_FALSE(off.on);
    EXPECT_TRUE(off.moveNow);  // leaving set-up hands the move to the computer
    EXPECT_TRUE(core.game.moveNowRequest);
    EXPECT_FALSE(core.game.computerToMove);

    // The engine's turn from before the set-up is void; with the person to
    // move after it, nobody hands the move on.
    core.game.moveNowRequest = false;
    core.game.engineToMove = true;
    EXPECT_TRUE(files::Entrerpositionclick(core).on);
    EXPECT_FALSE(core.game.engineToMove);
    EXPECT_FALSE(files::Entrerpositionclick(core).moveNow);
    EXPECT_FALSE(core.game.engineToMove || core.game.moveNowRequest);
    // Two people: "Ordinateur joue" only passes the turn, no engine is asked.
    core.game.options.humanVsHuman = true;
    files::Entrerpositionclick(core);
    files::Couleur_joue(core);
    EXPECT_FALSE(files::Entrerpositionclick(core).moveNow);
    EXPECT_FALSE(core.game.engineToMove || core.game.moveNowRequest);

    files::Change_dir(core);
    EXPECT_TRUE(core.game.inverted);
    for (int s = 1; s <= 12; ++s) EXPECT_EQ(core.rules.gamePosition[s], rules::WhiteMan);
    files::Change_dir(core);
    EXPECT_EQ(core.rules.gamePosition, rules::startingPosition());
}

}  // namespace
