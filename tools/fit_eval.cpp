// fit_eval: fits the evaluation to the results of fast self-play games
// (Texel's method), and writes the fitted values back into the readable
// sources, data/eval_weights.txt and data/defaut_par.txt. Built with the
// other tools, run by hand, never by the build.
//
//   fit_eval [--games N] [--depth D] [--random-plies R] [--threads T]
//            [--seed S] [--sweeps N] [--fit all|weights|params]
//            [--program DIR] [--source DIR] [--out DIR]
//            [--save-positions FILE] [--load-positions FILE]
//            [--table-change N] [--weight-change PERCENT]
//
// The games start with R random plies, so that they differ, then both sides
// search to depth D with the evaluation in force (the compiled-in weights
// and the program folder's Parametres/defaut.par). A game is drawn after 60
// plies without a capture, at the third repetition or at ply 252. Every
// quiet position from ply 10 on (no capture for either side, at least six
// pieces, no side three men or more ahead) is kept with the game's result.
// One game in ten is held out to check the fit on positions it never saw.
//
// The scale K of the win probability 1 / (1 + e^(-K x score)) is chosen
// first, then the weights, man tables and tempo weights are moved one at a
// time while the mean squared error falls; --table-change and
// --weight-change bound how far a man-table entry (in points) and a weight
// (in percent) may move from its start. The written sources keep their
// comments and layout; the build turns them into the program's defaults.

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/engine_core.h"
#include "engine/search.h"
#include "engine/tables.h"
#include "eval/accumulators.h"
#include "eval/evaluate.h"
#include "eval/parameter_file.h"
#include "eval/weights_text.h"
#include "game/play.h"
#include "rules/fen.h"
#include "tools/texel_fit.h"

namespace {

struct Options {
    int games = 2000;
    int depth = 5;
    int randomPlies = 6;
    int threads = 1;
    std::uint64_t seed = 1;
    int sweeps = 30;
    std::string fit = "all";
    // How far a man-table entry, and a weight in percent of its value, may
    // move from where it starts: a bound against fitting the noise of the
    // games. Unbounded unless told.
    int tableChange = 255;
    int weightChange = 0;
    std::filesystem::path program = TAVOLEX_PROGRAM_DIR;
    std::filesystem::path source = TAVOLEX_SOURCE_DIR "/data";
    std::filesystem::path out;
    std::filesystem::path savePositions, loadPositions;
};

// A kept position: the side to move and the game's result for White.
struct Sample {
    rules::Board board{};
    rules::Side side = rules::White;
    float result = 0.5f;
    std::uint32_t game = 0;
};

int usage(const char* problem) {
    if (problem) std::fprintf(stderr, "fit_eval: %s\n", problem);
    std::fprintf(stderr,
                 "usage: fit_eval [--games N] [--depth D] [--random-plies R] [--threads T] [--seed S]\n"
                 "                [--sweeps N] [--fit all|weights|params] [--program DIR] [--source DIR]\n"
                 "                [--out DIR] [--save-positions FILE] [--load-positions FILE]\n"
                 "                [--table-change N] [--weight-change PERCENT]\n");
    return 2;
}

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--help") {
            usage(nullptr);
            std::exit(0);
        }
        if (i + 1 >= argc) {
            usage((flag + " lacks its value").c_str());
            return false;
        }
        const std::string value = argv[i + 1];
        const auto number = [&](long long low, long long high, auto& target) {
            const auto n = cli::parseNumber(value, low, high);
            if (!n) {
                usage((flag + " takes a number from " + std::to_string(low) + " to " + std::to_string(high)).c_str());
                return false;
            }
            target = static_cast<std::remove_reference_t<decltype(target)>>(*n);
            return true;
        };
        bool ok = true;
        if (flag == "--games")
            ok = number(10, 10000000, o.games);
        else if (flag == "--depth")
            ok = number(1, 20, o.depth);
        else if (flag == "--random-plies")
            ok = number(0, 20, o.randomPlies);
        else if (flag == "--threads")
            ok = number(1, 64, o.threads);
        else if (flag == "--seed")
            ok = number(0, 999999999999, o.seed);
        else if (flag == "--sweeps")
            ok = number(0, 1000, o.sweeps);
        else if (flag == "--table-change")
            ok = number(0, 255, o.tableChange);
        else if (flag == "--weight-change")
            ok = number(1, 1000, o.weightChange);
        else if (flag == "--fit") {
            o.fit = value;
            if (value != "all" && value != "weights" && value != "params") {
                usage("--fit takes all, weights or params");
                return false;
            }
        } else if (flag == "--program")
            o.program = value;
        else if (flag == "--source")
            o.source = value;
        else if (flag == "--out")
            o.out = value;
        else if (flag == "--save-positions")
            o.savePositions = value;
        else if (flag == "--load-positions")
            o.loadPositions = value;
        else {
            usage(("unknown option " + flag).c_str());
            return false;
        }
        if (!ok) return false;
    }
    if (o.out.empty()) o.out = o.source;
    return true;
}

