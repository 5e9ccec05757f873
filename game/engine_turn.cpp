#include "game/engine_turn.h"

#include <cstdlib>

#include "engine/search.h"
#include "engine/thinking.h"
#include "game/clocks.h"
#include "game/navigation.h"

namespace game {

namespace {

int piecesOf(const rules::PieceTotals& t, rules::Side side) { return side == rules::White ? t.white() : t.black(); }

// None of the last `plies` plies of the record took anything.
bool quietRecord(const GameRecord& rec, int plies) {
    for (int k = rec.plyCounter; k > rec.plyCounter - plies && k > 0; --k)
        if (rec.plies[static_cast<std::size_t>(k)].captureCount != 0) return false;
    return true;
}

}  // namespace

const char* computerColourCaption(int language, rules::Side side) {
    static constexpr const char* Captions[6][2] = {
        {"Ordinateur blanc", "Ordinateur noir"},   {"Computer white", "Computer black"},
        {"Computer wit", "Computer zwart"},        {"Computador brancas", "Computador pretas"},
        {"Ordenador blancas", "Ordenador negras"}, {"Calcolatore blanco", "Calcolatore nero"},
    };
    if (language < 0 || language > 5) language = 0;
    return Captions[language][side == rules::Black ? 1 : 0];
}

bool Best1Click(const Core& core, const std::filesystem::path& folder) {
    std::vector<std::string> lines;
    if (core.engine.statsShown) lines = engine::thinkingLines(core.engine.lastStats);
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

EngineTurn engineTurn(Core& core) {
    GameState& g = core.game;
    GameRecord& rec = g.record;
    rules::RulesState& r = core.rules;
    engine::EngineState& en = core.engine;
    EngineTurn out;

    // Step 1. The last move's frames go.
    en.abandonSearch = false;
    for (rules::Square s : {g.lastMoveFrom, g.lastMoveTo})
        if (s != 0) out.ops.push_back({rules::ViewOp::Kind::DrawSquare, s, r.gamePosition[s]});

    // Step 2. Loss on time in a rated game ends the game before the search.
    en.infiniteThinking = false;
    const int personRating = g.sideToMove == rules::White ? g.blackRating : g.whiteRating;
    if (const std::optional<int> lost = checkTimeLoss(core, personRating)) {
        out.end = endOfGame(core, static_cast<EndReason>(*lost));
        return out;
    }
    // A record that can take no further ply: the game ends drawn.
    if (rec.full()) {
        out.end = endOfGame(core, EndReason::Draw);
        return out;
    }
    g.engineToMove = true;

    // Steps 3 and 4.
    if (core.host) core.host->engineBusy(true);
    g.computerColour = g.sideToMove;
    out.computerCaption = computerColourCaption(g.language, g.sideToMove);

    // Step 5.
    r.board = r.gamePosition;
    r.board[0] = rules::Sentinel;
    int result = engine::searchRoot(core, g.sideToMove);
    if (result == engine::SingleMoveResult) {
        out.forced = true;
        result = 0;
    }
    out.searchResult = result;
    g.chosenMove = result;

    // Step 6.
    if (core.host) core.host->engineBusy(false);
    out.abandoned = en.abandonSearch;

    // Step 7. The weakest level, when ahead, plays its second choice.
    const rules::PieceTotals before = rules::countPieces(r.board);
    const rules::Side engineSide = g.sideToMove;
    g.zutShown = en.level.levelNumber == engine::NeophyteLevelNumber &&
                 piecesOf(before, engineSide) > piecesOf(before, rules::opposite(engineSide)) && r.rootList().size() > 1 &&
                 result < engine::NoMoveResult && !out.forced && !out.abandoned;
    if (g.zutShown) result = 1;
    out.zutShown = g.zutShown;

    // Step 8. The engine's draw offer.
    g.drawOfferShown = engineOffersDraw(core);
    out.drawOffered = g.drawOfferShown;

    // Step 9. The move. A search abandoned because the game changed under
    // it has nothing to play.
    if (result < engine::NoMoveResult && !out.abandoned && result < r.rootList().size()) {
        const rules::Move move = r.rootList()[result];
        out.move = move;
        out.played = true;
        const std::vector<rules::ViewOp> animation = rules::executeEngineMove(r, move, g.options.decomposeCaptures);
        out.ops.insert(out.ops.end(), animation.begin(), animation.end());
        const int otherRating = g.sideToMove == rules::White ? g.blackRating : g.whiteRating;
        if (const std::optional<int> lost = checkTimeLoss(core, otherRating)) out.end = endOfGame(core, static_cast<EndReason>(*lost));
        const rules::Side mover = g.sideToMove;
        g.sideToMove = rules::opposite(g.sideToMove);
        rec.sideToMoveAtEnd = g.sideToMove;
        if (rec.plyCounter < rec.recordLength) cutRecord(core);
        ++rec.plyCounter;
        rec.recordLength = rec.plyCounter;
        g.lastMoveFrom = move.from;
        g.lastMoveTo = move.to;
        StorePly(core, rec.plyCounter, &move);
        appendMoveText(core);
        out.ops.push_back({rules::ViewOp::Kind::FrameSquare, move.to, 0, rules::FrameColour::Aqua});
        out.ops.push_back({rules::ViewOp::Kind::FrameSquare, move.from, 0, rules::FrameColour::Silver});
        changeTurn(core, mover);
        g.engineToMove = false;
    }

    // Step 10. The side now to move.
    g.navigated = false;
    r.gamePosition = r.board;
    g.legalMoveCount = rules::generateRootMoves(r, g.sideToMove);
    // A long capture is entered by the person without the engine thinking.
    if (r.captureCount > 2) g.navigated = true;
    if (g.legalMoveCount == 0 && !out.end) out.end = endOfGame(core, EndReason::NoMoveAfterEngine);

    // Step 11.
    g.engineToMove = false;
    const rules::PieceTotals after = rules::countPieces(r.board);
    g.pieceTotals[rec.plyCounter] = after.white() + after.black();

    // Step 12.
    if (out.played && g.options.beepEachMove && core.host) core.host->playSound(Sound::Move);

    // Step 13. Self-play ends drawn when nothing has been taken for 60 plies
    // after ply 250 and neither side sees a win.
    const int n = rec.plyCounter;
    if (!out.end && g.options.selfPlay && n > 250 && g.pieceTotals[n] == g.pieceTotals[n - 60] &&
        std::abs(en.lastScore) < 20000)
        out.end = endOfGame(core, EndReason::Draw);
    // The record's last storable ply ends the game drawn.
    if (!out.end && out.played && rec.full()) out.end = endOfGame(core, EndReason::Draw);
    g.pondered = false;
    return out;
}

bool mayThinkOnPersonTime(const Core& core) {
    const GameState& g = core.game;
    return core.engine.level.ponderOnPersonTime && !g.setupMode && !g.navigated && !core.engine.gameAnalysis &&
           !g.pondered && !g.options.humanVsHuman && g.computerPlays && !g.record.full();
}

int thinkOnPersonTime(Core& core) {
    GameState& g = core.game;
    engine::EngineState& en = core.engine;
    en.infiniteThinking = true;
    core.rules.gamePosition[0] = rules::Sentinel;
    core.rules.board = core.rules.gamePosition;
    const int result = engine::searchRoot(core, g.sideToMove);
    core.rules.board = core.rules.gamePosition;
    en.infiniteThinking = false;
    g.chosenMove = result;
    g.pondered = true;
    return result;
}

bool acceptsDrawOffer(const Core& core) {
    const rules::PieceTotals t = rules::countPieces(core.rules.gamePosition);
    if (t.white() + t.black() >= 20) return false;
    // Thinking on the person's time, the value is the person's: the engine
    // accepts when the person stands at least equal; otherwise it is the
    // engine's own, and it accepts when it is not ahead.
    const int score = core.engine.lastScore;
    return core.engine.infiniteThinking ? score >= 0 : score <= 0;
}

EndOfGame BitBtn14Click(Core& core) {
    core.game.drawOfferShown = false;
    return endOfGame(core, EndReason::Draw);
}

void Annul_nulClick(Core& core) { core.game.drawOfferShown = false; }

}  // namespace game
