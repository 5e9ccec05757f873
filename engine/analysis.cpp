#include "engine/analysis.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/learning.h"
#include "engine/search.h"
#include "game/clocks.h"
#include "game/core.h"
#include "game/navigation.h"

namespace engine {

namespace {

constexpr int SingleMoveAnalysisScore = 32001;  // searchRoot's mark for a single legal move
// A move that loses more than half a man against the best is marked; values
// this far apart are wins and losses, where the difference says nothing.
constexpr int MarkThreshold = 100;
constexpr int DecisiveGap = 60000;

enum class Form { Long, Short };

std::string format(const char* pattern, const AnalysisLine& l) {
    const std::string pf(rules::squareName(l.playedFrom)), pt(rules::squareName(l.playedTo));
    const std::string bf(rules::squareName(l.bestFrom)), bt(rules::squareName(l.bestTo));
    char text[256];
    std::snprintf(text, sizeof text, pattern, l.ply / 2 + 1, pf.c_str(), pt.c_str(), l.playedScore, bf.c_str(),
                  bt.c_str(), l.bestScore);
    return text;
}

const char* pattern(Form form, int language, bool white) {
    if (form == Form::Long) {
        switch (language) {
            case 0:
                return white ? "%2d Blanc: joué : %s-%s; score : %2d; meilleur : %s-%s; score : %2d"
                             : "%2d Noir : joué : %s-%s; score : %2d; meilleur : %s-%s; score : %2d";
            case 3:
                return white ? "%2d Brancas: jogou : %s-%s; valor : %2d; melhor : %s-%s; valor : %2d"
                             : "%2d Pretas : jogou : %s-%s; valor : %2d; melhor : %s-%s; valor : %2d";
            case 4:
                return white ? "%2d Blancas: jogou : %s-%s; Puntuación : %2d; melhor : %s-%s; valor : %2d"
                             : "%2d Negras : jogou : %s-%s; Puntuación : %2d; melhor : %s-%s; valor : %2d";
            default:
                return white ? "%2d White : played : %s-%s; score : %2d; best : %s-%s; score : %2d"
                             : "%2d Black : played : %s-%s; score : %2d; best : %s-%s; score : %2d";
        }
    }
    switch (language) {
        case 0:
            return white ? "%2d Blancs: %s-%s; score: %2d ; meilleur: %s-%s; score: %2d"
                         : "%2d Noirs : %s-%s; score: %2d ; meilleur: %s-%s; score: %2d";
        case 3:
            return white ? "%2d Brancas: %s-%s; valor : %2d; melhor : %s-%s; valor : %2d"
                         : "%2d Pretas : %s-%s; valor : %2d; melhor : %s-%s; valor : %2d";
        case 4:
            return white ? "%2d Blancas: %s-%s; Puntuación : %2d; melhor : %s-%s; valor : %2d"
                         : "%2d Negras : %s-%s; Puntuación : %2d; melhor : %s-%s; valor : %2d";
        default:
            return white ? "%2d White : %s-%s; score : %2d ; best : %s-%s; score : %2d"
                         : "%2d Black : %s-%s; score : %2d ; best : %s-%s; score : %2d";
    }
}

bool sameMove(rules::Square from, rules::Square to, const game::PlyRecord& e) { return from == e.from && to == e.to; }

}  // namespace

std::string analysisLongLine(const AnalysisLine& line, int language) {
    std::string text = format(pattern(Form::Long, language, line.mover == rules::White), line);
    if (!line.marked) return text;
    const auto& c = line.continuation;
    std::string tail = " ->( ";
    tail += std::string(rules::squareName(c[0])) + "-" + std::string(rules::squareName(c[1])) + " ";
    tail += std::string(rules::squareName(c[2])) + "-" + std::string(rules::squareName(c[3])) + " ....)";
    return "*" + text + tail;
}

std::string analysisShortLine(const AnalysisLine& line, int language) {
    const std::string text = format(pattern(Form::Short, language, line.mover == rules::White), line);
    return line.marked ? "*" + text : text;
}

std::string analysisHeader(int language) {
    if (language == 0)
        return "(ne pas prendre en compte le dernier coup et les premiers). Attendre quelques secondes - Analyse en cours";
    if (language == 3) return "(nao considerar a primeira nem a ultima linha). Espere alguns segundos- Analisando";
    return "(don't consider the last and the first moves). Wait a few second - Analysing";
}

std::string analysisLegend(int language) {
    if (language == 0)
        return "+100 gagne un pion ; -100 perd un pion ; * en début de ligne indique qu'il y avait un bien meilleur coup";
    if (language == 3)
        return "+100 ganha uma peça ; -100 perde uma peça ; * no começo significa que existia um lance melhor";
    return "+100 wins a man ; -100 loses a man ; * at the begining means that there was a very better move";
}

std::vector<std::string> analysisWindowLines(const std::vector<AnalysisLine>& lines, int language) {
    std::vector<std::string> out;
    for (const AnalysisLine& l : lines) out.push_back(analysisLongLine(l, language));
    out.push_back(analysisLegend(language));
    out.push_back(analysisHeader(language));
    return out;
}

std::vector<std::string> analysisStripLines(const std::vector<AnalysisLine>& lines, int language) {
    std::vector<std::string> out;
    for (const AnalysisLine& l : lines) out.push_back(analysisShortLine(l, language));
    return out;
}

AnalysisOutcome Analyser(game::Core& core, AnalysisObserver* observer) {
    AnalysisOutcome out;
    game::GameState& g = core.game;
    game::GameRecord& rec = g.record;
    EngineState& en = core.engine;
    rules::RulesState& r = core.rules;
    const int n = rec.plyCounter;
    if (n == 0 || en.gameAnalysis) return out;
    out.started = true;
    out.endPly = n;

    // Step 2. An analysed game no longer counts for the ratings, and nothing
    // else thinks meanwhile.
    const rules::Side sideAtEnd = g.sideToMove;
    g.ratedGame = game::RatedState::None;
    g.engineToMove = false;
    en.infiniteThinking = false;
    en.savedPonder = en.level.ponderOnPersonTime;
    en.level.ponderOnPersonTime = false;
    en.analysisScores.fill(0);
    en.gameAnalysis = true;
    en.analysisEnd = n;
    // A session learns from its analyses: they think at least as long as
    // its games.
    if (en.learning.session && en.level.levelBudget < SessionBudget) en.level.levelBudget = SessionBudget;
    en.abandonSearch = false;

    // Step 6. Backwards from the position shown. prev is the value of the
    // position after the game's move, from the side to move there; for the
    // first position it is unknown and counts as 0 (the header tells the
    // reader not to trust the last line).
    int prev = 0;
    int i = n;
    for (; i >= 0; --i) {
        game::RestorePly(core, i);
        rec.plyCounter = static_cast<std::uint8_t>(i);
        r.gamePosition = r.board;
        const rules::Side side = (n - i) % 2 == 0 ? sideAtEnd : rules::opposite(sideAtEnd);
        g.sideToMove = side;
        if (observer) observer->positionStarted(i, i + 1);
        if (!en.gameAnalysis) break;
        // Each position gets a fresh time budget.
        game::Horlogeszro1Click(core);

        const bool continued = i < rec.recordLength;
        const game::PlyRecord& played = rec.plies[static_cast<std::size_t>(std::min(i + 1, game::RecordEntries - 1))];
        rules::Move best{};
        bool searchedBest = false;
        int score;
        r.board = r.gamePosition;
        r.board[0] = rules::Sentinel;
        if (rules::generateRootMoves(r, side) == 0) {
            // The game is over here (no piece or no move left): lost.
            score = -Infinity;
        } else {
            en.playedMoveValue = -prev;
            en.lastScore = -prev;  // the aspiration window's centre, and the value of a book move
            en.stopRequested = false;
            const int result = searchRoot(core, side);
            en.abandonSearch = false;
            if (!en.gameAnalysis) break;  // "Terminer l'analyse": this search was cut short
            // A single legal move is not searched: it is worth what the
            // position after it is worth.
            if (en.lastScore == SingleMoveAnalysisScore) en.lastScore = -prev;
            score = en.lastScore;
            if (result < NoMoveResult && result < r.rootList().size() && r.rootList()[result].from != 0) {
                best = r.rootList()[result];
                searchedBest = true;
            }
        }
        if (!searchedBest && continued) {
            best.from = played.from;
            best.to = played.to;
        }

        if (continued) {
            const int playedValue = sameMove(best.from, best.to, played) ? -score : prev;
            AnalysisLine line;
            line.ply = i;
            line.mover = side;
            line.playedFrom = played.from;
            line.playedTo = played.to;
            line.bestFrom = best.from;
            line.bestTo = best.to;
            line.playedScore = -playedValue / 2;
            line.bestScore = score / 2;
            line.marked = std::abs(score + playedValue) > MarkThreshold && std::abs(score - playedValue) < DecisiveGap;
            const rules::Move* pv = bestLine(core);
            if (searchedBest && pv[0].from == best.from && pv[0].to == best.to && pv[1].from != 0) {
                line.continuation[0] = pv[1].from;
                line.continuation[1] = pv[1].to;
                if (pv[2].from != 0) {
                    line.continuation[2] = pv[2].from;
                    line.continuation[3] = pv[2].to;
                }
            }
            out.lines.push_back(line);
            if (observer) observer->lineWritten(line);
        }
        en.analysisScores[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::clamp(score, -32768, 32767));
        en.lastScore = score;
        prev = score;
    }
    out.completed = i < 0;

    // Step 7. The position where the walk ended stays shown.
    en.gameAnalysis = false;
    r.board = r.gamePosition;
    r.board[0] = rules::Sentinel;
    std::reverse(out.lines.begin(), out.lines.end());
    return out;
}

void stopAnalysis(game::Core& core) {
    core.engine.gameAnalysis = false;
    core.engine.stopRequested = true;
}

void fin_analyse(game::Core& core) {
    EngineState& en = core.engine;
    game::GameState& g = core.game;
    en.gameAnalysis = false;
    en.level.ponderOnPersonTime = en.savedPonder;
    en.stopRequested = true;
    g.computerColour = rules::opposite(g.sideToMove);
    g.engineToMove = false;
    g.navigated = true;
}

}  // namespace engine
