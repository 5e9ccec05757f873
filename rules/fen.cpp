#include "rules/fen.h"

#include <cctype>
#include <charconv>

namespace rules {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool isDigits(std::string_view s) {
    if (s.empty() || s.size() > 4) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// One square given by number or by name. On failure `error` says why.
std::optional<Square> parseSquare(std::string_view token, std::string& error) {
    if (isDigits(token)) {
        int n = 0;
        std::from_chars(token.data(), token.data() + token.size(), n);
        if (n < 1 || n > NumSquares) {
            error = "square " + std::string(token) + " is off the board (squares are 1 to 32)";
            return std::nullopt;
        }
        return static_cast<Square>(n);
    }
    if (token.size() == 2 && std::isalpha(static_cast<unsigned char>(token[0])) &&
        std::isdigit(static_cast<unsigned char>(token[1]))) {
        const char f = static_cast<char>(std::tolower(static_cast<unsigned char>(token[0])));
        if (f < 'a' || f > 'h' || token[1] < '1' || token[1] > '8') {
            error = "square " + std::string(token) + " is off the board";
            return std::nullopt;
        }
        if (auto s = parseSquareName(token)) return s;
        error = "square " + std::string(token) + " is a light square";
        return std::nullopt;
    }
    error = "'" + std::string(token) + "' is not a square";
    return std::nullopt;
}

// The pieces of one side: "W21,22,K5" after its colour letter.
bool parseList(std::string_view list, Side side, Board& board, std::string& error) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view item = trim(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
        if (item.empty()) {
            error = "empty entry in a piece list";
            return false;
        }
        bool king = false;
        if (item.front() == 'K' || item.front() == 'k') {
            king = true;
            item.remove_prefix(1);
        }
        Square first = 0, last = 0;
        const std::size_t dash = item.find('-');
        if (dash != std::string_view::npos) {
            const std::string_view a = trim(item.substr(0, dash)), b = trim(item.substr(dash + 1));
            if (!isDigits(a) || !isDigits(b)) {
                error = "range '" + std::string(item) + "' must join two square numbers";
                return false;
            }
            auto fa = parseSquare(a, error);
            if (!fa) return false;
            auto fb = parseSquare(b, error);
            if (!fb) return false;
            if (*fb < *fa) {
                error = "range '" + std::string(item) + "' runs backwards";
                return false;
            }
            first = *fa;
            last = *fb;
        } else {
            auto s = parseSquare(item, error);
            if (!s) return false;
            first = last = *s;
        }
        for (int s = first; s <= last; ++s) {
            if (board[s] != Empty) {
                error = "square " + std::to_string(s) + " (" + std::string(squareName(static_cast<Square>(s))) +
                        ") is given twice";
                return false;
            }
            board[s] = side == White ? (king ? WhiteKing : WhiteMan) : (king ? BlackKing : BlackMan);
        }
    }
    return true;
}

}  // namespace

FenResult parseFen(std::string_view text) {
    FenResult result;
    std::string& error = result.error;
    text = trim(text);
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    if (text.empty()) {
        error = "empty position";
        return result;
    }
    Position pos;
    pos.board[0] = Sentinel;
    const char sideChar = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    if (sideChar != 'W' && sideChar != 'B') {
        error = "the position must start with the side to move, W or B";
        return result;
    }
    pos.side = sideChar == 'W' ? White : Black;
    text.remove_prefix(1);
    bool seen[2] = {false, false};
    int lists = 0;
    while (!text.empty()) {
        if (text.front() != ':') {
            error = "expected ':' before a piece list";
            return result;
        }
        text.remove_prefix(1);
        const std::size_t next = text.find(':');
        std::string_view list = trim(text.substr(0, next));
        text = next == std::string_view::npos ? std::string_view{} : text.substr(next);
        if (list.empty()) {
            error = "a piece list must start with W or B";
            return result;
        }
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(list.front())));
        if (c != 'W' && c != 'B') {
            error = "a piece list must start with W or B";
            return result;
        }
        const Side side = c == 'W' ? White : Black;
        if (seen[sideIndex(side)]) {
            error = std::string("the list of ") + (side == White ? "White" : "Black") + " is given twice";
            return result;
        }
        seen[sideIndex(side)] = true;
        ++lists;
        if (!parseList(list.substr(1), side, pos.board, error)) return result;
    }
    if (lists != 2) {
        error = "both piece lists are needed, as in W:W21,22:B1,2";
        return result;
    }
    result.position = pos;
    return result;
}

std::string toFen(const Board& board, Side side) {
    std::string out = side == Black ? "B" : "W";
    for (const Side list : {White, Black}) {
        out += list == White ? ":W" : ":B";
        bool first = true;
        for (int s = 1; s <= NumSquares; ++s) {
            const PieceCode c = board[s];
            if (!isPiece(c) || sideOf(c) != list) continue;
            if (!first) out += ',';
            first = false;
            if (isKing(c)) out += 'K';
            out += std::to_string(s);
        }
    }
    return out;
}

}  // namespace rules
