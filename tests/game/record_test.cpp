// Two people playing through pixel clicks, the record and the move list it
// keeps, and moving back and forth through it.

#include <gtest/gtest.h>

#include "game/navigation.h"
#include "game/person_move.h"
#include "rules/fen.h"
#include "support/fake_host.h"

namespace {

using Lines = std::vector<std::string>;

rules::Square sq(const char* name) { return *rules::parseSquareName(name); }

class Game : public testing::Test {
protected:
    void SetUp() override {
        core.host = &host;
        core.game.options.humanVsHuman = true;
        setUpPosition("W:W21-32:B1-12");
    }
    void setUpPosition(const char* fen) {
        const rules::Position pos = *rules::parseFen(fen).position;
        game::installPosition(core, pos.board, pos.side);
    }
    game::PersonClick click(const char* square) { return game::handleBoardClick(core, sq(square)); }
    // A move by its start and final squares, clicked as a person would.
    void play(const char* from, const char* to) {
        game::PersonClick c = click(from);
        if (!c.movePlayed) c = click(to);
        ASSERT_TRUE(c.movePlayed) << from << " " << to;
        ASSERT_EQ(c.board.move.to, sq(to));
    }
    rules::Board entryBoard(int k) const {
        rules::Board b{};
        b[0] = rules::Sentinel;
        for (int s = 1; s <= 32; ++s) b[s] = core.game.record.plies[k].squares[s - 1];
        return b;
    }

