// make_books: the opening books, grown from the starting position by our own
// search. Run by hand, once, when the books are to be remade; the build only
// compiles it. The files it writes are kept in data/books.
//
//   make_books PROGRAM_DIR OUTPUT_DIR [DEPTH]
//
// PROGRAM_DIR is a built program folder (the build directory): the search
// reads its parameters, keys and endgame tables there. DEPTH is the depth of
// the search that values each move (default 8). Writes into OUTPUT_DIR:
//
//   ouvert_b.ouv   the default book for White's moves
//   ouvert_n.ouv   the default book for Black's moves
//   Solides.ovv, Solides_b.ouv, Solides_n.ouv
//                  a second, narrow set for the "Parametres" folder
//
// A book file holds one opening line per text line, ended by CR LF: moves
// from the starting position, one token a ply ("22-18", "19x28": from square,
// "-" or "x", to square), separated by single spaces. Lines are sorted
// bytewise.
//
// How a book grows. Every position met is valued move by move: each legal
// move is played and the reply position searched to DEPTH, its value negated.
// Values are the engine's, in 1/200 of a man, from the mover's side. A book
// is given a number of lines it may hold (its budget). At the book side's
// plies it keeps the best move and the few within a small margin; at the
// other side's plies it keeps the other side's best replies within a wider
// margin, so that the book answers many tries. The budget is shared out among
// the moves kept, the better ones taking the odd lines; a branch left with a
// single line follows the engine's own choices (one search a ply, a ply
// deeper than the replies) to its end. A line ends after a
// move of the book side, in a quiet position (the side to move has no capture)
// with material level, as soon as it is long enough; a line that finds no
// such end, or whose value strays beyond the swing limit, is dropped: the
// book never gives material away early and never leads into a lost game.
//
// The search is deterministic: its table is cleared before every search and
// the clock is never read, so a rerun writes the same files.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/search.h"
#include "eval/parameter_file.h"
#include "files/bytes.h"
#include "game/core.h"
#include "game/navigation.h"
#include "game/play.h"
#include "rules/board.h"
#include "rules/movegen.h"

namespace fs = std::filesystem;

