#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "players/roll.h"

namespace fs = std::filesystem;

namespace {

TEST(Ratings, TheFormulaOnWorkedValues) {
    using players::Result;
    const struct {
        int w, b;
        Result result;
        int newW, newB;
    } cases[] = {
        {1600, 2050, Result::BlackWins, 1588, 2062},
        {1600, 2050, Result::WhiteWins, 1649, 2001},
        {1600, 2050, Result::Draw, 1645, 2005},
        {1800, 1800, Result::WhiteWins, 1805, 1795},  // equal ratings: a win moves both by 5
        {1800, 1800, Result::BlackWins, 1795, 1805},
        {1800, 1800, Result::Draw, 1800, 1800},
        {2050, 1600, Result::WhiteWins, 2065, 1585},  // the ratio enters one time fewer for a White win
        {0, 1800, Result::BlackWins, 0, 1800},        // an unreadable rating never divides by zero
        // Far apart: the ratios are multiplied several times over; 64 bits
        // hold the products and the results stay within 1..4000.
        {10, 2050, Result::WhiteWins, 4000, 1},
        {2050, 10, Result::BlackWins, 1, 4000},
        {100, 2050, Result::WhiteWins, 4000, 1},
        {1, 4000, Result::WhiteWins, 4000, 1},
        {4000, 1, Result::BlackWins, 1, 4000},
        {4000, 1, Result::WhiteWins, 4000, 1},        // the favourite wins: g is 5
        {1, 4000, Result::Draw, 400, 3601},
        {4001, 1800, Result::WhiteWins, 4001, 1800},  // out of range: left alone
        {1800, -5, Result::Draw, 1800, -5},
    };
    for (const auto& c : cases) {
        const players::NewRatings r = players::updatedRatings(c.w, c.b, c.result);
        EXPECT_EQ(r.white, c.newW) << c.w << " " << c.b;
        EXPECT_EQ(r.black, c.newB) << c.w << " " << c.b;
    }
}

// Each line "points.dat" may hold, with what the roll makes of it.
TEST(Ratings, LinesOfPointsDatAreReadOrRefusedWithTheReason) {
    using players::RatingProblem;
    const struct {
        const char* line;
        int value;
        RatingProblem problem;
    } cases[] = {
        {"  1700", 1700, RatingProblem::None},       // "%4d" of a new player
        {"2062\r", 2062, RatingProblem::None},
        {"+1800 ", 1800, RatingProblem::None},
        {"1", 1, RatingProblem::None},
        {"4000", 4000, RatingProblem::None},
        {"abc", 0, RatingProblem::Unreadable},
        {"", 0, RatingProblem::Unreadable},
        {"   ", 0, RatingProblem::Unreadable},
        {"-", 0, RatingProblem::Unreadable},
        {"1600abc", 0, RatingProblem::Unreadable},
        {"16 00", 0, RatingProblem::Unreadable},
        {"0", 0, RatingProblem::OutOfRange},
        {"-20", 0, RatingProblem::OutOfRange},
        {"4001", 0, RatingProblem::OutOfRange},
        {"99999999999", 0, RatingProblem::OutOfRange},   // once read as 1410065407
        {"-99999999999999999999999", 0, RatingProblem::OutOfRange},
    };
    for (const auto& c : cases) {
        const players::RatingRead r = players::readRating(c.line);
        EXPECT_EQ(r.value, c.value) << '"' << c.line << '"';
        EXPECT_EQ(r.problem, c.problem) << '"' << c.line << '"';
        EXPECT_EQ(players::ratingOf(c.line), c.value) << '"' << c.line << '"';
    }
}

TEST(Roll, AddDeleteAndKeepTheFilesAligned) {
    const fs::path dir = fs::temp_directory_path() / ("tavolex_roll_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    players::Roll roll = players::loadRoll(dir);  // no files yet: empty lists
    EXPECT_TRUE(roll.names.empty());

    roll.names = {"Tavolex", "Ana", "Bia", "Caio"};
    roll.ratings = {"2050", "1600", "1700", "1800"};
    EXPECT_FALSE(players::addPlayer(roll, "", 1700));
    EXPECT_TRUE(players::addPlayer(roll, "Mister X", 1700));
    EXPECT_TRUE(players::saveNames(dir, roll));
    EXPECT_TRUE(players::saveRatings(dir, roll));
    std::ifstream points(dir / "points.dat", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(points)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "2050\r\n1600\r\n1700\r\n1800\r\n1700\r\n");

    players::Roll again = players::loadRoll(dir);
    EXPECT_EQ(again.names.back(), "Mister X");
    EXPECT_FALSE(players::deletePlayer(again, 0));   // never the computer
    EXPECT_FALSE(players::deletePlayer(again, 9));
    EXPECT_TRUE(players::deletePlayer(again, 3));
    EXPECT_EQ(again.names, (std::vector<std::string>{"Tavolex", "Ana", "Bia", "Mister X"}));
    EXPECT_EQ(again.ratings, (std::vector<std::string>{"2050", "1600", "1700", "1700"}));

    // Both files change together: with "points.dat" marked read-only the
    // deletion reaches neither.
    fs::permissions(dir / "points.dat", fs::perms(0444));
    EXPECT_FALSE(players::saveRoll(dir, again));
    EXPECT_EQ(players::loadRoll(dir).names.size(), 5u);
    fs::permissions(dir / "points.dat", fs::perms(0644));
    EXPECT_TRUE(players::saveRoll(dir, again));
    EXPECT_EQ(players::loadRoll(dir).names, again.names);
    EXPECT_EQ(players::loadRoll(dir).ratings, again.ratings);
    fs::remove_all(dir);
}

}  // namespace
