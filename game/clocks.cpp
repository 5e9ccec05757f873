#include "game/clocks.h"

namespace game {

namespace {

SideClock& clockOf(GameState& g, rules::Side side) { return side == rules::White ? g.whiteClock : g.blackClock; }
const SideClock& clockOf(const GameState& g, rules::Side side) {
    return side == rules::White ? g.whiteClock : g.blackClock;
}

void showTotal(Core& core, SideClock& c, std::int32_t total) {
    core.game.lastShown = total;
    c.shown = total;
    c.minutes = total / 60;
    c.seconds = total % 60;
    if (core.host) core.host->clocksChanged();
}

// The whole seconds since a turn began at `reference`; none while the
// clocks stand still. A reading that went back (it never should) counts as
// no time, so a clock never runs backwards.
std::int32_t secondsSince(const Core& core, std::int64_t reference) {
    const GameState& g = core.game;
    if (!g.clockRunning || g.paused) return 0;
    const std::int64_t seconds = core.now() - reference;
    return seconds > 0 ? static_cast<std::int32_t>(seconds) : 0;
}

}  // namespace

std::string clockMinutesText(const SideClock& c) { return std::to_string(c.minutes); }

std::string clockSecondsText(const SideClock& c) {
    if (c.seconds >= 10 || c.seconds < 0) return std::to_string(c.seconds);
    return "0" + std::to_string(c.seconds);
}

std::int32_t runningTotal(const Core& core, rules::Side side) {
    const SideClock& c = clockOf(core.game, side);
    return side == core.game.sideToMove ? c.total + secondsSince(core, c.reference) : c.total;
}

void tickClocks(Core& core) {
    GameState& g = core.game;
    if (!g.clockRunning || g.paused) return;
    showTotal(core, clockOf(g, g.sideToMove), runningTotal(core, g.sideToMove));
}

void showTotals(Core& core) {
    GameState& g = core.game;
    for (SideClock* c : {&g.whiteClock, &g.blackClock}) showTotal(core, *c, c->total);
}

void startClocks(Core& core) {
    GameState& g = core.game;
    if (g.clockRunning) return;
    const std::int64_t now = core.now();
    g.whiteClock.reference = now;
    g.blackClock.reference = now;
    g.clockRunning = true;
}

void stopClocks(Core& core) {
    GameState& g = core.game;
    if (!g.clockRunning) return;
    SideClock& c = clockOf(g, g.sideToMove);
    c.total = runningTotal(core, g.sideToMove);
    showTotal(core, c, c.total);
    g.clockRunning = false;
}

void resetClocks(Core& core) {
    GameState& g = core.game;
    const std::int64_t now = core.now();
    for (SideClock* c : {&g.whiteClock, &g.blackClock}) *c = SideClock{0, 0, 0, now, 0};
    g.lastShown = 0;
    g.ratedGame = game::RatedState::None;
    if (core.host) core.host->clocksChanged();
}

void switchClockPause(Core& core) {
    GameState& g = core.game;
    if (g.paused) {
        const std::int64_t now = core.now();
        g.whiteClock.reference = now;
        g.blackClock.reference = now;
        g.paused = false;
    } else {
        SideClock& c = clockOf(g, g.sideToMove);
        c.total = runningTotal(core, g.sideToMove);
        showTotal(core, c, c.total);
        g.paused = true;
    }
}

void changeTurn(Core& core, rules::Side mover) {
    GameState& g = core.game;
    SideClock& moved = clockOf(g, mover);
    moved.total += secondsSince(core, moved.reference);
    showTotal(core, moved, moved.total);
    clockOf(g, rules::opposite(mover)).reference = core.now();
}

std::int32_t timeLimit(int hardBudget, int n) {
    // The first 100 plies get the level's allowance and two seconds' grace.
    // Later the limit grows with the plies played, at the rate the engine
    // plans its own game budget ((n + 1) x allowance / 60), so a long game
    // never turns the limit below what the level lets either side use.
    if (n < 100) return hardBudget + 2;
    return (n + 1) * hardBudget / 60 + 2;
}

std::optional<EndReason> checkTimeLoss(const Core& core, int personRating) {
    const GameState& g = core.game;
    if (g.ratedGame == game::RatedState::None) return std::nullopt;
    const int n = g.record.plyCounter;
    const std::int32_t limit = timeLimit(core.engine.level.levelHardBudget, n);
    const rules::Side s = g.sideToMove;
    std::int32_t other = clockOf(g, rules::opposite(s)).total;
    if (personRating < 1800) other /= 2;
    const bool otherLost = other > limit;
    // The side to move is thinking: its running turn counts.
    const bool selfLost = runningTotal(core, s) > limit;
    // Both tests run; Black to move tests its own clock first.
    if (s == rules::Black) {
        if (selfLost) return EndReason::EngineLostOnTime;
        if (otherLost) return EndReason::PersonLostOnTime;
    } else {
        if (otherLost) return EndReason::PersonLostOnTime;
        if (selfLost) return EndReason::EngineLostOnTime;
    }
    return std::nullopt;
}

}  // namespace game
