// The engine behind the command line: analysis of one position, the
// benchmark whose node count is the search's signature, and matches of
// engine against engine (the hub protocol is in hub.cpp).

#include "cli/engine_commands.h"

#include "cli/child_process.h"
#include "cli/commands.h"
#include "cli/engine_core.h"
#include "cli/hub_protocol.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/search.h"
#include "engine/thinking.h"
#include "eval/parameter_file.h"
#include "files/program_folder.h"
#include "game/core.h"
#include "game/navigation.h"
#include "game/play.h"
#include "rules/fen.h"
#include "rules/perft.h"

namespace cli {

namespace {

int usage(const char* what) { return usageError(what); }

void applyLevelNumber(engine::LevelState& level, int number) {
    for (std::size_t i = 0; i < engine::LevelTable.size(); ++i)
        if (engine::LevelTable[i].number == number) engine::selectLevel(level, static_cast<int>(i));
}

bool isLevelNumber(long long n) {
    return std::any_of(engine::LevelTable.begin(), engine::LevelTable.end(),
                       [n](const engine::LevelItem& l) { return l.number == n; });
}

// Search options shared by analyse and match.
struct SearchOptions {
    int level = -1;
    int depth = 0;
    long long moveTimeMs = 0;

    void apply(engine::EngineState& en) const {
        if (level >= 0) applyLevelNumber(en.level, level);
    }
    // The limits of a search with `plies` played: a depth or a time per
    // move when given, the level's plan otherwise (the clock counts no
    // time between the moves of these front ends).
    engine::SearchLimits limits(const engine::LevelState& l, int plies) const {
        if (depth == 0 && moveTimeMs == 0) return engine::levelLimits(l, plies, 0, false);
        engine::SearchLimits out = moveTimeMs > 0 ? engine::moveTimeLimits(moveTimeMs) : engine::SearchLimits{};
        out.depth = depth;
        return out;
    }
};

// Takes "--level N", "--depth D", "--movetime S" off the front of args.
// Returns an error text, or nothing.
const char* takeSearchOption(std::vector<std::string_view>& args, SearchOptions& o, bool& taken) {
    taken = false;
    if (args.empty()) return nullptr;
    const std::string_view flag = args[0];
    if (flag != "--level" && flag != "--depth" && flag != "--movetime") return nullptr;
    if (args.size() < 2) return "an option lacks its value";
    const std::string_view value = args[1];
    if (flag == "--level") {
        const auto n = parseNumber(value, 0, 17);
        if (!n || !isLevelNumber(*n)) return "--level takes a level number: 0-8 or 11-17";
        o.level = static_cast<int>(*n);
    } else if (flag == "--depth") {
        const auto n = parseNumber(value, 1, engine::MaxIterations);
        if (!n) return "--depth takes a number from 1 to 30";
        o.depth = static_cast<int>(*n);
    } else {
        const auto ms = parseSeconds(value);
        if (!ms) return "--movetime takes seconds, such as 2 or 0.5";
        o.moveTimeMs = *ms;
    }
    args.erase(args.begin(), args.begin() + 2);
    taken = true;
    return nullptr;
}

// Takes "--threads N" from anywhere in args into `threads`. Returns an error
// text naming what was refused, or nothing.
std::optional<std::string> takeThreadsOption(std::vector<std::string_view>& args, int& threads) {
    const auto flag = std::find(args.begin(), args.end(), std::string_view("--threads"));
    if (flag == args.end()) return std::nullopt;
    const std::string range = "--threads takes a number from 1 to " + std::to_string(engine::MaxSearchThreads);
    if (flag + 1 == args.end()) return range + ", and none was given";
    const std::string_view value = *(flag + 1);
    const auto n = parseNumber(value, 1, engine::MaxSearchThreads);
    if (!n) return range + ", not \"" + std::string(value) + "\"";
    threads = static_cast<int>(*n);
    args.erase(flag, flag + 2);
    return std::nullopt;
}

std::string joined(const std::vector<std::string>& lines, const char* sep) {
    std::string s;
    for (const std::string& l : lines) {
        if (!s.empty()) s += sep;
        s += l;
    }
    return s;
}

// ---------------------------------------------------------------- analyse

int analyse(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    SearchOptions options;
    int threads = 1;
    if (const auto error = takeThreadsOption(args, threads)) return usage(error->c_str());
    for (;;) {
        bool taken = false;
        if (const char* error = takeSearchOption(args, options, taken)) return usage(error);
        if (!taken) break;
    }
    if (args.size() > 1) return usage("analyse takes at most one position");
    rules::Position pos{rules::startingPosition(), rules::White};
    if (!args.empty()) {
        rules::FenResult r = rules::parseFen(args[0]);
        if (!r.position) {
            std::fprintf(stderr, "tavolex-cli: bad position: %s\n", r.error.c_str());
            return ExitUsage;
        }
        pos = *r.position;
    }
    ClockHost host;
    auto core = std::make_unique<game::Core>();
    if (!setUpCore(*core, host, programDir, {})) return 1;
    setPosition(*core, pos.board, pos.side);
    options.apply(core->engine);
    core->engine.limits = options.limits(core->engine.level, 0);
    core->engine.threads = threads;

    // One line per change of depth, score or best line.
    std::string last;
    host.onThinking = [&last](const engine::SearchStats& st) {
        const std::string line = joined(engine::thinkingLines(st), " | ");
        if (line == last) return;
        last = line;
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    };
    const engine::RootAnswer r = engine::searchRoot(*core, pos.side);
    if (!r.hasMove()) {
        std::printf("bestmove none\n");
        return 0;
    }
    std::printf("bestmove %s\n", rules::moveText(core->rules.rootList()[r.index]).c_str());
    std::printf("score %d\n", core->engine.lastScore / 2);
    return 0;
}

// ---------------------------------------------------------------- bench

// Openings, middle games with and without kings, and endings. The total
// node count over them at a fixed depth is the search's signature.
constexpr const char* BenchPositions[] = {
    "W:W21-32:B1-12",
    "B:W17,21,22,23,25,26,27,28,29,30,31,32:B1-12",
    "W:W18,21,22,24,25,26,27,28,29,30,31,32:B1,2,3,4,5,6,7,8,9,10,12,14",
    "B:W17,18,21,22,24,25,26,27,28,29,31,32:B1,2,3,4,5,6,7,8,9,10,11,16",
    "W:W17,19,21,22,24,25,26,27,28,29,30,32:B1,2,3,4,5,6,8,9,10,11,12,15",
    "W:W18,19,20,22,24,25,26,27,28,29,30,31:B1,2,3,5,6,7,8,10,11,12,13,16",
    "B:W17,18,19,21,23,24,26,27,28,30,31:B1,2,3,4,5,6,7,9,11,12,14",
    "W:W17,18,20,21,23,25,26,27,29,30,32:B1,2,3,4,6,7,8,9,10,11,12",
    "W:W19,21,22,23,24,26,27,28,30,31:B2,3,5,6,7,8,9,10,12,14",
    "B:W18,20,21,22,25,26,27,29,31:B1,3,4,6,7,9,11,12,15",
    "W:W17,20,22,23,24,25,28,30:B2,5,6,8,9,11,13,16",
    "B:W18,21,23,25,26,27,30:B3,4,7,8,10,12,13",
    "W:W16,21,22,26,29,30:B2,6,7,10,13",
    "B:W19,20,24,27,28:B1,5,9,10,11",
    "W:WK15,22,23,26,27:B5,9,11,13,16",
    "B:WK29,25,27,28:BK4,6,9,10",
    "W:WK18,23,24:BK1,12,16",
    "W:W22,26,30,31:B3,7,11",
    "B:WK1,K32,21:BK14,K19",
    "W:WK28,17,25:BK5,6,10",
    "W:W21,22,23,25,26,28:B5,9,10,11,12,14",
    "B:W13,22,23,27,30,31,32:B1,3,4,7,8,11,12",
};

int bench(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    int depth = 9;
    int threads = 1;
    if (const auto error = takeThreadsOption(args, threads)) return usage(error->c_str());
    if (args.size() > 1) return usage("bench takes at most a depth and --threads");
    if (!args.empty()) {
        const auto d = parseNumber(args[0], 1, engine::MaxIterations);
        if (!d) return usage("bench takes a depth from 1 to 30");
        depth = static_cast<int>(*d);
    }
    ClockHost host;
    std::int64_t totalNodes = 0;
    std::int64_t totalMs = 0;
    double totalCpu = 0;
    int index = 0;
    bool reported = false;
    for (const char* fen : BenchPositions) {
        ++index;
        const rules::FenResult parsed = rules::parseFen(fen);
        if (!parsed.position) {
            std::fprintf(stderr, "tavolex-cli: bench position %d: %s\n", index, parsed.error.c_str());
            return 1;
        }
        // Fresh tables for every position; missing data files said once.
        auto core = std::make_unique<game::Core>();
        game::Host* say = reported ? nullptr : &host;
        core->host = say;
        core->programDir = programDir;
        eval::loadDefaultParameters(*core);
        if (!engine::initialiseSearch(*core)) return 1;
        reported = true;
        core->host = &host;
        setPosition(*core, parsed.position->board, parsed.position->side);
        core->engine.limits = engine::SearchLimits{};
        core->engine.limits.depth = depth;
        core->engine.threads = threads;
        const std::int64_t start = host.readMilliseconds();
        const std::clock_t cpuStart = std::clock();
        const engine::RootAnswer r = engine::searchRoot(*core, parsed.position->side);
        const std::int64_t ms = host.readMilliseconds() - start;
        totalCpu += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const std::int64_t nodes = core->engine.search.nodeCount;
        totalNodes += nodes;
        totalMs += ms;
        std::string best = "none";
        if (r.hasMove()) best = rules::moveText(core->rules.rootList()[r.index]);
        std::printf("position %2d  nodes %10lld  nodes/s %10lld  %-14s %s\n", index, static_cast<long long>(nodes),
                    static_cast<long long>(ms > 0 ? nodes * 1000 / ms : 0), best.c_str(), fen);
        std::fflush(stdout);
    }
    std::printf("depth %d\n", depth);
    std::printf("nodes %lld\n", static_cast<long long>(totalNodes));
    // Helpers race each other through the shared table, so the count
    // changes from run to run.
    if (threads > 1) std::printf("threads %d: the node count varies from run to run and is no signature\n", threads);
    std::printf("nodes/s %lld\n", static_cast<long long>(totalMs > 0 ? totalNodes * 1000 / totalMs : 0));
    // On a shared machine the processor time gives the steadier rate.
    std::printf("nodes/s (processor time) %lld\n",
                static_cast<long long>(totalCpu > 0 ? static_cast<double>(totalNodes) / totalCpu : 0));
    return 0;
}

// ---------------------------------------------------------------- match

// Every line of `plies` plies from the start, in generation order.
void openingLines(game::Core& core, int plies, std::vector<std::vector<rules::Move>>& out,
                  std::vector<rules::Move>& line) {
    if (static_cast<int>(line.size()) == plies) {
        out.push_back(line);
        return;
    }
    core.rules.board = core.rules.gamePosition;
    const int n = rules::generateRootMoves(core.rules, core.game.sideToMove);
    std::vector<rules::Move> moves(core.rules.rootList().begin(), core.rules.rootList().begin() + n);
    for (const rules::Move& m : moves) {
        const rules::Board board = core.rules.gamePosition;
        const rules::Side side = core.game.sideToMove;
        rules::applyMove(core.rules.gamePosition, m);
        core.game.sideToMove = rules::opposite(side);
        line.push_back(m);
        openingLines(core, plies, out, line);
        line.pop_back();
        core.rules.gamePosition = board;
        core.game.sideToMove = side;
    }
}

// One side of a match: it is told when a game starts, and asked for its
// move in the position reached from the start by the moves so far.
class MatchPlayer {
public:
    struct Answer {
        std::optional<rules::Move> move;  // nothing: no legal move
        std::string failure;              // the player broke down; the match ends
    };
    virtual ~MatchPlayer() = default;
    virtual void newGame() = 0;
    virtual Answer move(const std::vector<rules::Move>& moves) = 0;
};

// Our engine, in this process, searching within `options`.
class EnginePlayer : public MatchPlayer {
public:
    EnginePlayer(game::Core& core, const SearchOptions& options) : m_core(core), m_options(options) {}
    void newGame() override {
        m_core.engine.lastScore = 0;
        engine::clearTable(m_core.engine.tables);
    }
    Answer move(const std::vector<rules::Move>& moves) override {
        setPosition(m_core, rules::startingPosition(), rules::White);
        for (const rules::Move& m : moves) game::playMove(m_core, m);
        m_core.engine.limits = m_options.limits(m_core.engine.level, m_core.game.record.plyCounter);
        return {think(m_core), {}};
    }

private:
    game::Core& m_core;
    SearchOptions m_options;
};

// Another engine behind the hub protocol, started by a command line.
class HubPlayer : public MatchPlayer {
public:
    // The level line it is sent before each move.
    HubPlayer(std::string level, std::int64_t moveTimeMs) : m_level(std::move(level)), m_moveTimeMs(moveTimeMs) {}

