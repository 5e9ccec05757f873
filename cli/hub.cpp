// tavolex-cli hub: the engine behind the hub protocol on standard input and
// output (docs/protocol.md). The engine's worker searches on its own thread
// while this one goes on reading input, so that "stop", "ponder-hit",
// "ping", "quit" and the end of input are answered during a search.

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/engine_commands.h"
#include "cli/engine_core.h"
#include "cli/hub_protocol.h"
#include "engine/search.h"
#include "engine/worker.h"
#include "game/play.h"

namespace cli {

namespace {

// A pipe the search's thread writes a byte into when it ends, so that the
// main thread, waiting for input, wakes up to go on with what it held back.
class WakePipe {
public:
    WakePipe() {
        if (::pipe(m_fds) != 0) m_fds[0] = m_fds[1] = -1;
    }
    ~WakePipe() {
        for (int fd : m_fds)
            if (fd >= 0) ::close(fd);
    }
    int readEnd() const { return m_fds[0]; }
    void wake() {
        const char byte = 1;
        if (m_fds[1] >= 0) [[maybe_unused]]
            const ssize_t n = ::write(m_fds[1], &byte, 1);
    }
    void drain() {
        char buffer[64];
        [[maybe_unused]] const ssize_t n = ::read(m_fds[0], buffer, sizeof buffer);
    }
    void waitAndDrain() {
        pollfd p{m_fds[0], POLLIN, 0};
        while (::poll(&p, 1, -1) < 0 && errno == EINTR) {
        }
        drain();
    }

private:
    int m_fds[2] = {-1, -1};
};

// Whole lines of standard input, or a wake-up from the pipe while waiting.
class LineReader {
public:
    enum class Event { Line, Woken, End, TimedOut };

    // Waits at most `timeoutMs` (-1: as long as it takes).
    Event next(WakePipe& wake, std::string& line, int timeoutMs) {
        for (;;) {
            if (!m_lines.empty()) {
                line = std::move(m_lines.front());
                m_lines.pop_front();
                return Event::Line;
            }
            if (m_eof) {
                if (m_partial.empty()) return Event::End;
                line = std::move(m_partial);
                m_partial.clear();
                return Event::Line;
            }
            pollfd fds[2] = {{0, POLLIN, 0}, {wake.readEnd(), POLLIN, 0}};
            const int ready = ::poll(fds, wake.readEnd() >= 0 ? 2 : 1, timeoutMs);
            if (ready < 0) {
                if (errno == EINTR) continue;
                m_eof = true;
                continue;
            }
            if (ready == 0) return Event::TimedOut;
            if (fds[1].revents & POLLIN) {
                wake.drain();
                return Event::Woken;
            }
            if (fds[0].revents) fill();
        }
    }

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

// Lines to standard output, whole and flushed, from either thread.
class Output {
public:
    void say(const std::string& line) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    void error(const std::string& message) { say("error message=" + hub::value(message)); }

private:
    std::mutex m_mutex;
};

enum class Mode { Think, Ponder, Analyze };

// What "level" asked for: fixed limits, and the engine's clock when the
// interface keeps one.
struct Level {
    int depth = 0;
    std::int64_t nodes = 0;
    std::int64_t moveTimeMs = 0;
    std::optional<hub::Clock> clock;
};

// The limits of one search of `mode`, and the time it may take once the
// opponent's move is the one it pondered on (0: no limit).
struct Plan {
    engine::SearchLimits limits;
    bool infinite = false;
    std::int64_t afterPonderHitMs = 0;
};

Plan planSearch(const Level& level, Mode mode) {
    Plan plan;
    if (mode == Mode::Analyze) {
        plan.infinite = true;
        return plan;
    }
    std::int64_t ms = level.moveTimeMs;
    if (level.clock) {
        const std::int64_t budget = hub::moveBudgetMs(*level.clock);
        ms = ms > 0 ? std::min(ms, budget) : budget;
    }
    // While pondering the engine's clock does not run: the time counts from
    // the ponder-hit.
    if (mode == Mode::Ponder) {
        plan.afterPonderHitMs = ms;
        ms = 0;
    }
    if (ms > 0) plan.limits = engine::moveTimeLimits(ms);
    plan.limits.depth = level.depth;
    plan.limits.nodes = level.nodes;
    return plan;
}

// Reads "level" into `level`; an error text for a malformed value, and then
// nothing changes. Pairs the protocol does not know are passed over.
std::string readLevel(const hub::Line& line, Level& level) {
    Level next;
    hub::Clock clock;
    bool timed = false;
    for (const hub::Line::Arg& a : line.args) {
        const std::string& v = a.value;
        if (a.name == "depth") {
            const auto n = parseNumber(v, 1, engine::MaxIterations);
            if (!n) return "level: depth takes a number from 1 to 30";
            next.depth = static_cast<int>(*n);
        } else if (a.name == "move-time") {
            const auto ms = parseSeconds(v);
            if (!ms) return "level: move-time takes seconds above 0, such as 2 or 0.5";
            next.moveTimeMs = *ms;
        } else if (a.name == "nodes") {
            const auto n = parseNumber(v, 1, 1000000000000LL);
            if (!n) return "level: nodes takes a number of nodes";
            next.nodes = *n;
        } else if (a.name == "time" || a.name == "inc") {
            const auto sec = hub::parseSeconds(v);
            if (!sec) return "level: " + a.name + " takes seconds, such as 60 or 0.5";
            (a.name == "time" ? clock.time : clock.inc) = *sec;
            timed = timed || a.name == "time";
        } else if (a.name == "moves") {
            const auto n = parseNumber(v, 0, 10000);
            if (!n) return "level: moves takes a number of moves";
            clock.moves = static_cast<int>(*n);
        } else if (a.name == "infinite") {
            next = Level{};
            clock = hub::Clock{};
            timed = false;
        }
    }
    // Moves and increment mean nothing without the time left.
    if (timed) next.clock = clock;
    level = next;
    return {};
}

// The lines a running search answers.
bool answeredDuringSearch(const std::string& text) {
    const std::string command = hub::parseLine(text).command;
    return command == "ping" || command == "stop" || command == "ponder-hit" || command == "quit";
}

class HubSession {
public:
    explicit HubSession(const std::filesystem::path& programDir) : m_programDir(programDir) {}

