#pragma once
// The game record: every position of the game with the move that led to it,
// both clocks, both names and the computer's colour at that moment. Its
// entries are the records of the game file, field for field.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "rules/board.h"

namespace game {

// Entries 0..254 exist, but the game file keeps only plies 0..252 (the last
// two entries lend their fields to the settings it stores), so no ply beyond
// 252 is ever recorded.
constexpr int RecordEntries = 255;
constexpr int MaxRecordedPly = 252;
constexpr int NameCapacity = 20;  // 19 characters and the terminating NUL

using PlayerName = std::array<char, NameCapacity>;
PlayerName makeName(std::string_view text);  // cut to 19 characters
std::string nameText(const PlayerName& name);

struct PlyRecord {
    std::uint8_t header = 0;                        // entry 0 in the file: the ply count
    std::array<rules::PieceCode, rules::NumSquares> squares{};  // squares 1..32 after the ply
    std::uint8_t captureCount = 0;                  // readers only test it against 0
    rules::Square from = 0;
    rules::Square to = 0;
    std::int32_t whiteClock = 0;                    // seconds used after the ply
    std::int32_t blackClock = 0;
    PlayerName whiteName{};
    PlayerName blackName{};
    std::uint8_t computerColour = 0;                // 0 the engine has White, 1 Black

    bool operator==(const PlyRecord&) const = default;
};

struct GameRecord {
    std::array<PlyRecord, RecordEntries> plies{};
    std::uint8_t plyCounter = 0;     // the ply whose position is shown
    std::int32_t recordLength = 0;   // the last ply stored; never below plyCounter
    rules::Side sideToMoveAtEnd = rules::White;

    // No move can be recorded from the position shown.
    bool full() const { return plyCounter >= MaxRecordedPly; }
};

}  // namespace game
