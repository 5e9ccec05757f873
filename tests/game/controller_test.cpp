// The game controller without a window: the end of the game and its
// messages, the loop's pass, the board's click handler and draw offers.

#include <gtest/gtest.h>

#include "game/controller.h"
#include "game/navigation.h"
#include "rules/fen.h"
#include "support/fake_host.h"

namespace {

using game::EndReason;
using game::GameResult;
using game::Sound;

struct EndCase {
    const char* name;
    const char* fen;
    bool twoPeople;
    rules::Side computerColour;
    game::RatedState rated;
    EndReason reason;
    GameResult result;
    const char* message;
    std::optional<Sound> sound;
};

// A White man on a7 held by a Black man on b8: White cannot move, Black can.
// The eight White men and four Black men of "both" block each other.
constexpr const char* WhiteBlocked = "W:W5:B1";
constexpr const char* BothBlockedWhite = "W:W5,6,7,8,9,10,11,12:B1,2,3,4";
constexpr const char* BothBlockedBlack = "B:W5,6,7,8,9,10,11,12:B1,2,3,4";
constexpr const char* Open = "W:W21-32:B1-12";

const EndCase kEndCases[] = {
    {"TwoPeopleWhiteCannotMove", WhiteBlocked, true, rules::Black, game::RatedState::None, EndReason::NoMoveAfterPerson, GameResult::BlackWon, "Gain des noirs", {}},
    {"BothBlockedWhiteToMove", BothBlockedWhite, true, rules::Black, game::RatedState::None, EndReason::NoMoveAfterPerson, GameResult::BlackWon, "Gain des noirs", {}},
    {"BothBlockedBlackToMove", BothBlockedBlack, true, rules::Black, game::RatedState::None, EndReason::NoMoveAfterPerson, GameResult::WhiteWon, "Gain des blancs", {}},
    {"EngineBlackCannotMove", BothBlockedBlack, false, rules::Black, game::RatedState::None, EndReason::NoMoveAfterEngine, GameResult::WhiteWon, "Bravo, vous avez gagné", Sound::Won},
    {"EngineWhiteWins", BothBlockedBlack, false, rules::White, game::RatedState::None, EndReason::NoMoveAfterEngine, GameResult::WhiteWon, "Désolé, TAVOLEX a gagné", Sound::Lost},
    {"RatedWinnerByName", WhiteBlocked, false, rules::White, game::RatedState::InProgress, EndReason::NoMoveAfterEngine, GameResult::BlackWon, "Noa gagne", Sound::Won},
    {"SideToMoveCanPlay", Open, true, rules::Black, game::RatedState::None, EndReason::NoMoveAfterPerson, GameResult::None, "", {}},
    {"Draw", Open, false, rules::Black, game::RatedState::None, EndReason::Draw, GameResult::Draw, "Match nul !", {}},
    {"PersonLostOnTime", Open, false, rules::Black, game::RatedState::InProgress, EndReason::PersonLostOnTime, GameResult::BlackWon, "Temps dépassé, gain TAVOLEX", Sound::Lost},
    {"EngineLostOnTime", Open, false, rules::Black, game::RatedState::InProgress, EndReason::EngineLostOnTime, GameResult::WhiteWon, "Temps dépassé, vous gagnez", Sound::Won},
    {"PersonResigned", Open, false, rules::White, game::RatedState::InProgress, EndReason::PersonResigned, GameResult::WhiteWon, "Vous abandonnez, gain TAVOLEX", Sound::Lost},
};

class EndOfGame : public testing::TestWithParam<EndCase> {};

TEST_P(EndOfGame, DecidesTheResultAndItsMessage) {
    const EndCase& c = GetParam();
    testsupport::FakeHost host;
    game::Core core;
    core.host = &host;
    const rules::Position pos = *rules::parseFen(c.fen).position;
    game::installPosition(core, pos.board, pos.side);
    core.game.options.humanVsHuman = c.twoPeople;
    core.game.computerColour = c.computerColour;
    core.game.ratedGame = c.rated;
    core.game.whiteName = game::makeName("Ana");
    core.game.blackName = game::makeName("Noa");
    core.game.options.selfPlay = true;

    const game::EndOfGame end = game::endOfGame(core, c.reason);
    EXPECT_TRUE(end.processed);
    EXPECT_EQ(end.result, c.result);
    EXPECT_EQ(game::endMessageText(end), c.message);
    EXPECT_EQ(core.game.lastResult, c.result);
    EXPECT_FALSE(core.game.options.selfPlay);  // self-play stops with the game
    if (c.sound)
        EXPECT_EQ(host.sounds, std::vector<Sound>{*c.sound});
    else
        EXPECT_TRUE(host.sounds.empty());
}

INSTANTIATE_TEST_SUITE_P(Results, EndOfGame, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST(EndOfGameOnce, ARatedResultIsProcessedOnceAndSoundsFollowTheTick) {
    testsupport::FakeHost host;
    game::Core core;
    core.host = &host;
    const rules::Position pos = *rules::parseFen(BothBlockedBlack).position;
    game::installPosition(core, pos.board, pos.side);
    core.game.ratedGame = game::RatedState::Done;
    EXPECT_FALSE(game::endOfGame(core, EndReason::PersonResigned).processed);
    EXPECT_EQ(core.game.lastResult, game::GameResult::None);

    core.game.ratedGame = game::RatedState::None;
    core.game.options.otherSounds = false;
    EXPECT_EQ(game::endOfGame(core, EndReason::NoMoveAfterEngine).result, GameResult::WhiteWon);
    EXPECT_TRUE(host.sounds.empty());
}

class Controller : public testing::Test {
protected:
    void SetUp() override {
        core.host = &host;
        game::installPosition(core, rules::startingPosition(), rules::White);
    }
    void setUpPosition(const char* fen) {
        const rules::Position pos = *rules::parseFen(fen).position;
        game::installPosition(core, pos.board, pos.side);
    }
    testsupport::FakeHost host;
    game::Core core;
};

TEST_F(Controller, AClickIsRecordedThenHandedToTheMoveInput) {
    EXPECT_TRUE(game::clic(core, 20 + 2 * 60 + 30, 20 + 5 * 60 + 30));  // c3
    EXPECT_TRUE(core.game.click.pending);
    EXPECT_TRUE(core.engine.stopRequested);
    game::PassOutcome out = game::gameLoopPass(core);
    EXPECT_TRUE(out.clickHandled);
    EXPECT_FALSE(out.engineTurn);
    EXPECT_FALSE(core.game.click.pending);
    EXPECT_EQ(out.click.board.result, rules::ClickOutcome::Result::Waiting);

    // Nothing pending: a pass does nothing more.
    out = game::gameLoopPass(core);
    EXPECT_FALSE(out.clickHandled);
    EXPECT_EQ(out.moveNumber, 1);
}

TEST_F(Controller, ClicksWhileTheEngineIsToMove) {
    core.game.engineToMove = true;
    core.game.ratedGame = game::RatedState::InProgress;
    EXPECT_FALSE(game::clic(core, 200, 200));
    core.game.ratedGame = game::RatedState::None;
    core.game.options.stopByClick = false;
    EXPECT_FALSE(game::clic(core, 200, 200));
    core.game.options.stopByClick = true;
    EXPECT_TRUE(game::clic(core, 200, 200));
    EXPECT_FALSE(core.game.click.pending && game::gameLoopPass(core).click.handled);
}

TEST_F(Controller, TheEnginesTurnIsDue) {
    core.rules.board[22] = rules::Empty;  // a stray working board is replaced by the game position
    core.game.engineToMove = true;
    game::PassOutcome out = game::gameLoopPass(core);
    EXPECT_TRUE(out.engineTurn);
    EXPECT_TRUE(out.hideCaptureLabels);
    EXPECT_EQ(core.rules.board, core.rules.gamePosition);

    core.game.engineToMove = false;
    core.game.moveNowRequest = true;
    out = game::gameLoopPass(core);
    EXPECT_TRUE(out.engineTurn);
    EXPECT_FALSE(core.game.moveNowRequest);

    // Two people: the engine never moves; set-up: nobody does.
    core.game.options.humanVsHuman = true;
    EXPECT_FALSE(game::gameLoopPass(core).engineTurn);
    core.game.options.humanVsHuman = false;
    core.game.setupMode = true;
    EXPECT_FALSE(game::gameLoopPass(core).engineTurn);
}

TEST_F(Controller, WithoutAnEngineTheComputerWaitsUnlessItHasLost) {
    core.game.engineToMove = true;
    EXPECT_FALSE(game::turnWithoutEngine(core).has_value());
    EXPECT_TRUE(core.game.engineToMove);

    setUpPosition(BothBlockedBlack);
    core.game.engineToMove = true;
    const auto end = game::turnWithoutEngine(core);
    ASSERT_TRUE(end.has_value());
    EXPECT_EQ(game::endMessageText(*end), "Bravo, vous avez gagné");
    EXPECT_FALSE(core.game.engineToMove);
}

struct DrawCase {
    const char* fen;
    bool thinkingOnPersonsTime;
    int lastScore;
    bool accepted;
};
const DrawCase kDrawCases[] = {
    {"W:W21-32:B1-12", false, 0, false},          // 24 pieces: always refused
    {"W:W21-31:B1-9", false, -400, false},        // 20 pieces: still too many
    {"W:W21-29:B1-9", false, 0, true},            // 18 pieces, level
    {"W:W21-29:B1-9", false, 50, false},          // the engine stands better
    {"W:W21-29:B1-9", true, 50, true},            // on the person's time the score is the person's
    {"W:W21-29:B1-9", true, -10, false},
};

TEST_F(Controller, ThePersonsDrawOffer) {
    for (const DrawCase& c : kDrawCases) {
        setUpPosition(c.fen);
        core.game.drawRefusedShown = false;
        core.engine.infiniteThinking = c.thinkingOnPersonsTime;
        core.engine.lastScore = c.lastScore;
        const auto end = game::ProposernulClick(core);
        EXPECT_EQ(end.has_value(), c.accepted) << c.fen << " " << c.lastScore;
        EXPECT_EQ(core.game.drawRefusedShown, !c.accepted);
        if (end) {
            EXPECT_EQ(end->result, GameResult::Draw);
        }
    }
    // The next click on the board hides the notice.
    setUpPosition("W:W21-32:B1-12");
    game::ProposernulClick(core);
    ASSERT_TRUE(core.game.drawRefusedShown);
    game::clic(core, 20 + 2 * 60 + 30, 20 + 5 * 60 + 30);
    game::gameLoopPass(core);
    EXPECT_FALSE(core.game.drawRefusedShown);
}

TEST_F(Controller, TwoPeopleTakeOverTheEnginesTurn) {
    core.game.engineToMove = true;
    game::Ordinateur(core);
    EXPECT_TRUE(core.game.options.humanVsHuman);
    EXPECT_FALSE(core.game.computerPlays);
    EXPECT_FALSE(core.game.engineToMove);
    game::Ordinateur(core);
    EXPECT_FALSE(core.game.options.humanVsHuman);
    EXPECT_TRUE(core.game.computerPlays);
}

}  // namespace