    int run() {
        m_core = std::make_unique<game::Core>();
        if (!setUpCore(*m_core, m_host, m_programDir, {})) return 1;
        setPosition(*m_core, rules::startingPosition(), rules::White);
        m_worker = std::make_unique<engine::EngineWorker>();

        // Lines that came during a search other than those a search
        // answers: they wait for its end, in order.
        std::deque<std::string> held;
        bool inputEnded = false;
        std::string text;
        for (;;) {
            // A held line goes on when no search runs, or when it is one a
            // search answers: it comes next in order.
            const bool fromHeld = !held.empty() && (!searching() || answeredDuringSearch(held.front()));
            if (fromHeld) {
                text = std::move(held.front());
                held.pop_front();
            } else if (inputEnded) {
                // The end of input comes after the lines before it.
                if (held.empty()) break;
                waitForSearch();
                continue;
            } else {
                const LineReader::Event e = m_in.next(m_wake, text, untilDeadline());
                if (e == LineReader::Event::TimedOut || e == LineReader::Event::Woken) {
                    checkDeadline();
                    continue;
                }
                if (e == LineReader::Event::End) {
                    inputEnded = true;
                    continue;
                }
            }
            const hub::Line line = hub::parseLine(text);
            if (line.command.empty() && line.error.empty()) continue;
            if (searching()) {
                // "ping" is answered at once. "stop", "ponder-hit" and "quit"
                // act on the running search unless lines wait before them:
                // then they belong to what those lines start.
                const std::string& c = line.command;
                const bool inTurn = fromHeld || held.empty();
                if (c == "ping") {
                    m_out.say("pong");
                } else if (inTurn && c == "ponder-hit") {
                    ponderHit();
                } else if (inTurn && c == "stop") {
                    endSearch();
                } else if (inTurn && c == "quit") {
                    endSearch();
                    return 0;
                } else {
                    held.push_back(text);
                }
                continue;
            }
            endSearch();
            if (!line.error.empty()) {
                m_out.error("malformed line (" + line.error + "): " + text);
                continue;
            }
            if (line.command == "quit") return 0;
            handle(line, text);
        }
        // The end of input is the interface gone: as "quit", at once, and
        // without a word more. The worker's end stops its search.
        m_quitting = true;
        m_worker.reset();
        return 0;
    }

private:
    bool searching() const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_running;
    }

    // Stops the search, if one runs, and waits for its answer.
    void endSearch() {
        if (searching()) {
            m_stopping = true;
            m_worker->stop();
            waitForSearch();
        }
        takeAnswer();
    }

    void waitForSearch() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_answered.wait(lock, [this] { return !m_running; });
    }

