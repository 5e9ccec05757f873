// The opening books we ship (data/books, made by tools/make_books): their
// text is what the engine's book reader expects, every line is a legal game
// from the start that keeps material level, and each book answers for its
// own side where the other side has choices.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "rules/board.h"
#include "rules/movegen.h"

namespace fs = std::filesystem;

namespace {

struct BookFile {
    const char* name;
    rules::Side bookSide;     // the side whose moves the book gives
    std::size_t minLines, maxLines;
    std::size_t minPlies, maxPlies;
    const char* folder;       // where the build puts it in the program folder
};

constexpr BookFile Books[] = {
    {"ouvert_b.ouv", rules::White, 200, 600, 10, 16, ""},
    {"ouvert_n.ouv", rules::Black, 200, 600, 10, 16, ""},
    {"Solides_b.ouv", rules::White, 100, 600, 10, 16, "Parametres"},
    {"Solides_n.ouv", rules::Black, 100, 600, 10, 16, "Parametres"},
};

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path sourceFile(const char* name) { return fs::path(TAVOLEX_SOURCE_DIR) / "data" / "books" / name; }

// The file's lines without their CR LF; a line break that is not CR LF, or a
// last line without one, fails the test.
std::vector<std::string> crLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "last line without CR LF";
        if (end == std::string::npos) break;
        const std::string line = bytes.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

struct Token {
    int from = 0, to = 0;
    bool capture = false;
    bool operator<(const Token& o) const { return std::tie(from, to) < std::tie(o.from, o.to); }
    bool operator==(const Token& o) const { return from == o.from && to == o.to; }
};

// "22-18 11x15": squares 1..32 without leading zeros, single spaces, an
// optional trailing space. Nothing when the text breaks the format.
std::optional<std::vector<Token>> parseLine(std::string text) {
    if (!text.empty() && text.back() == ' ') text.pop_back();
    std::vector<Token> out;
    std::size_t i = 0;
    const auto square = [&](int& s) {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        if (i == start || i - start > 2 || text[start] == '0') return false;
        s = std::stoi(text.substr(start, i - start));
        return s >= 1 && s <= 32;
    };
    while (true) {
        Token t;
        if (!square(t.from) || i >= text.size() || (text[i] != '-' && text[i] != 'x')) return std::nullopt;
        t.capture = text[i++] == 'x';
        if (!square(t.to)) return std::nullopt;
        out.push_back(t);
        if (i == text.size()) return out;
        if (text[i++] != ' ') return std::nullopt;
    }
}

std::vector<std::vector<Token>> loadBook(const BookFile& b) {
    std::vector<std::vector<Token>> lines;
    for (const std::string& text : crLfLines(readBytes(sourceFile(b.name)))) {
        const auto tokens = parseLine(text);
        EXPECT_TRUE(tokens) << b.name << ": not a line of moves: \"" << text << "\"";
        if (tokens) lines.push_back(*tokens);
    }
    return lines;
}

int material(const rules::Board& board) {  // White's lead, a king worth three men
    const rules::PieceTotals t = rules::countPieces(board);
    return t.whiteMen + 3 * t.whiteKings - t.blackMen - 3 * t.blackKings;
}

TEST(Books, FilesAreSortedLinesOfMoveTokens) {
    for (const BookFile& b : Books) {
        SCOPED_TRACE(b.name);
        const std::vector<std::string> texts = crLfLines(readBytes(sourceFile(b.name)));
        EXPECT_GE(texts.size(), b.minLines);
        EXPECT_LE(texts.size(), b.maxLines);
        // Bytewise order, no line twice: equal continuations are neighbours.
        EXPECT_TRUE(std::adjacent_find(texts.begin(), texts.end(), std::greater_equal<>()) == texts.end());
        for (const std::vector<Token>& line : loadBook(b)) {
            EXPECT_GE(line.size(), b.minPlies);
            EXPECT_LE(line.size(), b.maxPlies);
        }
    }
}

// Each token names exactly one legal move by its squares (capture orders
// that end in the same position count as one), the mark agrees with the
// move, and the line ends after a move of the book side in a quiet position
// with material level.
TEST(Books, EveryLineIsLegalAndEndsLevel) {
    rules::RulesState r;
    for (const BookFile& b : Books) {
        SCOPED_TRACE(b.name);
        for (const std::vector<Token>& line : loadBook(b)) {
            r.board = rules::startingPosition();
            rules::Side side = rules::White;
            for (std::size_t k = 0; k < line.size(); ++k) {
                const Token& t = line[k];
                SCOPED_TRACE("ply " + std::to_string(k + 1));
                const int n = rules::generateRootMoves(r, side);
                std::set<rules::Board> reached;
                bool capture = false;
                for (int i = 0; i < n; ++i) {
                    const rules::Move& m = r.rootList()[i];
                    if (m.from != t.from || m.to != t.to) continue;
                    rules::Board after = r.board;
                    rules::applyMove(after, m);
                    reached.insert(after);
                    capture = m.ncapt > 0;
                }
                ASSERT_EQ(reached.size(), 1u) << t.from << (t.capture ? "x" : "-") << t.to;
                EXPECT_EQ(capture, t.capture);
                r.board = *reached.begin();
                side = rules::opposite(side);
            }
            EXPECT_EQ(side, rules::opposite(b.bookSide)) << "the line ends on the other side's move";
            rules::generateRootMoves(r, side);
            EXPECT_EQ(r.captureCount, 0) << "the line ends with a capture pending";
            EXPECT_EQ(material(r.board), 0);
        }
    }
}

// Candidates as the engine finds them: the continuations of every line
// sharing the plies played so far.
std::map<std::vector<Token>, std::set<Token>> candidates(const std::vector<std::vector<Token>>& lines) {
    std::map<std::vector<Token>, std::set<Token>> out;
    for (const auto& line : lines)
        for (std::size_t n = 0; n < line.size(); ++n)
            out[std::vector<Token>(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(n))].insert(line[n]);
    return out;
}

// A book keeps few moves of its own side and meets several of the other
// side's: Black's books answer every one of White's seven first moves.
TEST(Books, NarrowForTheBookSideWideForTheOther) {
    for (const BookFile& b : Books) {
        SCOPED_TRACE(b.name);
        std::size_t widestOwn = 0, widestOther = 0;
        for (const auto& [played, next] : candidates(loadBook(b))) {
            const bool own = (played.size() % 2 == 0 ? rules::White : rules::Black) == b.bookSide;
            std::size_t& widest = own ? widestOwn : widestOther;
            widest = std::max(widest, next.size());
            if (played.empty() && !own) {
                EXPECT_EQ(next.size(), 7u);
            }
        }
        EXPECT_GE(widestOwn, 1u);
        EXPECT_LE(widestOwn, 3u);
        EXPECT_GE(widestOther, 3u);
    }
}

// The build copies the books into the program folder: the default pair
// beside the program, the "Solides" set with its marker in "Parametres".
// Only their presence is checked: the program rewrites the default pair
// when another set is chosen.
TEST(Books, BuildPutsThemInTheProgramFolder) {
    for (const BookFile& b : Books) {
        SCOPED_TRACE(b.name);
        EXPECT_FALSE(readBytes(fs::path(TAVOLEX_PROGRAM_DIR) / b.folder / b.name).empty());
    }
    EXPECT_FALSE(crLfLines(readBytes(sourceFile("Solides.ovv"))).empty());
    EXPECT_TRUE(fs::exists(fs::path(TAVOLEX_PROGRAM_DIR) / "Parametres" / "Solides.ovv"));
}

}  // namespace
