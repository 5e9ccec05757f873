#include "files/text_import.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "files/setup.h"
#include "files/text_encoding.h"
#include "game/navigation.h"
#include "game/play.h"
#include "rules/move_input.h"
#include "rules/written_move.h"

namespace files {

namespace {

// A game longer than the record is read one half-move past it, so that the
// replay can say where it had to stop.
constexpr std::size_t MaxHalfMovesKept = game::MaxRecordedPly + 1;

std::string_view textOf(std::span<const std::uint8_t> bytes) {
    std::string_view v(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // A UTF-8 byte-order mark is no part of the text.
    if (v.starts_with("\xEF\xBB\xBF")) v.remove_prefix(3);
    return v;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
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

bool blank(std::string_view line) { return trim(line).empty(); }

bool fileLetter(char c) { return (c >= 'a' && c <= 'h') || (c >= 'A' && c <= 'H'); }
bool rowDigit(char c) { return c >= '1' && c <= '8'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Results as the programs write them: 2-0, 1-1, 0-2 (ours and older PDN)
// and 1-0, 1/2-1/2, 0-1; "*" for a game without result.
std::optional<ResultCode> resultOf(std::string_view t) {
    if (t == "2-0" || t == "1-0") return ResultCode::WhiteWon;
    if (t == "0-2" || t == "0-1") return ResultCode::BlackWon;
    if (t == "1-1" || t == "1/2-1/2") return ResultCode::Draw;
    if (t == "*" || t == "0-0") return ResultCode::None;
    return std::nullopt;
}

// A move written as square names, "c3-d4", "B6-D4-F2", "c3xe5", "d4:b6",
// "c3d4": every square as we number them; nothing when the token is not
// exactly such a chain.
std::optional<std::vector<rules::Square>> nameChain(std::string_view t, rules::Corner corner) {
    std::vector<rules::Square> squares;
    std::size_t p = 0;
    while (p < t.size()) {
        if (p + 1 >= t.size() || !fileLetter(t[p]) || !rowDigit(t[p + 1])) return std::nullopt;
        const rules::Square s = rules::squareOfName(t[p], t[p + 1], corner);
        if (s == 0) return std::nullopt;
        squares.push_back(s);
        p += 2;
        if (p < t.size() && (t[p] == '-' || t[p] == 'x' || t[p] == 'X' || t[p] == ':')) {
            ++p;
            if (p == t.size()) return std::nullopt;
        }
    }
    if (squares.size() < 2) return std::nullopt;
    return squares;
}

// "22-18", "26x17x10", "9:18": square numbers of the game's notation.
std::optional<std::vector<rules::Square>> numberChain(std::string_view t, rules::Corner corner) {
    std::vector<rules::Square> squares;
    std::size_t p = 0;
    while (p < t.size()) {
        int n = 0;
        std::size_t q = p;
        for (; q < t.size() && isDigit(t[q]) && q - p < 3; ++q) n = 10 * n + (t[q] - '0');
        if (q == p || q - p > 2) return std::nullopt;
        const rules::Square s = rules::squareOfNumber(n, corner);
        if (s == 0) return std::nullopt;
        squares.push_back(s);
        p = q;
        if (p < t.size()) {
            if (t[p] != '-' && t[p] != 'x' && t[p] != 'X' && t[p] != ':') return std::nullopt;
            if (++p == t.size()) return std::nullopt;
        }
    }
    if (squares.size() < 2) return std::nullopt;
    return squares;
}

HalfMove readMoveToken(std::string_view token, const rules::Notation& notation) {
    HalfMove h;
    h.text = std::string(token);
    // Annotations of the move's strength ("!", "?!") and of a win ("+", "#").
    while (!token.empty() && (token.back() == '!' || token.back() == '?' || token.back() == '+' || token.back() == '#'))
        token.remove_suffix(1);
    auto squares = nameChain(token, notation.names);
    if (!squares) squares = numberChain(token, notation.numbers);
    if (squares)
        h.squares = std::move(*squares);
    else
        h.readable = false;
    return h;
}

void addHalfMove(ParsedGame& game, HalfMove h) {
    if (game.halfMoves.size() < MaxHalfMovesKept) game.halfMoves.push_back(std::move(h));
}

// ---------------------------------------------------------------- our layout

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

// A move number: digits and one or more dots, not glued to a word before it.
bool isMoveNumberAt(std::string_view s, std::size_t i, std::size_t& after) {
    if (i > 0 && std::isalnum(static_cast<unsigned char>(s[i - 1]))) return false;
    std::size_t j = i;
    while (j < s.size() && isDigit(s[j])) ++j;
    if (j == i || j - i > 3 || j >= s.size() || s[j] != '.') return false;
    while (j < s.size() && s[j] == '.') ++j;
    after = j;
    return true;
}

// Where the moves begin on a header line: "1." followed by a square name,
// so that a name holding "1." stays a name.
std::size_t movesOnHeader(std::string_view header) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::size_t after = 0;
        if (header[i] != '1' || !isMoveNumberAt(header, i, after) || after != i + 2) continue;
        std::size_t p = after;
        if (p < header.size() && header[p] == ' ') ++p;
        if (p + 1 < header.size() && fileLetter(header[p]) && rowDigit(header[p + 1])) return i;
    }
    return std::string_view::npos;
}

// A header "White-Black  score". When a name holds a dash the export writes
// "White - Black  score" instead, and that form is read first. In the short
// form Black's name also ends at a dash (a score written after one blank).
void readHeader(std::string_view header, ParsedGame& game) {
    header = trim(header);
    // The score is the header's last word.
    if (const std::size_t space = header.find_last_of(" \t"); space != std::string_view::npos) {
        if (const auto r = resultOf(header.substr(space + 1))) {
            game.result = *r;
            header = trim(header.substr(0, space));
        }
    }
    // Blanks around the header keep " - " whole when a name is empty.
    const std::string padded = " " + std::string(header) + " ";
    std::string_view white = header, black;
    if (const std::size_t sep = padded.find(" - "); sep != std::string::npos) {
        white = std::string_view(padded).substr(1, sep == 0 ? 0 : sep - 1);
        black = std::string_view(padded).substr(sep + 3);
    } else if (const std::size_t dash = header.find('-'); dash != std::string_view::npos) {
        white = header.substr(0, dash);
        black = header.substr(dash + 1);
        black = black.substr(0, black.find('-'));
    }
    black = black.substr(0, black.find("  "));
    game.white = decodeName(trim(white));
    game.black = decodeName(trim(black));
}

ParsedGame parseOurGame(const std::vector<std::string_view>& lines, const GameLines& g) {
    ParsedGame parsed;
    const std::string_view header = lines[g.first];
    const std::size_t movesAt = movesOnHeader(header);
    readHeader(header.substr(0, movesAt), parsed);

    // The move text: from "1." on the header line, then the following lines.
    std::string moves;
    if (movesAt != std::string_view::npos) moves.append(header.substr(movesAt));
    for (std::size_t i = g.first + 1; i < g.end; ++i) {
        moves.push_back(' ');
        moves.append(lines[i]);
    }

    // Each move number gives White's half-move and Black's. Text before the
    // first number ("Tavolex144") is not part of the moves.
    const std::string_view s = moves;
    std::vector<std::size_t> numbers, afters;
    for (std::size_t i = 0, after = 0; i < s.size(); ++i)
        if (isMoveNumberAt(s, i, after)) {
            numbers.push_back(i);
            afters.push_back(after);
            i = after - 1;
        }
    const rules::Notation ours;
    for (std::size_t k = 0; k < numbers.size() && parsed.halfMoves.size() < MaxHalfMovesKept; ++k) {
        const std::size_t end = k + 1 < numbers.size() ? numbers[k + 1] : s.size();
        std::vector<HalfMove> halves;
        bool ended = false;
        std::string_view rest = s.substr(afters[k], end - afters[k]);
        while (!(rest = trim(rest)).empty()) {
            std::size_t w = 0;
            while (w < rest.size() && !isSpace(rest[w])) ++w;
            const std::string_view token = rest.substr(0, w);
            rest.remove_prefix(w);
            if (resultOf(token)) {
                ended = true;
                break;
            }
            halves.push_back(readMoveToken(token, ours));
        }
        // A number with one side's move alone is the end of the game only
        // when nothing follows; anywhere else a move is missing.
        const bool last = ended || k + 1 == numbers.size();
        if (halves.empty() && last) break;
        if (halves.empty()) halves.push_back(HalfMove{{}, "", false});
        if (halves.size() == 1 && !last) halves.push_back(HalfMove{{}, "", false});
        for (HalfMove& h : halves) addHalfMove(parsed, std::move(h));
        if (ended) break;
    }
    return parsed;
}

// ---------------------------------------------------------------- PDN

struct PdnTags {
    std::string fen;
    std::string gameType;
};

// The numbering a GameType tag announces: "26,W,8,8,A0,0" says Brazilian
// draughts, algebraic names with a1 in the bottom-left corner. An empty
// answer names a game type this board does not play.
std::optional<rules::Notation> notationOf(const std::string& gameType, std::string& refused) {
    rules::Notation notation;  // ours, for files that do not say
    if (gameType.empty()) return notation;
    std::vector<std::string_view> fields;
    std::string_view rest = gameType;
    for (;;) {
        const std::size_t comma = rest.find(',');
        fields.push_back(trim(rest.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    // Russian draughts (25) is played on the same board and read as such;
    // its games stop at the first move our rules refuse.
    if (fields[0] != "25" && fields[0] != "26") {
        refused = gameType;
        return std::nullopt;
    }
    // Both number their squares and name them from the bottom-left corner.
    notation.numbers = rules::Corner::BottomLeft;
    if (fields.size() >= 5 && fields[4].size() == 2 && fields[4][1] >= '0' && fields[4][1] <= '3') {
        const auto corner = static_cast<rules::Corner>(fields[4][1] - '0');
        const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[4][0])));
        if (kind == 'N') notation.numbers = corner;
        if (kind == 'A') notation.numbers = notation.names = corner;
    }
    return notation;
}

// The value of a tag pair from its opening quote: backslash escapes a quote
// or a backslash. Nothing when the line ends before the closing quote.
std::optional<std::string> quotedValue(std::string_view s, std::size_t& i) {
    std::string value;
    for (++i; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\n') return std::nullopt;
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '"' || s[i + 1] == '\\')) {
            value += s[++i];
        } else if (c == '"') {
            ++i;
            return value;
        } else {
            value += c;
        }
    }
    return std::nullopt;
}

class PdnReader {
public:
    explicit PdnReader(std::string_view text) : m_s(text) {}

