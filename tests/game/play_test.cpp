// The one routine that plays a move on the game: position, side, record
// (cut when playing from an earlier ply), move list, clocks, and whether the
// game can go on.

#include <gtest/gtest.h>

#include "game/clocks.h"
#include "game/navigation.h"
#include "game/play.h"
#include "rules/fen.h"
#include "support/fake_host.h"

namespace {

rules::Move legalMove(game::Core& core, const char* from, const char* to) {
    core.rules.board = core.rules.gamePosition;
    const int n = rules::generateRootMoves(core.rules, core.game.sideToMove);
    for (int k = 0; k < n; ++k) {
        const rules::Move& m = core.rules.rootList()[k];
        if (rules::squareName(m.from) == from && rules::squareName(m.to) == to) return m;
    }
    ADD_FAILURE() << "no move " << from << "-" << to;
    return {};
}

struct Played : testing::Test {
    void SetUp() override {
        core.host = &host;
        game::installPosition(core, rules::startingPosition(), rules::White);
    }
    game::PlayedMove play(const char* from, const char* to) { return game::playMove(core, legalMove(core, from, to)); }
    testsupport::FakeHost host;
    game::Core core;
};

TEST_F(Played, KeepsEverythingInStep) {
    const game::PlayedMove p = play("c3", "d4");
    ASSERT_TRUE(p.recorded);
    EXPECT_EQ(p.mover, rules::White);
    EXPECT_EQ(p.legalMoves, 7);
    EXPECT_FALSE(p.end);
    const game::GameState& g = core.game;
    EXPECT_EQ(g.sideToMove, rules::Black);
    EXPECT_EQ(g.record.plyCounter, 1);
    EXPECT_EQ(g.record.recordLength, 1);
    EXPECT_EQ(g.record.sideToMoveAtEnd, rules::Black);
    EXPECT_EQ(g.record.plies[1].from, *rules::parseSquareName("c3"));
    EXPECT_EQ(g.record.plies[1].squares[17], rules::WhiteMan);  // d4 is square 18
    EXPECT_EQ(g.moveList, std::vector<std::string>{" 1.c3-d4 "});
    EXPECT_EQ(g.legalMoveCount, 7);
    EXPECT_EQ(core.rules.board, core.rules.gamePosition);
}

TEST_F(Played, FromAnEarlierPlyTheRecordIsCut) {
    play("c3", "d4");
    play("f6", "g5");
    play("b2", "c3");
    game::takeBack(core);
    game::takeBack(core);
    ASSERT_EQ(core.game.record.plyCounter, 1);
    ASSERT_EQ(core.game.record.recordLength, 3);
    play("f6", "e5");
    EXPECT_EQ(core.game.record.plyCounter, 2);
    EXPECT_EQ(core.game.record.recordLength, 2);
    EXPECT_EQ(core.game.moveList, std::vector<std::string>{" 1.c3-d4 f6-e5"});
    game::stepForward(core);
    EXPECT_EQ(core.game.record.plyCounter, 2) << "nothing after the new ply";
}

TEST_F(Played, TheMoversClockBanksItsTurn) {
    host.clock = 1000;
    game::startClocks(core);
    host.clock = 1012;
    play("c3", "d4");
    EXPECT_EQ(core.game.whiteClock.total, 12);
    EXPECT_EQ(core.game.record.plies[1].whiteClock, 12);
    host.clock = 1020;
    play("f6", "g5");
    EXPECT_EQ(core.game.blackClock.total, 8);
    EXPECT_EQ(core.game.whiteClock.total, 12);
    // Taking the moves back restores the totals recorded, and the clocks go
    // on from them.
    game::takeBack(core);
    EXPECT_EQ(core.game.blackClock.total, 0);
    host.clock = 1025;
    play("f6", "e5");
    EXPECT_EQ(core.game.blackClock.total, 5);
}

TEST(PlayMove, TheEndOfTheGame) {
    struct Case {
        const char* fen;
        const char* from;
        const char* to;
        std::optional<game::EndReason> end;
    };
    const Case cases[] = {
        {"W:Wc3:Bd4", "c3", "e5", game::EndReason::NoMoveAfterPerson},   // Black's last man taken
        {"W:W9,18:B5", "d4", "c5", game::EndReason::NoMoveAfterPerson},   // a7 shut in by b6 and c5
        {"W:Wa3:Bb8", "a3", "b4", std::nullopt},
    };
    for (const Case& c : cases) {
        testsupport::FakeHost host;
        game::Core core;
        core.host = &host;
        core.game.options.humanVsHuman = true;
        const rules::Position p = *rules::parseFen(c.fen).position;
        game::installPosition(core, p.board, p.side);
        core.rules.board = core.rules.gamePosition;
        const int n = rules::generateRootMoves(core.rules, core.game.sideToMove);
        std::optional<rules::Move> move;
        for (int k = 0; k < n; ++k)
            if (rules::squareName(core.rules.rootList()[k].from) == c.from &&
                rules::squareName(core.rules.rootList()[k].to) == c.to)
                move = core.rules.rootList()[k];
        ASSERT_TRUE(move) << c.fen;
        const game::PlayedMove played = game::playMove(core, *move);
        EXPECT_TRUE(played.recorded) << c.fen;
        EXPECT_EQ(played.end, c.end) << c.fen;
        EXPECT_EQ(played.legalMoves == 0, c.end.has_value()) << c.fen;
    }
    // Against the engine, its move that leaves the person blocked is the
    // engine's win.
    testsupport::FakeHost host;
    game::Core core;
    core.host = &host;
    const rules::Position p = *rules::parseFen("W:Wc3:Bd4").position;
    game::installPosition(core, p.board, p.side);
    core.game.computerColour = rules::White;
    EXPECT_EQ(game::playMove(core, legalMove(core, "c3", "e5")).end, game::EndReason::NoMoveAfterEngine);
}

TEST(PlayMove, NoPlyBeyondWhatTheRecordHolds) {
    testsupport::FakeHost host;
    game::Core core;
    core.host = &host;
    game::installPosition(core, rules::startingPosition(), rules::White);
    core.game.record.plyCounter = game::MaxRecordedPly - 1;
    core.game.record.recordLength = game::MaxRecordedPly - 1;
    const game::PlayedMove last = game::playMove(core, legalMove(core, "c3", "d4"));
    EXPECT_TRUE(last.recorded);
    EXPECT_EQ(last.end, game::EndReason::Draw) << "the last ply the record holds ends the game drawn";
    const rules::Board before = core.rules.gamePosition;
    const game::PlayedMove refused = game::playMove(core, legalMove(core, "f6", "g5"));
    EXPECT_FALSE(refused.recorded);
    EXPECT_EQ(refused.end, game::EndReason::Draw);
    EXPECT_EQ(core.rules.gamePosition, before);
    EXPECT_EQ(core.game.record.plyCounter, game::MaxRecordedPly);
}

}  // namespace
