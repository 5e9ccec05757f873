#include "cli/hub_protocol.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/search.h"

namespace cli::hub {

namespace {

// No forced result found by the search or the endgame tables is longer.
constexpr int MaxCountedPlies = 400;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
// A name or a bare value: no blank, no '=', no quote, no control character.
bool isNameChar(char c) { return !isBlank(c) && c != '=' && c != '"' && static_cast<unsigned char>(c) >= 0x20; }

}  // namespace

const Line::Arg* Line::find(std::string_view name) const {
    for (const Arg& a : args)
        if (a.name == name) return &a;
    return nullptr;
}

Line parseLine(std::string_view text) {
    Line line;
    std::size_t i = 0;
    const auto skip = [&] {
        while (i < text.size() && isBlank(text[i])) ++i;
    };
    skip();
    while (i < text.size() && isNameChar(text[i])) line.command += text[i++];
    for (;;) {
        skip();
        if (i >= text.size()) break;
        Line::Arg arg;
        while (i < text.size() && isNameChar(text[i])) arg.name += text[i++];
        if (arg.name.empty()) {
            line.error = "a name is expected at column " + std::to_string(i + 1);
            break;
        }
        skip();
        if (i < text.size() && text[i] == '=') {
            ++i;
            skip();
            arg.hasValue = true;
            if (i < text.size() && text[i] == '"') {
                const std::size_t close = text.find('"', i + 1);
                if (close == std::string_view::npos) {
                    line.error = "the value of " + arg.name + " lacks its closing quote";
                    break;
                }
                arg.value = std::string(text.substr(i + 1, close - i - 1));
                i = close + 1;
            } else {
                while (i < text.size() && isNameChar(text[i])) arg.value += text[i++];
                if (arg.value.empty()) {
                    line.error = "the value of " + arg.name + " is missing";
                    break;
                }
            }
        }
        line.args.push_back(std::move(arg));
    }
    return line;
}

std::string value(std::string_view text) {
    if (!text.empty() && std::all_of(text.begin(), text.end(), isNameChar)) return std::string(text);
    std::string out = "\"";
    // A quote cannot be written inside a value; it becomes an apostrophe.
    for (char c : text) out += c == '"' ? '\'' : (static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
    return out + "\"";
}

std::optional<rules::Position> parsePosition(std::string_view text) {
    if (text.size() != 33 || (text[0] != 'W' && text[0] != 'B')) return std::nullopt;
    rules::Position p;
    p.side = text[0] == 'W' ? rules::White : rules::Black;
    p.board[0] = rules::Sentinel;
    for (int s = 1; s <= rules::NumSquares; ++s) {
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

std::string positionText(const rules::Board& board, rules::Side side) {
    std::string out(1, side == rules::White ? 'W' : 'B');
    for (int s = 1; s <= rules::NumSquares; ++s) {
        switch (board[s]) {
            case rules::WhiteMan: out += 'w'; break;
            case rules::WhiteKing: out += 'W'; break;
            case rules::BlackMan: out += 'b'; break;
            case rules::BlackKing: out += 'B'; break;
            default: out += 'e'; break;
        }
    }
    return out;
}

std::string moveText(const rules::Move& m) {
    std::string s = std::to_string(m.from);
    if (m.ncapt == 0) return s + "-" + std::to_string(m.to);
    s += "x" + std::to_string(m.to);
    for (int i = 0; i < m.ncapt; ++i) s += "x" + std::to_string(m.captured[static_cast<std::size_t>(i)]);
    return s;
}

std::optional<rules::Move> findMove(rules::RulesState& r, rules::Side side, std::string_view text) {
    const bool capture = text.find('x') != std::string_view::npos;
    if (capture && text.find('-') != std::string_view::npos) return std::nullopt;
    std::vector<int> squares;
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = text.find(capture ? 'x' : '-', start);
        const std::string_view part = text.substr(start, sep == std::string_view::npos ? sep : sep - start);
        int n = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), n);
        if (part.empty() || part.size() > 2 || ec != std::errc() || end != part.data() + part.size() || n < 1 ||
            n > rules::NumSquares)
            return std::nullopt;
        squares.push_back(n);
        if (sep == std::string_view::npos) break;
        start = sep + 1;
    }
    if (squares.size() < 2 || (!capture && squares.size() != 2)) return std::nullopt;
    const int n = rules::generateRootMoves(r, side);
    std::optional<rules::Move> found;
    rules::Board foundResult{};
    for (int i = 0; i < n; ++i) {
        const rules::Move& m = r.rootList()[i];
        if (m.from != squares[0] || m.to != squares[1] || (m.ncapt > 0) != capture) continue;
        if (squares.size() > 2) {
            if (static_cast<int>(squares.size()) - 2 != m.ncapt) continue;
            std::vector<int> a(squares.begin() + 2, squares.end());
            std::vector<int> b(m.captured.begin(), m.captured.begin() + m.ncapt);
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            if (a != b) continue;
        }
        // Different orders of taking the same pieces leave one position.
        rules::Board result = r.board;
        rules::applyMove(result, m);
        if (!found) {
            found = m;
            foundResult = result;
        } else if (result != foundResult) {
            return std::nullopt;
        }
    }
    return found;
}

std::optional<double> parseSeconds(std::string_view text) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v) || v < 0 || v > 1e7)
        return std::nullopt;
    return v;
}

std::int64_t moveBudgetMs(const Clock& clock) {
    // What the answer takes to reach the interface, kept in hand.
    constexpr double Overhead = 0.05;
    const double available = std::max(0.0, clock.time - Overhead);
    const int moves = clock.moves > 0 ? clock.moves : 30;
    double budget = available / moves + 0.75 * clock.inc;
    // The last move before a time control may use most of what is left;
    // otherwise no move takes more than half of it.
    budget = std::min(budget, available * (clock.moves == 1 ? 0.8 : 0.5));
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(budget * 1000));
}

std::string scoreText(int score) {
    char text[64];
    std::snprintf(text, sizeof text, "score=%.2f", score / 200.0);
    std::string out = text;
    // A side without a move at ply p of the search is worth Infinity - p to
    // the other: the game ended after p - 1 plies; a loss mirrors it. (The
    // search values taking the last piece at ply p the same, one ply short,
    // so a game is never over in fewer than one.) Wins known without their
    // length (kings against men) are scored far below any counted one and
    // carry the bare flag.
    if (std::abs(score) <= engine::DecisiveScore) return out;
    const int plies = std::max(1, engine::Infinity - std::abs(score) - 1);
    out += score > 0 ? " win" : " loss";
    if (plies <= MaxCountedPlies) out += "=" + std::to_string(plies);
    return out;
}

}  // namespace cli::hub