    std::vector<ParsedGame> read() {
        std::size_t& i = m_i;
        while (i < m_s.size()) {
            const char c = m_s[i];
            if (c == '%' && (i == 0 || m_s[i - 1] == '\n')) {
                skipLine();  // an escape line: for programs, not a part of the game
            } else if (isSpace(c)) {
                ++i;
            } else if (c == '[') {
                if (m_inMoves) finish();
                readTag();
            } else if (c == '{') {
                const std::size_t end = m_s.find('}', i);
                i = end == std::string_view::npos ? m_s.size() : end + 1;
            } else if (c == ';') {
                skipLine();
            } else if (c == '(') {
                skipVariation();
            } else {
                readToken();
            }
        }
        finish();
        return std::move(m_games);
    }

private:
    void skipLine() {
        const std::size_t end = m_s.find('\n', m_i);
        m_i = end == std::string_view::npos ? m_s.size() : end + 1;
    }

    // A variation in parentheses, nested or not, with its comments.
    void skipVariation() {
        int depth = 0;
        for (; m_i < m_s.size(); ++m_i) {
            const char c = m_s[m_i];
            if (c == '{') {
                const std::size_t end = m_s.find('}', m_i);
                if (end == std::string_view::npos) break;
                m_i = end;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                ++m_i;
                return;
            }
        }
        m_i = m_s.size();
    }

