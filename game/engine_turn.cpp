#include "game/engine_turn.h"

#include <algorithm>
#include <cstdlib>

#include "engine/search.h"
#include "engine/thinking.h"
#include "game/clocks.h"
#include "game/navigation.h"
#include "game/play.h"

namespace game {

namespace {

int piecesOf(const rules::PieceTotals& t, rules::Side side) { return side == rules::White ? t.white() : t.black(); }

// None of the last `plies` plies of the record took anything.
bool quietRecord(const GameRecord& rec, int plies) {
    for (int k = rec.plyCounter; k > rec.plyCounter - plies && k > 0; --k)
        if (rec.plies[static_cast<std::size_t>(k)].captureCount != 0) return false;
    return true;
}

int ratingOf(const GameState& g, rules::Side side) { return side == rules::White ? g.whiteRating : g.blackRating; }

}  // namespace

bool saveThinkingList(const Core& core, const std::filesystem::path& folder, const engine::ThinkingWords& words) {
    std::vector<std::string> lines;
    if (core.engine.statsShown) lines = engine::thinkingLines(core.engine.lastStats, words);
    return engine::writeBestMoveFile(folder / "Bestmove.txt", lines);
}

bool engineOffersDraw(const Core& core) {
    const GameState& g = core.game;
    const rules::PieceTotals t = rules::countPieces(core.rules.gamePosition);
    const int kings = t.whiteKings + t.blackKings;
    const int score = core.engine.lastScore;
    return t.white() + t.black() <= 4 && kings > 0 && g.record.plyCounter > 20 && quietRecord(g.record, 20) &&
           score > -engine::DecisiveScore && score < engine::DecisiveScore;
}

EngineTurnStart beginEngineTurn(Core& core) {
    GameState& g = core.game;
    EngineTurnStart out;

    // Step 1. The last move's frames go.
    for (rules::Square s : {g.lastMoveFrom, g.lastMoveTo})
        if (s != 0) out.ops.push_back({rules::ViewOp::Kind::DrawSquare, s, core.rules.gamePosition[s]});

    // Step 2. The engine's time counts from now. A rated game lost on time
    // ends before the search; so does a record that can take no more plies.
    core.engine.infiniteThinking = false;
    startClocks(core);
    const rules::Side person = rules::opposite(g.sideToMove);
    if (const std::optional<EndReason> lost = checkTimeLoss(core, ratingOf(g, person))) {
        out.end = endOfGame(core, *lost);
        return out;
    }
    if (g.record.full()) {
        out.end = endOfGame(core, EndReason::Draw);
        return out;
    }

    // Step 3. The engine takes the side to move and plans its time.
    g.engineToMove = true;
    g.computerColour = g.sideToMove;
    const std::int32_t clock = (g.sideToMove == rules::White ? g.whiteClock : g.blackClock).total;
    out.search =
        engine::searchInputFor(core, engine::levelLimits(core.engine.level, g.record.plyCounter, clock, false));
    return out;
}

EngineTurn finishEngineTurn(Core& core, const engine::SearchOutput& answer) {
    GameState& g = core.game;
    GameRecord& rec = g.record;
    rules::RulesState& r = core.rules;
    engine::EngineState& en = core.engine;
    EngineTurn out;
    // A search given up because the game changed under it has nothing to
    // say about the game as it is.
    if (answer.kind == engine::SearchAnswer::Abandoned) {
        g.engineToMove = false;
        return out;
    }
    en.lastScore = answer.score;
    en.random = answer.random;
    en.tables.sizeItem = answer.tableSizeItem;
    if (answer.statsShown) {
        en.lastStats = answer.stats;
        en.statsShown = true;
    }
    out.forced = answer.kind == engine::SearchAnswer::SingleMove;
    const rules::Side engineSide = g.sideToMove;

    // Step 4. The weakest level, when ahead, plays its second choice.
    const rules::PieceTotals before = rules::countPieces(r.gamePosition);
    const bool hasMove = answer.hasMove() && answer.moveIndex >= 0;
    g.zutShown = en.level.levelNumber == engine::NeophyteLevelNumber &&
                 piecesOf(before, engineSide) > piecesOf(before, rules::opposite(engineSide)) &&
                 answer.rootMoves.size() > 1 && hasMove && !out.forced;
    out.zutShown = g.zutShown;
    const rules::Move* chosen = hasMove ? &answer.move : nullptr;
    if (g.zutShown) chosen = &answer.rootMoves[1];

    // Step 5. The engine's draw offer.
    g.drawOfferShown = engineOffersDraw(core);
    out.drawOffered = g.drawOfferShown;

    // Step 6. The move, shown as it is played. A rated game may have been
    // lost on time while the engine thought.
    if (chosen) {
        const rules::Move move = *chosen;
        r.board = r.gamePosition;
        out.ops = rules::executeEngineMove(r, move, g.options.decomposeCaptures);
        const rules::Side person = rules::opposite(engineSide);
        const std::optional<EndReason> lost = checkTimeLoss(core, ratingOf(g, person));
        const PlayedMove played = playMove(core, move);
        out.played = played.recorded;
        out.move = move;
        if (lost) {
            out.end = endOfGame(core, *lost);
        } else if (played.end) {
            out.end = endOfGame(core, *played.end);
        }
        if (out.played) {
            g.lastMoveFrom = move.from;
            g.lastMoveTo = move.to;
            out.ops.push_back({rules::ViewOp::Kind::FrameSquare, move.to, 0, rules::FrameColour::Aqua});
            out.ops.push_back({rules::ViewOp::Kind::FrameSquare, move.from, 0, rules::FrameColour::Silver});
        }
    } else {
        // No move: the side to move has none (or no piece) and has lost.
        r.board = r.gamePosition;
        g.legalMoveCount = rules::generateRootMoves(r, g.sideToMove);
        if (g.legalMoveCount == 0) out.end = endOfGame(core, EndReason::NoMoveAfterEngine);
    }

    // Step 7. The side now to move: a long capture is entered by the person
    // without the engine thinking meanwhile.
    g.navigated = r.captureCount > 2;
    g.engineToMove = false;
    g.pondered = false;
    const rules::PieceTotals after = rules::countPieces(r.gamePosition);
    g.pieceTotals[rec.plyCounter] = after.white() + after.black();

    // Step 8. The move's sound.
    if (out.played && g.options.beepEachMove && core.host) core.host->playSound(Sound::Move);

    // Step 9. Self-play ends drawn when nothing has been taken for 60 plies
    // after ply 250 and neither side sees a win.
    const int n = rec.plyCounter;
    if (!out.end && g.options.selfPlay && n > 250 && g.pieceTotals[n] == g.pieceTotals[n - 60] &&
        std::abs(en.lastScore) < 20000)
        out.end = endOfGame(core, EndReason::Draw);
    return out;
}

EngineTurn playEngineTurn(Core& core, Core& searcher) {
    EngineTurnStart start = beginEngineTurn(core);
    if (!start.search) {
        EngineTurn out;
        out.ops = std::move(start.ops);
        out.end = std::move(start.end);
        return out;
    }
    EngineTurn out = finishEngineTurn(core, engine::runSearch(searcher, *start.search));
    out.ops.insert(out.ops.begin(), start.ops.begin(), start.ops.end());
    return out;
}

bool mayThinkOnPersonTime(const Core& core) {
    const GameState& g = core.game;
    return core.engine.level.ponderOnPersonTime && !g.setupMode && !g.navigated && !core.engine.gameAnalysis &&
           !g.pondered && !g.options.humanVsHuman && !g.options.selfPlay && g.computerPlays && !g.record.full() &&
           !g.engineToMove;
}

engine::SearchInput beginThinkingOnPersonTime(Core& core) {
    GameState& g = core.game;
    g.pondered = true;
    core.engine.infiniteThinking = true;
    const rules::Side engineSide = rules::opposite(g.sideToMove);
    const std::int32_t clock = (engineSide == rules::White ? g.whiteClock : g.blackClock).total;
    engine::SearchLimits limits;
    limits.hardMs = engine::personTimeLimitMs(core.engine.level, g.record.plyCounter, clock);
    engine::SearchInput in = engine::searchInputFor(core, limits);
    in.infinite = true;
    return in;
}

void noteThinkingOnPersonTime(Core& core, const engine::SearchStats& stats) {
    core.engine.lastScore = stats.score;
    core.engine.lastStats = stats;
    core.engine.statsShown = true;
}

void endThinkingOnPersonTime(Core& core) { core.engine.infiniteThinking = false; }

bool acceptsDrawOffer(const Core& core) {
    const rules::PieceTotals t = rules::countPieces(core.rules.gamePosition);
    if (t.white() + t.black() >= 20) return false;
    // Thinking on the person's time, the value is the person's: the engine
    // accepts when the person stands at least equal; otherwise it is the
    // engine's own, and it accepts when it is not ahead.
    const int score = core.engine.lastScore;
    return core.engine.infiniteThinking ? score >= 0 : score <= 0;
}

EndOfGame acceptEngineDrawOffer(Core& core) {
    core.game.drawOfferShown = false;
    return endOfGame(core, EndReason::Draw);
}

void refuseEngineDrawOffer(Core& core) { core.game.drawOfferShown = false; }

}  // namespace game
