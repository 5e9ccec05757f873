#include "files/game_file.h"

#include <algorithm>

#include "game/navigation.h"
#include "rules/move_input.h"

namespace files {

namespace {

// File offsets of the settings slots, inside records 253 and 254.
constexpr std::size_t MinutesSlot = 253;       // its White clock field
constexpr std::size_t LevelSlot = 254;         // from: language, to: level, clocks: controls
constexpr std::size_t Record0 = 0;

void writeRecord(ByteWriter& w, const game::PlyRecord& e) {
    w.u8(e.header);
    w.bytes(e.squares);
    w.u8(e.captureCount);
    w.u8(e.from);
    w.u8(e.to);
    w.i32(e.whiteClock);
    w.i32(e.blackClock);
    w.bytes(std::span(reinterpret_cast<const std::uint8_t*>(e.whiteName.data()), game::NameCapacity));
    w.bytes(std::span(reinterpret_cast<const std::uint8_t*>(e.blackName.data()), game::NameCapacity));
    w.u8(e.computerColour);
    w.zeros(3);
}

void readRecord(ByteReader& r, game::PlyRecord& e) {
    e.header = r.u8();
    r.bytes(e.squares);
    e.captureCount = r.u8();
    e.from = r.u8();
    e.to = r.u8();
    e.whiteClock = r.i32();
    e.blackClock = r.i32();
    r.bytes(std::span(reinterpret_cast<std::uint8_t*>(e.whiteName.data()), game::NameCapacity));
    r.bytes(std::span(reinterpret_cast<std::uint8_t*>(e.blackName.data()), game::NameCapacity));
    // A name always ends inside its field.
    e.whiteName.back() = '\0';
    e.blackName.back() = '\0';
    e.computerColour = r.u8();
    r.skip(3);
}

bool plausible(const game::PlyRecord& e) {
    return std::all_of(e.squares.begin(), e.squares.end(), [](std::uint8_t c) { return c <= rules::BlackKing; }) &&
           e.from <= rules::NumSquares && e.to <= rules::NumSquares && e.computerColour <= 1;
}

}  // namespace

std::vector<std::uint8_t> encodeGameFile(const game::GameRecord& record, rules::Side sideToMove,
                                         const GameSettings& settings) {
    game::GameRecord out = record;
    out.plies[Record0].header = static_cast<std::uint8_t>(record.recordLength & 0xFF);
    out.plies[MinutesSlot].whiteClock = settings.minutes;
    out.plies[LevelSlot].from = settings.language;
    out.plies[LevelSlot].to = settings.level;
    out.plies[LevelSlot].whiteClock = settings.searchControl1;
    out.plies[LevelSlot].blackClock = settings.searchControl2;
    ByteWriter w;
    for (const game::PlyRecord& e : out.plies) writeRecord(w, e);
    w.u8(record.plyCounter);
    w.u8(static_cast<std::uint8_t>(sideToMove));
    return w.data();
}

FileError decodeGameFile(std::span<const std::uint8_t> bytes, GameFile& out) {
    if (bytes.size() != GameFileSize) return FileError::WrongSize;
    GameFile f;
    ByteReader r(bytes);
    for (game::PlyRecord& e : f.record.plies) readRecord(r, e);
    const int current = r.u8();
    const int sideByte = r.u8();
    if (!r.ok() || sideByte > 1) return FileError::BadContent;
    const rules::Side side = rules::sideFromByte(static_cast<unsigned>(sideByte));

    GameSettings& s = f.settings;
    s.minutes = f.record.plies[MinutesSlot].whiteClock;
    s.language = f.record.plies[LevelSlot].from;
    s.level = f.record.plies[LevelSlot].to;
    s.searchControl1 = f.record.plies[LevelSlot].whiteClock;
    s.searchControl2 = f.record.plies[LevelSlot].blackClock;
    if (s.searchControl1 == 0 || s.searchControl2 == 0) s = GameSettings{};
    if (s.language > 5) s.language = GameSettings{}.language;

    // Plies 253 and 254 hold the settings, never a position.
    const int plyCount = f.record.plies[Record0].header;
    if (plyCount > game::MaxRecordedPly || current > game::MaxRecordedPly) return FileError::BadContent;
    const int last = std::max(plyCount, current);
    for (int k = 0; k <= last; ++k)
        if (!plausible(f.record.plies[static_cast<std::size_t>(k)])) return FileError::BadContent;
    for (int k = game::MaxRecordedPly + 1; k < game::RecordEntries; ++k)
        f.record.plies[static_cast<std::size_t>(k)] = {};

    f.record.plyCounter = static_cast<std::uint8_t>(current);
    f.record.recordLength = plyCount;
    f.sideToMove = side;
    out = f;
    return FileError::None;
}

bool writeGameFile(const std::string& path, const game::GameRecord& record, rules::Side sideToMove,
                   const GameSettings& settings) {
    return writeFileAtomically(path, encodeGameFile(record, sideToMove, settings));
}

FileError readGameFile(const std::string& path, GameFile& out) {
    FileError error = FileError::None;
    const std::vector<std::uint8_t> bytes = readWholeFile(path, error, GameFileSize + 1);
    if (error != FileError::None) return error;
    return decodeGameFile(bytes, out);
}

bool saveGame(game::Core& core, const std::string& path, const GameSettings& settings) {
    core.rules.board = core.rules.gamePosition;
    return writeGameFile(path, core.game.record, core.game.sideToMove, settings);
}

std::vector<std::string> moveListOf(const game::GameRecord& record, int plyCount) {
    std::vector<std::string> lines;
    for (int n = 1; 2 * n <= plyCount; ++n) lines.push_back(game::moveLine(record, n, false));
    if (plyCount % 2 == 1) {
        std::string half = game::moveLine(record, plyCount / 2 + 1, true);
        half.pop_back();  // no trailing blank on a rebuilt half line
        lines.push_back(half);
    }
    return lines;
}

void installGameFile(game::Core& core, const GameFile& file, bool problem) {
    game::GameState& g = core.game;
    g.record = file.record;
    if (problem && g.record.recordLength > 250) g.record.recordLength = 250;
    if (g.record.plyCounter > g.record.recordLength) g.record.recordLength = g.record.plyCounter;
    game::restorePly(core, g.record.plyCounter);
    core.rules.gamePosition = core.rules.board;
    rules::clearMoveEntry(core.rules);
    g.sideToMove = file.sideToMove;
    // The side to move after the last ply follows from the plies between.
    const int pliesAfter = g.record.recordLength - g.record.plyCounter;
    g.record.sideToMoveAtEnd = pliesAfter % 2 ? rules::opposite(file.sideToMove) : file.sideToMove;
    g.moveList = moveListOf(g.record, g.record.recordLength);
    g.selectedLine = g.moveList.empty() ? -1 : static_cast<int>(g.moveList.size()) - 1;
    g.navigated = true;
    g.engineToMove = false;
    // A loaded game is a different game: it no longer counts for the ratings,
    // and the file does not say how it ended.
    g.ratedGame = game::RatedState::None;
    g.lastResult = game::GameResult::None;
}

}  // namespace files
