// The engine behind the command line: analysis of one position, the
// benchmark whose node count is the search's signature, the hub protocol,
// and engine-against-engine matches.

#include "cli/engine_commands.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/search.h"
#include "engine/worker.h"
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

constexpr int ExitUsage = 2;

int usage(const char* what) {
    std::fprintf(stderr, "tavolex-cli: %s (tavolex-cli help shows the commands)\n", what);
    return ExitUsage;
}

std::optional<long long> parseNumber(std::string_view text, long long low, long long high) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return std::nullopt;
    return v;
}

// Seconds with an optional fraction ("0.25"), as milliseconds.
std::optional<long long> parseSeconds(std::string_view text) {
    const std::size_t dot = text.find('.');
    const auto whole = parseNumber(text.substr(0, dot), 0, 100000);
    if (!whole) return std::nullopt;
    long long ms = *whole * 1000;
    if (dot != std::string_view::npos) {
        std::string_view frac = text.substr(dot + 1);
        if (frac.empty() || frac.size() > 3) return std::nullopt;
        const auto f = parseNumber(frac, 0, 999);
        if (!f) return std::nullopt;
        long long scale = frac.size() == 1 ? 100 : frac.size() == 2 ? 10 : 1;
        ms += *f * scale;
    }
    if (ms <= 0) return std::nullopt;
    return ms;
}

// A host on the real clock. What the search shows goes to `onThinking`.
class ClockHost : public game::Host {
public:
    std::int64_t readClock() override { return readMilliseconds() / 1000; }
    std::int64_t readMilliseconds() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
    }
    void showError(std::string_view text) override {
        std::fprintf(stderr, "Erreur: %.*s\n", static_cast<int>(text.size()), text.data());
    }
    void showThinking(const engine::SearchStats& st) override {
        if (onThinking) onThinking(st);
    }
    std::function<void(const engine::SearchStats&)> onThinking;

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// A core ready to search: parameters, keys, tables. `params` empty means
// Parametres/defaut.par of the program folder.
bool setUpCore(game::Core& core, game::Host& host, const std::filesystem::path& programDir,
               const std::filesystem::path& params) {
    core.host = &host;
    core.programDir = programDir;
    if (params.empty()) {
        eval::loadDefaultParameters(core);
    } else if (eval::loadParameters(core.eval, &host, params) != eval::ParameterFileStatus::Ok) {
        return false;
    }
    if (!engine::initialiseSearch(core)) {
        std::fprintf(stderr, "Erreur allocation Hash tables\n");
        return false;
    }
    return true;
}

void setPosition(game::Core& core, const rules::Board& board, rules::Side side) {
    game::installPosition(core, board, side);
    core.game.sideToMove = side;
    core.rules.board = board;
    core.rules.gamePosition = board;
}


// Runs the search for the side to move; the move to play, if any.
std::optional<rules::Move> think(game::Core& core) {
    const rules::Side side = core.game.sideToMove;
    core.rules.board = core.rules.gamePosition;
    const engine::RootAnswer r = engine::searchRoot(core, side);
    const rules::MoveList& root = core.rules.rootList();
    if (!r.hasMove() || r.index >= root.size()) return std::nullopt;
    return root[r.index];
}

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
    if (args.size() > 1) return usage("bench takes at most a depth");
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
    std::printf("nodes/s %lld\n", static_cast<long long>(totalMs > 0 ? totalNodes * 1000 / totalMs : 0));
    // On a shared machine the processor time gives the steadier rate.
    std::printf("nodes/s (processor time) %lld\n",
                static_cast<long long>(totalCpu > 0 ? static_cast<double>(totalNodes) / totalCpu : 0));
    return 0;
}

// ---------------------------------------------------------------- hub

