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
    files::resetToStartingPosition(core);
    testsupport::playRandomMoves(core, 5, 1);
    const game::GameRecord before = core.game.record;
    core.game.ratedGame = game::RatedState::InProgress;

    // Clicks place nothing until a set-up has begun.
    core.game.setupPiece = rules::BlackKing;
    EXPECT_FALSE(files::placePiece(core, 18));
    EXPECT_EQ(core.game.ratedGame, game::RatedState::InProgress);

    EXPECT_TRUE(files::toggleSetup(core).on);
    EXPECT_TRUE(files::placePiece(core, 18));
    EXPECT_FALSE(files::placePiece(core, 0));
    EXPECT_EQ(core.rules.gamePosition[18], rules::BlackKing);
    EXPECT_EQ(core.game.ratedGame, game::RatedState::None);  // a placed piece ends a rated game
    EXPECT_EQ(core.game.record.plies, before.plies) << "the game shown is given up only when the set-up ends";

    // The eraser takes a piece off.
    const int blackBefore = rules::countPieces(core.rules.gamePosition).black();
    core.game.setupPiece = rules::Empty;
    files::placePiece(core, 18);
    EXPECT_EQ(rules::countPieces(core.rules.gamePosition).black(), blackBefore - 1);

    files::emptyBoard(core);
    EXPECT_EQ(rules::countPieces(core.rules.gamePosition).white(), 0);
    core.game.inverted = true;
    core.game.lastResult = game::GameResult::WhiteWon;
    host.clock = 777;
    files::resetToStartingPosition(core);
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

TEST(Setup, ASetUpPositionBeginsANewGameWhenTheSetUpEnds) {
    testsupport::FakeHost host;
    game::Core core;
    core.host = &host;
    files::resetToStartingPosition(core);
    testsupport::playRandomMoves(core, 6, 2);
    core.game.whiteName = game::makeName("Ana");
    core.game.whiteClock.total = 90;

    // Begun and ended with nothing changed: the game stays as it was.
    files::beginSetup(core);
    EXPECT_FALSE(files::endSetup(core).newGame);
    EXPECT_EQ(core.game.record.recordLength, 6);

    files::beginSetup(core);
    files::emptyBoard(core);
    core.game.setupPiece = rules::WhiteMan;
    files::placePiece(core, 22);
    core.game.setupPiece = rules::BlackKing;
    files::placePiece(core, 4);
    files::switchSideToMove(core);  // Black, the computer, moves first
    const files::SetupEnd end = files::endSetup(core);
    EXPECT_TRUE(end.newGame);
    EXPECT_TRUE(end.moveNow);
    const game::GameRecord& rec = core.game.record;
    EXPECT_EQ(rec.plyCounter, 0);
    EXPECT_EQ(rec.recordLength, 0);
    EXPECT_EQ(rec.plies[0].squares[21], rules::WhiteMan);
    EXPECT_EQ(rec.plies[0].squares[3], rules::BlackKing);
    EXPECT_EQ(rules::countPieces(core.rules.gamePosition).white(), 1);
    EXPECT_EQ(core.game.sideToMove, rec.sideToMoveAtEnd);
    EXPECT_TRUE(core.game.moveList.empty()) << "nothing of the old game is left in front";
    EXPECT_EQ(core.game.whiteClock.total, 0);
    EXPECT_EQ(game::nameText(rec.plies[0].whiteName), "Ana");
    EXPECT_FALSE(core.game.setupMode);
}

TEST(Setup, ColoursDirectionAndTurn) {
    game::Core core;
    files::resetToStartingPosition(core);
    const rules::Side colour = core.game.computerColour, side = core.game.sideToMove;
    files::switchComputerColour(core);
    EXPECT_NE(core.game.computerColour, colour);
    EXPECT_NE(core.game.computerColour, core.game.sideToMove);  // the person moves
    files::switchComputerColour(core);
    EXPECT_EQ(core.game.computerColour, colour);
    EXPECT_EQ(core.game.sideToMove, side);

    files::toggleSetup(core);
    files::switchSideToMove(core);
    EXPECT_TRUE(core.game.computerToMove);
    EXPECT_EQ(core.game.sideToMove, rules::opposite(side));
    const files::SetupToggle off = files::toggleSetup(core);
    EXPECT_FALSE(off.on);
    EXPECT_TRUE(off.moveNow);  // leaving set-up hands the move to the computer
    EXPECT_TRUE(core.game.moveNowRequest);
    EXPECT_FALSE(core.game.computerToMove);

    // The engine's turn from before the set-up is void; with the person to
    // move after it, nobody hands the move on.
    core.game.moveNowRequest = false;
    core.game.engineToMove = true;
    EXPECT_TRUE(files::toggleSetup(core).on);
    EXPECT_FALSE(core.game.engineToMove);
    EXPECT_FALSE(files::toggleSetup(core).moveNow);
    EXPECT_FALSE(core.game.engineToMove || core.game.moveNowRequest);
    // Two people: "Ordinateur joue" only passes the turn, no engine is asked.
    core.game.options.humanVsHuman = true;
    files::toggleSetup(core);
    files::switchSideToMove(core);
    EXPECT_FALSE(files::toggleSetup(core).moveNow);
    EXPECT_FALSE(core.game.engineToMove || core.game.moveNowRequest);

    files::flipWhiteDirection(core);
    EXPECT_TRUE(core.game.inverted);
    for (int s = 1; s <= 12; ++s) EXPECT_EQ(core.rules.gamePosition[s], rules::WhiteMan);
    files::flipWhiteDirection(core);
    EXPECT_EQ(core.rules.gamePosition, rules::startingPosition());
}

}  // namespace
