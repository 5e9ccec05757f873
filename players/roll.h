#pragma once
// The roll of players: names in "joueurs.dat", ratings in "points.dat", line
// for line; line 0 is the computer opponent. Both are read and written whole.

#include <filesystem>
#include <string>
#include <vector>

namespace players {

constexpr int ComputerRating = 2050;   // what "Ramener Tavolex à 2050" restores
constexpr const char* NamesFile = "joueurs.dat";
constexpr const char* RatingsFile = "points.dat";

struct Roll {
    std::vector<std::string> names;
    std::vector<std::string> ratings;  // the lines as they stand: "%4d" for new players
};

// Reads both files from the program folder; a missing file leaves its list empty.
Roll loadRoll(const std::filesystem::path& folder);
bool saveNames(const std::filesystem::path& folder, const Roll& roll);
bool saveRatings(const std::filesystem::path& folder, const Roll& roll);
// Both files together or neither: adding or deleting a player changes both,
// and one written without the other would pair names with wrong ratings.
bool saveRoll(const std::filesystem::path& folder, const Roll& roll);

// Ratings the roll accepts. The formula multiplies ratios of the two
// ratings several times over: ratings far outside this range make it
// meaningless, and without a bound it would overflow.
constexpr int LowestRating = 1;
constexpr int HighestRating = 4000;

enum class RatingProblem {
    None,
    Missing,      // "points.dat" has no line for the player
    Unreadable,   // the line is not a whole decimal number
    OutOfRange,   // a number below LowestRating or above HighestRating
};
struct RatingRead {
    int value = 0;   // the rating when there is no problem, else 0
    RatingProblem problem = RatingProblem::None;
};
// A line of "points.dat": blanks around a decimal number, which may carry a
// sign ("%4d" writes leading blanks). Anything else is refused, saying why.
RatingRead readRating(const std::string& line);
// The same as a number: 0 for any line readRating refuses.
int ratingOf(const std::string& line);

// Appends a player with a starting rating; false for an empty name.
bool addPlayer(Roll& roll, const std::string& name, int rating);
// Removes line `index` of both lists; never line 0, the computer.
bool deletePlayer(Roll& roll, int index);

enum class Result { BlackWins, WhiteWins, Draw };
struct NewRatings {
    int white, black;
};
// The rating formula, on whole numbers with every division truncating
// towards zero after the product before it, computed in 64 bits; the new
// ratings are kept within LowestRating..HighestRating. Ratings outside that
// range are left as they are (a rated game never starts with one).
NewRatings updatedRatings(int white, int black, Result result);

// What a rated game's result did to the two ratings.
struct RatingChange {
    int whiteOld = 0, whiteNew = 0;
    int blackOld = 0, blackNew = 0;
    bool saved = true;  // false: "points.dat" could not be written
};
// The end-of-game panel's line after a player's name: " passe de %4d à %4d"
// (UTF-8; the name before it is the window's to show).
std::string ratingChangeText(int from, int to);

}  // namespace players