    // [Name "value"]; a tag broken off by the end of its line is passed over.
    void readTag() {
        std::size_t& i = m_i;
        ++i;
        std::string name;
        while (i < m_s.size() && (std::isalnum(static_cast<unsigned char>(m_s[i])) || m_s[i] == '_')) name += m_s[i++];
        while (i < m_s.size() && (m_s[i] == ' ' || m_s[i] == '\t')) ++i;
        std::optional<std::string> value;
        if (i < m_s.size() && m_s[i] == '"') value = quotedValue(m_s, i);
        // On to the closing bracket of this line.
        while (i < m_s.size() && m_s[i] != ']' && m_s[i] != '\n') ++i;
        if (i < m_s.size() && m_s[i] == ']') ++i;
        if (!value) return;
        m_any = true;
        // "?" stands for a name nobody gave.
        if (name == "White")
            m_game.white = *value == "?" ? std::string() : decodeName(*value);
        else if (name == "Black")
            m_game.black = *value == "?" ? std::string() : decodeName(*value);
        else if (name == "Event")
            m_game.event = decodeName(*value);
        else if (name == "Site")
            m_game.site = decodeName(*value);
        else if (name == "Date")
            m_game.date = decodeName(*value);
        else if (name == "Round")
            m_game.round = decodeName(*value);
        else if (name == "FEN")
            m_tags.fen = *value;
        else if (name == "GameType")
            m_tags.gameType = *value;
        else if (name == "Result") {
            if (const auto r = resultOf(trim(*value))) {
                m_game.result = *r;
                m_resultTagged = true;
            }
        }
    }

