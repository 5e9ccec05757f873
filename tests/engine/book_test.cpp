// The opening libraries: reading tokens, the continuations of a game, the
// book window, the engine's choice among book moves, and library files.

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <set>

#include "engine/book.h"
#include "engine/search.h"
#include "files/text_lines.h"
#include "game/navigation.h"
#include "game/play.h"
#include "support/fake_host.h"

namespace {

using engine::BookLines;
using engine::BookMove;

TEST(BookTokens, OneAndTwoDigitSquaresSeparatorsAndLineEnds) {
    struct Case {
        const char* line;
        std::size_t at;
        int from, to;
        std::size_t next;
    };
    const Case cases[] = {
        {"22-18 10-14", 0, 22, 18, 6},  {"22-18 10-14", 6, 10, 14, 11},  // the last to square from the final digits
        {"9-13 22-18", 0, 9, 13, 5},  // one-digit from square
        {"22-18 9-13", 6, 9, 13, 10},  // one-digit, last token
        {"22-18  9-13 ", 6, 9, 13, 12},  // as the editor writes it: "%2d-%2d "
        {"26x17 11-15", 0, 26, 17, 6},  // a capture
        {"9x18", 0, 9, 18, 4},          {"23-9", 0, 23, 9, 4},  // the line ends on a one-digit to square
        {"22-18 10-1", 6, 10, 1, 10},   {"22-", 0, 22, 0, 3},  // cut short: matches nothing
        {"22-18 33-40", 6, 33, 40, 11},  // read, refused later
    };
    for (const Case& c : cases) {
        const engine::BookToken t = engine::readBookToken(c.line, c.at);
        EXPECT_EQ(t.from, c.from) << c.line << " @" << c.at;
        EXPECT_EQ(t.to, c.to) << c.line << " @" << c.at;
        EXPECT_GE(t.next, std::min(c.next, std::string_view(c.line).size())) << c.line << " @" << c.at;
    }
}

std::vector<BookMove> candidatesOf(BookLines lines, std::vector<BookMove> played) {
    engine::sortBook(lines);
    std::array<BookMove, engine::MaxBookCandidates> out{};
    const int n = engine::bookCandidates(lines, played, out);
    return {out.begin(), out.begin() + n};
}

TEST(BookCandidates, ContinuationsOfTheGameSoFar) {
    const BookLines book = {
        "22-18 10-14 23-19 ",  // with the optional trailing space
        "22-18 10-14 21-17",  // no trailing space
        "22-18 10-14 23-19 14x23",  // shares its third token with the first line
        "22-18 9-13 23-19",        "21-17 10-14", "23-19 11-15", "23-19 11-16",
    };
    struct Case {
        std::vector<BookMove> played;
        std::vector<BookMove> expected;
    };
    const Case cases[] = {
        // Nothing played: every distinct first move once.
        {{}, {{21, 17}, {22, 18}, {23, 19}}},
        // "22-18 10-14": the third tokens, each once; "22-18 9-13" gives nothing.
        {{{22, 18}, {10, 14}}, {{21, 17}, {23, 19}}},
        {{{22, 18}}, {{10, 14}, {9, 13}}},
        {{{22, 18}, {10, 14}, {23, 19}}, {{14, 23}}},
        // Beyond every line, or off the book.
        {{{22, 18}, {10, 14}, {21, 17}}, {}},
        {{{24, 20}}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(candidatesOf(book, c.played), c.expected) << c.played.size() << " plies";
}

TEST(BookCandidates, AtMostTwentyAndOnlySquaresOfTheBoard) {
    BookLines book;
    for (int from = 1; from <= 25; ++from) book.push_back("22-18 " + std::to_string(from) + "-14");
    book.push_back("22-18 33-29");
    book.push_back("22-18 0-4");
    const std::vector<BookMove> got = candidatesOf(book, {{22, 18}});
    ASSERT_EQ(got.size(), 20u);
    std::set<int> froms;
    for (const BookMove& m : got) {
        EXPECT_GE(m.from, 1);
        EXPECT_LE(m.from, 32);
        froms.insert(m.from);
    }
    EXPECT_EQ(froms.size(), 20u);  // twenty distinct ones: the 21st is ignored
}

TEST(BookWindow, TheFirstPliesWithFullArmiesThenPliesThreeToFortyOne) {
    struct Case {
        int plies, white, black;
        bool in;
    };
    const Case cases[] = {{0, 12, 12, true}, {2, 12, 12, true},   {2, 12, 11, false}, {3, 11, 11, true},
                          {41, 6, 7, true},  {42, 12, 12, false}, {60, 12, 12, false}};
    for (const Case& c : cases) EXPECT_EQ(engine::inBookWindow(c.plies, c.white, c.black), c.in) << c.plies;
}

// The engine at the start of a game, with a book.
struct Table {
    Table() : core(std::make_unique<game::Core>()) {
        core->host = &host;
        EXPECT_TRUE(engine::initialiseSearch(*core));
        game::installPosition(*core, rules::startingPosition(), rules::White);
        core->engine.limits.depth = 3;
        core->game.options.humanVsHuman = true;
    }
    // The legal move from `from` to `to`, played as a person would.
    void play(int from, int to) {
        rules::RulesState& r = core->rules;
        r.board = r.gamePosition;
        const int n = rules::generateRootMoves(r, core->game.sideToMove);
        for (int k = 0; k < n; ++k) {
            const rules::Move m = r.rootList()[k];
            if (m.from == from && m.to == to) {
                game::playMove(*core, m);
                return;
            }
        }
        ADD_FAILURE() << "no move " << from << "-" << to;
    }
    BookMove think() {
        core->rules.board = core->rules.gamePosition;
        const rules::Side side = core->game.sideToMove;
        const engine::RootAnswer r = engine::searchRoot(*core, side);
        if (!r.hasMove()) return {};
        const rules::Move& m = core->rules.rootList()[r.index];
        return {m.from, m.to};
    }
    testsupport::FakeHost host;
    std::unique_ptr<game::Core> core;
};

TEST(BookInSearch, PlaysEveryCandidateAtRandomAndOnlyBookMoves) {
    Table t;
    t.core->engine.books.white = {"21-17 10-14", "22-18 10-14", "23-19 9-13"};
    std::set<std::pair<int, int>> seen;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        t.core->engine.random.seed(seed);
        const BookMove m = t.think();
        seen.insert({m.from, m.to});
    }
    EXPECT_EQ(seen, (std::set<std::pair<int, int>>{{21, 17}, {22, 18}, {23, 19}}));
    // The book's move is played unsearched and leaves the last score alone.
    EXPECT_EQ(t.core->engine.lastScore, 0);
}

TEST(BookInSearch, FollowsTheGameAndSearchesWhenTheBookHasNothingLegal) {
    Table t;
    t.core->engine.books.black = {"22-18 10-14", "22-18 11-15"};
    t.play(22, 18);
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        t.core->engine.random.seed(seed);
        const BookMove m = t.think();
        EXPECT_TRUE((m == BookMove{10, 14}) || (m == BookMove{11, 15}));
    }
    // A candidate that is no legal move: the engine searches and plays a legal one.
    t.core->engine.books.black = {"22-18 10-19"};
    const BookMove m = t.think();
    EXPECT_FALSE((m == BookMove{10, 19}));
    EXPECT_GT(t.core->engine.search.nodeCount, 0);
    // Books switched off: searched although the book has a legal move.
    t.core->engine.books.black = {"22-18 12-16"};
    t.core->engine.search.nodeCount = 0;
    t.think();
    EXPECT_EQ(t.core->engine.search.nodeCount, 0);
    t.core->engine.books.booksActive = false;
    t.think();
    EXPECT_GT(t.core->engine.search.nodeCount, 0);
}

TEST(OpeningLine, PliesOfTheGameAsGroupsUpToFortyTwo) {
    game::GameRecord rec;
    for (int p = 1; p <= 50; ++p) {
        rec.plies[p].from = static_cast<rules::Square>(p % 2 ? 22 : 9);
        rec.plies[p].to = static_cast<rules::Square>(p % 2 ? 18 : 13);
    }
    rec.plyCounter = 6;
    EXPECT_EQ(engine::openingLineOf(rec), "22-18  9-13 22-18  9-13 22-18  9-13 ");
    rec.plyCounter = 50;
    EXPECT_EQ(engine::openingLineOf(rec).size(), 42u * 6);
    rec.plies[4].from = 0;  // a ply without a move ends the line
    EXPECT_EQ(engine::openingLineOf(rec), "22-18  9-13 22-18 ");
    // Read back, the editor's line gives the game's plies.
    rec.plies[4].from = 9;
    rec.plyCounter = 3;
    const std::vector<BookMove> next =
        candidatesOf({engine::openingLineOf(rec) + "13-17"}, {{22, 18}, {9, 13}, {22, 18}});
    EXPECT_EQ(next, (std::vector<BookMove>{{13, 17}}));
}

class LibraryFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("tavolex_books_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "Parametres");
        ASSERT_TRUE(files::writeTextLines((dir / "ouvert_b.ouv").string(), {"23-19 9-13", "22-18 10-14"}));
        ASSERT_TRUE(files::writeTextLines((dir / "ouvert_n.ouv").string(), {"21-17 11-15"}));
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    static std::string bytesOf(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path dir;
};

TEST_F(LibraryFiles, NamesOfASet) {
    EXPECT_EQ(engine::libraryFileName("test"), "test.ovv");
    EXPECT_EQ(engine::libraryFileName("test.ovv"), "test.ovv");
    EXPECT_EQ(engine::libraryFileName("TEST.OVV"), "TEST.OVV");
    EXPECT_EQ(engine::libraryBookName("test.ovv", rules::White), "test_b.ouv");
    EXPECT_EQ(engine::libraryBookName("test.ovv", rules::Black), "test_n.ouv");
}

TEST_F(LibraryFiles, StartUpSavingASetAndSwitchingBack) {
    engine::OpeningBooks books;
    EXPECT_TRUE(engine::loadDefaultBooks(books, dir).empty());
    EXPECT_EQ(books.white, (BookLines{"22-18 10-14", "23-19 9-13"}));  // sorted

    // White's editor saves "test": the set and the active White book.
    const BookLines edited = {"24-20 12-16", "22-18 10-14", "22-18 10-14"};
    ASSERT_EQ(engine::saveLibrarySet(books, dir, dir / "Parametres" / "test.ovv", {"analyse"}, rules::White, edited),
              engine::LibraryStatus::Ok);
    EXPECT_EQ(bytesOf(dir / "Parametres" / "test.ovv"), "analyse\r\n");
    EXPECT_EQ(bytesOf(dir / "Parametres" / "test_b.ouv"), "22-18 10-14\r\n22-18 10-14\r\n24-20 12-16\r\n");
    EXPECT_EQ(bytesOf(dir / "ouvert_b.ouv"), bytesOf(dir / "Parametres" / "test_b.ouv"));
    EXPECT_EQ(bytesOf(dir / "Parametres" / "test_n.ouv"), "21-17 11-15\r\n");
    EXPECT_EQ(books.white.size(), 3u);

    // Another set becomes active, and the default for later runs.
    ASSERT_TRUE(files::writeTextLines((dir / "Parametres" / "autre_b.ouv").string(), {"21-17 9-13"}));
    ASSERT_TRUE(files::writeTextLines((dir / "Parametres" / "autre_n.ouv").string(), {"24-19 10-15"}));
    ASSERT_EQ(engine::switchLibrarySet(books, dir, dir / "Parametres" / "autre.ovv"), engine::LibraryStatus::Ok);
    EXPECT_EQ(books.white, BookLines{"21-17 9-13"});
    engine::OpeningBooks reread;
    engine::loadDefaultBooks(reread, dir);
    EXPECT_EQ(reread.black, BookLines{"24-19 10-15"});

    // A set with a book missing changes nothing.
    ASSERT_TRUE(files::writeTextLines((dir / "Parametres" / "half_b.ouv").string(), {"22-17"}));
    EXPECT_EQ(engine::switchLibrarySet(books, dir, dir / "Parametres" / "half.ovv"), engine::LibraryStatus::Unreadable);
    EXPECT_EQ(books.white, BookLines{"21-17 9-13"});
    EXPECT_EQ(bytesOf(dir / "ouvert_b.ouv"), "21-17 9-13\r\n");
}

// Switching sets rewrites both default books: when either cannot be
// written, neither file nor either list changes.
TEST_F(LibraryFiles, ASwitchThatCannotBeWrittenChangesNothing) {
    ASSERT_TRUE(files::writeTextLines((dir / "Parametres" / "autre_b.ouv").string(), {"21-17 9-13"}));
    ASSERT_TRUE(files::writeTextLines((dir / "Parametres" / "autre_n.ouv").string(), {"24-19 10-15"}));
    const struct {
        const char* name;
        const char* blocked;  // the default book that refuses the new lines
        bool folder;
    } cases[] = {
        {"White's read-only", "ouvert_b.ouv", false},
        {"Black's read-only", "ouvert_n.ouv", false},
        {"Black's a folder", "ouvert_n.ouv", true},
    };
    for (const auto& c : cases) {
        engine::OpeningBooks books;
        ASSERT_TRUE(engine::loadDefaultBooks(books, dir).empty());
        const engine::OpeningBooks before = books;
        const std::string whiteBefore = bytesOf(dir / "ouvert_b.ouv");
        const std::string blackBefore = bytesOf(dir / "ouvert_n.ouv");
        if (c.folder) {
            std::filesystem::rename(dir / c.blocked, dir / "aside");
            std::filesystem::create_directory(dir / c.blocked);
        } else {
            std::filesystem::permissions(dir / c.blocked, std::filesystem::perms(0444));
        }
        EXPECT_EQ(engine::switchLibrarySet(books, dir, dir / "Parametres" / "autre.ovv"),
                  engine::LibraryStatus::NotWritten)
            << c.name;
        EXPECT_EQ(books.white, before.white) << c.name;
        EXPECT_EQ(books.black, before.black) << c.name;
        if (c.folder) {
            std::filesystem::remove(dir / c.blocked);
            std::filesystem::rename(dir / "aside", dir / c.blocked);
        } else {
            std::filesystem::permissions(dir / c.blocked, std::filesystem::perms(0644));
        }
        EXPECT_EQ(bytesOf(dir / "ouvert_b.ouv"), whiteBefore) << c.name;
        EXPECT_EQ(bytesOf(dir / "ouvert_n.ouv"), blackBefore) << c.name;
    }
    // Saving a set is all or nothing too; the edits stay in use.
    engine::OpeningBooks books;
    ASSERT_TRUE(engine::loadDefaultBooks(books, dir).empty());
    std::filesystem::permissions(dir / "ouvert_b.ouv", std::filesystem::perms(0444));
    EXPECT_EQ(
        engine::saveLibrarySet(books, dir, dir / "Parametres" / "new.ovv", {"analyse"}, rules::White, {"24-20 12-16"}),
        engine::LibraryStatus::NotWritten);
    EXPECT_FALSE(std::filesystem::exists(dir / "Parametres" / "new.ovv"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Parametres" / "new_b.ouv"));
    EXPECT_EQ(books.white, BookLines{"24-20 12-16"});
    std::filesystem::permissions(dir / "ouvert_b.ouv", std::filesystem::perms(0644));
}

TEST_F(LibraryFiles, MissingDefaultBooksGiveEmptyLists) {
    std::filesystem::remove(dir / "ouvert_n.ouv");
    engine::OpeningBooks books;
    books.black = {"stale"};
    EXPECT_EQ(engine::loadDefaultBooks(books, dir), std::vector<std::string>{"ouvert_n.ouv"});
    EXPECT_TRUE(books.black.empty());
    EXPECT_EQ(books.white.size(), 2u);
}

}  // namespace
