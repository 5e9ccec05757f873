// The three new-game modes, the roll they read, and a rated game's result
// reaching "points.dat" once.

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "game/end_of_game.h"
#include "game/navigation.h"
#include "players/new_game.h"
#include "players/rated_game.h"
#include "support/fake_host.h"
#include "support/game_builder.h"

namespace fs = std::filesystem;

namespace {

std::string fileText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A program folder with a roll, and a core that has opened the new-game panel.
struct Table {
    explicit Table(std::vector<std::string> names = {"Tavolex", "Ana", "Bia", "Mister X"},
                   std::vector<std::string> ratings = {"2050", "1600", "1700", "1800"}) {
        static int count = 0;
        dir = fs::temp_directory_path() /
              ("tavolex_newgame_" + std::to_string(::getpid()) + "_" + std::to_string(count++));
        fs::create_directories(dir);
        core = std::make_unique<game::Core>();
        core->host = &host;
        core->programDir = dir;
        players::Roll roll{std::move(names), std::move(ratings)};
        EXPECT_TRUE(players::saveNames(dir, roll));
        EXPECT_TRUE(players::saveRatings(dir, roll));
        game::installPosition(*core, rules::startingPosition(), rules::White);
        players::resetForNewGame(*core);
    }
    ~Table() { fs::remove_all(dir); }
    std::string white() const { return game::nameText(core->game.whiteName); }
    std::string black() const { return game::nameText(core->game.blackName); }
    std::string points() const { return fileText(dir / "points.dat"); }

