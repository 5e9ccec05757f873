#pragma once
// The end of a game: who won, what the end-of-game panel says, which sound
// goes with it. The window shows the panel; this decides its content.

#include <cstdint>
#include <optional>
#include <string>

#include "game/core.h"

namespace game {

enum class EndReason : std::uint8_t {
    NoMoveAfterPerson = 0,  // a person's move left the side to move without a move
    Draw = 1,               // an accepted draw offer
    NoMoveAfterEngine = 2,  // the engine's move (or its turn) found no move for the side to move
    PersonLostOnTime = 4,
    EngineLostOnTime = 5,
    PersonResigned = 6,
};

enum class EndMessage : std::uint8_t {
    None,             // no side has lost: the label stays empty
    WhiteWins,        // two people: "Gain des blancs"
    BlackWins,        // two people: "Gain des noirs"
    EngineWon,        // "Désolé, TAVOLEX a gagné"
    PersonWon,        // "Bravo, vous avez gagné"
    RatedWinner,      // the winner's name followed by " gagne"
    Draw,             // "Match nul !"
    EngineWonOnTime,  // "Temps dépassé, gain TAVOLEX"
    PersonWonOnTime,  // "Temps dépassé, vous gagnez"
    PersonResigned,   // "Vous abandonnez, gain TAVOLEX"
};

struct EndOfGame {
    bool processed = false;  // false: the rated game already had its result, nothing was done
    GameResult result = GameResult::None;
    EndMessage message = EndMessage::None;
    std::string winnerName;  // for RatedWinner
    bool showPanel = true;   // false while a learning session runs on its own
    std::optional<Sound> sound;  // the result's sound, already played when "Autres" is ticked
    // A rated game's ratings before and after, already saved to "points.dat";
    // nothing for a game that was not rated (the panel's rating lines are empty).
    std::optional<players::RatingChange> ratings;
};

// Decides and records the result (last result, the self-play tick), plays
// the result sound through the host when "Autres" is ticked, and returns
// what the end-of-game panel shows.
EndOfGame endOfGame(Core& core, EndReason reason);

// The panel's text, in French.
std::string endMessageText(const EndOfGame& end);

}  // namespace game