    void readToken() {
        std::size_t j = m_i;
        while (j < m_s.size() && !isSpace(m_s[j]) && m_s[j] != '{' && m_s[j] != '(' && m_s[j] != '[' && m_s[j] != ';')
            ++j;
        std::string_view token = m_s.substr(m_i, j - m_i);
        m_i = j;
        // "12." or "12..." may stand alone or glued to the move after it.
        std::size_t k = 0;
        while (k < token.size() && isDigit(token[k])) ++k;
        if (k < token.size() && token[k] == '.') {
            while (k < token.size() && token[k] == '.') ++k;
            token.remove_prefix(k);
        }
        if (token.empty() || (token.front() == '$' && token.size() > 1)) return;
        m_any = true;
        m_inMoves = true;
        if (const auto r = resultOf(token)) {
            if (!m_resultTagged) m_game.result = *r;
            finish();
            return;
        }
        if (m_tokens.size() < MaxHalfMovesKept) m_tokens.emplace_back(token);
    }

    void finish() {
        if (m_any) {
            std::string refused;
            const std::optional<rules::Notation> notation = notationOf(m_tags.gameType, refused);
            m_game.otherGameType = refused;
            const rules::Notation n = notation.value_or(rules::Notation{});
            if (!m_tags.fen.empty()) {
                const rules::FenResult r = rules::parseFen(m_tags.fen, n);
                if (r.position) {
                    m_game.start = r.position;
                } else {
                    m_game.badFen = m_tags.fen;
                    m_game.fenError = r.error;
                }
            }
            for (const std::string& t : m_tokens) addHalfMove(m_game, readMoveToken(t, n));
            m_games.push_back(std::move(m_game));
        }
        m_game = ParsedGame{};
        m_tags = PdnTags{};
        m_tokens.clear();
        m_inMoves = m_any = m_resultTagged = false;
    }

    std::string_view m_s;
    std::size_t m_i = 0;
    std::vector<ParsedGame> m_games;
    ParsedGame m_game;
    PdnTags m_tags;
    std::vector<std::string> m_tokens;
    bool m_inMoves = false, m_any = false, m_resultTagged = false;
};

// The move of the game starting from `firstSide`, at half-move `index`.
void placeMove(rules::Side firstSide, std::size_t index, ReplayOutcome& out) {
    const int i = static_cast<int>(index) + (firstSide == rules::Black ? 1 : 0);
    out.moveNumber = i / 2 + 1;
    out.blackMove = i % 2 == 1;
}

}  // namespace