// Standard input read by hand, so the search can look for "stop" without
// waiting: lines are split out of what arrives.
class LineReader {
public:
    // A whole line, waiting for it when `wait`; nothing at the end of input
    // (or, without waiting, when no whole line has arrived).
    // The next line; with `waitMs` 0 only one already typed, with -1 as long
    // as it takes.
    std::optional<std::string> next(int waitMs) {
        for (;;) {
            if (!m_lines.empty()) {
                std::string l = std::move(m_lines.front());
                m_lines.pop_front();
                return l;
            }
            if (m_eof) {
                if (!m_partial.empty()) {
                    std::string l = std::move(m_partial);
                    m_partial.clear();
                    return l;
                }
                return std::nullopt;
            }
            if (waitMs >= 0) {
                pollfd p{0, POLLIN, 0};
                if (::poll(&p, 1, waitMs) <= 0) return std::nullopt;
            }
            fill();
        }
    }
    void pushFront(std::string line) { m_lines.push_front(std::move(line)); }
    bool ended() const { return m_eof && m_lines.empty() && m_partial.empty(); }

private:
    void fill() {
        char buffer[4096];
        const ssize_t n = ::read(0, buffer, sizeof buffer);
        if (n <= 0) {
            m_eof = true;
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n') {
                if (!m_partial.empty() && m_partial.back() == '\r') m_partial.pop_back();
                m_lines.push_back(std::move(m_partial));
                m_partial.clear();
            } else {
                m_partial += buffer[i];
            }
        }
    }
    std::deque<std::string> m_lines;
    std::string m_partial;
    bool m_eof = false;
};

// "name=value" pairs after the command word; values may be quoted.
struct HubLine {
    std::string command;
    std::vector<std::pair<std::string, std::string>> pairs;
    bool ok = true;

    const std::string* find(std::string_view key) const {
        for (const auto& [k, v] : pairs)
            if (k == key) return &v;
        return nullptr;
    }
};

HubLine parseHubLine(const std::string& text) {
    HubLine h;
    std::size_t i = 0;
    const auto skip = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    skip();
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') h.command += text[i++];
    for (;;) {
        skip();
        if (i >= text.size()) break;
        std::string key, value;
        while (i < text.size() && text[i] != '=' && text[i] != ' ' && text[i] != '\t') key += text[i++];
        if (i < text.size() && text[i] == '=') {
            ++i;
            if (i < text.size() && text[i] == '"') {
                ++i;
                while (i < text.size() && text[i] != '"') value += text[i++];
                if (i >= text.size()) {
                    h.ok = false;
                    break;
                }
                ++i;
            } else {
                while (i < text.size() && text[i] != ' ' && text[i] != '\t') value += text[i++];
            }
        }
        if (key.empty()) {
            h.ok = false;
            break;
        }
        h.pairs.emplace_back(std::move(key), std::move(value));
    }
    return h;
}

// "22-18"; a capture "26x17x22": from, to, then the captured squares.
std::string hubMoveText(const rules::Move& m) {
    std::string s = std::to_string(m.from);
    if (m.ncapt == 0) return s + "-" + std::to_string(m.to);
    s += "x" + std::to_string(m.to);
    for (int i = 0; i < m.ncapt; ++i) s += "x" + std::to_string(m.captured[i]);
    return s;
}

// The legal move the text names, or nothing. The captured squares may come
// in any order; a capture named by from and to alone must be unambiguous.
std::optional<rules::Move> parseHubMove(game::Core& core, std::string_view text) {
    const bool capture = text.find('x') != std::string_view::npos;
    if (capture && text.find('-') != std::string_view::npos) return std::nullopt;
    std::vector<int> squares;
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = text.find(capture ? 'x' : '-', start);
        const auto n = parseNumber(text.substr(start, sep == std::string_view::npos ? sep : sep - start), 1, 32);
        if (!n) return std::nullopt;
        squares.push_back(static_cast<int>(*n));
        if (sep == std::string_view::npos) break;
        start = sep + 1;
    }
    if (squares.size() < 2 || (!capture && squares.size() != 2)) return std::nullopt;
    core.rules.board = core.rules.gamePosition;
    const int n = rules::generateRootMoves(core.rules, core.game.sideToMove);
    std::optional<rules::Move> found;
    int matches = 0;
    for (int i = 0; i < n; ++i) {
        const rules::Move& m = core.rules.rootList()[i];
        if (m.from != squares[0] || m.to != squares[1] || (m.ncapt > 0) != capture) continue;
        if (squares.size() > 2) {
            if (static_cast<int>(squares.size()) - 2 != m.ncapt) continue;
            std::vector<int> a(squares.begin() + 2, squares.end());
            std::vector<int> b(m.captured.begin(), m.captured.begin() + m.ncapt);
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            if (a != b) continue;
        }
        if (!found) found = m;
        ++matches;
    }
    // Different orders of taking the same pieces land the same position.
    if (matches > 1 && squares.size() == 2) {
        for (int i = 0; i < n; ++i) {
            rules::Board a = core.rules.gamePosition, b = core.rules.gamePosition;
            const rules::Move& m = core.rules.rootList()[i];
            if (m.from != found->from || m.to != found->to) continue;
            rules::applyMove(a, *found);
            rules::applyMove(b, m);
            if (a != b) return std::nullopt;
        }
    }
    return found;
}

