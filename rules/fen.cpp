#include "rules/fen.h"

#include <cctype>
#include <charconv>

namespace rules {

Square squareOfNumber(int n, Corner numbers) {
    if (n < 1 || n > NumSquares) return 0;
    // Rows of four dark squares, counted from the corner's row, and the
    // square's place along its row, counted from the corner's side.
    const int row = (n - 1) / 4, k = (n - 1) % 4;
    switch (numbers) {
        case Corner::TopLeft: return static_cast<Square>(n);
        case Corner::TopRight: return static_cast<Square>(4 * row + (3 - k) + 1);
        case Corner::BottomLeft: return static_cast<Square>(4 * (7 - row) + k + 1);
        case Corner::BottomRight: return static_cast<Square>(4 * (7 - row) + (3 - k) + 1);
    }
    return 0;
}

Square squareOfName(char file, char row, Corner names) {
    const char f = static_cast<char>(std::tolower(static_cast<unsigned char>(file)));
    if (f < 'a' || f > 'h' || row < '1' || row > '8') return 0;
    int fileIndex = f - 'a';   // 0 for the file next to the corner
    int rowIndex = row - '1';  // 0 for the row of the corner
    if (names == Corner::BottomRight || names == Corner::TopRight) fileIndex = 7 - fileIndex;
    if (names == Corner::TopLeft || names == Corner::TopRight) rowIndex = 7 - rowIndex;
    return squareAt(7 - rowIndex, fileIndex);
}

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool isDigits(std::string_view s, std::size_t most) {
    if (s.empty() || s.size() > most) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// A square number as written; more than four digits is no square at all.
std::optional<int> squareNumber(std::string_view token) {
    if (!isDigits(token, 4)) return std::nullopt;
    int n = 0;
    std::from_chars(token.data(), token.data() + token.size(), n);
    return n;
}

// One square given by number or by name. On failure `error` says why.
std::optional<Square> parseSquare(std::string_view token, const Notation& notation, std::string& error) {
    if (const auto n = squareNumber(token)) {
        const Square s = squareOfNumber(*n, notation.numbers);
        if (s == 0) {
            error = "square " + std::string(token) + " is off the board (squares are 1 to 32)";
            return std::nullopt;
        }
        return s;
    }
    if (token.size() == 2 && std::isalpha(static_cast<unsigned char>(token[0])) &&
        std::isdigit(static_cast<unsigned char>(token[1]))) {
        const char f = static_cast<char>(std::tolower(static_cast<unsigned char>(token[0])));
        if (f < 'a' || f > 'h' || token[1] < '1' || token[1] > '8') {
            error = "square " + std::string(token) + " is off the board";
            return std::nullopt;
        }
        if (const Square s = squareOfName(token[0], token[1], notation.names)) return s;
        error = "square " + std::string(token) + " is a light square";
        return std::nullopt;
    }
    error = "'" + std::string(token) + "' is not a square";
    return std::nullopt;
}

bool place(Board& board, int square, Side side, bool king, std::string& error) {
    if (board[square] != Empty) {
        error = "square " + std::to_string(square) + " (" + std::string(squareName(static_cast<Square>(square))) +
                ") is given twice";
        return false;
    }
    board[square] = side == White ? (king ? WhiteKing : WhiteMan) : (king ? BlackKing : BlackMan);
    return true;
}

// The pieces of one side: "W21,22,K5" after its colour letter. Every entry
// between commas must hold a square: "21,,22" and "21," are refused alike.
bool parseList(std::string_view list, Side side, const Notation& notation, Board& board, std::string& error) {
    if (trim(list).empty()) return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        std::string_view item = trim(list.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (item.empty()) {
            error = "empty entry in a piece list";
            return false;
        }
        bool king = false;
        if (item.front() == 'K' || item.front() == 'k') {
            king = true;
            item.remove_prefix(1);
        }
        const std::size_t dash = item.find('-');
        if (dash != std::string_view::npos) {
            // A range of numbers: every square numbered from the first to the
            // last in the file's own numbering.
            const std::string_view a = trim(item.substr(0, dash)), b = trim(item.substr(dash + 1));
            const auto first = squareNumber(a), last = squareNumber(b);
            if (!first || !last) {
                error = "range '" + std::string(item) + "' must join two square numbers";
                return false;
            }
            for (std::string_view end : {a, b})
                if (!parseSquare(end, notation, error)) return false;
            if (*last < *first) {
                error = "range '" + std::string(item) + "' runs backwards";
                return false;
            }
            for (int n = *first; n <= *last; ++n)
                if (!place(board, squareOfNumber(n, notation.numbers), side, king, error)) return false;
        } else {
            const auto s = parseSquare(item, notation, error);
            if (!s || !place(board, *s, side, king, error)) return false;
        }
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

// ":H0" (plies since a capture) and ":F1" (move number): a letter and digits.
bool isCounterField(std::string_view field) {
    return field.size() >= 2 && (field.front() == 'H' || field.front() == 'F') && isDigits(field.substr(1), 9);
}

}  // namespace

FenResult parseFen(std::string_view text, const Notation& notation) {
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
        if (isCounterField(list)) continue;
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
        if (!parseList(list.substr(1), side, notation, pos.board, error)) return result;
    }
    if (lists != 2) {
        error = "both piece lists are needed, as in W:W21,22:B1,2";
        return result;
    }
    result.position = pos;
    return result;
}

std::string toFen(const Board& board, Side side, FenSquares squares) {
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
            if (squares == FenSquares::Names)
                out += squareName(static_cast<Square>(s));
            else
                out += std::to_string(s);
        }
    }
    return out;
}

}  // namespace rules
