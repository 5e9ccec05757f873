#pragma once
// Games read from text: the layout our own export writes (and files of
// several games in it, with capital square names and chains of legs), and
// standard PDN as other programs write it. The text is turned into
// half-moves given by their squares; the replay plays them while they are
// legal and stops, saying where and why, at the first that is not.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/text_export.h"
#include "game/core.h"
#include "rules/fen.h"

namespace files {

// Whole files are read, up to this size; anything larger is refused.
constexpr std::size_t MaxTextFileSize = std::size_t{64} << 20;

struct HalfMove {
    std::vector<rules::Square> squares;  // from, the landings if written, to; in our numbering
    std::string text;                    // as written, for messages
    bool readable = true;                // false: the text there is no move (none: a move is missing)
};

struct ParsedGame {
    // As the file gives them, in UTF-8.
    std::string white, black, event, site, date, round;
    ResultCode result = ResultCode::None;
    // The game's own starting position (a FEN tag), when it has one.
    std::optional<rules::Position> start;
    // A FEN tag that could not be read: its text and what is wrong with it.
    std::string badFen, fenError;
    // The value of a GameType tag naming another kind of draughts (10x10,
    // English, Italian ...), which this board does not play.
    std::string otherGameType;
    // At most one half-move more than the record holds: the replay says
    // where the game had to stop.
    std::vector<HalfMove> halfMoves;
};

// True when the text is PDN (tag pairs) rather than our export. A byte-order
// mark and "%" lines before the first tag are passed over.
bool looksLikePdn(std::span<const std::uint8_t> text);

// Every game of the text, in either layout.
std::vector<ParsedGame> readTextGames(std::span<const std::uint8_t> text);
// Our layout alone, and PDN alone. Numeric squares in PDN follow the
// GameType tag's notation: for Russian and Brazilian draughts, square 1 is
// a1; without a GameType, square 1 is b8 as everywhere in this program.
std::vector<ParsedGame> parseTextLayout(std::span<const std::uint8_t> text);
std::vector<ParsedGame> parsePdnGames(std::span<const std::uint8_t> text);

// The chooser's line for game `number` (from 1): its players, event, date
// and result, in UTF-8.
std::string chooserLine(const ParsedGame& game, int number);

enum class ReplayStop : std::uint8_t {
    None,           // every move was played
    NotLegal,       // the move is not legal in the position reached
    Ambiguous,      // several legal captures fit what is written and leave different positions
    Unreadable,     // the text there is no move
    Missing,        // a move number without the move of one side
    RecordFull,     // the game is longer than the record holds
    BadPosition,    // the starting position cannot be read: nothing was replayed
    OtherGameType,  // the game is of another kind of draughts: nothing was replayed
};

struct ReplayOutcome {
    int played = 0;                      // half-moves played
    ReplayStop stop = ReplayStop::None;
    // Where it stopped: the move number as written in the game ("12." for
    // White, "12..." for Black) and the text of the move.
    int moveNumber = 0;
    bool blackMove = false;
    std::string moveText;
    std::string detail;                  // the FEN that cannot be read, or the game type
    std::string fenError;                // what is wrong with that FEN
};

// Replays a game from its starting position (the usual one unless the game
// brings its own), each move recorded as if it had been played. At the
// first move that cannot be played the replay stops and keeps the moves
// before it. A game whose start cannot be set up changes nothing.
ReplayOutcome replayGame(game::Core& core, const ParsedGame& parsed);

}  // namespace files
