#include "game/clocks.h"

namespace game {

namespace {

SideClock& clockOf(GameState& g, rules::Side side) { return side == rules::White ? g.whiteClock : g.blackClock; }
const SideClock& clockOf(const GameState& g, rules::Side side) { return side == rules::White ? g.whiteClock : g.blackClock; }

void showTotal(Core& core, SideClock& c, std::int32_t total) {
    core.game.lastShown = total;
    c.shown = total;
    c.minutes = total / 60;
    c.seconds = total % 60;
    if (core.host) core.host->clocksChanged();
}

}  // namespace

std::string clockMinutesText(const SideClock& c) { return std::to_string(c.minutes); }

std::string clockSecondsText(const SideClock& c) {
    if (c.seconds >= 10 || c.seconds < 0) return std::to_string(c.seconds);
    return "0" + std::to_string(c.seconds);
}

void ajouter_temps(Core& core) {
    GameState& g = core.game;
    // While the engine thinks its search keeps its clock; the tick is idle.
    if (g.engineToMove || g.paused) return;
    SideClock& c = clockOf(g, g.sideToMove);
    const std::int32_t total = c.total + static_cast<std::int32_t>(core.now() - c.reference);
    showTotal(core, c, total);
}

void showEngineClock(Core& core, std::int32_t total) {
    SideClock& c = clockOf(core.game, core.game.sideToMove);
    c.total = total;
    showTotal(core, c, total);
}

void Horlogeszro1Click(Core& core) {
    GameState& g = core.game;
    const std::int64_t now = core.now();
    for (SideClock* c : {&g.whiteClock, &g.blackClock}) *c = SideClock{0, 0, 0, now, 0};
    g.lastShown = 0;
    g.ratedGame = game::RatedState::None;
    if (core.host) core.host->clocksChanged();
}

void Pause2Click(Core& core) {
    GameState& g = core.game;
    if (g.paused) {
        const std::int64_t now = core.now();
        g.whiteClock.reference = now;
        g.blackClock.reference = now;
        g.paused = false;
    } else {
        g.paused = true;
    }
}

void pause(Core& core) { core.engine.stopRequested = true; }

void changeTurn(Core& core, rules::Side mover) {
    GameState& g = core.game;
    SideClock& moved = clockOf(g, mover);
    // The move's time is banked at the last shown whole second.
    if (moved.shown > moved.total) moved.total = moved.shown;
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

std::optional<int> checkTimeLoss(const Core& core, int personRating) {
    const GameState& g = core.game;
    if (g.ratedGame == game::RatedState::None) return std::nullopt;
    const int n = g.record.plyCounter;
    const std::int32_t limit = timeLimit(core.engine.level.levelHardBudget, n);
    const rules::Side s = g.sideToMove;
    std::int32_t other = clockOf(g, rules::opposite(s)).total;
    if (personRating < 1800) other /= 2;
    const bool otherLost = other > limit;
    const bool selfLost = clockOf(g, s).total > limit;
    // Both tests run; Black to move tests its own clock first.
    if (s == rules::Black) {
        if (selfLost) return EngineLostOnTime;
        if (otherLost) return PersonLostOnTime;
    } else {
        if (otherLost) return PersonLostOnTime;
        if (selfLost) return EngineLostOnTime;
    }
    return std::nullopt;
}

}  // namespace game
