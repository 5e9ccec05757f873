#pragma once
// Game files ("*.dam", the resume file "last32.dam"): the image of the game
// record, 255 records of 88 bytes, then the ply shown and the side to move:
// always 22,442 bytes, little-endian. The last two records lend some of
// their fields to the settings active when the game was saved, which is why
// no game keeps more than 252 plies.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "files/bytes.h"
#include "game/core.h"
#include "game/record.h"

namespace files {

constexpr std::size_t PlyRecordSize = 88;
constexpr std::size_t GameFileSize = game::RecordEntries * PlyRecordSize + 2;

// The settings a game file carries beside the game.
struct GameSettings {
    std::int32_t minutes = 3;          // the "30 coups en" minutes setting
    std::uint8_t language = 0;         // interface language index, 0 French .. 5 Italian
    std::uint8_t level = 5;            // playing-level number
    std::int32_t searchControl1 = 160; // the level's two search-control values
    std::int32_t searchControl2 = 178;
    bool operator==(const GameSettings&) const = default;
};

struct GameFile {
    game::GameRecord record;   // plyCounter: the ply shown; recordLength: the ply count
    rules::Side sideToMove = rules::White;  // in the ply shown
    GameSettings settings;
};

std::vector<std::uint8_t> encodeGameFile(const game::GameRecord& record, rules::Side sideToMove,
                                         const GameSettings& settings);
// Refuses an image of the wrong size or with values no game can hold (a
// piece code above 4, a square above 32, a side other than 0 and 1), so a
// damaged file never reaches the board.
FileError decodeGameFile(std::span<const std::uint8_t> bytes, GameFile& out);

bool writeGameFile(const std::string& path, const game::GameRecord& record, rules::Side sideToMove,
                   const GameSettings& settings);
FileError readGameFile(const std::string& path, GameFile& out);

// Saving: the game of `core` with its current ply and side to move.
bool saveGame(game::Core& core, const std::string& path, const GameSettings& settings);
// Installs a read game as Opening does: the record, the position shown, the
// move list rebuilt, the names, the navigated state. Problem files keep at
// most 250 plies.
void installGameFile(game::Core& core, const GameFile& file, bool problem);

// The move list as rebuilt from a record of `plyCount` plies: full lines
// "%2d.%s%s%s %s%s%s", and "%2d.%s%s%s" for a last lone ply.
std::vector<std::string> moveListOf(const game::GameRecord& record, int plyCount);

}  // namespace files