std::optional<std::string> readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Written beside the target and renamed over it: a failed write keeps the
// old file.
bool writeText(const std::filesystem::path& file, const std::string& text) {
    const std::filesystem::path temporary = file.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    return !ec;
}

// ---------------------------------------------------------------- games

bool hasCapture(rules::RulesState& r, const rules::Board& board, rules::Side side) {
    r.board = board;
    r.currentPly = 1;
    return rules::generateMoves(r, side) > 0 && r.captureCount > 0;
}

bool keepPosition(rules::RulesState& r, const rules::Board& board, rules::Side side, int ply) {
    if (ply < 10) return false;
    int men[2] = {0, 0}, kings[2] = {0, 0};
    for (int q = 1; q <= rules::NumSquares; ++q) {
        const rules::PieceCode c = board[q];
        if (!rules::isPiece(c)) continue;
        (rules::isMan(c) ? men : kings)[rules::sideIndex(rules::sideOf(c))]++;
    }
    // Six pieces or more: fewer are the endgame tables' business.
    if (men[0] + men[1] + kings[0] + kings[1] < 6) return false;
    // A king counts as three men here, as a rough measure of the lead.
    const int lead = men[0] - men[1] + 3 * (kings[0] - kings[1]);
    if (lead >= 3 || lead <= -3) return false;
    return !hasCapture(r, board, side) && !hasCapture(r, board, rules::opposite(side));
}

struct GamePlayer {
    cli::ClockHost host;
    std::unique_ptr<game::Core> core = std::make_unique<game::Core>();
    rules::RulesState scratch;
};

// One game from the start; the kept positions with the result for White.
std::vector<Sample> playGame(GamePlayer& p, const Options& o, std::uint32_t index, double& whiteScore) {
    game::Core& core = *p.core;
    std::mt19937_64 random(o.seed * 1000003ULL + index);
    cli::setPosition(core, rules::startingPosition(), rules::White);
    engine::clearTable(core.engine.tables);
    core.engine.lastScore = 0;
    std::vector<Sample> kept;
    std::vector<rules::Board> seen;
    int quiet = 0;
    double result = 0.5;
    for (int ply = 0;; ++ply) {
        const rules::Board board = core.rules.gamePosition;
        const rules::Side side = core.game.sideToMove;
        std::optional<rules::Move> move;
        if (ply < o.randomPlies) {
            core.rules.board = board;
            const int n = rules::generateRootMoves(core.rules, side);
            if (n > 0) move = core.rules.rootList()[static_cast<int>(random() % static_cast<unsigned>(n))];
        } else {
            if (keepPosition(p.scratch, board, side, ply)) kept.push_back({board, side, 0.5f, index});
            core.engine.limits = engine::SearchLimits{};
            core.engine.limits.depth = o.depth;
            move = cli::think(core);
        }
        if (!move) {
            // No legal move: the side to move has lost.
            result = side == rules::White ? 0.0 : 1.0;
            break;
        }
        game::playMove(core, *move);
        quiet = move->ncapt ? 0 : quiet + 1;
        if (quiet >= 60 || ply + 1 >= game::MaxRecordedPly) break;
        seen.push_back(core.rules.gamePosition);
        if (std::count(seen.begin(), seen.end(), core.rules.gamePosition) >= 3) break;
    }
    for (Sample& s : kept) s.result = static_cast<float>(result);
    whiteScore = result;
    return kept;
}