    testsupport::FakeHost host;
    game::Core core;
};

TEST_F(Game, EachPlyIsRecordedAndWritten) {
    play("c3", "d4");
    EXPECT_EQ(core.game.moveList, Lines{" 1.c3-d4 "});
    play("f6", "e5");
    EXPECT_EQ(core.game.moveList, Lines{" 1.c3-d4 f6-e5"});
    play("d4", "f6");  // takes e5
    EXPECT_EQ(core.game.moveList, (Lines{" 1.c3-d4 f6-e5", " 2.d4xf6 "}));
    EXPECT_EQ(core.game.selectedLine, 1);

    const game::GameRecord& rec = core.game.record;
    EXPECT_EQ(rec.plyCounter, 3);
    EXPECT_EQ(rec.recordLength, 3);
    EXPECT_EQ(rec.sideToMoveAtEnd, rules::Black);
    EXPECT_EQ(core.game.sideToMove, rules::Black);
    EXPECT_EQ(rec.plies[3].captureCount, 1);
    EXPECT_EQ(rec.plies[3].from, sq("d4"));
    EXPECT_EQ(rec.plies[3].to, sq("f6"));
    EXPECT_EQ(entryBoard(3), core.rules.gamePosition);
    EXPECT_EQ(entryBoard(0), rules::startingPosition());
    EXPECT_TRUE(core.game.clockRunning);
}

TEST_F(Game, TakeBackAndReplayKeepTheRecord) {
    play("c3", "d4");
    play("f6", "g5");
    play("g3", "h4");
    game::takeBack(core);
    EXPECT_EQ(core.game.selectedLine, 0) << "the line of ply 2 is selected as it is shown";
    game::takeBack(core);
    EXPECT_EQ(core.game.selectedLine, 0) << "... and of ply 1";
    game::stepForward(core);
    EXPECT_EQ(core.game.record.plyCounter, 2);
    EXPECT_EQ(core.game.record.recordLength, 3);
    EXPECT_EQ(core.game.sideToMove, rules::White);  // as when ply 2 was first reached
    EXPECT_EQ(core.rules.gamePosition, entryBoard(2));
    EXPECT_EQ(core.game.moveList.size(), 2u);
    EXPECT_EQ(core.game.selectedLine, 0);
    EXPECT_TRUE(core.game.navigated);

    game::goToEnd(core);
    EXPECT_EQ(core.game.record.plyCounter, 3);
    EXPECT_EQ(core.game.sideToMove, rules::Black);
    EXPECT_EQ(core.game.selectedLine, 1) << "the selection follows to the end";

    // At the ends nothing moves.
    game::stepForward(core);
    EXPECT_EQ(core.game.record.plyCounter, 3);
    game::goToStart(core);
    EXPECT_EQ(core.game.selectedLine, -1);
    game::takeBack(core);
    EXPECT_EQ(core.game.record.plyCounter, 0);
    EXPECT_EQ(core.rules.gamePosition, rules::startingPosition());
}

TEST_F(Game, ADifferentMoveCutsTheRecord) {
    play("c3", "d4");
    play("f6", "g5");
    play("g3", "h4");
    game::takeBack(core);
    game::takeBack(core);
    ASSERT_EQ(core.game.record.plyCounter, 1);
    ASSERT_EQ(core.game.sideToMove, rules::Black);
    play("b6", "a5");
    EXPECT_EQ(core.game.record.recordLength, 2);
    EXPECT_EQ(core.game.record.plyCounter, 2);
    EXPECT_EQ(core.game.moveList, Lines{" 1.c3-d4 b6-a5"});
    game::stepForward(core);  // nothing left beyond the new ply
    EXPECT_EQ(core.game.record.plyCounter, 2);
}

TEST_F(Game, GoToALineKeepsTheSideToMove) {
    play("c3", "d4");
    play("f6", "g5");
    play("g3", "h4");
    core.engine.stopRequested = false;
    core.game.selectedLine = 0;
    game::goToSelectedMove(core);  // odd ply counter: the position after ply 1
    EXPECT_EQ(core.game.record.plyCounter, 1);
    EXPECT_EQ(core.rules.gamePosition, entryBoard(1));
    EXPECT_FALSE(core.engine.stopRequested);

    game::takeBack(core);  // ply 0, even
    core.game.selectedLine = 0;
    game::goToSelectedMove(core);
    EXPECT_EQ(core.game.record.plyCounter, 0);
    EXPECT_EQ(core.rules.gamePosition, rules::startingPosition());

    core.game.selectedLine = -1;
    game::goToSelectedMove(core);
    EXPECT_EQ(core.game.record.plyCounter, 0);
}

TEST_F(Game, BlackToMoveFirst) {
    setUpPosition("B:W21-32:B1-12");
    play("f6", "g5");
    EXPECT_EQ(core.game.moveList, Lines{" 1.f6-g5 "});
    play("c3", "b4");
    EXPECT_EQ(core.game.moveList, Lines{" 1.f6-g5 c3-b4"});
    game::goToEnd(core);
    EXPECT_EQ(core.game.sideToMove, rules::Black);
    // Back at the start White gets the move, whoever began.
    game::goToStart(core);
    EXPECT_EQ(core.game.sideToMove, rules::White);
}

TEST_F(Game, NavigationKeepsTheNamesAndRestoresTheClocks) {
    core.game.whiteName = game::makeName("Ana");
    play("c3", "d4");
    core.game.whiteClock.total = 75;
    play("f6", "e5");
    core.game.whiteName = game::makeName("Beatriz");
    host.clock = 5000;
    game::takeBack(core);
    EXPECT_EQ(game::nameText(core.game.whiteName), "Beatriz");
    EXPECT_EQ(game::nameText(core.game.record.plies[1].whiteName), "Beatriz");
    game::stepForward(core);
    EXPECT_EQ(core.game.whiteClock.total, 75);
    EXPECT_EQ(core.game.whiteClock.minutes, 1);
    EXPECT_EQ(core.game.whiteClock.seconds, 15);
    EXPECT_EQ(core.game.whiteClock.reference, 5000);
    EXPECT_EQ(core.game.blackClock.reference, 5000);
    EXPECT_EQ(game::nameText(game::makeName("a name longer than nineteen")), "a name longer than ");
}

TEST_F(Game, AgainstTheComputerTheTurnPasses) {
    core.game.options.humanVsHuman = false;
    play("c3", "d4");
    EXPECT_TRUE(core.game.engineToMove);
    EXPECT_FALSE(click("f6").handled);  // the engine's turn
}

TEST_F(Game, TheSideLeftWithoutAMoveIsReported) {
    setUpPosition("W:Wc3:Ba5");  // Black's last man will be taken
    game::PersonClick c = click("c3");
    ASSERT_FALSE(c.movePlayed);
    c = click("b4");
    ASSERT_TRUE(c.movePlayed);
    EXPECT_FALSE(c.end);  // a5 must take b4
    c = click("a5");
    ASSERT_TRUE(c.movePlayed);
    EXPECT_EQ(c.end, game::EndReason::NoMoveAfterPerson);  // White has nothing left
}

TEST_F(Game, NoPlyBeyondWhatAGameFileHolds) {
    game::GameRecord& rec = core.game.record;
    rec.plyCounter = game::MaxRecordedPly - 1;
    rec.recordLength = game::MaxRecordedPly - 1;
    game::PersonClick last = click("c3");
    if (!last.movePlayed) last = click("d4");
    ASSERT_TRUE(last.movePlayed);
    EXPECT_EQ(last.end, game::EndReason::Draw) << "the record's last ply ends the game drawn";
    EXPECT_EQ(rec.recordLength, game::MaxRecordedPly);
    const rules::Board before = core.rules.gamePosition;
    const game::PersonClick c = click("f6");
    EXPECT_EQ(c.end, game::EndReason::Draw);
    EXPECT_FALSE(c.movePlayed);
    EXPECT_EQ(rec.plyCounter, game::MaxRecordedPly);
    EXPECT_EQ(core.rules.gamePosition, before);
}

TEST(MoveLine, NumbersAreRightAligned) {
    game::GameRecord rec;
    rec.plies[19] = {.from = 22, .to = 18};
    rec.plies[20] = {.captureCount = 2, .from = 9, .to = 27};
    EXPECT_EQ(game::moveLine(rec, 10, false), "10.c3-d4 b6xf2");
    EXPECT_EQ(game::moveLine(rec, 10, true), "10.c3-d4 ");
}

}  // namespace
