#include "game/navigation.h"

#include <algorithm>
#include <cstdio>

#include "rules/move_input.h"

namespace game {

namespace {

void setClockFromTotal(SideClock& c, std::int32_t total) {
    c.total = total;
    c.minutes = total / 60;
    c.seconds = total % 60;
}

// Navigation never changes the names shown: they are written into the entry
// about to be restored.
void keepNames(Core& core) {
    PlyRecord& e = core.game.record.plies[core.game.record.plyCounter];
    e.whiteName = core.game.whiteName;
    e.blackName = core.game.blackName;
}

void restore(Core& core) {
    keepNames(core);
    restorePly(core, core.game.record.plyCounter);
    core.rules.gamePosition = core.rules.board;
    rules::clearMoveEntry(core.rules);
}

// Each side's clock takes the restored total and its turn starts now.
void clockStep(Core& core) {
    const std::int64_t now = core.now();
    core.game.whiteClock.reference = now;
    core.game.blackClock.reference = now;
}

// The move list follows the position shown: the line holding the ply just
// played is selected, none at the start.
void selectLineOfPly(Core& core) {
    const int p = core.game.record.plyCounter;
    core.game.selectedLine = p > 0 ? (p - 1) / 2 : -1;
}

std::string plyText(const PlyRecord& e) {
    std::string s(rules::squareName(e.from));
    s += e.captureCount ? 'x' : '-';
    s += rules::squareName(e.to);
    return s;
}

}  // namespace

void recordPly(Core& core, int k, const rules::Move* move) {
    PlyRecord& e = core.game.record.plies[static_cast<std::size_t>(k)];
    for (int s = 1; s <= rules::NumSquares; ++s) e.squares[s - 1] = core.rules.board[s];
    if (move) {
        e.captureCount = move->ncapt;
        e.from = move->from;
        e.to = move->to;
    }
    e.whiteClock = core.game.whiteClock.total;
    e.blackClock = core.game.blackClock.total;
    e.whiteName = core.game.whiteName;
    e.blackName = core.game.blackName;
    e.computerColour = static_cast<std::uint8_t>(core.game.computerColour);
}

void restorePly(Core& core, int k) {
    const PlyRecord& e = core.game.record.plies[static_cast<std::size_t>(k)];
    core.rules.board[0] = rules::Sentinel;
    for (int s = 1; s <= rules::NumSquares; ++s) core.rules.board[s] = e.squares[s - 1];
    setClockFromTotal(core.game.whiteClock, e.whiteClock);
    setClockFromTotal(core.game.blackClock, e.blackClock);
    core.game.computerColour = rules::sideFromByte(e.computerColour);
    core.game.whiteName = e.whiteName;
    core.game.blackName = e.blackName;
}

void cutRecord(Core& core) {
    GameRecord& rec = core.game.record;
    const int p = rec.plyCounter;
    rec.recordLength = p;
    const std::size_t keep = static_cast<std::size_t>((p + 1) / 2);
    if (core.game.moveList.size() > keep) core.game.moveList.resize(keep);
    if (core.game.selectedLine >= static_cast<int>(keep)) core.game.selectedLine = -1;
}

std::string moveLine(const GameRecord& record, int n, bool halfLine) {
    char number[8];
    std::snprintf(number, sizeof number, "%2d.", n);
    std::string line = number;
    line += plyText(record.plies[static_cast<std::size_t>(2 * n - 1)]);
    line += ' ';
    if (!halfLine) line += plyText(record.plies[static_cast<std::size_t>(2 * n)]);
    return line;
}

// Lines go by the parity of the ply counter, not by colour: a game that
// starts with Black to move shows Black's first move first on line 1.
void appendMoveText(Core& core) {
    const int p = core.game.record.plyCounter;
    auto& list = core.game.moveList;
    if (core.game.record.recordLength < 2) list.clear();
    const bool opensLine = p % 2 == 1;
    const std::size_t index = static_cast<std::size_t>(opensLine ? (p - 1) / 2 : p / 2 - 1);
    const std::string line = moveLine(core.game.record, opensLine ? (p + 1) / 2 : p / 2, opensLine);
    list.emplace_back();
    while (list.size() < index + 1) list.emplace_back();
    list[index] = line;
    if (list.size() > index + 1) list.erase(list.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    core.game.selectedLine = static_cast<int>(index);
}

void installPosition(Core& core, const rules::Board& board, rules::Side side) {
    core.rules.board = board;
    core.rules.board[0] = rules::Sentinel;
    core.rules.gamePosition = core.rules.board;
    core.game.sideToMove = side;
    core.game.record.plyCounter = 0;
    core.game.record.recordLength = 0;
    core.game.record.sideToMoveAtEnd = side;
    recordPly(core, 0, nullptr);
    core.game.moveList.clear();
    core.game.selectedLine = -1;
    rules::clearMoveEntry(core.rules);
}

void takeBack(Core& core) {
    GameState& g = core.game;
    if (g.record.plyCounter > 0) {
        --g.record.plyCounter;
        selectLineOfPly(core);
        restore(core);
        clockStep(core);
        g.sideToMove = rules::opposite(g.sideToMove);
    }
    g.navigated = true;
    g.engineToMove = false;  // the person moves next
}

void stepForward(Core& core) {
    GameState& g = core.game;
    if (g.record.plyCounter < g.record.recordLength) {
        g.ratedGame = game::RatedState::None;
        ++g.record.plyCounter;
        selectLineOfPly(core);
        restore(core);
        clockStep(core);
        g.sideToMove = rules::opposite(g.sideToMove);
    }
    g.navigated = true;
}

void goToStart(Core& core) {
    GameState& g = core.game;
    g.ratedGame = game::RatedState::None;
    g.record.plyCounter = 0;
    restore(core);
    // White moves first from the start, whatever side began the game.
    g.sideToMove = rules::White;
    g.whiteClock.minutes = g.whiteClock.seconds = 0;
    g.blackClock.minutes = g.blackClock.seconds = 0;
    clockStep(core);
    selectLineOfPly(core);
    g.navigated = true;
}

void goToEnd(Core& core) {
    GameState& g = core.game;
    g.ratedGame = game::RatedState::None;
    g.record.plyCounter = static_cast<std::uint8_t>(g.record.recordLength);
    restore(core);
    g.sideToMove = g.record.sideToMoveAtEnd;
    clockStep(core);
    selectLineOfPly(core);
    g.navigated = true;
}

void goToSelectedMove(Core& core) {
    GameState& g = core.game;
    if (g.selectedLine < 0) return;
    const int target = 2 * g.selectedLine + (g.record.plyCounter % 2);
    if (target > g.record.recordLength) return;
    g.record.plyCounter = static_cast<std::uint8_t>(target);
    restore(core);
}

void goToPly(Core& core, int ply) {
    GameRecord& rec = core.game.record;
    ply = std::clamp(ply, 0, static_cast<int>(rec.recordLength));
    while (rec.plyCounter > ply) takeBack(core);
    while (rec.plyCounter < ply) stepForward(core);
    core.game.navigated = true;
    core.game.engineToMove = false;  // the person looks at it; nothing is played unasked
}

}  // namespace game