std::vector<Sample> playGames(const Options& o) {
    std::vector<std::vector<Sample>> byGame(static_cast<std::size_t>(o.games));
    std::atomic<int> next{0};
    std::mutex report;
    int done = 0;
    double whitePoints = 0;
    int draws = 0;
    std::size_t positions = 0;
    std::atomic<bool> failed{false};
    const auto start = std::chrono::steady_clock::now();
    const auto worker = [&] {
        GamePlayer p;
        if (!cli::setUpCore(*p.core, p.host, o.program, {})) {
            failed = true;
            return;
        }
        p.core->engine.threads = 1;
        p.core->engine.books.booksActive = false;
        for (int g = next++; g < o.games && !failed; g = next++) {
            double score = 0.5;
            std::vector<Sample> kept = playGame(p, o, static_cast<std::uint32_t>(g), score);
            std::lock_guard lock(report);
            positions += kept.size();
            byGame[static_cast<std::size_t>(g)] = std::move(kept);
            whitePoints += score;
            draws += score == 0.5;
            if (++done % 100 == 0 || done == o.games) {
                const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                std::printf("games %d/%d  positions %zu  White scores %.1f%%, draws %.1f%%  (%.0f s)\n", done, o.games,
                            positions, 100 * whitePoints / done, 100.0 * draws / done, seconds);
                std::fflush(stdout);
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < o.threads; ++t) threads.emplace_back(worker);
    for (std::thread& t : threads) t.join();
    if (failed) return {};
    std::vector<Sample> all;
    all.reserve(positions);
    for (std::vector<Sample>& g : byGame) all.insert(all.end(), g.begin(), g.end());
    return all;
}

// One line a position: "FEN RESULT GAME", the result for White.
bool savePositions(const std::filesystem::path& file, const std::vector<Sample>& samples) {
    std::string text;
    for (const Sample& s : samples)
        text += rules::toFen(s.board, s.side) + " " +
                (s.result == 1.0f   ? "1"
                 : s.result == 0.0f ? "0"
                                    : "0.5") +
                " " + std::to_string(s.game) + "\n";
    return writeText(file, text);
}

std::optional<std::vector<Sample>> loadPositions(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) {
        std::fprintf(stderr, "fit_eval: cannot read %s\n", file.string().c_str());
        return std::nullopt;
    }
    std::vector<Sample> samples;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::istringstream words(line);
        std::string fen, result;
        long long game = -1;
        words >> fen >> result >> game;
        const rules::FenResult parsed = rules::parseFen(fen);
        if (!parsed.position || (result != "1" && result != "0" && result != "0.5") || game < 0) {
            std::fprintf(stderr, "%s:%d: not \"POSITION RESULT GAME\"%s%s\n", file.string().c_str(), lineNumber,
                         parsed.position ? "" : ": ", parsed.position ? "" : parsed.error.c_str());
            return std::nullopt;
        }
        samples.push_back({parsed.position->board, parsed.position->side,
                           result == "1"   ? 1.0f
                           : result == "0" ? 0.0f
                                           : 0.5f,
                           static_cast<std::uint32_t>(game)});
    }
    return samples;
}

// ---------------------------------------------------------------- scoring

// The evaluation of a kept position from White's view, as the search's root
// sees it: phase and table chosen with the structure recognised in this very
// position, the side to move evaluated at ply 1 with no line behind it.
struct Scorer {
    eval::EvalState st;

    int manTableOf(const Sample& s) {
        st.acc.pieceCount = eval::recountPieces(s.board);
        st.variant1 = st.variant2 = false;
        eval::selectPhaseAndVariant(st, s.board);
        eval::selectPhaseAndVariant(st, s.board);
        // The table chosen, found again by its thresholds and flags.
        int men = 0;
        for (int q = 1; q <= rules::NumSquares; ++q) men += rules::isMan(s.board[q]);
        const eval::EvalParameters& p = st.params;
        if (men > p.p1)
            return st.variant1 ? eval::Variant1Opening : st.variant2 ? eval::Variant2Opening : eval::DefaultOpening;
        if (men > p.p2)
            return st.variant1 ? eval::Variant1Middle : st.variant2 ? eval::Variant2Middle : eval::DefaultMiddle;
        return men > p.p3 ? eval::PreEndgame : eval::Endgame;
    }

