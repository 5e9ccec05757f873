#include "engine/book.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "files/program_folder.h"
#include "files/save_file.h"
#include "files/text_lines.h"

namespace engine {

namespace {

char at(std::string_view s, std::size_t i) { return i < s.size() ? s[i] : '\0'; }

// A square written in one or two characters, read the way the C library
// reads a number: leading blanks skipped, then digits. A one-digit square
// is read as a blank followed by the digit.
int squareNumber(char first, char second) {
    int value = 0;
    bool started = false;
    for (char c : {first, second}) {
        if (!started && c == ' ') continue;
        if (c < '0' || c > '9') break;
        started = true;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool onBoard(int square) { return square >= 1 && square <= rules::NumSquares; }

bool endsWithOvv(std::string_view name) {
    if (name.size() < 4) return false;
    std::string tail(name.substr(name.size() - 4));
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".ovv";
}

}  // namespace

void sortBook(BookLines& lines) { std::sort(lines.begin(), lines.end()); }

bool inBookWindow(int pliesPlayed, int whiteMen, int blackMen) {
    if (pliesPlayed < 3) return whiteMen == 12 && blackMen == 12;
    return pliesPlayed <= LastBookPly;
}

BookToken readBookToken(std::string_view line, std::size_t i) {
    BookToken t;
    std::size_t j;
    const char sep = at(line, i + 1);
    if (sep == '-' || sep == 'x') {
        t.from = squareNumber(' ', at(line, i));
        j = i + 2;
    } else {
        // Two digits; whatever stands after them is taken as the separator.
        t.from = squareNumber(at(line, i), at(line, i + 1));
        j = i + 3;
    }
    if (j + 1 < line.size()) {
        if (line[j + 1] == ' ') {
            t.to = squareNumber(' ', line[j]);
            t.next = j + 2;
        } else {
            t.to = squareNumber(line[j], line[j + 1]);
            t.next = j + 3;
        }
    } else if (j + 1 == line.size()) {
        // The line ends on a one-digit to square.
        t.to = squareNumber(' ', line[j]);
        t.next = line.size();
    } else {
        t.to = 0;  // the token is cut short: it matches nothing
        t.next = line.size();
    }
    return t;
}

int bookCandidates(const BookLines& lines, std::span<const BookMove> played,
                   std::array<BookMove, MaxBookCandidates>& out) {
    const std::size_t n = played.size();
    int count = 0;
    for (const std::string& line : lines) {
        std::size_t i = 0;
        for (std::size_t k = 1; i < line.size(); ++k) {
            const BookToken t = readBookToken(line, i);
            i = t.next;
            if (k == n + 1) {
                const BookMove m{t.from, t.to};
                if (onBoard(m.from) && onBoard(m.to) && (count == 0 || !(out[count - 1] == m)) &&
                    count < MaxBookCandidates)
                    out[count++] = m;
                break;
            }
            if (t.from != played[k - 1].from || t.to != played[k - 1].to) break;
        }
    }
    return count;
}

std::string openingLineOf(const game::GameRecord& record) {
    std::string line;
    for (int p = 1; p <= record.plyCounter && p <= MaxOpeningLinePlies && record.plies[p].from != 0; ++p) {
        char group[16];
        std::snprintf(group, sizeof group, "%2d-%2d ", record.plies[p].from, record.plies[p].to);
        line += group;
    }
    return line;
}

std::optional<BookLines> readBookFile(const std::filesystem::path& file) {
    std::optional<BookLines> lines = files::readTextLines(file.string());
    if (!lines) return std::nullopt;
    std::erase_if(*lines, [](const std::string& l) { return l.empty(); });
    return lines;
}

bool writeBookFile(const std::filesystem::path& file, const BookLines& lines) {
    return files::writeTextLines(file.string(), lines);
}

const char* activeBookName(rules::Side side) { return side == rules::White ? "ouvert_b.ouv" : "ouvert_n.ouv"; }

bool reloadActiveBook(OpeningBooks& books, const std::filesystem::path& programDir, rules::Side side) {
    std::optional<BookLines> lines = readBookFile(files::resolveInFolder(programDir, activeBookName(side)));
    if (!lines) return false;
    sortBook(*lines);
    books.of(side) = std::move(*lines);
    return true;
}

std::vector<std::string> loadDefaultBooks(OpeningBooks& books, const std::filesystem::path& programDir) {
    std::vector<std::string> unread;
    for (const rules::Side side : {rules::White, rules::Black}) {
        books.of(side).clear();
        if (!reloadActiveBook(books, programDir, side)) unread.emplace_back(activeBookName(side));
    }
    return unread;
}

std::string libraryFileName(std::string_view typed) {
    std::string name(typed);
    if (!endsWithOvv(name)) name += ".ovv";
    return name;
}

std::string libraryBookName(std::string_view markerName, rules::Side side) {
    std::string name(markerName);
    if (endsWithOvv(name)) name.resize(name.size() - 4);
    return name + (side == rules::White ? "_b.ouv" : "_n.ouv");
}

LibraryStatus switchLibrarySet(OpeningBooks& books, const std::filesystem::path& programDir,
                               const std::filesystem::path& marker) {
    const std::filesystem::path folder = marker.parent_path();
    const std::string name = marker.filename().string();
    std::optional<BookLines> white = readBookFile(folder / libraryBookName(name, rules::White));
    std::optional<BookLines> black = readBookFile(folder / libraryBookName(name, rules::Black));
    if (!white || !black) return LibraryStatus::Unreadable;
    sortBook(*white);
    sortBook(*black);
    // Both default books change together or neither does, and the lists in
    // memory follow the disk: a half-switched pair would pair one set's
    // White lines with another set's Black lines at the next start.
    const files::FileToSave defaults[] = {
        {files::resolveInFolder(programDir, activeBookName(rules::White)).string(), files::joinTextLines(*white)},
        {files::resolveInFolder(programDir, activeBookName(rules::Black)).string(), files::joinTextLines(*black)},
    };
    if (files::saveFilesTogether(defaults) != files::SaveStatus::Saved) return LibraryStatus::NotWritten;
    books.white = std::move(*white);
    books.black = std::move(*black);
    return LibraryStatus::Ok;
}

LibraryStatus saveLibrarySet(OpeningBooks& books, const std::filesystem::path& programDir,
                             const std::filesystem::path& marker, const std::vector<std::string>& markerLines,
                             rules::Side side, BookLines edited) {
    sortBook(edited);
    const std::filesystem::path folder = marker.parent_path();
    const std::string name = libraryFileName(marker.filename().string());
    const rules::Side other = rules::opposite(side);
    // The set's other book is the active one on disk; a missing file gives an
    // empty book, as the engine would have.
    const BookLines otherBook =
        readBookFile(files::resolveInFolder(programDir, activeBookName(other))).value_or(BookLines{});
    // The set's three files and the active book are written together: a set
    // is never left with one book of the new lines and one of the old.
    const files::FileToSave set[] = {
        {(folder / name).string(), files::joinTextLines(markerLines)},
        {(folder / libraryBookName(name, side)).string(), files::joinTextLines(edited)},
        {(folder / libraryBookName(name, other)).string(), files::joinTextLines(otherBook)},
        {files::resolveInFolder(programDir, activeBookName(side)).string(), files::joinTextLines(edited)},
    };
    const bool saved = files::saveFilesTogether(set) == files::SaveStatus::Saved;
    // The edits stay in use (and in the editor) even when the disk refused
    // them, so that nothing typed is lost; the caller says the save failed.
    books.of(side) = std::move(edited);
    return saved ? LibraryStatus::Ok : LibraryStatus::NotWritten;
}

}  // namespace engine
