#pragma once
// The opening libraries: one list of lines for the positions with White to
// move and one for Black. A line is the game from the starting position as
// move tokens "22-18 10-14 ...", one space apart, a token being a from
// square, "-" or "x", and a to square (1..32, no leading zero). With n plies
// played, every line whose first n tokens are the game so far offers its
// token n + 1. The lists are kept sorted so that lines sharing a beginning
// are neighbours and each continuation is offered once.

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/record.h"
#include "rules/board.h"

namespace engine {

constexpr int MaxBookCandidates = 20;
// The libraries are consulted up to this many plies played.
constexpr int LastBookPly = 41;

struct BookMove {
    int from = 0;
    int to = 0;
    bool operator==(const BookMove&) const = default;
};

using BookLines = std::vector<std::string>;

struct OpeningBooks {
    BookLines white;  // "ouvert_b.ouv": used with White to move
    BookLines black;  // "ouvert_n.ouv": used with Black to move
    bool booksActive = true;  // "Bibliothèques actives"

    BookLines& of(rules::Side side) { return side == rules::White ? white : black; }
    const BookLines& of(rules::Side side) const { return side == rules::White ? white : black; }
};

// Keeps a list in the order lookups rely on (bytewise).
void sortBook(BookLines& lines);

// Whether the libraries are asked at all: fewer than 3 plies with twelve men
// a side, or 3 to 41 plies played.
bool inBookWindow(int pliesPlayed, int whiteMen, int blackMen);

// One token read from `line` at `at`: its squares (0 where a square is
// missing, which never matches a game ply) and where the next token starts
// (past the end when the line is done).
struct BookToken {
    int from = 0;
    int to = 0;
    std::size_t next = 0;
};
BookToken readBookToken(std::string_view line, std::size_t at);

// The continuations of the game `played` (from and to squares of plies
// 1..n) in `lines`: at most 20, without a candidate equal to the one added
// just before it. Returns how many were written into `out`.
int bookCandidates(const BookLines& lines, std::span<const BookMove> played,
                   std::array<BookMove, MaxBookCandidates>& out);

// The game so far as an opening line: "%2d-%2d " for each ply from the
// first up to the ply shown, at most 42 plies, stopping at a ply without a
// move.
constexpr int MaxOpeningLinePlies = 42;
std::string openingLineOf(const game::GameRecord& record);

// Library files: text lines ended by CR LF. Reading drops the line ends and
// empty lines; nothing when the file cannot be read.
std::optional<BookLines> readBookFile(const std::filesystem::path& file);
bool writeBookFile(const std::filesystem::path& file, const BookLines& lines);

// The active book of `side` in the program folder, and rereading it into
// the list: false, and the list as it was, when the file cannot be read.
const char* activeBookName(rules::Side side);
bool reloadActiveBook(OpeningBooks& books, const std::filesystem::path& programDir, rules::Side side);

// Start-up: "ouvert_b.ouv" and "ouvert_n.ouv" of the program folder into the
// two lists. A missing file leaves its list empty (the engine then searches);
// the names of the files that could not be read are returned.
std::vector<std::string> loadDefaultBooks(OpeningBooks& books, const std::filesystem::path& programDir);

// A library set X is "X.ovv" (its marker), "X_b.ouv" and "X_n.ouv" in the
// folder "Parametres". `libraryFileName` gives the marker's name for what the
// user typed ("test" and "test.ovv" both give "test.ovv"); `libraryBookName`
// the name of one of its books.
std::string libraryFileName(std::string_view typed);
std::string libraryBookName(std::string_view markerName, rules::Side side);

enum class LibraryStatus { Ok, Unreadable, NotWritten };

// "Changer bibliothèque ouvertures": the set of `marker` becomes the active
// pair of books and the default for later runs ("ouvert_b.ouv" and
// "ouvert_n.ouv" rewritten). All or nothing: when either book of the set
// cannot be read (Unreadable) or either default cannot be written
// (NotWritten), neither the lists nor the files change.
LibraryStatus switchLibrarySet(OpeningBooks& books, const std::filesystem::path& programDir,
                               const std::filesystem::path& marker);

// The editor's "Enregistrer": saves `edited` as the book of `side` in the
// set `marker` (written with `markerLines`, the analysis list) and as the
// active book of that side; the set's other book is a copy of the active
// one. The four files are written together or not at all (NotWritten). The
// active list of `side` becomes `edited`, sorted, even then, so that the
// edits are not lost.
LibraryStatus saveLibrarySet(OpeningBooks& books, const std::filesystem::path& programDir,
                             const std::filesystem::path& marker, const std::vector<std::string>& markerLines,
                             rules::Side side, BookLines edited);

}  // namespace engine