    fs::path dir;
    testsupport::FakeHost host;
    std::unique_ptr<game::Core> core;
};

TEST(Training, SeatsThePersonAndTheComputerByTheChosenColour) {
    Table t;
    game::GameState& g = t.core->game;
    // A previous game left the computer with White and the board turned:
    // the new game's choice decides both, whatever came before.
    g.computerColour = rules::White;
    g.inverted = true;
    g.ratedGame = game::RatedState::Done;
    g.options.humanVsHuman = true;
    EXPECT_TRUE(players::startTrainingGame(*t.core, "Mister X", true).accepted());
    EXPECT_EQ(t.white(), "Mister X");
    EXPECT_EQ(t.black(), "Tavolex");
    EXPECT_EQ(g.computerColour, rules::Black);
    EXPECT_FALSE(g.inverted);
    EXPECT_FALSE(g.engineToMove);  // the person opens
    EXPECT_EQ(g.ratedGame, game::RatedState::None);
    EXPECT_FALSE(g.options.humanVsHuman);
    EXPECT_TRUE(g.options.stopByClick);
    EXPECT_TRUE(g.computerPlays);
    EXPECT_EQ(game::nameText(g.record.plies[0].whiteName), "Mister X");  // the game file stores them

    EXPECT_TRUE(players::startTrainingGame(*t.core, "Mister X", false).accepted());
    EXPECT_EQ(t.white(), "Tavolex");
    EXPECT_EQ(t.black(), "Mister X");
    EXPECT_EQ(g.computerColour, rules::White);
    EXPECT_TRUE(g.inverted);
    EXPECT_TRUE(g.engineToMove);  // the computer makes the first move
    EXPECT_EQ(g.record.plies[0].computerColour, rules::sideIndex(rules::White));

    // The program's own name: the computer plays both sides.
    EXPECT_TRUE(players::startTrainingGame(*t.core, "Tavolex", true).accepted());
    EXPECT_TRUE(g.options.selfPlay);
    EXPECT_TRUE(g.engineToMove);
}

TEST(Match, ReadsTheRatingsOfTheChosenLineAndStartsRated) {
    Table t;
    game::GameState& g = t.core->game;
    EXPECT_EQ(players::startMatch(*t.core, "", 1, true).refusal, players::Refusal::Incomplete);
    EXPECT_EQ(g.ratedGame, game::RatedState::None);

    ASSERT_TRUE(players::startMatch(*t.core, "Bia", 2, true).accepted());
    EXPECT_EQ(g.ratedGame, game::RatedState::InProgress);
    EXPECT_FALSE(g.options.stopByClick);
    EXPECT_EQ(t.white(), "Bia");
    EXPECT_EQ(g.whiteLine, 2);
    EXPECT_EQ(g.blackLine, 0);
    EXPECT_EQ(g.whiteRating, 1700);
    EXPECT_EQ(g.blackRating, 2050);

    // The computer takes White: the lines and ratings follow the colours.
    ASSERT_TRUE(players::startMatch(*t.core, "Ana", 1, false).accepted());
    EXPECT_EQ(t.black(), "Ana");
    EXPECT_EQ(g.blackLine, 1);
    EXPECT_EQ(g.blackRating, 1600);
    EXPECT_EQ(g.whiteLine, 0);
    EXPECT_EQ(g.whiteRating, 2050);
    EXPECT_TRUE(g.inverted);
    EXPECT_TRUE(g.engineToMove);

    // Nothing selected: the previous line of that colour, when it still
    // names the player.
    ASSERT_TRUE(players::startMatch(*t.core, "Ana", -1, false).accepted());
    EXPECT_EQ(g.blackLine, 1);
    // ... or of the other colour.
    ASSERT_TRUE(players::startMatch(*t.core, "Ana", -1, true).accepted());
    EXPECT_EQ(g.whiteLine, 1);
    // A selection the person then typed over does not rate someone else.
    ASSERT_TRUE(players::startMatch(*t.core, "Mister X", 1, true).accepted());
    EXPECT_EQ(g.whiteLine, 3);
    EXPECT_EQ(g.whiteRating, 1800);

    // "Inconnu" and names not on the roll: from 1500 and stored nowhere.
    for (const char* name : {"Inconnu", "Zoe"}) {
        ASSERT_TRUE(players::startMatch(*t.core, name, 2, true).accepted());
        EXPECT_EQ(g.whiteLine, -1) << name;
        EXPECT_EQ(g.whiteRating, 1500) << name;
        EXPECT_EQ(g.ratedGame, game::RatedState::InProgress) << name;
    }

    // The program's own name: computer against computer, not rated.
    ASSERT_TRUE(players::startMatch(*t.core, "Tavolex", 0, true).accepted());
    EXPECT_EQ(g.ratedGame, game::RatedState::None);
    EXPECT_TRUE(g.options.selfPlay);
    EXPECT_TRUE(g.options.stopByClick);
}

TEST(Match, RefusesRatingsBelowOneBeforeChangingAnything) {
    Table t({"Tavolex", "Ana", "Bia"}, {"2050", "abc", "1700"});
    game::GameState& g = t.core->game;
    ASSERT_TRUE(players::startTrainingGame(*t.core, "Mister X", true).accepted());
    g.record.plyCounter = 0;
    const players::NewGame refused = players::startMatch(*t.core, "Ana", 1, true);
    EXPECT_EQ(refused.refusal, players::Refusal::RatingBelowOne);
    EXPECT_EQ(refused.badName, "Ana");
    EXPECT_EQ(refused.ratingProblem, players::RatingProblem::Unreadable);
    EXPECT_EQ(g.ratedGame, game::RatedState::None);
    EXPECT_EQ(t.white(), "Mister X");

    Table computer({"Tavolex", "Ana"}, {"", "1600"});
    const players::NewGame noComputer = players::startMatch(*computer.core, "Ana", 1, true);
    EXPECT_EQ(noComputer.refusal, players::Refusal::RatingBelowOne);
    EXPECT_EQ(noComputer.badName, "Tavolex");
    EXPECT_EQ(noComputer.ratingProblem, players::RatingProblem::Unreadable);
    // "Ramener Tavolex à 2050" mends it in the working copy.
    players::restoreComputerRating(*computer.core);
    EXPECT_TRUE(players::startMatch(*computer.core, "Ana", 1, true).accepted());
    EXPECT_EQ(computer.core->game.blackRating, 2050);
}

// Lines of "points.dat" the formula cannot take: the match is refused,
// naming the player and the reason, before anything changes.
TEST(Match, RefusesUnfitRatingsWithTheReason) {
    using players::RatingProblem;
    const struct {
        std::vector<std::string> ratings;
        const char* badName;
        RatingProblem problem;
    } cases[] = {
        {{"2050", "99999999999"}, "Ana", RatingProblem::OutOfRange},
        {{"2050", "4001"}, "Ana", RatingProblem::OutOfRange},
        {{"2050", "-3"}, "Ana", RatingProblem::OutOfRange},
        {{"2050", "16OO"}, "Ana", RatingProblem::Unreadable},
        {{"2050"}, "Ana", RatingProblem::Missing},
        {{"0", "1600"}, "Tavolex", RatingProblem::OutOfRange},
    };
    for (const auto& c : cases) {
        Table t({"Tavolex", "Ana"}, c.ratings);
        const players::NewGame out = players::startMatch(*t.core, "Ana", 1, true);
        EXPECT_EQ(out.refusal, players::Refusal::RatingBelowOne) << c.ratings.back();
        EXPECT_EQ(out.badName, c.badName) << c.ratings.back();
        EXPECT_EQ(out.ratingProblem, c.problem) << c.ratings.back();
        EXPECT_EQ(t.core->game.ratedGame, game::RatedState::None);
    }
}

// A player rated 10 who beats the computer once overflowed the formula and
// wrote ratings of about minus and plus 183 million into "points.dat".
TEST(RatedResult, FarApartRatingsStayInRangeAndTheNextMatchStarts) {
    Table t({"Tavolex", "Ana"}, {"2050", "  10"});
    ASSERT_TRUE(players::startMatch(*t.core, "Ana", 1, true).accepted());
    const game::EndOfGame end = game::endOfGame(*t.core, game::EndReason::EngineLostOnTime);
    ASSERT_TRUE(end.ratings);
    EXPECT_EQ(end.ratings->whiteNew, 4000);
    EXPECT_EQ(end.ratings->blackNew, 1);
    EXPECT_EQ(t.points(), "1\r\n4000\r\n");
    EXPECT_TRUE(players::startMatch(*t.core, "Ana", 1, true).accepted());
}

TEST(RatedResult, ReachesPointsDatOnceAndOnlyForRatedGames) {
    Table t;
    game::GameState& g = t.core->game;
    // The computer's rating reset, then a rated game lost by resignation.
    t.core->players.ratings[0] = "1990";
    players::restoreComputerRating(*t.core);
    EXPECT_EQ(t.points(), "2050\r\n1600\r\n1700\r\n1800\r\n");  // nothing written yet
    ASSERT_TRUE(players::startMatch(*t.core, "Ana", 1, true).accepted());
    const game::EndOfGame end = game::endOfGame(*t.core, game::EndReason::PersonResigned);
    ASSERT_TRUE(end.ratings);
    EXPECT_EQ(end.ratings->whiteOld, 1600);
    EXPECT_EQ(end.ratings->whiteNew, 1588);
    EXPECT_EQ(end.ratings->blackOld, 2050);
    EXPECT_EQ(end.ratings->blackNew, 2062);
    EXPECT_EQ(players::ratingChangeText(1600, 1588), " passe de 1600 \xC3\xA0 1588");
    EXPECT_EQ(t.points(), "2062\r\n1588\r\n1700\r\n1800\r\n");
    EXPECT_EQ(g.ratedGame, game::RatedState::Done);
    // A second end-of-game signal for the same game changes nothing.
    EXPECT_FALSE(game::endOfGame(*t.core, game::EndReason::PersonResigned).processed);
    EXPECT_EQ(t.points(), "2062\r\n1588\r\n1700\r\n1800\r\n");

    // "Inconnu" wins with Black: only the computer's line moves.
    ASSERT_TRUE(players::startMatch(*t.core, "Inconnu", 1, false).accepted());
    const game::EndOfGame lost = game::endOfGame(*t.core, game::EndReason::EngineLostOnTime);
    ASSERT_TRUE(lost.ratings);
    EXPECT_EQ(lost.ratings->blackOld, 1500);
    const std::string expected = std::to_string(lost.ratings->whiteNew) + "\r\n1588\r\n1700\r\n1800\r\n";
    EXPECT_EQ(t.points(), expected);
    EXPECT_EQ(fileText(t.dir / "joueurs.dat"), "Tavolex\r\nAna\r\nBia\r\nMister X\r\n");

    // Swapping sides ends the rating: the result changes nothing.
    ASSERT_TRUE(players::startMatch(*t.core, "Bia", 2, true).accepted());
    players::swapPlayers(*t.core);
    EXPECT_EQ(g.ratedGame, game::RatedState::None);
    EXPECT_EQ(g.computerColour, rules::White);
    EXPECT_TRUE(g.engineToMove);  // White is to move and is now the computer's
    EXPECT_FALSE(game::endOfGame(*t.core, game::EndReason::PersonResigned).ratings);
    EXPECT_EQ(t.points(), expected);

    // Training games are never rated.
    ASSERT_TRUE(players::startTrainingGame(*t.core, "Bia", true).accepted());
    EXPECT_FALSE(game::endOfGame(*t.core, game::EndReason::PersonResigned).ratings);
    EXPECT_EQ(t.points(), expected);
}

TEST(HumanGame, AcceptsTwoDifferentPeopleOnly) {
    Table t;
    game::GameState& g = t.core->game;
    const struct {
        const char *white, *black;
        int ws, bs;
    } refused[] = {{"", "Bia", -1, 2},
                   {"Ana", "", 1, -1},
                   {"Ana", "Ana", 1, 1},
                   {"Tavolex", "Bia", 0, 2},
                   {"Ana", "Tavolex", 1, 0}};
    for (const auto& r : refused) {
        EXPECT_EQ(players::startTwoPersonGame(*t.core, r.white, r.black, r.ws, r.bs).refusal,
                  players::Refusal::Incomplete)
            << r.white << "/" << r.black;
    }
    EXPECT_FALSE(g.options.humanVsHuman);
    ASSERT_TRUE(players::startTwoPersonGame(*t.core, "Ana", "ana", 1, -1).accepted());  // case counts
    EXPECT_TRUE(g.options.humanVsHuman);
    EXPECT_FALSE(g.computerPlays);
    EXPECT_FALSE(g.engineToMove);
    EXPECT_EQ(t.white(), "Ana");
    EXPECT_EQ(t.black(), "ana");
}

TEST(ChangeNames, TouchTheGameAndTheShownPlyOnly) {
    Table t;
    ASSERT_TRUE(players::startTwoPersonGame(*t.core, "Ana", "Bia", -1, -1).accepted());
    ASSERT_EQ(testsupport::playRandomMoves(*t.core, 4, 7), 4);
    game::takeBack(*t.core);  // showing ply 3
    players::renamePlayers(*t.core, "Carla with a very long name", "Dora");
    const game::GameRecord& rec = t.core->game.record;
    EXPECT_EQ(t.white(), "Carla with a very l");  // 19 characters
    EXPECT_EQ(game::nameText(rec.plies[3].whiteName), "Carla with a very l");
    EXPECT_EQ(game::nameText(rec.plies[3].blackName), "Dora");
    EXPECT_EQ(game::nameText(rec.plies[2].whiteName), "Ana");
    EXPECT_EQ(game::nameText(rec.plies[4].blackName), "Bia");
}

}  // namespace
