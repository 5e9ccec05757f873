#include "engine/worker.h"

#include <chrono>

#include "game/core.h"
#include "game/host.h"

namespace engine {

SearchInput searchInputFor(const game::Core& core, SearchLimits limits) {
    SearchInput in;
    in.position = core.rules.gamePosition;
    in.position[0] = rules::Sentinel;
    in.side = core.game.sideToMove;
    in.record = core.game.record;
    in.limits = limits;
    in.lastScore = core.engine.lastScore;
    in.parameters = core.eval.params;
    in.materialOnly = core.eval.materialOnly;
    in.books = core.engine.books;
    in.learned = core.engine.tables.learned;
    // Tables that could not be read at all are not consulted: every small
    // ending would look drawn.
    if (core.engine.databases) in.endgameTables = core.engine.endgameTables;
    in.indexKeys = core.engine.tables.indexKeys;
    in.lockKeys = core.engine.tables.lockKeys;
    in.tableSizeItem = core.engine.tables.sizeItem;
    in.random = core.engine.random;
    in.threads = core.engine.threads;
    return in;
}

namespace {

// The engine's knowledge of the input, installed in the searching core.
void installKnowledge(game::Core& core, const SearchInput& in) {
    EngineState& en = core.engine;
    core.eval.params = in.parameters;
    core.eval.materialOnly = in.materialOnly;
    en.books = in.books;
    en.tables.learned = in.learned;
    en.tables.indexKeys = in.indexKeys;
    en.tables.lockKeys = in.lockKeys;
    if (in.tableSizeItem != en.tables.sizeItem) setTableSize(en.tables, in.tableSizeItem);
    if (en.endgameTables != in.endgameTables) {
        en.endgameTables = in.endgameTables;
        en.endgameProbe = in.endgameTables ? std::make_unique<TableDatabases>(*in.endgameTables) : nullptr;
        en.databases = en.endgameProbe.get();
    }
    en.random = in.random;
    en.threads = in.threads;
}

}  // namespace

SearchOutput runSearch(game::Core& searcher, const SearchInput& in) {
    EngineState& en = searcher.engine;
    installKnowledge(searcher, in);

    // The position and the game so far.
    searcher.game.record = in.record;
    searcher.game.sideToMove = in.side;
    searcher.rules.gamePosition = in.position;
    searcher.rules.gamePosition[0] = rules::Sentinel;
    searcher.rules.board = searcher.rules.gamePosition;
    en.limits = in.limits;
    en.infiniteThinking = in.infinite;
    en.gameAnalysis = in.gameAnalysis;
    en.analysisEnd = in.analysisEnd;
    en.playedMoveValue = in.playedMoveValue;
    en.lastScore = in.lastScore;
    en.statsShown = false;

    SearchOutput out;
    const std::int64_t start = searcher.host ? searcher.host->readMilliseconds() : 0;
    const RootAnswer answer = searchRoot(searcher, in.side);
    out.kind = answer.kind;
    const rules::MoveList& root = searcher.rules.rootList();
    out.rootMoves.assign(root.begin(), root.end());
    if (answer.hasMove() && answer.index >= 0 && answer.index < root.size()) {
        out.moveIndex = answer.index;
        out.move = root[answer.index];
        const rules::Move* line = bestLine(searcher);
        if (line[0].from == out.move.from && line[0].to == out.move.to)
            for (int p = 0; p < PvSize - 1 && line[p].from != 0; ++p) out.bestLine.push_back(line[p]);
    } else if (answer.hasMove()) {
        out.kind = SearchAnswer::NoMove;  // an index outside the list would be a fault of the search
    }
    out.score = en.lastScore;
    out.stats = en.lastStats;
    out.statsShown = en.statsShown;
    out.nodes = en.search.nodeCount;
    out.milliseconds = searcher.host ? searcher.host->readMilliseconds() - start : 0;
    out.random = en.random;
    out.tableSizeItem = en.tables.sizeItem;
    return out;
}

// The searching core's window on the world: the clock the limits are
// measured on, and the current request's callbacks. Used on the worker's
// thread only.
class EngineWorker::Reporter final : public game::Host {
public:
    explicit Reporter(std::function<std::int64_t()> milliseconds) : m_milliseconds(std::move(milliseconds)) {}
    std::int64_t readClock() override { return readMilliseconds() / 1000; }
    std::int64_t readMilliseconds() override { return m_milliseconds(); }
    void showThinking(const SearchStats& stats) override {
        if (callbacks && callbacks->thinking) callbacks->thinking(stats);
    }
    void clearRootMoves() override {
        if (callbacks && callbacks->rootMovesCleared) callbacks->rootMovesCleared();
    }
    void showRootMove(const RootMoveLine& line) override {
        if (callbacks && callbacks->rootMove) callbacks->rootMove(line);
    }
    const SearchCallbacks* callbacks = nullptr;

private:
    std::function<std::int64_t()> m_milliseconds;
};

EngineWorker::EngineWorker(std::function<std::int64_t()> milliseconds) : m_milliseconds(std::move(milliseconds)) {
    if (!m_milliseconds) {
        const auto origin = std::chrono::steady_clock::now();
        m_milliseconds = [origin] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - origin)
                .count();
        };
    }
    m_core = std::make_unique<game::Core>();
    m_reporter = std::make_unique<Reporter>(m_milliseconds);
    m_core->host = m_reporter.get();
    m_thread = std::thread([this] { run(); });
}

EngineWorker::~EngineWorker() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
        m_waiting.clear();
        m_core->engine.abandonSearch = true;
        m_core->engine.stopRequested = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

std::uint64_t EngineWorker::think(SearchInput input, SearchCallbacks callbacks) {
    std::uint64_t ticket;
    {
        const std::lock_guard lock(m_mutex);
        ticket = m_nextTicket++;
        // Whatever was asked before is no longer wanted.
        if (m_running != 0) {
            m_core->engine.abandonSearch = true;
            m_core->engine.stopRequested = true;
        }
        for (Request& r : m_waiting) r.superseded = true;
        m_waiting.push_back({ticket, std::move(input), std::move(callbacks)});
    }
    m_wake.notify_one();
    return ticket;
}

void EngineWorker::stop(bool abandon) {
    const std::lock_guard lock(m_mutex);
    for (Request& r : m_waiting) {
        r.stopped = true;
        r.superseded = r.superseded || abandon;
    }
    if (m_running != 0) {
        if (abandon) m_core->engine.abandonSearch = true;
        m_core->engine.stopRequested = true;
    }
}

bool EngineWorker::busy() const {
    const std::lock_guard lock(m_mutex);
    return m_running != 0 || !m_waiting.empty();
}

void EngineWorker::run() {
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || !m_waiting.empty(); });
            if (m_quit) return;
            request = std::move(m_waiting.front());
            m_waiting.pop_front();
            m_running = request.ticket;
            m_core->engine.stopRequested = request.stopped;
            m_core->engine.abandonSearch = false;
        }
        SearchOutput out;
        if (request.superseded) {
            out.kind = SearchAnswer::Abandoned;
        } else {
            m_reporter->callbacks = &request.callbacks;
            out = runSearch(*m_core, request.input);
            m_reporter->callbacks = nullptr;
        }
        out.ticket = request.ticket;
        {
            const std::lock_guard lock(m_mutex);
            m_running = 0;
            if (m_quit) return;
        }
        if (request.callbacks.done) request.callbacks.done(out);
    }
}

}  // namespace engine