    int score(const Sample& s) {
        st.acc.pieceCount = eval::recountPieces(s.board);
        st.variant1 = st.variant2 = false;
        eval::selectPhaseAndVariant(st, s.board);
        eval::selectPhaseAndVariant(st, s.board);
        eval::buildAccumulators(st, s.board, s.side);
        st.currentPly = 1;
        st.lastTo = 0;
        st.rootMovePiece = rules::Empty;
        const int v = eval::evaluate(st, s.board, s.side, -eval::Infinity, eval::Infinity);
        return s.side == rules::White ? v : -v;
    }
};

// The range and first step each weight may take. The clamps stay below a
// man, so that no positional sum outweighs one.
struct WeightRange {
    int low, high, step;
    bool fitted;
};
WeightRange rangeOf(eval::Weight w) {
    using namespace eval;
    if (w >= KingOpening && w <= KingEndgame) return {300, 1000, 20, true};
    // Never non-zero in a quiet position evaluated at the root.
    if (w == LastMoveOffer || w == RootMoveLine) return {0, 0, 1, false};
    if (w == PositionalClamp) return {10, 150, 8, true};
    if (w == FinalClamp) return {60, 195, 8, true};
    if (w == BreakthroughClamp) return {40, 195, 8, true};
    if (w == StructureClamp || w == ManSafetyClamp) return {20, 150, 8, true};
    if (w >= ShotSmall && w <= ShotLarge) return {0, 400, 16, true};
    // The scales, in percent.
    if (w >= BreakthroughRowSeven && w <= BreakthroughCorner) return {0, 300, 16, true};
    if (w >= StructureOpening && w <= StructureWedges) return {0, 300, 16, true};
    if (w == ManSafety || w == BreakthroughToMove) return {0, 300, 16, true};
    return {0, 200, 4, true};
}

// ---------------------------------------------------------------- sources

