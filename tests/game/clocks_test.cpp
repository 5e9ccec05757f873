// The game clocks: ticks and labels, the engine's clock, zero, pause, and
// the loss on time of rated games.

#include <gtest/gtest.h>

#include "game/clocks.h"
#include "support/fake_host.h"

namespace {

struct ClockFixture : testing::Test {
    void SetUp() override {
        core = std::make_unique<game::Core>();
        core->host = &host;
        host.clock = 5000;
        game::resetClocks(*core);
        game::startClocks(*core);
    }
    testsupport::FakeHost host;
    std::unique_ptr<game::Core> core;
};

TEST_F(ClockFixture, TickShowsMinutesAndTwoDigitSeconds) {
    const struct {
        int after;
        const char* minutes;
        const char* seconds;
    } cases[] = {{75, "1", "15"}, {65, "1", "05"}, {9, "0", "09"}, {600, "10", "00"}};
    for (const auto& c : cases) {
        host.clock = 5000 + c.after;
        game::tickClocks(*core);
        EXPECT_EQ(game::clockMinutesText(core->game.whiteClock), c.minutes);
        EXPECT_EQ(game::clockSecondsText(core->game.whiteClock), c.seconds);
        EXPECT_EQ(core->game.lastShown, c.after);
    }
    EXPECT_EQ(game::clockSecondsText(core->game.blackClock), "00");
}

TEST_F(ClockFixture, TheSideToMovesClockRunsWhoeverThinks) {
    core->game.engineToMove = true;
    host.clock = 5042;
    game::tickClocks(*core);
    EXPECT_EQ(core->game.whiteClock.shown, 42);
    EXPECT_EQ(core->game.whiteClock.total, 0) << "banked only when the move is made";
    EXPECT_EQ(game::runningTotal(*core, rules::White), 42);
    EXPECT_EQ(game::runningTotal(*core, rules::Black), 0);
}

TEST(Clocks, StandStillUntilStartedAndNeverRunBackwards) {
    testsupport::FakeHost host;
    auto core = std::make_unique<game::Core>();
    core->host = &host;
    host.clock = 100;
    host.clock = 160;
    game::tickClocks(*core);
    game::changeTurn(*core, rules::White);
    EXPECT_EQ(core->game.whiteClock.total, 0) << "no time counts before the clocks start";
    game::startClocks(*core);
    host.clock = 190;
    game::startClocks(*core);  // already running: the turn goes on
    core->game.sideToMove = rules::White;
    host.clock = 150;          // a reading that went back
    game::changeTurn(*core, rules::White);
    EXPECT_EQ(core->game.whiteClock.total, 0);
    core->game.sideToMove = rules::Black;
    host.clock = 170;
    game::changeTurn(*core, rules::Black);
    EXPECT_EQ(core->game.blackClock.total, 20);
    // The end of the game stops them, the running turn banked.
    core->game.sideToMove = rules::White;
    host.clock = 200;
    game::stopClocks(*core);
    EXPECT_EQ(core->game.whiteClock.total, 30);
    EXPECT_FALSE(core->game.clockRunning);
    host.clock = 900;
    game::tickClocks(*core);
    EXPECT_EQ(core->game.whiteClock.shown, 30);
}

TEST_F(ClockFixture, TurnChangeBanksTheShownTotal) {
    host.clock = 5030;
    game::tickClocks(*core);
    host.clock = 5030;
    game::changeTurn(*core, rules::White);
    core->game.sideToMove = rules::Black;
    EXPECT_EQ(core->game.whiteClock.total, 30);
    host.clock = 5040;
    game::tickClocks(*core);
    EXPECT_EQ(core->game.blackClock.shown, 10);
}

TEST_F(ClockFixture, PauseKeepsTheTurnSoFar) {
    host.clock = 5020;
    game::tickClocks(*core);
    game::switchClockPause(*core);
    EXPECT_TRUE(core->game.paused);
    EXPECT_EQ(core->game.whiteClock.total, 20) << "the seconds before the pause are banked";
    host.clock = 5500;
    game::tickClocks(*core);
    EXPECT_EQ(core->game.whiteClock.shown, 20) << "no ticks while paused";
    game::switchClockPause(*core);
    host.clock = 5505;
    game::tickClocks(*core);
    EXPECT_EQ(core->game.whiteClock.shown, 25) << "a resumed clock goes on from where it stood";
}

TEST_F(ClockFixture, ZeroClearsBothClocksAndTheRatedGame) {
    core->game.whiteClock.total = 300;
    core->game.blackClock.total = 400;
    core->game.ratedGame = game::RatedState::InProgress;
    game::resetClocks(*core);
    EXPECT_EQ(core->game.whiteClock.total, 0);
    EXPECT_EQ(core->game.blackClock.minutes, 0);
    EXPECT_EQ(core->game.ratedGame, game::RatedState::None);
    EXPECT_EQ(game::checkTimeLoss(*core, 2000), std::nullopt);
}

struct LossCase {
    const char* name;
    int ply;
    rules::Side sideToMove;
    int engineClock;     // the side to move's
    int personClock;
    int personRating;
    std::optional<int> reason;
};

// Level "5 : Excellence": hard budget 178, limit 180 before ply 100.
const LossCase kLossCases[] = {
    {"PersonOverLimit", 40, rules::White, 0, 181, 2000, game::PersonLostOnTime},
    {"PersonAtLimit", 40, rules::White, 0, 180, 2000, std::nullopt},
    {"WeakerPersonGetsTwiceTheTime", 40, rules::White, 0, 361, 1700, std::nullopt},
    {"WeakerPersonLosesFrom362", 40, rules::White, 0, 362, 1700, game::PersonLostOnTime},
    {"EngineOverLimit", 40, rules::Black, 181, 0, 2000, game::EngineLostOnTime},
    {"WhiteToMoveTestsThePersonFirst", 40, rules::White, 500, 500, 2000, game::PersonLostOnTime},
    {"BlackToMoveTestsItselfFirst", 40, rules::Black, 500, 500, 2000, game::EngineLostOnTime},
    // From ply 100 the limit follows the plies: 120 x 178 / 60 + 2 = 358.
    {"LongGameLimitGrows", 119, rules::White, 0, 358, 2000, std::nullopt},
    {"LongGameLimitStillHolds", 119, rules::White, 0, 359, 2000, game::PersonLostOnTime},
};

class TimeLoss : public testing::TestWithParam<LossCase> {};

TEST_P(TimeLoss, InRatedGames) {
    const LossCase& c = GetParam();
    auto core = std::make_unique<game::Core>();
    core->game.ratedGame = game::RatedState::InProgress;
    core->game.record.plyCounter = static_cast<std::uint8_t>(c.ply);
    core->game.sideToMove = c.sideToMove;
    (c.sideToMove == rules::White ? core->game.whiteClock : core->game.blackClock).total = c.engineClock;
    (c.sideToMove == rules::White ? core->game.blackClock : core->game.whiteClock).total = c.personClock;
    EXPECT_EQ(game::checkTimeLoss(*core, c.personRating), c.reason);
    core->game.ratedGame = game::RatedState::None;
    EXPECT_EQ(game::checkTimeLoss(*core, c.personRating), std::nullopt) << "never outside rated games";
}

INSTANTIATE_TEST_SUITE_P(Limits, TimeLoss, testing::ValuesIn(kLossCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimeLimit, RisesWithoutAJumpAtPly100) {
    EXPECT_EQ(game::timeLimit(178, 99), 180);
    EXPECT_EQ(game::timeLimit(178, 100), 101 * 178 / 60 + 2);
    for (int n = 100; n < 252; ++n) EXPECT_LE(game::timeLimit(178, n), game::timeLimit(178, n + 1));
}

}  // namespace
