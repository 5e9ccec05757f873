#pragma once
// Games read from text: the layout our own export writes (and files of
// several games in it, with capital square names and chains of legs), and
// standard PDN. The text is turned into half-moves given by their squares;
// the replay accepts a half-move only when it is a legal move.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "game/core.h"
#include "rules/fen.h"

namespace files {

// Only this much of a file is read; a game stops at 64,000 characters.
constexpr std::size_t TextBufferSize = 64010;
constexpr std::size_t TextGameLimit = 64000;
constexpr int MaxImportedMoves = 125;  // move numbers; two half-moves each

struct HalfMove {
    std::vector<rules::Square> squares;  // from, the landings of a chain if written, to; 0 = not recognised
    rules::Square from() const { return squares.empty() ? 0 : squares.front(); }
    rules::Square to() const { return squares.empty() ? 0 : squares.back(); }
};

struct ParsedGame {
    std::string white, black;           // at most 19 characters each
    std::optional<rules::Position> start;  // a PDN game's own starting position
    std::vector<HalfMove> halfMoves;
};

// True when the text looks like PDN (tag pairs) rather than our export.
bool looksLikePdn(std::span<const std::uint8_t> text);

// Our layout: the chooser's lines (" 1:White", ...), one per game.
std::vector<std::string> listTextGames(std::span<const std::uint8_t> text);
std::optional<ParsedGame> parseTextGame(std::span<const std::uint8_t> text, int index);

// Standard PDN: every game of the text. Numeric squares follow the GameType
// tag's notation; without one, square 1 is b8 as everywhere in this program.
std::vector<ParsedGame> parsePdnGames(std::span<const std::uint8_t> text);

// Replays a game from its starting position (the usual one unless the game
// brings its own): each legal half-move is played and recorded, the others
// are skipped. Returns the number of half-moves played.
int replayGame(game::Core& core, const ParsedGame& parsed);

}  // namespace files
