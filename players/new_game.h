#pragma once
// The three ways of starting a game (training, rated match, two people),
// the name change and the swapping of sides. The window's pages hand over
// what the person typed and selected; these functions set the game up and
// say what the window must show.

#include <string>

#include "game/core.h"

namespace players {

constexpr const char* ComputerName = "Tavolex";
// A match player who does not want a line on the roll: rated from 1500,
// and the result is stored nowhere.
constexpr const char* UnknownPlayer = "Inconnu";
constexpr int UnknownRating = 1500;

// "Nouveau": the engine stops, the last result is forgotten, set-up ends
// and the roll is read again from the program folder.
void resetForNewGame(game::Core& core);

enum class Refusal {
    None,
    Incomplete,      // an empty name, the same name twice, the computer's line chosen
    // A rated game cannot start: a rating is missing, unreadable or outside
    // LowestRating..HighestRating (the formula divides by the ratings).
    RatingBelowOne,
};

struct NewGame {
    Refusal refusal = Refusal::None;
    std::string badName;        // RatingBelowOne: whose rating is refused
    RatingProblem ratingProblem = RatingProblem::None;   // and why
    bool accepted() const { return refusal == Refusal::None; }
};

// Training: one person against the computer, not rated. computerBlack is
// the page's "noir"; with "blanc" the board is turned and the computer
// opens. A person named "Tavolex" leaves the computer to play both sides.
NewGame startTrainingGame(game::Core& core, const std::string& name, bool computerBlack);

// Match: a rated game against the computer. selectedLine is the selected
// line of the names list (-1 for none).
NewGame startMatch(game::Core& core, const std::string& name, int selectedLine, bool computerBlack);

// Two people. The selected lines matter only to refuse the computer's line.
NewGame startTwoPersonGame(game::Core& core, const std::string& white, const std::string& black, int whiteSelected,
                           int blackSelected);

// "Ramener Tavolex à 2050": the computer's rating in the working copy
// only; it reaches the file with the next rated result.
void restoreComputerRating(game::Core& core);

// The computer takes the other colour and, when that side is to move,
// the move.
void switchComputerSide(game::Core& core);
// "Inverser les joueurs" (F4): the game stops counting for the ratings.
void swapPlayers(game::Core& core);

// "Changer les noms": the names of the game and of the ply shown; the
// other plies keep theirs.
void renamePlayers(game::Core& core, const std::string& white, const std::string& black);

// The match page's choice of the human's line, by name: the selected line,
// else the line of the previous rated game of that colour, else of the
// other colour, else the first line with that name; -1 when the name is not
// on the roll or is "Inconnu". Line 0, the computer, is never a human's.
int humanLine(const Roll& roll, const std::string& name, int selectedLine, int previousSame, int previousOther);

}  // namespace players