    // The answer's effect on the game kept here: the value the next search
    // starts its window from, and the book's generator.
    void takeAnswer() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_answer) return;
        m_core->engine.lastScore = m_answer->score;
        m_core->engine.random = m_answer->random;
        m_answer.reset();
    }

    // Milliseconds to wait for input before the clock of a ponder-hit runs
    // out; -1 without one.
    int untilDeadline() const {
        if (m_deadlineMs == 0) return -1;
        return static_cast<int>(std::max<std::int64_t>(0, m_deadlineMs - m_host.readMilliseconds()));
    }
    void checkDeadline() {
        if (m_deadlineMs == 0 || m_host.readMilliseconds() < m_deadlineMs) return;
        m_deadlineMs = 0;
        if (!searching()) return;
        m_stopping = true;
        m_worker->stop();
    }

    void ponderHit() {
        if (m_mode != Mode::Ponder) return;
        m_mode = Mode::Think;
        if (m_afterPonderHitMs > 0) m_deadlineMs = m_host.readMilliseconds() + m_afterPonderHitMs;
    }

    void handle(const hub::Line& line, const std::string& text) {
        const std::string& c = line.command;
        if (c == "hub") {
            m_out.say("id name=Tavolex version=" + hub::value(TAVOLEX_VERSION) + " author=" + hub::value("Tavolex") +
                      " country=" + hub::value("Brazil"));
            m_out.say("param name=threads value=" + std::to_string(m_core->engine.threads) +
                      " type=int min=1 max=" + std::to_string(engine::MaxSearchThreads));
            m_out.say("wait");
        } else if (c == "init") {
            m_out.say("ready");
        } else if (c == "ping") {
            m_out.say("pong");
        } else if (c == "set-param") {
            setParameter(line, text);
        } else if (c == "stop" || c == "ponder-hit") {
            // Nothing is running between searches.
        } else if (c == "new-game") {
            // A worker of its own for every game: its tables start empty.
            m_worker = std::make_unique<engine::EngineWorker>();
            m_core->engine.lastScore = 0;
        } else if (c == "pos") {
            position(line, text);
        } else if (c == "level") {
            if (const std::string e = readLevel(line, m_level); !e.empty()) m_out.error(e + ": " + text);
        } else if (c == "go") {
            go(line, text);
        } else {
            m_out.error("unknown command: " + c);
        }
    }

    // The one parameter: the number of search threads sharing the table.
    void setParameter(const hub::Line& line, const std::string& text) {
        const hub::Line::Arg* name = line.find("name");
        const hub::Line::Arg* value = line.find("value");
        if (!name || !value || !value->hasValue) {
            m_out.error("malformed set-param: " + text);
            return;
        }
        // Interfaces send the parameters they know for every engine; one
        // this engine does not declare is passed over.
        if (name->value != "threads") return;
        const auto n = parseNumber(value->value, 1, engine::MaxSearchThreads);
        if (!n) {
            m_out.error("threads takes a number from 1 to " + std::to_string(engine::MaxSearchThreads) + ": " + text);
            return;
        }
        m_core->engine.threads = static_cast<int>(*n);
    }

    // The position and the moves played from it; a malformed position or an
    // illegal move changes nothing.
    void position(const hub::Line& line, const std::string& text) {
        const hub::Line::Arg* p = line.find("pos");
        const std::optional<rules::Position> pos = p ? hub::parsePosition(p->value) : std::nullopt;
        if (!pos) {
            m_out.error("malformed position: " + text);
            return;
        }
        std::vector<rules::Move> moves;
        rules::RulesState r;
        r.board = pos->board;
        rules::Side side = pos->side;
        if (const hub::Line::Arg* list = line.find("moves")) {
            std::size_t start = 0;
            const std::string& s = list->value;
            while (start <= s.size()) {
                std::size_t end = s.find(' ', start);
                if (end == std::string::npos) end = s.size();
                const std::string_view word = std::string_view(s).substr(start, end - start);
                start = end + 1;
                if (word.empty()) continue;
                const std::optional<rules::Move> m = hub::findMove(r, side, word);
                if (!m) {
                    m_out.error("illegal move: " + std::string(word));
                    return;
                }
                rules::applyMove(r.board, *m);
                side = rules::opposite(side);
                moves.push_back(*m);
            }
        }
        setPosition(*m_core, pos->board, pos->side);
        for (const rules::Move& m : moves) game::playMove(*m_core, m);
    }

    void go(const hub::Line& line, const std::string& text) {
        std::optional<Mode> mode;
        for (const hub::Line::Arg& a : line.args) {
            const std::optional<Mode> m = a.name == "think"     ? std::optional(Mode::Think)
                                          : a.name == "ponder"  ? std::optional(Mode::Ponder)
                                          : a.name == "analyze" ? std::optional(Mode::Analyze)
                                                                : std::nullopt;
            if (!m) continue;
            if (a.hasValue || mode) {
                m_out.error("go takes one of think, ponder and analyze, without a value: " + text);
                return;
            }
            mode = m;
        }
        if (!mode) {
            m_out.error("go needs think, ponder or analyze: " + text);
            return;
        }
        const Plan plan = planSearch(m_level, *mode);
        m_mode = *mode;
        m_afterPonderHitMs = plan.afterPonderHitMs;
        m_deadlineMs = 0;
        m_depthLimit = plan.limits.depth;
        m_lastInfo.clear();
        m_lastPv = {};
        m_stopping = false;
        m_searchStart = m_host.readMilliseconds();
        engine::SearchInput input = engine::searchInputFor(*m_core, plan.limits);
        input.infinite = plan.infinite;
        engine::SearchCallbacks callbacks;
        callbacks.thinking = [this](const engine::SearchStats& st) { info(st); };
        callbacks.done = [this](const engine::SearchOutput& out) { done(out); };
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_running = true;
        }
        m_worker->think(std::move(input), std::move(callbacks));
    }

    // On the worker's thread: the thinking as it changes.
    void info(const engine::SearchStats& st) {
        // An iteration cut short by "stop" or the clock has nothing new to show.
        if (st.pvLength == 0 || m_stopping) return;
        m_lastPv = {st.pv[0], st.pvLength > 1 ? st.pv[1] : rules::Move{}};
        std::string pv;
        for (int i = 0; i < st.pvLength; ++i) pv += (i ? " " : "") + hub::moveText(st.pv[static_cast<std::size_t>(i)]);
        // The thinking list shows the next iteration's number while the
        // last root move is searched; a depth limit is never passed.
        const int depth = m_depthLimit > 0 ? std::min(st.depth, m_depthLimit) : st.depth;
        const std::string key = std::to_string(depth) + "/" + std::to_string(st.score) + "/" + pv;
        if (key == m_lastInfo) return;
        m_lastInfo = key;
        char head[96];
        std::snprintf(head, sizeof head, "info depth=%d ", depth);
        char tail[96];
        std::snprintf(tail, sizeof tail, " nodes=%lld time=%.3f", static_cast<long long>(st.nodes),
                      static_cast<double>(m_host.readMilliseconds() - m_searchStart) / 1000.0);
        m_out.say(head + hub::scoreText(st.score) + tail + " pv=" + hub::value(pv));
    }

    // On the worker's thread: the move and the answer it expects, once the
    // search counts as over, so that an interface answering the move at
    // once finds no search running.
    void done(const engine::SearchOutput& out) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_answer = out;
            m_running = false;
        }
        if (!m_quitting) {
            std::string line = "done";
            if (out.hasMove()) {
                line += " move=" + hub::moveText(out.move);
                // The answer expected: the best line's second move, or, when
                // a stop cut the line short, that of the last line shown.
                if (out.bestLine.size() > 1)
                    line += " ponder=" + hub::moveText(out.bestLine[1]);
                else if (m_lastPv[0].sameAs(out.move) && m_lastPv[1].from != 0)
                    line += " ponder=" + hub::moveText(m_lastPv[1]);
            }
            m_out.say(line);
        }
        m_answered.notify_all();
        m_wake.wake();
    }

    std::filesystem::path m_programDir;
    mutable ClockHost m_host;
    std::unique_ptr<game::Core> m_core;
    std::unique_ptr<engine::EngineWorker> m_worker;
    LineReader m_in;
    WakePipe m_wake;
    Output m_out;
    Level m_level;
    Mode m_mode = Mode::Think;
    std::int64_t m_afterPonderHitMs = 0;
    std::int64_t m_deadlineMs = 0;  // on m_host's clock; 0: none

    // Between this thread and the worker's.
    mutable std::mutex m_mutex;
    std::condition_variable m_answered;
    bool m_running = false;
    std::optional<engine::SearchOutput> m_answer;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_quitting{false};
    // Set before each search, then read and written by the worker's thread
    // only while it runs.
    int m_depthLimit = 0;
    std::int64_t m_searchStart = 0;
    std::string m_lastInfo;
    std::array<rules::Move, 2> m_lastPv{};
};

}  // namespace

int cmdHub(std::vector<std::string_view> args, const std::filesystem::path& programDir) {
    if (!args.empty()) return usageError("hub takes no arguments");
    HubSession session(programDir);
    return session.run();
}

}  // namespace cli
