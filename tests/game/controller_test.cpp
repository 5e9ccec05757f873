// The game controller without a window: the end of the game and its
// messages, the loop's pass, the board's click handler and draw offers.

#include <gtest/gtest.h>

#include "game/controller.h"
#include "game/navigation.h"
#include "game/person_move.h"
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
    {"TwoPeopleWhiteCannotMove",
     WhiteBlocked,
     true,
     rules::Black,
     game::RatedState::None,
     EndReason::NoMoveAfterPerson,
     GameResult::BlackWon,
     "Gain des noirs",
     {}},
    {"BothBlockedWhiteToMove",
     BothBlockedWhite,
     true,
     rules::Black,
     game::RatedState::None,
     EndReason::NoMoveAfterPerson,
     GameResult::BlackWon,
     "Gain des noirs",
     {}},
    {"BothBlockedBlackToMove",
     BothBlockedBlack,
     true,
     rules::Black,
     game::RatedState::None,
     EndReason::NoMoveAfterPerson,
     GameResult::WhiteWon,
     "Gain des blancs",
     {}},
    {"EngineBlackCannotMove", BothBlockedBlack, false, rules::Black, game::RatedState::None,
     EndReason::NoMoveAfterEngine, GameResult::WhiteWon, "Bravo, vous avez gagné", Sound::Won},
    {"EngineWhiteWins", BothBlockedBlack, false, rules::White, game::RatedState::None, EndReason::NoMoveAfterEngine,
     GameResult::WhiteWon, "Désolé, TAVOLEX a gagné", Sound::Lost},
    {"RatedWinnerByName", WhiteBlocked, false, rules::White, game::RatedState::InProgress, EndReason::NoMoveAfterEngine,
     GameResult::BlackWon, "Noa gagne", Sound::Won},
    {"SideToMoveCanPlay",
     Open,
     true,
     rules::Black,
     game::RatedState::None,
     EndReason::NoMoveAfterPerson,
     GameResult::None,
     "",
     {}},
    {"Draw", Open, false, rules::Black, game::RatedState::None, EndReason::Draw, GameResult::Draw, "Match nul !", {}},
    {"PersonLostOnTime", Open, false, rules::Black, game::RatedState::InProgress, EndReason::PersonLostOnTime,
     GameResult::BlackWon, "Temps dépassé, gain TAVOLEX", Sound::Lost},
    {"EngineLostOnTime", Open, false, rules::Black, game::RatedState::InProgress, EndReason::EngineLostOnTime,
     GameResult::WhiteWon, "Temps dépassé, vous gagnez", Sound::Won},
    {"PersonResigned", Open, false, rules::White, game::RatedState::InProgress, EndReason::PersonResigned,
     GameResult::WhiteWon, "Vous abandonnez, gain TAVOLEX", Sound::Lost},
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
                         [](const testing::TestParamInfo<EndCase>& test) { return std::string(test.param.name); });

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

TEST_F(Controller, AClickOnThePersonsTurnIsMoveInputAtOnce) {
    const game::PersonClick c = game::handleBoardClick(core, 22);  // c3
    EXPECT_TRUE(c.handled);
    EXPECT_EQ(c.board.result, rules::ClickOutcome::Result::Waiting);
    EXPECT_TRUE(core.game.clockRunning) << "the person's first click starts the clocks";
    const game::PersonClick d = game::handleBoardClick(core, 18);  // d4
    EXPECT_TRUE(d.movePlayed);
    EXPECT_TRUE(core.game.engineToMove) << "the engine answers";
    EXPECT_EQ(core.game.record.plyCounter, 1);
    // A pass hands the turn to the engine.
    const game::PassOutcome out = game::gameLoopPass(core);
    EXPECT_TRUE(out.engineTurn);
    EXPECT_EQ(out.moveNumber, 1);
    // Off the board, nothing.
    EXPECT_FALSE(game::handleBoardClick(core, 0).handled);
}

TEST_F(Controller, TheEnginesTurnIsDue) {
    core.game.engineToMove = true;
    game::PassOutcome out = game::gameLoopPass(core);
    EXPECT_TRUE(out.engineTurn);
    EXPECT_TRUE(out.hideCaptureLabels);

    core.game.engineToMove = false;
    core.game.moveNowRequest = true;
    out = game::gameLoopPass(core);
    EXPECT_TRUE(out.engineTurn);
    EXPECT_FALSE(core.game.moveNowRequest);

    // Two people: the engine never moves; set-up: nobody does.
    core.game.options.humanVsHuman = true;
    EXPECT_FALSE(game::gameLoopPass(core).engineTurn);
    core.game.options.humanVsHuman = false;
    core.game.engineToMove = true;
    core.game.setupMode = true;
    EXPECT_FALSE(game::gameLoopPass(core).engineTurn);
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
        const auto end = game::offerDraw(core);
        EXPECT_EQ(end.has_value(), c.accepted) << c.fen << " " << c.lastScore;
        EXPECT_EQ(core.game.drawRefusedShown, !c.accepted);
        if (end) {
            EXPECT_EQ(end->result, GameResult::Draw);
        }
    }
    // The next click on the board hides the notice.
    setUpPosition("W:W21-32:B1-12");
    game::offerDraw(core);
    ASSERT_TRUE(core.game.drawRefusedShown);
    game::handleBoardClick(core, 22);
    EXPECT_FALSE(core.game.drawRefusedShown);
}

TEST_F(Controller, TwoPeopleTakeOverTheEnginesTurn) {
    core.game.engineToMove = true;
    game::toggleTwoPeople(core);
    EXPECT_TRUE(core.game.options.humanVsHuman);
    EXPECT_FALSE(core.game.computerPlays);
    EXPECT_FALSE(core.game.engineToMove);
    game::toggleTwoPeople(core);
    EXPECT_FALSE(core.game.options.humanVsHuman);
    EXPECT_TRUE(core.game.computerPlays);
}

TEST_F(Controller, SelfPlayOffHandsTheSideToMoveToThePerson) {
    // A training game, the person White; self-play ran until Black is to move.
    core.game.whiteName = game::makeName("Ana");
    core.game.blackName = game::makeName("Tavolex");
    core.game.computerColour = rules::Black;
    game::setSelfPlay(core, true);
    EXPECT_TRUE(core.game.engineToMove);
    core.game.sideToMove = rules::Black;
    core.game.computerColour = rules::Black;
    game::setSelfPlay(core, false);
    EXPECT_FALSE(core.game.options.selfPlay);
    EXPECT_FALSE(core.game.engineToMove);
    EXPECT_EQ(core.game.computerColour, rules::White) << "the person has the side to move";
    EXPECT_EQ(game::nameText(core.game.whiteName), "Tavolex") << "the names follow the colours";
    EXPECT_EQ(game::nameText(core.game.blackName), "Ana");
    EXPECT_EQ(game::nameText(core.game.record.plies[0].blackName), "Ana");
    EXPECT_FALSE(game::gameLoopPass(core).engineTurn);

    // Two names of people, or the engine against itself, stay as they are.
    core.game.whiteName = game::makeName("Ana");
    core.game.blackName = game::makeName("Noa");
    game::setSelfPlay(core, true);
    core.game.sideToMove = rules::White;
    game::setSelfPlay(core, false);
    EXPECT_EQ(game::nameText(core.game.whiteName), "Ana");
    EXPECT_EQ(core.game.computerColour, rules::Black);
}

}  // namespace