namespace {

// A clock that never moves: no time limit can depend on the machine's speed.
class StillHost : public game::Host {
public:
    std::int64_t readClock() override { return 0; }
    void showError(std::string_view text) override {
        std::fprintf(stderr, "make_books: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

struct Scored {
    rules::Move move;
    int score = 0;   // from the mover's side
};

using Line = std::vector<rules::Move>;

rules::Side sideAfter(const Line& line) { return line.size() % 2 == 0 ? rules::White : rules::Black; }

// The engine, valuing every move of the positions met along the lines.
class Valuer {
public:
    Valuer(const fs::path& programDir, int depth) : m_depth(depth) {
        m_core = std::make_unique<game::Core>();
        m_core->host = &m_host;
        m_core->programDir = programDir;
        // No opening book is loaded into this core: the search alone decides.
        m_ok =
            eval::loadDefaultParameters(*m_core) == eval::ParameterFileStatus::Ok && engine::initialiseSearch(*m_core);
    }
    bool ok() const { return m_ok; }
    long searches() const { return m_searches; }

    // The board reached by `line` from the start.
    rules::Board boardAfter(const Line& line) {
        setUp(line);
        return m_core->rules.gamePosition;
    }

    // The legal moves after `line`, each named without doubt by its from and
    // to squares (a book stores nothing else), best first. Moves that share
    // their squares with another leading elsewhere are left out.
    const std::vector<Scored>& valued(const Line& line) {
        setUp(line);
        const rules::Side side = sideAfter(line);
        const Key key{m_core->rules.gamePosition, side};
        if (auto it = m_cache.find(key); it != m_cache.end()) return it->second;

        std::vector<Scored> out;
        for (const rules::Move& m : namedMoves(line)) {
            Line next = line;
            next.push_back(m);
            out.push_back({m, -searchReply(next, m_depth)});
        }
        // Equal values keep generation order, which is fixed.
        std::stable_sort(out.begin(), out.end(), [](const Scored& a, const Scored& b) { return a.score > b.score; });
        return m_cache.emplace(key, std::move(out)).first->second;
    }

    // The engine's own choice after `line`, searched one ply deeper than the
    // replies of valued() so its value compares with theirs; nothing when no
    // move is legal or the chosen one cannot be named by its squares.
    std::optional<Scored> best(const Line& line) {
        setUp(line);
        const rules::Side side = sideAfter(line);
        const Key key{m_core->rules.gamePosition, side};
        if (auto it = m_bestCache.find(key); it != m_bestCache.end()) return it->second;
        std::optional<Scored> found;
        const std::vector<rules::Move> named = namedMoves(line);
        if (named.size() == 1) {
            found = Scored{named.front(), 0};
            Line next = line;
            next.push_back(named.front());
            found->score = -searchReply(next, m_depth);
        } else if (!named.empty()) {
            setUp(line);
            const engine::RootAnswer r = search(side, m_depth + 1);
            if (r.hasMove()) {
                const rules::Move& m = m_core->rules.rootList()[r.index];
                if (std::any_of(named.begin(), named.end(), [&m](const rules::Move& n) { return n.sameAs(m); }))
                    found = Scored{m, m_core->engine.lastScore};
            }
        }
        return m_bestCache.emplace(key, found).first->second;
    }

    // The side to move after `line` must capture.
    bool mustCapture(const Line& line) {
        setUp(line);
        game::Core& c = *m_core;
        c.rules.board = c.rules.gamePosition;
        rules::generateRootMoves(c.rules, sideAfter(line));
        return c.rules.captureCount > 0;
    }

private:
    using Key = std::pair<rules::Board, rules::Side>;

    void setUp(const Line& line) {
        game::Core& c = *m_core;
        game::installPosition(c, rules::startingPosition(), rules::White);
        for (const rules::Move& m : line) game::playMove(c, m);
    }

    std::vector<rules::Move> namedMoves(const Line& line) {
        setUp(line);
        game::Core& c = *m_core;
        c.rules.board = c.rules.gamePosition;
        const int n = rules::generateRootMoves(c.rules, sideAfter(line));
        const std::vector<rules::Move> all(c.rules.rootList().begin(), c.rules.rootList().begin() + n);
        std::vector<rules::Move> out;
        for (std::size_t i = 0; i < all.size(); ++i) {
            bool first = true, clear = true;
            rules::Board here = c.rules.gamePosition;
            rules::applyMove(here, all[i]);
            for (std::size_t j = 0; j < all.size(); ++j) {
                if (j == i || all[j].from != all[i].from || all[j].to != all[i].to) continue;
                if (j < i) first = false;
                rules::Board there = c.rules.gamePosition;
                rules::applyMove(there, all[j]);
                if (there != here) clear = false;
            }
            // Several capture orders to the same position: one is enough.
            if (first && clear) out.push_back(all[i]);
        }
        return out;
    }

    // The value of the position after `line` for its side to move.
    int searchReply(const Line& line, int depth) {
        setUp(line);
        const engine::RootAnswer r = search(sideAfter(line), depth);
        // No move: the side to move has lost.
        return r.kind == engine::SearchAnswer::NoMove ? -engine::DecisiveScore : m_core->engine.lastScore;
    }

    // A search of the game position to `depth` from a cleared table; the
    // answer of searchRoot.
    engine::RootAnswer search(rules::Side side, int depth) {
        game::Core& c = *m_core;
        engine::EngineState& en = c.engine;
        en.limits = engine::SearchLimits{};
        en.limits.depth = depth;
        // Searched even when only one move is legal.
        en.infiniteThinking = true;
        en.stopRequested = false;
        en.lastScore = 0;
        engine::clearTable(en.tables);
        c.rules.board = c.rules.gamePosition;
        ++m_searches;
        return engine::searchRoot(c, side);
    }

    StillHost m_host;
    std::unique_ptr<game::Core> m_core;
    int m_depth;
    bool m_ok = false;
    long m_searches = 0;
    std::map<Key, std::vector<Scored>> m_cache;
    std::map<Key, std::optional<Scored>> m_bestCache;
};

// How one book file grows.
struct BookPlan {
    const char* file;
    rules::Side bookSide;  // the side whose moves the book gives
    int budget;            // lines at most
    int ownMargin;         // book side: moves this close to the best ...
    int ownMax;            // ... and at most this many
    int otherMargin;       // other side: replies this close to its best ...
    int otherMax;          // ... and at most this many
    bool everyFirstMove;   // Black's book: all of White's first moves
    int minPlies;          // a line ends between these lengths,
    int targetPlies;       // as soon as it is past this one
    int maxPlies;
};

// A line's value may not stray further from level than this: beyond it the
// opening is already won or lost, not a book line. 120 is 0.6 of a man.
constexpr int SwingLimit = 120;

class BookGrower {
public:
    BookGrower(Valuer& valuer, const BookPlan& plan) : m_valuer(valuer), m_plan(plan) {}

    std::vector<Line> grow() {
        Line line;
        branch(line, m_plan.budget);
        return m_lines;
    }
    int dropped() const { return m_dropped; }

private:
    void branch(Line& line, int budget) {
        if (budget <= 1 || static_cast<int>(line.size()) >= m_plan.targetPlies) {
            finish(line);
            return;
        }
        const std::vector<Scored> moves = m_valuer.valued(line);
        if (moves.empty() || std::abs(moves.front().score) > SwingLimit) {
            ++m_dropped;
            return;
        }
        const bool own = sideAfter(line) == m_plan.bookSide;
        const bool all = line.empty() && m_plan.everyFirstMove;
        const int margin = own ? m_plan.ownMargin : m_plan.otherMargin;
        const int most = all ? static_cast<int>(moves.size()) : own ? m_plan.ownMax : m_plan.otherMax;
        std::vector<rules::Move> kept;
        for (const Scored& s : moves)
            if (static_cast<int>(kept.size()) < std::min(most, budget) &&
                (all || s.score >= moves.front().score - margin))
                kept.push_back(s.move);
        const int k = static_cast<int>(kept.size());
        for (int i = 0; i < k; ++i) {
            line.push_back(kept[static_cast<std::size_t>(i)]);
            branch(line, budget / k + (i < budget % k ? 1 : 0));
            line.pop_back();
        }
    }

    // The line goes on with the engine's best moves to its first good end
    // past the target length, or else its last good end before it.
    void finish(const Line& start) {
        Line line = start;
        std::optional<std::size_t> end;
        for (;;) {
            const int n = static_cast<int>(line.size());
            if (n >= m_plan.minPlies && goodEnd(line)) {
                end = line.size();
                if (n >= m_plan.targetPlies) break;
            }
            if (n >= m_plan.maxPlies) break;
            const std::optional<Scored> best = m_valuer.best(line);
            if (!best || std::abs(best->score) > SwingLimit) break;
            line.push_back(best->move);
        }
        if (!end) {
            ++m_dropped;
            return;
        }
        line.resize(*end);
        m_lines.push_back(line);
    }

    // After a move of the book side; nothing to take; material level (a king
    // counted as three men). The value was checked on the way: each move
    // played was within a margin of a best move inside the swing limit.
    bool goodEnd(const Line& line) {
        if (sideAfter(line) == m_plan.bookSide) return false;
        if (m_valuer.mustCapture(line)) return false;
        const rules::PieceTotals t = rules::countPieces(m_valuer.boardAfter(line));
        return t.whiteMen + 3 * t.whiteKings == t.blackMen + 3 * t.blackKings;
    }

    Valuer& m_valuer;
    const BookPlan& m_plan;
    std::vector<Line> m_lines;
    int m_dropped = 0;
};

std::string lineText(const Line& line) {
    std::string s;
    for (const rules::Move& m : line) {
        if (!s.empty()) s += ' ';
        s += std::to_string(m.from) + (m.ncapt ? "x" : "-") + std::to_string(m.to);
    }
    return s;
}

// Through files::saveFile, so a failed run leaves the previous file.
bool writeText(const fs::path& out, const std::string& text) {
    return files::writeFileAtomically(out.string(),
                                      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool writeBook(const fs::path& out, const std::vector<Line>& lines) {
    std::vector<std::string> texts;
    for (const Line& l : lines) texts.push_back(lineText(l));
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    std::string text;
    for (const std::string& t : texts) text += t + "\r\n";
    return writeText(out, text);
}

// Margins in 1/200 of a man. The default books branch wide at the other
// side's plies; "Solides" keeps the single best move for the book side and
// fewer, closer replies, in shorter lines.
constexpr BookPlan Plans[] = {
    {"ouvert_b.ouv", rules::White, 420, 25, 2, 50, 4, false, 11, 13, 15},
    {"ouvert_n.ouv", rules::Black, 420, 25, 2, 50, 4, true, 10, 14, 16},
    {"Solides_b.ouv", rules::White, 240, 0, 1, 40, 4, false, 11, 11, 13},
    {"Solides_n.ouv", rules::Black, 280, 0, 1, 40, 4, true, 10, 10, 12},
};

// The marker of the "Solides" set, Latin-1 with CR LF.
constexpr const char* SolidesMarker =
    "Biblioth\xE8que d'ouvertures \"Solides\" de Tavolex.\r\n"
    "Le meilleur coup seulement pour le camp du livre, les meilleures\r\n"
    "r\xE9ponses de l'adversaire, des lignes plus courtes.\r\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_books PROGRAM_DIR OUTPUT_DIR [DEPTH]\n");
        return 2;
    }
    int depth = 8;
    if (argc == 4) {
        depth = std::atoi(argv[3]);
        if (depth < 1 || depth > engine::MaxIterations) {
            std::fprintf(stderr, "make_books: DEPTH is a number from 1 to %d\n", engine::MaxIterations);
            return 2;
        }
    }
    const fs::path out = argv[2];
    std::error_code ec;
    fs::create_directories(out, ec);

    Valuer valuer(argv[1], depth);
    if (!valuer.ok()) {
        std::fprintf(stderr, "make_books: the search cannot start from %s\n", argv[1]);
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    for (const BookPlan& plan : Plans) {
        BookGrower grower(valuer, plan);
        const std::vector<Line> lines = grower.grow();
        if (!writeBook(out / plan.file, lines)) {
            std::fprintf(stderr, "make_books: cannot write %s\n", (out / plan.file).c_str());
            return 1;
        }
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
        std::printf("%-14s %4zu lines, %3d dropped; %6ld searches, %5lld s so far\n", plan.file, lines.size(),
                    grower.dropped(), valuer.searches(), static_cast<long long>(seconds));
        std::fflush(stdout);
    }
    if (!writeText(out / "Solides.ovv", SolidesMarker)) {
        std::fprintf(stderr, "make_books: cannot write %s\n", (out / "Solides.ovv").c_str());
        return 1;
    }
    return 0;
}