// "W" or "B", then 32 characters for squares 1..32: w b W B e.
std::optional<rules::Position> parseHubPosition(std::string_view text) {
    if (text.size() != 33 || (text[0] != 'W' && text[0] != 'B')) return std::nullopt;
    rules::Position p;
    p.side = text[0] == 'W' ? rules::White : rules::Black;
    p.board[0] = rules::Sentinel;
    for (int s = 1; s <= 32; ++s) {
        switch (text[static_cast<std::size_t>(s)]) {
            case 'w': p.board[s] = rules::WhiteMan; break;
            case 'W': p.board[s] = rules::WhiteKing; break;
            case 'b': p.board[s] = rules::BlackMan; break;
            case 'B': p.board[s] = rules::BlackKing; break;
            case 'e': p.board[s] = rules::Empty; break;
            default: return std::nullopt;
        }
    }
    return p;
}

int hub(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    if (!args.empty()) return usage("hub takes no arguments");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ClockHost host;
    auto core = std::make_unique<game::Core>();
    if (!setUpCore(*core, host, programDir, {})) return 1;
    setPosition(*core, rules::startingPosition(), rules::White);
    // Until a level arrives: no limit but "stop".
    core->engine.limits = engine::SearchLimits{};
    LineReader in;
    bool quit = false;
    const auto say = [](const std::string& line) {
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
    const auto error = [&say](const std::string& what) { say("error " + what); };

    // The engine thinks on its own thread while the lines go on arriving:
    // "stop" ends the search, "quit" (or the end of the input) everything;
    // other lines wait for the search to finish.
    engine::EngineWorker worker;
    std::vector<std::string> held;
    std::string lastInfo;
    std::int64_t searchStart = 0;
    const auto showInfo = [&](const engine::SearchStats& st) {
        std::string pv;
        for (int i = 0; i < st.pvLength; ++i) pv += (i ? " " : "") + hubMoveText(st.pv[static_cast<std::size_t>(i)]);
        char head[160];
        std::snprintf(head, sizeof head, "info depth=%d score=%d nodes=%lld time=%.2f", st.depth, st.score / 2,
                      static_cast<long long>(st.nodes), static_cast<double>(host.readMilliseconds() - searchStart) / 1000.0);
        std::string line = std::string(head) + " pv=\"" + pv + "\"";
        const std::string key = std::to_string(st.depth) + "/" + std::to_string(st.score) + "/" + pv;
        if (key == lastInfo) return;
        lastInfo = key;
        say(line);
    };

    while (!quit) {
        std::optional<std::string> line;
        if (!held.empty()) {
            line = held.front();
            held.erase(held.begin());
        } else {
            line = in.next(-1);
        }
        if (!line) break;
        const HubLine h = parseHubLine(*line);
        if (h.command.empty()) continue;
        if (!h.ok) {
            error("malformed line: " + *line);
            continue;
        }
        if (h.command == "hub") {
            say("id name=Tavolex version=0.1.0");
            say("param name=threads value=" + std::to_string(core->engine.threads) +
                " type=int min=1 max=" + std::to_string(engine::MaxSearchThreads));
            say("wait");
        } else if (h.command == "set-param") {
            const std::string* name = h.find("name");
            const std::string* value = h.find("value");
            if (!name || !value) {
                error("malformed set-param: " + *line);
                continue;
            }
            if (*name != "threads") {
                error("unknown parameter: " + *name);
                continue;
            }
            const auto n = parseNumber(*value, 1, engine::MaxSearchThreads);
            if (!n) {
                error("threads takes a number from 1 to " + std::to_string(engine::MaxSearchThreads) + ": " + *line);
                continue;
            }
            core->engine.threads = static_cast<int>(*n);
        } else if (h.command == "init") {
            say("ready");
        } else if (h.command == "quit") {
            quit = true;
        } else if (h.command == "stop") {
            // Nothing is running between searches.
        } else if (h.command == "new-game") {
            engine::clearTable(core->engine.tables);
            core->engine.lastScore = 0;
        } else if (h.command == "pos") {
            const std::string* p = h.find("pos");
            const std::optional<rules::Position> pos = p ? parseHubPosition(*p) : std::nullopt;
            if (!pos) {
                error("malformed position: " + *line);
                continue;
            }
            setPosition(*core, pos->board, pos->side);
            if (const std::string* moves = h.find("moves")) {
                std::size_t start = 0;
                bool bad = false;
                while (start <= moves->size()) {
                    std::size_t end = moves->find(' ', start);
                    if (end == std::string::npos) end = moves->size();
                    const std::string_view word = std::string_view(*moves).substr(start, end - start);
                    if (!word.empty()) {
                        const std::optional<rules::Move> m = parseHubMove(*core, word);
                        if (!m) {
                            error("illegal move: " + std::string(word));
                            bad = true;
                            break;
                        }
                        game::playMove(*core, *m);
                    }
                    start = end + 1;
                }
                if (bad) setPosition(*core, pos->board, pos->side);
            }
        } else if (h.command == "level") {
            engine::SearchLimits limits;
            bool ok = !h.pairs.empty();
            for (const auto& [k, v] : h.pairs) {
                if (k == "depth") {
                    const auto n = parseNumber(v, 1, engine::MaxIterations);
                    ok = ok && n;
                    if (n) limits.depth = static_cast<int>(*n);
                } else if (k == "move-time") {
                    const auto ms = parseSeconds(v);
                    ok = ok && ms;
                    if (ms) {
                        const int depthCap = limits.depth;
                        limits = engine::moveTimeLimits(*ms);
                        limits.depth = depthCap;
                    }
                } else if (k == "nodes") {
                    const auto n = parseNumber(v, 1, 1000000000000LL);
                    ok = ok && n;
                    if (n) limits.nodes = *n;
                } else if (k == "infinite") {
                    limits = engine::SearchLimits{};
                } else {
                    ok = false;
                }
            }
            if (!ok) {
                error("malformed level: " + *line);
                continue;
            }
            core->engine.limits = limits;
        } else if (h.command == "go") {
            if (h.pairs.size() != 1 || h.pairs[0].first != "think") {
                error("malformed go: " + *line);
                continue;
            }
            lastInfo.clear();
            searchStart = host.readMilliseconds();
            // What the worker reports, handed over to this thread.
            struct Reports {
                std::mutex mutex;
                std::deque<engine::SearchStats> infos;
                std::optional<engine::SearchOutput> done;
            };
            auto reports = std::make_shared<Reports>();
            engine::SearchCallbacks callbacks;
            callbacks.thinking = [reports](const engine::SearchStats& st) {
                const std::lock_guard lock(reports->mutex);
                reports->infos.push_back(st);
            };
            callbacks.done = [reports](const engine::SearchOutput& out) {
                const std::lock_guard lock(reports->mutex);
                reports->done = out;
            };
            worker.think(engine::searchInputFor(*core, core->engine.limits), std::move(callbacks));
            std::optional<engine::SearchOutput> answer;
            while (!answer) {
                {
                    const std::lock_guard lock(reports->mutex);
                    while (!reports->infos.empty()) {
                        showInfo(reports->infos.front());
                        reports->infos.pop_front();
                    }
                    answer = reports->done;
                }
                if (answer) break;
                // Lines are taken in order: a "stop" or "quit" behind a line
                // that waits for the search waits with it.
                if (const std::optional<std::string> typed = in.next(20)) {
                    const HubLine t = parseHubLine(*typed);
                    if (held.empty() && t.command == "stop") {
                        worker.stop();
                    } else if (held.empty() && t.command == "quit") {
                        worker.stop();
                        quit = true;
                    } else {
                        held.push_back(*typed);
                    }
                } else if (in.ended() && held.empty()) {
                    worker.stop();
                    quit = true;
                }
            }
            core->engine.random = answer->random;
            core->engine.lastScore = answer->score;
            if (answer->hasMove())
                say("done move=" + hubMoveText(answer->move));
            else
                say("done");
        } else {
            error("unknown command: " + h.command);
        }
    }
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

// 1 the first engine won, 0.5 drawn, 0 lost.
double playGame(game::Core& first, game::Core& second, const SearchOptions& firstOptions,
                const SearchOptions& secondOptions, const std::vector<rules::Move>& opening, bool firstIsWhite,
                int& plies) {
    for (game::Core* c : {&first, &second}) {
        setPosition(*c, rules::startingPosition(), rules::White);
        c->engine.lastScore = 0;
        engine::clearTable(c->engine.tables);
        for (const rules::Move& m : opening) game::playMove(*c, m);
    }
    // Draw rules: sixty plies without a capture, the same position a third
    // time, or the record's end.
    std::vector<rules::Board> seen;
    int quiet = 0;
    for (;;) {
        const rules::Side side = first.game.sideToMove;
        const bool firstMoves = (side == rules::White) == firstIsWhite;
        game::Core& mover = firstMoves ? first : second;
        mover.engine.limits = (firstMoves ? firstOptions : secondOptions)
                                  .limits(mover.engine.level, mover.game.record.plyCounter);
        const std::optional<rules::Move> m = think(mover);
        plies = first.game.record.plyCounter;
        if (!m) return &mover == &first ? 0.0 : 1.0;
        game::playMove(first, *m);
        game::playMove(second, *m);
        quiet = m->ncapt ? 0 : quiet + 1;
        if (quiet >= 60 || first.game.record.plyCounter >= game::MaxRecordedPly) return 0.5;
        seen.push_back(first.rules.gamePosition);
        if (std::count(seen.begin(), seen.end(), first.rules.gamePosition) >= 3) return 0.5;
    }
}

int match(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    SearchOptions options, options2;
    bool secondOwn = false;
    int games = 100;
    std::filesystem::path paramsA, paramsB;
    bool materialA = false, materialB = false;
    while (!args.empty()) {
        bool taken = false;
        if (const char* e = takeSearchOption(args, options, taken)) return usage(e);
        if (taken) continue;
        if (args[0] == "--material" || args[0] == "--material2") {
            (args[0] == "--material" ? materialA : materialB) = true;
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
        } else {
            return usage("unknown match option");
        }
        args.erase(args.begin(), args.begin() + 2);
    }
    if (options.level < 0 && options.depth == 0 && options.moveTimeMs == 0) options.depth = 6;
    if (!secondOwn) options2 = options;

    ClockHost host;
    auto first = std::make_unique<game::Core>();
    auto second = std::make_unique<game::Core>();
    if (!setUpCore(*first, host, programDir, paramsA) || !setUpCore(*second, host, programDir, paramsB)) return 1;
    options.apply(first->engine);
    options2.apply(second->engine);
    first->eval.materialOnly = materialA;
    second->eval.materialOnly = materialB;
    // The same engines must play the same games whatever the machine.
    first->engine.books.booksActive = second->engine.books.booksActive = false;

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
        int plies = 0;
        const double s = playGame(*first, *second, options, options2, opening, firstIsWhite, plies);
        scores.push_back(s);
        ++played;
        if (s == 1.0) ++wins;
        else if (s == 0.0) ++losses;
        else ++draws;
        std::string open;
        for (const rules::Move& m : opening) open += (open.empty() ? "" : " ") + hubMoveText(m);
        std::printf("game %3d  %-14s first plays %s  %s  (%d plies)   +%d =%d -%d\n", g + 1, open.c_str(),
                    firstIsWhite ? "White" : "Black", s == 1.0 ? "1-0" : s == 0.0 ? "0-1" : "1/2", plies, wins, draws,
                    losses);
        std::fflush(stdout);
    }
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
int cmdHub(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    return hub(std::move(args), programDir);
}
int cmdMatch(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    return match(std::move(args), programDir);
}

}  // namespace cli
