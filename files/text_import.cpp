#include "files/text_import.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "files/setup.h"
#include "game/navigation.h"
#include "rules/fen.h"
#include "rules/move_input.h"

namespace files {

namespace {

// The readable part of a file: never past the buffer, never past a NUL.
std::string_view textOf(std::span<const std::uint8_t> bytes) {
    const std::size_t n = std::min(bytes.size(), TextBufferSize);
    std::string_view v(reinterpret_cast<const char*>(bytes.data()), n);
    if (const std::size_t nul = v.find('\0'); nul != std::string_view::npos) v = v.substr(0, nul);
    return v;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    return lines;
}

bool blank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

std::string nameField(std::string_view s) { return trimmed(s).substr(0, game::NameCapacity - 1); }

// The games of a text in our layout: the line range of each.
struct GameLines {
    std::size_t first, end;  // [first, end) lines
};

std::vector<GameLines> findGames(const std::vector<std::string_view>& lines) {
    std::vector<GameLines> games;
    std::size_t i = 0;
    while (i < lines.size() && blank(lines[i])) ++i;
    while (i < lines.size()) {
        GameLines g{i, i};
        while (g.end < lines.size() && !blank(lines[g.end])) ++g.end;
        games.push_back(g);
        i = g.end + 1;
        // The list ends at the end of the text, or where the line after a
        // blank line starts with two blanks.
        if (i >= lines.size() || lines[i].substr(0, 2) == "  ") break;
        while (i < lines.size() && blank(lines[i])) ++i;
    }
    return games;
}

// A header "White-Black  score": each name ends at "-", at a move number
// "1." or at two blanks (before a score).
void readNames(std::string_view header, std::string& white, std::string& black) {
    if (const std::size_t moves = header.find("1."); moves != std::string_view::npos) header = header.substr(0, moves);
    const std::size_t dash = header.find('-');
    white = nameField(header.substr(0, dash));
    black.clear();
    if (dash == std::string_view::npos) return;
    std::string_view rest = header.substr(dash + 1);
    rest = rest.substr(0, rest.find('-'));
    rest = rest.substr(0, rest.find("  "));
    black = nameField(rest);
}

rules::Square nameSquare(char file, char row) {
    const char f = static_cast<char>(std::tolower(static_cast<unsigned char>(file)));
    const char n[2] = {f, row};
    return rules::parseSquareName(std::string_view(n, 2)).value_or(0);
}
bool fileLetter(char c) { return (c >= 'a' && c <= 'h') || (c >= 'A' && c <= 'H'); }
bool rowDigit(char c) { return c >= '1' && c <= '8'; }

// A chain of square names joined by "-" or "x" starting at `pos`: "c3-d4",
// "B6-D4-F2". Moves `pos` past it; empty when there is none there.
HalfMove readNameChain(std::string_view s, std::size_t& pos) {
    HalfMove m;
    std::size_t p = pos;
    while (p + 1 < s.size() && fileLetter(s[p]) && rowDigit(s[p + 1])) {
        m.squares.push_back(nameSquare(s[p], s[p + 1]));
        p += 2;
        if (p + 2 < s.size() && (s[p] == '-' || s[p] == 'x' || s[p] == 'X') && fileLetter(s[p + 1]) && rowDigit(s[p + 2]))
            ++p;
        else
            break;
    }
    if (m.squares.size() < 2) return {};
    pos = p;
    return m;
}

bool isMoveNumberAt(std::string_view s, std::size_t i, std::size_t& after) {
    if (i > 0 && std::isalnum(static_cast<unsigned char>(s[i - 1]))) return false;
    std::size_t j = i;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
    if (j == i || j - i > 3 || j >= s.size() || s[j] != '.') return false;
    while (j < s.size() && s[j] == '.') ++j;
    after = j;
    return true;
}

}  // namespace

bool looksLikePdn(std::span<const std::uint8_t> bytes) {
    const std::string_view text = textOf(bytes);
    for (std::string_view line : splitLines(text)) {
        const std::string t = trimmed(line);
        if (t.empty()) continue;
        return t.front() == '[';
    }
    return false;
}

std::vector<std::string> listTextGames(std::span<const std::uint8_t> bytes) {
    const std::string_view text = textOf(bytes).substr(0, TextGameLimit);
    const auto lines = splitLines(text);
    std::vector<std::string> out;
    int number = 1;
    for (const GameLines& g : findGames(lines)) {
        std::string white, black;
        readNames(lines[g.first], white, black);
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%2d:", number++);
        out.push_back(prefix + white);
    }
    return out;
}

std::optional<ParsedGame> parseTextGame(std::span<const std::uint8_t> bytes, int index) {
    const auto lines = splitLines(textOf(bytes));
    const auto games = findGames(lines);
    if (index < 0 || index >= static_cast<int>(games.size())) return std::nullopt;
    const GameLines& g = games[static_cast<std::size_t>(index)];

    ParsedGame parsed;
    readNames(lines[g.first], parsed.white, parsed.black);
    // The move text: from "1." on the header line, then the following lines;
    // a game stops after 64,000 characters.
    std::string moves;
    if (const std::size_t at = lines[g.first].find("1."); at != std::string_view::npos)
        moves.append(lines[g.first].substr(at));
    for (std::size_t i = g.first + 1; i < g.end && moves.size() < TextGameLimit; ++i) {
        moves.append(lines[i]);
        moves.push_back(' ');
    }
    if (moves.size() > TextGameLimit) moves.resize(TextGameLimit);

    // Each move number gives White's half-move and Black's; a missing one is
    // kept with unknown squares, so the colours stay in step.
    const std::string_view s = moves;
    int numbers = 0;
    std::size_t i = 0;
    while (i < s.size() && numbers < MaxImportedMoves) {
        std::size_t after = 0;
        if (!isMoveNumberAt(s, i, after)) {
            ++i;
            continue;
        }
        ++numbers;
        HalfMove halves[2];
        int found = 0;
        std::size_t p = after;
        std::size_t next = 0;
        while (p < s.size() && found < 2 && !isMoveNumberAt(s, p, next)) {
            HalfMove m = readNameChain(s, p);
            if (!m.squares.empty())
                halves[found++] = std::move(m);
            else
                ++p;
        }
        for (HalfMove& h : halves) {
            if (h.squares.empty()) h.squares = {0, 0};
            parsed.halfMoves.push_back(std::move(h));
        }
        i = p;
    }
    return parsed;
}

namespace {

// Square numbering of a PDN game: which corner square 1 is in, rows of four
// dark squares read away from it. Our own numbering starts top left.
enum class Corner { BottomLeft = 0, BottomRight = 1, TopLeft = 2, TopRight = 3 };

rules::Square mapNumber(int n, Corner corner) {
    if (n < 1 || n > rules::NumSquares) return 0;
    const int row = (n - 1) / 4, k = (n - 1) % 4;
    switch (corner) {
        case Corner::TopLeft: return static_cast<rules::Square>(n);
        case Corner::TopRight: return static_cast<rules::Square>(4 * row + (3 - k) + 1);
        case Corner::BottomLeft: return static_cast<rules::Square>(4 * (7 - row) + k + 1);
        case Corner::BottomRight: return static_cast<rules::Square>(4 * (7 - row) + (3 - k) + 1);
    }
    return 0;
}

Corner cornerOfGameType(const std::string& value) {
    // "26,W,8,8,N2,0": the fifth field names the notation and square 1's corner.
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = value.find(',', start);
        fields.push_back(trimmed(std::string_view(value).substr(start, comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (fields.size() >= 5 && fields[4].size() >= 2 && (fields[4][0] == 'N' || fields[4][0] == 'n') &&
        fields[4][1] >= '0' && fields[4][1] <= '3')
        return static_cast<Corner>(fields[4][1] - '0');
    return Corner::TopLeft;
}

// A FEN whose square numbers follow the game's numbering, rewritten in ours.
std::string remapFen(const std::string& fen, Corner corner) {
    if (corner == Corner::TopLeft) return fen;
    std::string out;
    std::size_t i = 0;
    while (i < fen.size()) {
        if (!std::isdigit(static_cast<unsigned char>(fen[i]))) {
            out += fen[i++];
            continue;
        }
        std::size_t j = i;
        while (j < fen.size() && std::isdigit(static_cast<unsigned char>(fen[j]))) ++j;
        int a = std::stoi(fen.substr(i, j - i)), b = a;
        if (j + 1 < fen.size() && fen[j] == '-' && std::isdigit(static_cast<unsigned char>(fen[j + 1]))) {
            std::size_t k = j + 1;
            while (k < fen.size() && std::isdigit(static_cast<unsigned char>(fen[k]))) ++k;
            b = std::stoi(fen.substr(j + 1, k - j - 1));
            j = k;
        }
        const bool king = !out.empty() && (out.back() == 'K' || out.back() == 'k');
        for (int n = a; n <= b && n - a < 64; ++n) {
            if (n != a) out += king ? ",K" : ",";
            const rules::Square s = mapNumber(n, corner);
            out += std::to_string(s ? s : 99);  // 99: refused later as off the board
        }
        i = j;
    }
    return out;
}

bool isResult(std::string_view t) {
    return t == "2-0" || t == "0-2" || t == "1-1" || t == "1-0" || t == "0-1" || t == "0-0" || t == "1/2-1/2" ||
           t == "*";
}

// One move token: "22-18", "26x17x10", "c3-d4", "c3xe5xg7".
std::optional<HalfMove> readPdnMove(std::string_view t, Corner corner) {
    while (!t.empty() && (t.back() == '!' || t.back() == '?' || t.back() == '+' || t.back() == '#')) t.remove_suffix(1);
    HalfMove m;
    std::size_t p = 0;
    while (p < t.size()) {
        if (std::isdigit(static_cast<unsigned char>(t[p]))) {
            std::size_t q = p;
            while (q < t.size() && std::isdigit(static_cast<unsigned char>(t[q]))) ++q;
            if (q - p > 2) return std::nullopt;
            m.squares.push_back(mapNumber(std::stoi(std::string(t.substr(p, q - p))), corner));
            p = q;
        } else if (p + 1 < t.size() && fileLetter(t[p]) && rowDigit(t[p + 1])) {
            m.squares.push_back(nameSquare(t[p], t[p + 1]));
            p += 2;
        } else {
            return std::nullopt;
        }
        if (p < t.size()) {
            if (t[p] != '-' && t[p] != 'x' && t[p] != 'X' && t[p] != ':') return std::nullopt;
            ++p;
        }
    }
    if (m.squares.size() < 2) return std::nullopt;
    return m;
}

}  // namespace

std::vector<ParsedGame> parsePdnGames(std::span<const std::uint8_t> bytes) {
    const std::string_view s = textOf(bytes);
    std::vector<ParsedGame> games;
    ParsedGame current;
    bool inMoves = false, any = false;
    std::string fen;
    Corner corner = Corner::TopLeft;

    auto finish = [&]() {
        if (!any) return;
        if (!fen.empty()) {
            const rules::FenResult r = rules::parseFen(remapFen(fen, corner));
            if (r.position) current.start = r.position;
        }
        games.push_back(std::move(current));
        current = ParsedGame{};
        fen.clear();
        corner = Corner::TopLeft;
        inMoves = false;
        any = false;
    };

    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '[') {
            if (inMoves) finish();
            const std::size_t end = s.find(']', i);
            const std::string_view tag = s.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1);
            i = end == std::string_view::npos ? s.size() : end + 1;
            const std::size_t q1 = tag.find('"'), q2 = tag.rfind('"');
            if (q1 == std::string_view::npos || q2 <= q1) continue;
            const std::string name = trimmed(tag.substr(0, q1));
            std::string value;
            for (std::size_t k = q1 + 1; k < q2; ++k) {
                if (tag[k] == '\\' && k + 1 < q2) ++k;
                value += tag[k];
            }
            any = true;
            if (name == "White") current.white = nameField(value);
            else if (name == "Black") current.black = nameField(value);
            else if (name == "FEN") fen = value;
            else if (name == "GameType") corner = cornerOfGameType(value);
        } else if (c == '{') {
            const std::size_t end = s.find('}', i);
            i = end == std::string_view::npos ? s.size() : end + 1;
        } else if (c == ';') {
            const std::size_t end = s.find('\n', i);
            i = end == std::string_view::npos ? s.size() : end + 1;
        } else if (c == '(') {
            int depth = 0;
            for (; i < s.size(); ++i) {
                if (s[i] == '(') ++depth;
                if (s[i] == ')' && --depth == 0) break;
            }
            ++i;
        } else {
            std::size_t j = i;
            while (j < s.size() && !std::isspace(static_cast<unsigned char>(s[j])) && s[j] != '{' && s[j] != '(' &&
                   s[j] != '[' && s[j] != ';')
                ++j;
            std::string_view token = s.substr(i, j - i);
            i = j;
            // "12." or "12..." may stand glued to the move after it.
            std::size_t k = 0;
            while (k < token.size() && std::isdigit(static_cast<unsigned char>(token[k]))) ++k;
            if (k > 0 && k < token.size() && token[k] == '.') {
                while (k < token.size() && token[k] == '.') ++k;
                token.remove_prefix(k);
            }
            if (token.empty() || token.front() == '$') continue;
            any = true;
            inMoves = true;
            if (isResult(token)) {
                finish();
                continue;
            }
            if (auto m = readPdnMove(token, corner); m && current.halfMoves.size() < 2u * MaxImportedMoves)
                current.halfMoves.push_back(std::move(*m));
        }
    }
    finish();
    return games;
}

int replayGame(game::Core& core, const ParsedGame& parsed) {
    game::GameState& g = core.game;
    g.whiteName = game::makeName(parsed.white);
    g.blackName = game::makeName(parsed.black);
    resetToStartingPosition(core);
    if (parsed.start) game::installPosition(core, parsed.start->board, parsed.start->side);

    rules::RulesState& r = core.rules;
    int played = 0;
    for (const HalfMove& h : parsed.halfMoves) {
        if (g.record.full()) break;
        const int n = rules::generateRootMoves(r, g.sideToMove);
        int chosen = -1;
        for (int i = 0; i < n && chosen < 0; ++i) {
            const rules::Move& m = r.rootList()[i];
            if (m.from != h.from() || m.to != h.to()) continue;
            // A chain written leg by leg tells apart captures that start and
            // end alike; otherwise the first in generation order is taken.
            if (h.squares.size() > 2 && m.ncapt == h.squares.size() - 1) {
                const rules::LandingRoute route = rules::decomposeCapture(r, m.from, m.capturedSquares());
                if (!std::equal(h.squares.begin() + 1, h.squares.end(), route.squares.begin())) {
                    bool otherMatches = false;
                    for (int j = i + 1; j < n; ++j) {
                        const rules::Move& o = r.rootList()[j];
                        if (o.from == m.from && o.to == m.to &&
                            std::equal(h.squares.begin() + 1, h.squares.end(),
                                       rules::decomposeCapture(r, o.from, o.capturedSquares()).squares.begin()))
                            otherMatches = true;
                    }
                    if (otherMatches) continue;
                }
            }
            chosen = i;
        }
        if (chosen < 0) continue;  // not a legal move here: skipped, the same side stays to move
        const rules::Move m = r.rootList()[chosen];
        rules::applyMove(r.board, m);
        g.sideToMove = rules::opposite(g.sideToMove);
        ++g.record.plyCounter;
        g.record.recordLength = g.record.plyCounter;
        game::recordPly(core, g.record.plyCounter, &m);
        game::appendMoveText(core);
        ++played;
    }
    r.gamePosition = r.board;
    g.record.sideToMoveAtEnd = g.sideToMove;
    rules::clearMoveEntry(r);
    g.navigated = true;
    return played;
}

}  // namespace files