// defaut_par.txt with the man tables' rows and the tempo weights replaced;
// every other line, comments included, as it was.
std::string rewriteParameters(const std::string& text, const eval::EvalParameters& p) {
    static const char* const Names[eval::NumManTables] = {
        "default-opening",  "default-middle",  "pre-endgame",      "endgame",
        "variant1-opening", "variant1-middle", "variant2-opening", "variant2-middle",
    };
    const auto indexOf = [](const std::string& name) {
        for (int k = 0; k < eval::NumManTables; ++k)
            if (name == Names[k]) return k;
        return -1;
    };
    std::istringstream in(text);
    std::string out;
    int table = -1, row = 0;
    for (std::string line; std::getline(in, line);) {
        std::string body = line.substr(0, line.find('#'));
        std::istringstream words(body);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (table >= 0 && w.size() == 4) {
            char buffer[64];
            const auto& t = p.manTables[static_cast<std::size_t>(table)];
            std::snprintf(buffer, sizeof buffer, "%4d %2d %2d %2d", t[4 * row + 1], t[4 * row + 2], t[4 * row + 3],
                          t[4 * row + 4]);
            out += buffer;
            if (line.find('#') != std::string::npos) out += " " + line.substr(line.find('#'));
            out += '\n';
            if (++row == 8) table = -1;
            continue;
        }
        if (w.size() == 2 && w[0] == "table" && indexOf(w[1]) >= 0) {
            table = indexOf(w[1]);
            row = 0;
        } else if (w.size() == 3 && w[0] == "tempo" && indexOf(w[1]) >= 0) {
            const std::size_t at = line.rfind(w[2], body.size());
            line = line.substr(0, at) + std::to_string(p.tempoWeights[static_cast<std::size_t>(indexOf(w[1]))]) +
                   line.substr(at + w[2].size());
        }
        out += line + '\n';
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) return 2;
    const std::clock_t cpuStart = std::clock();

    // Step 1. The sources to rewrite, read and checked before any game.
    const std::filesystem::path weightsSource = o.source / "eval_weights.txt";
    const std::filesystem::path paramsSource = o.source / "defaut_par.txt";
    const std::optional<std::string> weightsText = readText(weightsSource);
    const std::optional<std::string> paramsText = readText(paramsSource);
    if (!weightsText || !paramsText) {
        std::fprintf(stderr, "fit_eval: cannot read %s\n",
                     (!weightsText ? weightsSource : paramsSource).string().c_str());
        return 1;
    }
    if (const eval::WeightsText w = eval::parseWeights(*weightsText); !w.values) {
        std::fprintf(stderr, "%s:%d: %s\n", weightsSource.string().c_str(), w.line, w.error.c_str());
        return 1;
    }
    std::error_code ec;
    std::filesystem::create_directories(o.out, ec);

    // Step 2. The positions: played now, or read from an earlier run.
    std::vector<Sample> samples;
    if (!o.loadPositions.empty()) {
        auto loaded = loadPositions(o.loadPositions);
        if (!loaded) return 1;
        samples = std::move(*loaded);
    } else {
        std::printf("playing %d games at depth %d, %d random plies first, %d thread(s), seed %llu\n", o.games, o.depth,
                    o.randomPlies, o.threads, static_cast<unsigned long long>(o.seed));
        samples = playGames(o);
        if (samples.empty()) {
            std::fprintf(stderr, "fit_eval: no positions (is %s a program folder?)\n", o.program.string().c_str());
            return 1;
        }
    }
    if (!o.savePositions.empty() && !savePositions(o.savePositions, samples)) {
        std::fprintf(stderr, "fit_eval: cannot write %s\n", o.savePositions.string().c_str());
        return 1;
    }

    // Step 3. Training and held-out sets: one game in ten held out whole,
    // since positions of one game are alike.
    std::vector<Sample> train, check;
    for (const Sample& s : samples) (s.game % 10 == 9 ? check : train).push_back(s);
    std::printf("%zu positions: %zu to fit, %zu held out\n", samples.size(), train.size(), check.size());
    if (train.empty() || check.empty()) {
        std::fprintf(stderr, "fit_eval: too few positions to fit\n");
        return 1;
    }

    auto scorer = std::make_unique<Scorer>();
    game::Core paramsCore;
    paramsCore.programDir = o.program;
    if (eval::loadDefaultParameters(paramsCore) != eval::ParameterFileStatus::Ok) {
        std::fprintf(stderr, "fit_eval: cannot read %s\n", (o.program / "Parametres" / "defaut.par").string().c_str());
        return 1;
    }
    scorer->st.params = paramsCore.eval.params;
    scorer->st.staging = paramsCore.eval.staging;

    std::vector<float> results, checkResults;
    for (const Sample& s : train) results.push_back(s.result);
    for (const Sample& s : check) checkResults.push_back(s.result);
    const auto scoreAll = [&](const std::vector<Sample>& set) {
        std::vector<int> scores;
        scores.reserve(set.size());
        for (const Sample& s : set) scores.push_back(scorer->score(s));
        return scores;
    };
    std::vector<int> scores = scoreAll(train);
    const double k = tools::chooseScale(results, scores);
    const double before = tools::meanSquaredError(results, scores, k);
    const double checkBefore = tools::meanSquaredError(checkResults, scoreAll(check), k);
    std::printf("K = %.6f (a man's lead predicts %.1f%%)\n", k, 100 * tools::winProbability(k, 200));
    std::printf("error before: %.6f fitted set, %.6f held out\n", before, checkBefore);
    std::fflush(stdout);

    // Step 4. The parameters to fit. A man-table entry changes only the
    // positions with a man on its square while its table is in force; a
    // tempo weight only those of its table.
    std::vector<tools::FitParameter> params;
    eval::EvalState& st = scorer->st;
    if (o.fit != "params") {
        for (int w = 0; w < eval::NumWeights; ++w) {
            const auto id = static_cast<eval::Weight>(w);
            const WeightRange r = rangeOf(id);
            if (!r.fitted) continue;
            const int v = st.weights[id];
            int low = std::min(r.low, v), high = std::max(r.high, v);
            if (o.weightChange > 0) {
                const int change = std::max(1, std::abs(v) * o.weightChange / 100);
                low = std::max(low, v - change);
                high = std::min(high, v + change);
            }
            const int step = std::min(r.step, std::max(1, (high - low) / 4));
            params.push_back(
                {std::string(eval::WeightNames[w]), v, low, high, step, {}, [&st, id](int x) { st.weights[id] = x; }});
        }
    }
    if (o.fit != "weights") {
        std::vector<int> tableOf(train.size());
        for (std::size_t i = 0; i < train.size(); ++i) tableOf[i] = scorer->manTableOf(train[i]);
        for (int t = 0; t < eval::NumManTables; ++t) {
            // Men stand on squares 1..28 of Black's frame: 29..32 is the row
            // where Black promotes.
            for (int q = 1; q <= 28; ++q) {
                tools::FitParameter p{"table " + std::to_string(t) + " square " + std::to_string(q),
                                      st.params.manTables[t][q],
                                      std::max(0, st.params.manTables[t][q] - o.tableChange),
                                      std::min(255, st.params.manTables[t][q] + o.tableChange),
                                      std::min(4, std::max(1, o.tableChange / 2)),
                                      {},
                                      [&st, t, q](int v) { st.params.manTables[t][q] = static_cast<std::uint8_t>(v); }};
                for (std::size_t i = 0; i < train.size(); ++i)
                    if (tableOf[i] == t &&
                        (train[i].board[q] == rules::BlackMan || train[i].board[33 - q] == rules::WhiteMan))
                        p.samples.push_back(static_cast<std::uint32_t>(i));
                if (!p.samples.empty()) params.push_back(std::move(p));
            }
            tools::FitParameter tempo{
                "tempo " + std::to_string(t), st.params.tempoWeights[t], -20, 60, 2, {}, [&st, t](int v) {
                    st.params.tempoWeights[t] = static_cast<std::int8_t>(v);
                }};
            for (std::size_t i = 0; i < train.size(); ++i)
                if (tableOf[i] == t) tempo.samples.push_back(static_cast<std::uint32_t>(i));
            if (!tempo.samples.empty()) params.push_back(std::move(tempo));
        }
    }
    std::printf("fitting %zu parameters\n", params.size());

    // Step 5. The local search.
    tools::FitOptions fo;
    fo.maxSweeps = o.sweeps;
    const auto fitStart = std::chrono::steady_clock::now();
    fo.progress = [&](int sweep, double error, int moved) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - fitStart).count();
        std::printf("sweep %2d: error %.6f, %d parameters moved  (%.0f s)\n", sweep, error, moved, seconds);
        std::fflush(stdout);
    };
    const double after = tools::fitParameters(
        params, results, scores, [&](std::uint32_t i) { return scorer->score(train[i]); }, k, fo);
    const double checkAfter = tools::meanSquaredError(checkResults, scoreAll(check), k);
    std::printf("error after:  %.6f fitted set, %.6f held out\n", after, checkAfter);

    // Step 6. The sources, rewritten in place and read back before they
    // replace anything.
    const std::string newWeights = eval::rewriteWeights(*weightsText, st.weights.values);
    const eval::WeightsText reread = eval::parseWeights(newWeights);
    if (!reread.values || *reread.values != st.weights.values) {
        std::fprintf(stderr, "fit_eval: the rewritten weights do not read back (%s); nothing written\n",
                     reread.error.c_str());
        return 1;
    }
    const std::filesystem::path weightsOut = o.out / "eval_weights.txt";
    const std::filesystem::path paramsOut = o.out / "defaut_par.txt";
    if (!writeText(weightsOut, newWeights) || !writeText(paramsOut, rewriteParameters(*paramsText, st.params))) {
        std::fprintf(stderr, "fit_eval: cannot write into %s\n", o.out.string().c_str());
        return 1;
    }
    for (int w = 0; w < eval::NumWeights; ++w)
        if (st.weights.values[w] != eval::DefaultWeights[w])
            std::printf("  %-28s %5d -> %d\n", std::string(eval::WeightNames[w]).c_str(), eval::DefaultWeights[w],
                        st.weights.values[w]);
    std::printf("wrote %s and %s\n", weightsOut.string().c_str(), paramsOut.string().c_str());
    std::printf("processor time %.0f s\n", static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    return 0;
}