    // Starts it and waits for it to be ready; an error text when it is not.
    std::string start(const std::string& command) {
        if (!m_process.start(command)) return "cannot start the opponent: " + command;
        m_process.send("hub");
        for (;;) {
            const std::optional<std::string> line = m_process.readLine(30000);
            if (!line) return "the opponent did not answer \"hub\": " + command;
            const hub::Line h = hub::parseLine(*line);
            if (h.command == "id")
                for (const char* key : {"name", "version"})
                    if (const hub::Line::Arg* a = h.find(key)) name += (name.empty() ? "" : " ") + a->value;
            if (h.command == "wait") break;
        }
        m_process.send("init");
        if (!waitFor("ready", 60000)) return "the opponent did not answer \"init\"";
        return {};
    }
    void newGame() override { m_process.send("new-game"); }
    Answer move(const std::vector<rules::Move>& moves) override {
        Answer answer;
        std::string list;
        for (const rules::Move& m : moves) list += (list.empty() ? "" : " ") + hub::moveText(m);
        std::string pos = "pos pos=" + hub::positionText(rules::startingPosition(), rules::White);
        if (!list.empty()) pos += " moves=" + hub::value(list);
        if (!m_process.send(pos) || !m_process.send(m_level) || !m_process.send("go think")) {
            answer.failure = "the opponent no longer reads its input";
            return answer;
        }
        // Its move comes after its thinking; a broken-down engine is given
        // up on after a generous wait.
        const int timeout = static_cast<int>(std::min<std::int64_t>(m_moveTimeMs * 10 + 60000, 3600000));
        for (;;) {
            const std::optional<std::string> line = m_process.readLine(timeout);
            if (!line) {
                answer.failure = m_process.timedOut() ? "the opponent gave no move in time" : "the opponent ended";
                return answer;
            }
            const hub::Line h = hub::parseLine(*line);
            if (h.command == "error") std::fprintf(stderr, "tavolex-cli: the opponent says: %s\n", line->c_str());
            if (h.command != "done") continue;
            const hub::Line::Arg* m = h.find("move");
            if (!m) return answer;  // no legal move
            m_rules.board = rules::startingPosition();
            rules::Side side = rules::White;
            for (const rules::Move& played : moves) {
                rules::applyMove(m_rules.board, played);
                side = rules::opposite(side);
            }
            answer.move = hub::findMove(m_rules, side, m->value);
            if (!answer.move) answer.failure = "the opponent played an illegal move: " + m->value;
            return answer;
        }
    }
    void quit() {
        m_process.send("quit");
        m_process.closeInput();
    }
    std::string name;

private:
    bool waitFor(const char* command, int timeoutMs) {
        while (const std::optional<std::string> line = m_process.readLine(timeoutMs))
            if (hub::parseLine(*line).command == command) return true;
        return false;
    }
    ChildProcess m_process;
    rules::RulesState m_rules;
    std::string m_level;
    std::int64_t m_moveTimeMs = 0;
};

struct PlayedGame {
    double score = 0.5;  // 1 the first player won, 0.5 drawn, 0 lost
    int plies = 0;
    std::string failure;
};

PlayedGame playGame(MatchPlayer& first, MatchPlayer& second, const std::vector<rules::Move>& opening,
                    bool firstIsWhite) {
    PlayedGame result;
    first.newGame();
    second.newGame();
    std::vector<rules::Move> moves = opening;
    rules::Board board = rules::startingPosition();
    rules::Side side = rules::White;
    for (const rules::Move& m : opening) {
        rules::applyMove(board, m);
        side = rules::opposite(side);
    }
    // Draw rules: sixty plies without a capture, the same position a third
    // time, or the record's end.
    std::vector<rules::Board> seen;
    int quiet = 0;
    for (;;) {
        MatchPlayer& mover = (side == rules::White) == firstIsWhite ? first : second;
        const MatchPlayer::Answer answer = mover.move(moves);
        result.plies = static_cast<int>(moves.size());
        if (!answer.failure.empty()) {
            result.failure = answer.failure;
            return result;
        }
        if (!answer.move) {
            result.score = &mover == &first ? 0.0 : 1.0;
            return result;
        }
        const rules::Move m = *answer.move;
        moves.push_back(m);
        rules::applyMove(board, m);
        side = rules::opposite(side);
        quiet = m.ncapt ? 0 : quiet + 1;
        result.plies = static_cast<int>(moves.size());
        if (quiet >= 60 || result.plies >= game::MaxRecordedPly) return result;
        seen.push_back(board);
        if (std::count(seen.begin(), seen.end(), board) >= 3) return result;
    }
}

// "level depth=6 move-time=0.5" for an engine behind the protocol.
std::string levelLine(const SearchOptions& o) {
    std::string line = "level";
    if (o.depth > 0) line += " depth=" + std::to_string(o.depth);
    if (o.moveTimeMs > 0) {
        char t[32];
        std::snprintf(t, sizeof t, " move-time=%.3f", static_cast<double>(o.moveTimeMs) / 1000.0);
        line += t;
    }
    return line;
}

int match(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    SearchOptions options, options2;
    bool secondOwn = false;
    int games = 100;
    std::filesystem::path paramsA, paramsB;
    bool materialA = false, materialB = false, secondEngineOptions = false;
    std::string opponent;
    while (!args.empty()) {
        bool taken = false;
        if (const char* e = takeSearchOption(args, options, taken)) return usage(e);
        if (taken) continue;
        if (args[0] == "--material" || args[0] == "--material2") {
            (args[0] == "--material" ? materialA : materialB) = true;
            secondEngineOptions = secondEngineOptions || args[0] == "--material2";
            args.erase(args.begin());
            continue;
        }
        if (args.size() < 2) return usage("an option lacks its value");
        if (args[0] == "--level2" || args[0] == "--depth2" || args[0] == "--movetime2") {
            // The second engine's own limits: the same option without the 2.
            std::vector<std::string_view> one = {args[0].substr(0, args[0].size() - 1), args[1]};
            if (const char* e = takeSearchOption(one, options2, taken)) return usage(e);
            secondOwn = true;
            args.erase(args.begin(), args.begin() + 2);
            continue;
        }
        if (args[0] == "--games") {
            const auto n = parseNumber(args[1], 2, 100000);
            if (!n) return usage("--games takes a number of games, at least 2");
            games = static_cast<int>(*n);
        } else if (args[0] == "--params") {
            paramsA = std::string(args[1]);
        } else if (args[0] == "--params2") {
            paramsB = std::string(args[1]);
            secondEngineOptions = true;
        } else if (args[0] == "--opponent") {
            opponent = std::string(args[1]);
            if (opponent.empty()) return usage("--opponent takes the command that starts the other engine");
        } else {
            return usage("unknown match option");
        }
        args.erase(args.begin(), args.begin() + 2);
    }
    if (options.level < 0 && options.depth == 0 && options.moveTimeMs == 0) options.depth = 6;
    if (!secondOwn) options2 = options;
    if (!opponent.empty()) {
        if (secondEngineOptions)
            return usage("--params2 and --material2 are for our own second engine, not --opponent");
        // The protocol knows depths and move times, not our levels.
        if (options2.level >= 0) return usage("--opponent plays at --depth or --movetime (or --depth2, --movetime2)");
    }

    // A parameter file named here that cannot be used plays no game.
    for (const std::filesystem::path& file : {paramsA, paramsB}) {
        if (file.empty()) continue;
        const auto scratch = std::make_unique<eval::EvalState>();
        if (const eval::ParameterFileStatus s = eval::loadParameters(*scratch, nullptr, file);
            s != eval::ParameterFileStatus::Ok) {
            std::fprintf(stderr, "tavolex-cli: parameter file %s: %s\n", file.string().c_str(),
                         parameterProblem(file, s).c_str());
            return ExitUsage;
        }
    }

    ClockHost host;
    auto first = std::make_unique<game::Core>();
    if (!setUpCore(*first, host, programDir, paramsA)) return 1;
    options.apply(first->engine);
    first->eval.materialOnly = materialA;
    // The same engines must play the same games whatever the machine.
    first->engine.books.booksActive = false;
    EnginePlayer firstPlayer(*first, options);

    std::unique_ptr<game::Core> second;
    std::unique_ptr<MatchPlayer> secondPlayer;
    if (opponent.empty()) {
        second = std::make_unique<game::Core>();
        if (!setUpCore(*second, host, programDir, paramsB)) return 1;
        options2.apply(second->engine);
        second->eval.materialOnly = materialB;
        second->engine.books.booksActive = false;
        secondPlayer = std::make_unique<EnginePlayer>(*second, options2);
    } else {
        auto hubPlayer = std::make_unique<HubPlayer>(levelLine(options2), options2.moveTimeMs);
        if (const std::string e = hubPlayer->start(opponent); !e.empty()) {
            std::fprintf(stderr, "tavolex-cli: %s\n", e.c_str());
            return 1;
        }
        std::printf("opponent %s\n", hubPlayer->name.empty() ? opponent.c_str() : hubPlayer->name.c_str());
        secondPlayer = std::move(hubPlayer);
    }

    // Openings: every three-ply line from the start, spread evenly.
    std::vector<std::vector<rules::Move>> lines;
    std::vector<rules::Move> line;
    setPosition(*first, rules::startingPosition(), rules::White);
    openingLines(*first, 3, lines, line);
    const int pairs = (games + 1) / 2;
    std::vector<std::vector<rules::Move>> openings;
    for (int i = 0; i < pairs; ++i)
        openings.push_back(lines[static_cast<std::size_t>(i) * lines.size() / static_cast<std::size_t>(pairs)]);

    int wins = 0, draws = 0, losses = 0, played = 0;
    std::vector<double> scores;
    for (int g = 0; g < games; ++g) {
        const std::vector<rules::Move>& opening = openings[static_cast<std::size_t>(g / 2)];
        const bool firstIsWhite = g % 2 == 0;
        const PlayedGame r = playGame(firstPlayer, *secondPlayer, opening, firstIsWhite);
        if (!r.failure.empty()) {
            std::fprintf(stderr, "tavolex-cli: game %d: %s\n", g + 1, r.failure.c_str());
            return 1;
        }
        const double s = r.score;
        scores.push_back(s);
        ++played;
        if (s == 1.0)
            ++wins;
        else if (s == 0.0)
            ++losses;
        else
            ++draws;
        std::string open;
        for (const rules::Move& m : opening) open += (open.empty() ? "" : " ") + hub::moveText(m);
        std::printf("game %3d  %-14s first plays %s  %s  (%d plies)   +%d =%d -%d\n", g + 1, open.c_str(),
                    firstIsWhite ? "White" : "Black",
                    s == 1.0   ? "1-0"
                    : s == 0.0 ? "0-1"
                               : "1/2",
                    r.plies, wins, draws, losses);
        std::fflush(stdout);
    }
    if (auto* hubPlayer = dynamic_cast<HubPlayer*>(secondPlayer.get())) hubPlayer->quit();
    // Elo from the mean score, with a 95% error bar from the games' spread.
    const double mean = (wins + 0.5 * draws) / played;
    double var = 0;
    for (double s : scores) var += (s - mean) * (s - mean);
    var /= played;
    const double se = std::sqrt(var / played);
    const auto elo = [](double p) {
        p = std::clamp(p, 1e-6, 1 - 1e-6);
        return -400.0 * std::log10(1.0 / p - 1.0);
    };
    const double lo = elo(mean - 1.96 * se), hi = elo(mean + 1.96 * se);
    std::printf("games %d: wins %d, draws %d, losses %d (score %.1f%%)\n", played, wins, draws, losses, 100 * mean);
    std::printf("elo %+.0f +/- %.0f\n", elo(mean), (hi - lo) / 2);
    return 0;
}

}  // namespace

int cmdAnalyse(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    return analyse(std::move(args), programDir);
}
int cmdBench(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    return bench(std::move(args), programDir);
}
int cmdMatch(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    return match(std::move(args), programDir);
}

}  // namespace cli