bool looksLikePdn(std::span<const std::uint8_t> bytes) {
    for (std::string_view line : splitLines(textOf(bytes))) {
        const std::string_view t = trim(line);
        if (t.empty() || t.front() == '%') continue;
        return t.front() == '[';
    }
    return false;
}

std::vector<ParsedGame> parseTextLayout(std::span<const std::uint8_t> bytes) {
    const auto lines = splitLines(textOf(bytes));
    std::vector<ParsedGame> games;
    for (const GameLines& g : findGames(lines)) games.push_back(parseOurGame(lines, g));
    return games;
}

std::vector<ParsedGame> parsePdnGames(std::span<const std::uint8_t> bytes) { return PdnReader(textOf(bytes)).read(); }

std::vector<ParsedGame> readTextGames(std::span<const std::uint8_t> bytes) {
    return looksLikePdn(bytes) ? parsePdnGames(bytes) : parseTextLayout(bytes);
}

std::string chooserLine(const ParsedGame& game, int number) {
    // Control characters would break the list's line.
    const auto clean = [](const std::string& s) {
        std::string out = s;
        for (char& c : out)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
        return out;
    };
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%2d: ", number);
    const auto name = [&](const std::string& s) { return s.empty() ? std::string("?") : clean(s); };
    std::string line = prefix + name(game.white) + " - " + name(game.black);
    if (!game.event.empty() && game.event != "?") line += ", " + clean(game.event);
    if (!game.date.empty() && game.date.find_first_not_of("?.") != std::string::npos) line += ", " + clean(game.date);
    line += ", ";
    line += pdnResultText(game.result);
    return line;
}

ReplayOutcome replayGame(game::Core& core, const ParsedGame& parsed) {
    ReplayOutcome out;
    // Step 1. Games this board cannot set up change nothing.
    if (!parsed.otherGameType.empty()) {
        out.stop = ReplayStop::OtherGameType;
        out.detail = parsed.otherGameType;
        return out;
    }
    if (!parsed.badFen.empty()) {
        out.stop = ReplayStop::BadPosition;
        out.detail = parsed.badFen;
        out.fenError = parsed.fenError;
        return out;
    }

    // Step 2. The names and the starting position.
    game::GameState& g = core.game;
    g.whiteName = nameFromUtf8(parsed.white);
    g.blackName = nameFromUtf8(parsed.black);
    resetToStartingPosition(core);
    if (parsed.start) game::installPosition(core, parsed.start->board, parsed.start->side);
    rules::RulesState& r = core.rules;
    const rules::Side firstSide = g.sideToMove;

    // Step 3. Each move while it can be played.
    for (std::size_t i = 0; i < parsed.halfMoves.size(); ++i) {
        const HalfMove& h = parsed.halfMoves[i];
        ReplayStop stop = ReplayStop::None;
        rules::WrittenMove found;
        if (!h.readable) {
            stop = h.text.empty() ? ReplayStop::Missing : ReplayStop::Unreadable;
        } else if (g.record.full()) {
            stop = ReplayStop::RecordFull;
        } else {
            r.board = r.gamePosition;
            found = rules::findWrittenMove(r, g.sideToMove, h.squares);
            if (found.match == rules::WrittenMatch::NotLegal) stop = ReplayStop::NotLegal;
            if (found.match == rules::WrittenMatch::Ambiguous) stop = ReplayStop::Ambiguous;
        }
        if (stop != ReplayStop::None) {
            out.stop = stop;
            out.moveText = h.text;
            placeMove(firstSide, i, out);
            break;
        }
        game::playMove(core, found.move);
        ++out.played;
    }

    // Step 4. The position reached is the one shown; a game replayed whole
    // keeps its result for the next export.
    r.board = r.gamePosition;
    g.record.sideToMoveAtEnd = g.sideToMove;
    rules::clearMoveEntry(r);
    g.navigated = true;
    if (out.stop == ReplayStop::None) g.lastResult = parsed.result;
    return out;
}

}  // namespace files
