// Games as text: the export, the printed layout, reading our own layout and
// PDN back into the same moves, and stopping where a file stops making sense.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "files/setup.h"
#include "files/text_encoding.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "game/navigation.h"
#include "game/play.h"
#include "rules/written_move.h"
#include "support/game_builder.h"

namespace {

using Lines = std::vector<std::string>;

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The moves of a record, ply by ply, and the position after each.
Lines movesOf(const game::GameRecord& rec) {
    Lines out;
    for (int k = 1; k <= rec.recordLength; ++k) {
        const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(k)];
        out.push_back(std::to_string(e.from) + (e.captureCount ? "x" : "-") + std::to_string(e.to));
    }
    return out;
}
std::vector<std::array<rules::PieceCode, rules::NumSquares>> positionsOf(const game::GameRecord& rec) {
    std::vector<std::array<rules::PieceCode, rules::NumSquares>> out;
    for (int k = 0; k <= rec.recordLength; ++k) out.push_back(rec.plies[static_cast<std::size_t>(k)].squares);
    return out;
}

// A core holding the game a text describes, replayed from its first game.
struct Replayed {
    std::unique_ptr<game::Core> core = std::make_unique<game::Core>();
    files::ReplayOutcome outcome;
};
Replayed replayed(const std::string& text, std::size_t game = 0) {
    Replayed r;
    files::resetToStartingPosition(*r.core);
    const std::vector<files::ParsedGame> games = files::readTextGames(bytesOf(text));
    if (game < games.size()) r.outcome = files::replayGame(*r.core, games[game]);
    return r;
}

// ---------------------------------------------------------------- export

TEST(TextExport, OurLayout) {
    const std::string moves = " 1.c3-d4 f6-g5  2.b2-c3 g5-h4  3.e3-f4 g7-f6  4.d4-e5 f6xb2  5.a1xc3 ";
    Replayed r = replayed("Ana-Bia\r\n" + moves + "\r\n");
    ASSERT_EQ(r.outcome.played, 9);
    // Shown at ply 9: four full moves; White's fifth is left out.
    EXPECT_EQ(files::exportText(*r.core, files::ResultCode::BlackWon).text,
              "Ana-Bia  0-2\r\nTavolex144\r\n 1.c3-d4 f6-g5   2.b2-c3 g5-h4   3.e3-f4 g7-f6   4.d4-e5 f6xb2  \r\n");
    // Shown at the start: the names line and "Tavolex144" alone.
    game::goToStart(*r.core);
    EXPECT_EQ(files::exportText(*r.core, files::ResultCode::None).text, "Ana-Bia \r\nTavolex144\r\n");

    // Thirteen full moves: text lines of 4, 4, 4 and 1; a name with a dash
    // is set off by blanks.
    game::Core c;
    files::resetToStartingPosition(c);
    c.game.whiteName = game::makeName("Jean-Pierre");
    testsupport::playRandomMoves(c, 26, 3);
    const std::string text = files::exportText(c, files::ResultCode::Draw).text;
    EXPECT_TRUE(text.starts_with("Jean-Pierre - ")) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
    EXPECT_NE(text.find("\r\n13."), std::string::npos);

    const Lines report = files::printedAnalysisReport("Ana", "Bia", "+100 ganha uma pedra", {"x"});
    EXPECT_EQ(report[3], "Ana" + std::string(25, ' ') + "Bia");
    EXPECT_TRUE(report[4].starts_with("+100 ganha"));
    EXPECT_EQ(report.back(), "x");
}

TEST(TextExport, PdnHasTheSevenTagsAndEightByEightResults) {
    game::Core c;
    files::resetToStartingPosition(c);
    c.game.whiteName = game::makeName("Ana");
    testsupport::playRandomMoves(c, 5, 2);
    const struct {
        files::ResultCode result;
        const char* text;
    } results[] = {{files::ResultCode::WhiteWon, "1-0"},
                   {files::ResultCode::BlackWon, "0-1"},
                   {files::ResultCode::Draw, "1/2-1/2"},
                   {files::ResultCode::None, "*"}};
    for (const auto& r : results) {
        const std::string pdn = files::exportPdn(c, r.result).text;
        EXPECT_TRUE(
            pdn.starts_with("[Event \"?\"]\r\n[Site \"?\"]\r\n[Date \"????.??.??\"]\r\n[Round \"?\"]\r\n"
                            "[White \"Ana\"]\r\n[Black \"?\"]\r\n[Result \"" +
                            std::string(r.text) + "\"]\r\n[GameType \"26\"]\r\n\r\n1. "))
            << pdn;
        EXPECT_TRUE(pdn.ends_with(std::string(" ") + r.text + "\r\n")) << pdn;
        const auto games = files::parsePdnGames(bytesOf(pdn));
        ASSERT_EQ(games.size(), 1u);
        EXPECT_EQ(games[0].result, r.result);
        EXPECT_EQ(games[0].black, "");  // "?": nobody gave it
    }
    // The scores of older files read the same.
    for (const char* old : {"2-0", "1-1", "0-2"}) {
        const auto games = files::parsePdnGames(bytesOf(std::string("[White \"A\"]\n1. c3-d4 ") + old));
        ASSERT_EQ(games.size(), 1u);
        EXPECT_EQ(std::string(files::pdnResultText(games[0].result)), std::string(old) == "2-0"   ? "1-0"
                                                                      : std::string(old) == "0-2" ? "0-1"
                                                                                                  : "1/2-1/2");
    }
}

// ---------------------------------------------------------------- round trips

// The game read back from our export and from PDN has every position of the
// original: the same pieces taken, not only the same squares moved between.
void expectRoundTrips(game::Core& original, const char* trace) {
    SCOPED_TRACE(trace);
    const int plies = original.game.record.recordLength;
    original.game.record.plyCounter = static_cast<std::uint8_t>(plies);
    const std::string pdn = files::exportPdn(original, files::ResultCode::None).text;
    const std::string ours = files::exportText(original, files::ResultCode::None).text;
    Replayed fromPdn = replayed(pdn);
    EXPECT_EQ(fromPdn.outcome.stop, files::ReplayStop::None) << pdn;
    EXPECT_EQ(positionsOf(fromPdn.core->game.record), positionsOf(original.game.record)) << pdn;
    // Our layout starts from the usual position and holds full moves only.
    const game::PlyRecord& first = original.game.record.plies[0];
    if (!std::equal(first.squares.begin(), first.squares.end(), rules::startingPosition().begin() + 1)) return;
    Replayed fromOurs = replayed(ours);
    EXPECT_EQ(fromOurs.outcome.stop, files::ReplayStop::None) << ours;
    auto expected = positionsOf(original.game.record);
    expected.resize(static_cast<std::size_t>(plies / 2 * 2 + 1));
    EXPECT_EQ(positionsOf(fromOurs.core->game.record), expected) << ours;
}

TEST(TextRoundTrip, RandomGamesComeBackPositionForPosition) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        game::Core core;
        files::resetToStartingPosition(core);
        core.game.whiteName = game::makeName("Ana");
        core.game.blackName = game::makeName("Bia");
        testsupport::playRandomMoves(core, 250, seed);
        expectRoundTrips(core, ("seed " + std::to_string(seed)).c_str());
    }
}

// Two captures from d8 back to d8 take four pieces each, one by c3, the other
// by c5: only the landing squares tell them apart.
constexpr const char* TwoRoutesFen = "W:WK2,10:B4,6,11,14,15,22,24,25";

TEST(TextRoundTrip, TheWholeRouteChoosesBetweenCapturesThatStartAndEndAlike) {
    const rules::Position pos = *rules::parseFen(TwoRoutesFen).position;
    rules::RulesState r;
    r.board = pos.board;
    const std::vector<rules::Square> viaC3 = {2, 13, 31, 20, 2};  // d8 a5 e1 h4 d8
    const rules::WrittenMove found = rules::findWrittenMove(r, rules::White, viaC3);
    ASSERT_EQ(found.match, rules::WrittenMatch::Found);
    const auto taken = found.move.capturedSquares();
    EXPECT_NE(std::find(taken.begin(), taken.end(), 22), taken.end());  // c3
    EXPECT_EQ(std::find(taken.begin(), taken.end(), 14), taken.end());  // not c5
    // Written from and to alone it could be either.
    EXPECT_EQ(rules::findWrittenMove(r, rules::White, std::vector<rules::Square>{2, 2}).match,
              rules::WrittenMatch::Ambiguous);

    // Every capture of the position written as the export writes it reads
    // back as itself.
    const int n = rules::generateRootMoves(r, rules::White);
    std::vector<rules::Move> moves(r.rootList().begin(), r.rootList().begin() + n);
    for (const rules::Move& m : moves) {
        r.board = pos.board;
        const std::vector<rules::Square> squares = rules::squaresToWrite(r, rules::White, m);
        r.board = pos.board;
        const rules::WrittenMove back = rules::findWrittenMove(r, rules::White, squares);
        ASSERT_EQ(back.match, rules::WrittenMatch::Found) << rules::writtenText(squares, true);
        rules::Board a = pos.board, b = pos.board;
        rules::applyMove(a, m);
        rules::applyMove(b, back.move);
        EXPECT_EQ(a, b) << rules::writtenText(squares, true);
    }

    // Through a file: the route goes out whole and comes back as the same capture.
    game::Core c;
    files::resetToStartingPosition(c);
    game::installPosition(c, pos.board, pos.side);
    c.rules.board = pos.board;
    const rules::WrittenMove viaC5 =
        rules::findWrittenMove(c.rules, rules::White, std::vector<rules::Square>{2, 9, 27, 20, 2});  // d8 b6 f2 h4 d8
    ASSERT_EQ(viaC5.match, rules::WrittenMatch::Found);
    game::playMove(c, viaC5.move);
    const std::string pdn = files::exportPdn(c, files::ResultCode::None).text;
    EXPECT_NE(pdn.find("[FEN \"W:WKd8,d6:Bh8,c7,f6,c5,e5,c3,g3,b2\"]"), std::string::npos) << pdn;
    EXPECT_NE(pdn.find("1. d8xb6xf2xh4xd8 *"), std::string::npos) << pdn;
    expectRoundTrips(c, "two routes");
}

// ---------------------------------------------------------------- stops and refusals

struct StopCase {
    const char* name;
    std::string text;
    files::ReplayStop stop;
    int played;
    int moveNumber;
    bool blackMove;
    const char* moveText;
};

// A game that cannot be played to its end keeps the moves before the fault
// and says where it stopped; one that cannot even be set up changes nothing.
TEST(TextImport, StopsAtTheFirstMoveItCannotPlayAndSaysWhere) {
    std::string kingDance = "[FEN \"W:WKa1:BKh2\"]\n";
    for (int i = 1; i <= 64; ++i)
        kingDance += std::to_string(2 * i - 1) + ". a1-b2 h2-g1 " + std::to_string(2 * i) + ". b2-a1 g1-h2 ";
    const StopCase cases[] = {
        {"illegal first", "A-B\r\n 1.c3-c5 f6-g5\r\n", files::ReplayStop::NotLegal, 0, 1, false, "c3-c5"},
        {"illegal later", "A-B\r\n 1.c3-d4 f6-g5  2.d4-c3 g5-h4\r\n", files::ReplayStop::NotLegal, 2, 2, false,
         "d4-c3"},
        {"not a move", "A-B\r\n 1.c3-d4 zz-e5\r\n", files::ReplayStop::Unreadable, 1, 1, true, "zz-e5"},
        {"black's move missing", "A-B\r\n 1.c3-d4  2.g3-f4 f6-g5\r\n", files::ReplayStop::Missing, 1, 1, true, ""},
        {"pdn illegal", "[White \"A\"]\n1. c3-d4 f6-g5 2. d4-f6 *", files::ReplayStop::NotLegal, 2, 2, false, "d4-f6"},
        {"pdn garbage", "[White \"A\"]\n1. c3-d4 f6-g5 2. @@ *", files::ReplayStop::Unreadable, 2, 2, false, "@@"},
        {"pdn ambiguous", std::string("[FEN \"") + TwoRoutesFen + "\"]\n1. d8xd8 *", files::ReplayStop::Ambiguous, 0, 1,
         false, "d8xd8"},
        {"black starts", "[FEN \"B:W21:B1,2\"]\n1... b8-a7 2. a3-a5 *", files::ReplayStop::NotLegal, 1, 2, false,
         "a3-a5"},
        {"longer than the record", kingDance, files::ReplayStop::RecordFull, game::MaxRecordedPly, 127, false, "a1-b2"},
        // A Russian man crowned in the middle of a capture goes on taking as
        // a king; here it stops on the far row, and the rest of the capture
        // is refused.
        {"russian rule", "[GameType \"25\"]\n[FEN \"W:Wd4:Bc5,c7,f6\"]\n1. d4:b6:d8:g5 *", files::ReplayStop::NotLegal,
         0, 1, false, "d4:b6:d8:g5"},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Replayed r = replayed(c.text);
        EXPECT_EQ(r.outcome.stop, c.stop);
        EXPECT_EQ(r.outcome.played, c.played);
        EXPECT_EQ(r.core->game.record.recordLength, c.played);
        EXPECT_EQ(r.outcome.moveNumber, c.moveNumber);
        EXPECT_EQ(r.outcome.blackMove, c.blackMove);
        EXPECT_EQ(r.outcome.moveText, c.moveText);
    }
}

TEST(TextImport, GamesThatCannotBeSetUpChangeNothing) {
    const struct {
        const char* name;
        const char* text;
        files::ReplayStop stop;
        const char* detail;
    } cases[] = {
        {"unreadable fen", "[FEN \"W:W33:B1\"]\n1. c3-d4 *", files::ReplayStop::BadPosition, "W:W33:B1"},
        {"trailing comma", "[FEN \"W:W1,:B3\"]\n*", files::ReplayStop::BadPosition, "W:W1,:B3"},
        // Numbers far past any int, in a numbering that is remapped.
        {"huge square", "[GameType \"26,W,8,8,N1,0\"][FEN \"W:W9999999999:B1\"]\n*", files::ReplayStop::BadPosition,
         "W:W9999999999:B1"},
        {"huge range", "[GameType \"26,W,8,8,N1,0\"][FEN \"W:W2147483647-2147483647:B1\"]\n*",
         files::ReplayStop::BadPosition, "W:W2147483647-2147483647:B1"},
        {"unknown game type", "[GameType \"0,0,0,0,N1\"][FEN \"W:W9999999999:B1\"]\n*",
         files::ReplayStop::OtherGameType, "0,0,0,0,N1"},
        {"international", "[GameType \"20\"]\n1. 32-28 19-23 *", files::ReplayStop::OtherGameType, "20"},
        {"english", "[GameType \"21\"]\n1. 11-15 23-19 *", files::ReplayStop::OtherGameType, "21"},
        {"italian", "[GameType \"22,W,8,8,N2,1\"]\n1. 21-17 *", files::ReplayStop::OtherGameType, "22,W,8,8,N2,1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        game::Core core;
        files::resetToStartingPosition(core);
        testsupport::playRandomMoves(core, 7, 5);
        const auto before = positionsOf(core.game.record);
        const auto games = files::readTextGames(bytesOf(c.text));
        ASSERT_EQ(games.size(), 1u);
        const files::ReplayOutcome out = files::replayGame(core, games[0]);
        EXPECT_EQ(out.stop, c.stop);
        EXPECT_EQ(out.detail, c.detail);
        EXPECT_EQ(out.played, 0);
        EXPECT_EQ(positionsOf(core.game.record), before);
    }
}

// ---------------------------------------------------------------- FEN and numbering

TEST(TextImport, StartingPositionsAsOtherProgramsWriteThem) {
    const struct {
        const char* name;
        const char* tags;
        const char* fen;  // as we number squares
    } cases[] = {
        // Brazilian and Russian number from a1: 22 is d6 and 29 is b8.
        {"brazilian numbers", "[GameType \"26\"][FEN \"B:W22,K29:B9,10\"]", "B:WK1,10:B21,22"},
        {"russian numbers", "[GameType \"25\"][FEN \"B:W22,K29:B9,10\"]", "B:WK1,10:B21,22"},
        {"numbers as ours", "[FEN \"B:W22,K29:B9,10\"]", "B:W22,K29:B9,10"},
        {"stated top-left numbering", "[GameType \"26,W,8,8,N2,0\"][FEN \"B:W22,K29:B9,10\"]", "B:W22,K29:B9,10"},
        {"names", "[GameType \"26\"][FEN \"W:Wc3,Ka1:Bb6,d6\"]", "W:W22,K29:B9,10"},
        {"ranges and counters", "[GameType \"26\"][FEN \"W:W1-4:B29-32:H0:F1\"]", "W:W29,30,31,32:B1,2,3,4"},
        {"trailing dot", "[FEN \"W:W21-32:B1-12.\"]",
         "W:W21,22,23,24,25,26,27,28,29,30,31,32:B1,2,3,4,5,6,7,8,9,10,11,12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto games = files::parsePdnGames(bytesOf(std::string(c.tags) + "\n*"));
        ASSERT_EQ(games.size(), 1u);
        ASSERT_TRUE(games[0].start) << games[0].fenError;
        EXPECT_EQ(rules::toFen(games[0].start->board, games[0].start->side), c.fen);
    }

    // What we write is read back the same by a program counting from a1 or
    // from b8: square names.
    game::Core core;
    const rules::Position pos = *rules::parseFen("B:WK29,22:B9,10").position;
    game::installPosition(core, pos.board, pos.side);
    testsupport::playRandomMoves(core, 6, 8);
    const std::string pdn = files::exportPdn(core, files::ResultCode::None).text;
    EXPECT_NE(pdn.find("[FEN \"B:Wc3,Ka1:Bb6,d6\"]"), std::string::npos) << pdn;
    EXPECT_NE(pdn.find("1... "), std::string::npos);
    Replayed back = replayed(pdn);
    EXPECT_EQ(back.outcome.stop, files::ReplayStop::None);
    EXPECT_EQ(positionsOf(back.core->game.record), positionsOf(core.game.record));
}

TEST(TextImport, PdnOfOtherProgramsWithCommentsVariationsAndNumbering) {
    // Square 1 in the bottom-left corner (a1), numbers rising row by row:
    // 10-14 is c3-d4, 23-20 is f6-g5 here.
    const std::string pdn =
        "[Event \"Club\"]\n[White \"Gil\"]\n[Black \"Hugo\"]\n[GameType \"26,W,8,8,N0,0\"]\n\n"
        "1. 10-14 {a quiet start} 23-20 (1... 21-17 2. 13-17) 2. 12-16 $1 21-17! 1-1\n\n"
        "[White \"Ines\"]\n[Black \"Joao\"]\n1. c3d4 f6:g5 *\n";
    const auto games = files::parsePdnGames(bytesOf(pdn));
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].white, "Gil");
    EXPECT_EQ(files::chooserLine(games[0], 1), " 1: Gil - Hugo, Club, 1/2-1/2");
    game::Core c;
    EXPECT_EQ(files::replayGame(c, games[0]).played, 4);
    EXPECT_EQ(c.game.moveList, (Lines{" 1.c3-d4 f6-g5", " 2.g3-h4 b6-a5"}));
    EXPECT_EQ(c.game.lastResult, files::ResultCode::Draw);
    EXPECT_EQ(files::replayGame(c, games[1]).played, 2);
    EXPECT_EQ(game::nameText(c.game.whiteName), "Ines");
}

// ---------------------------------------------------------------- encodings and names

TEST(TextImport, ByteOrderMarksAndPercentLinesStillMeanPdn) {
    const std::string two = "[White \"A\"]\n1. c3-d4 *\n\n[White \"B\"]\n1. a3-b4 *\n";
    for (const std::string& text :
         {"\xEF\xBB\xBF" + two, "% written by a program\n" + two, "\xEF\xBB\xBF% comment\r\n\r\n" + two}) {
        EXPECT_TRUE(files::looksLikePdn(bytesOf(text)));
        const auto games = files::readTextGames(bytesOf(text));
        ASSERT_EQ(games.size(), 2u);
        EXPECT_EQ(games[0].white, "A");
        EXPECT_EQ(games[1].halfMoves.size(), 1u);
    }
}

TEST(TextImport, NamesKeepTheirCharacters) {
    // UTF-8 names are kept as they are for the chooser; the game's own
    // 19-byte Latin-1 fields show what Latin-1 lacks as '?'.
    const std::string pdn = "[White \"Романов В.\"]\n[Black \"José Müller Łukaszewicz\"]\n1. c3-d4 *";
    const auto games = files::parsePdnGames(bytesOf(pdn));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].white, "Романов В.");
    EXPECT_EQ(files::chooserLine(games[0], 1), " 1: Романов В. - José Müller Łukaszewicz, *");
    game::Core c;
    files::replayGame(c, games[0]);
    EXPECT_EQ(game::nameText(c.game.whiteName), "??????? ?.");
    EXPECT_EQ(game::nameText(c.game.blackName), "Jos\xE9 M\xFCller ?ukasze");

    // A Latin-1 file of an older program reads the same.
    const auto latin = files::parsePdnGames(bytesOf("[White \"Jos\xE9\"]\n*"));
    ASSERT_EQ(latin.size(), 1u);
    EXPECT_EQ(latin[0].white, "José");

    // A cut never splits a character.
    const std::string cyrillic = "Романов Владимир Алексеевич";
    for (std::size_t n = 0; n <= cyrillic.size(); ++n) {
        const std::string cut = files::utf8Prefix(cyrillic, n);
        EXPECT_TRUE(files::isValidUtf8(cut)) << n;
        EXPECT_LE(cut.size(), n);
        EXPECT_GE(cut.size() + 1, n);  // two-byte characters: at most one byte short
        EXPECT_TRUE(cyrillic.starts_with(cut));
    }
}

// Names that the layouts would misread are written so that they read back,
// or refused.
TEST(TextExport, NamesReadBackAsWritten) {
    const struct {
        const char* white;
        const char* black;
        bool ours;  // our layout can hold them
        bool pdn;  // PDN can
    } cases[] = {
        {"Jean-Pierre", "Bia", true, true},
        {"Ana", "Marie-Claire", true, true},
        {"A]b", "[x\"y\\z", true, true},
        {"[x", "A]b", false, true},  // our layout starting with a bracket would read as PDN
        {"Jos\xE9", "M\xFCller", true, true},
        {"Ana - Bia", "Caio", false, true},
        {"Ana", "Bia  Caio", false, true},
        {"Line\r\nbreak", "Bia", false, false},
        {"", "", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.white) + " / " + c.black);
        game::Core core;
        files::resetToStartingPosition(core);
        core.game.whiteName = game::makeName(c.white);
        core.game.blackName = game::makeName(c.black);
        testsupport::playRandomMoves(core, 4, 1);
        const files::ExportedText ours = files::exportText(core, files::ResultCode::WhiteWon);
        const files::ExportedText pdn = files::exportPdn(core, files::ResultCode::WhiteWon);
        EXPECT_EQ(ours.written, c.ours);
        EXPECT_EQ(pdn.written, c.pdn);
        for (const files::ExportedText* out : {&ours, &pdn}) {
            if (!out->written) {
                EXPECT_TRUE(out->text.empty());
                EXPECT_TRUE(out->unwritableName == c.white || out->unwritableName == c.black);
                continue;
            }
            Replayed back = replayed(out->text);
            EXPECT_EQ(game::nameText(back.core->game.whiteName), c.white) << out->text;
            EXPECT_EQ(game::nameText(back.core->game.blackName), c.black) << out->text;
            EXPECT_EQ(back.core->game.record.recordLength, 4);
        }
    }
}

// ---------------------------------------------------------------- our layout

TEST(TextImport, OurLayoutWithCapitalsChainsAndSeveralGames) {
    // White's e3 takes d4 and f6 on its way to g7: written as a chain of legs
    // in capitals, or from and to alone with an "x".
    const std::string games =
        "Ana-Bia  2-0\r\nTavolex144\r\n 1.c3-d4 f6-g5  2.d4-e5 g7-f6\r\n\r\n"
        "Caio-Duda\r\n 1.C3-D4 F6-G5  2.G3-H4 B6-A5\r\n\r\n"
        "Eva-Fabio\r\n1.c3-b4 f6-e5 2.b4-a5 e5-f4 3.g3xe5 d6xf4 4.e3xg5 h6xf4\r\n\r\n";
    const auto parsed = files::parseTextLayout(bytesOf(games));
    ASSERT_EQ(parsed.size(), 3u);
    EXPECT_EQ(files::chooserLine(parsed[0], 1), " 1: Ana - Bia, 1-0");
    EXPECT_EQ(files::chooserLine(parsed[2], 3), " 3: Eva - Fabio, *");
    game::Core c;
    EXPECT_EQ(files::replayGame(c, parsed[2]).played, 8);
    EXPECT_EQ(c.game.moveList.back(), " 4.e3xg5 h6xf4");
    EXPECT_EQ(files::replayGame(c, parsed[1]).played, 4);
    EXPECT_EQ(c.game.moveList, (Lines{" 1.c3-d4 f6-g5", " 2.g3-h4 b6-a5"}));

    const auto legs = files::parseTextLayout(bytesOf("X-Y\r\n 1.E3-D4 H6-G5  2.B6-D4-F2 a1-a1\r\n"));
    ASSERT_EQ(legs.size(), 1u);
    ASSERT_EQ(legs[0].halfMoves.size(), 4u);
    EXPECT_EQ(legs[0].halfMoves[2].squares, (std::vector<rules::Square>{9, 18, 27}));
    EXPECT_EQ(legs[0].halfMoves[3].squares, (std::vector<rules::Square>{29, 29}));  // read, but never legal
}

// Long files are read whole: 300 games past a megabyte, every one listed
// and the last one replayed to its end.
TEST(TextImport, AWholeMegabyteOfGames) {
    std::string text;
    std::vector<Lines> expected;
    for (unsigned g = 0; g < 300; ++g) {
        game::Core core;
        files::resetToStartingPosition(core);
        core.game.whiteName = game::makeName("W" + std::to_string(g));
        testsupport::playRandomMoves(core, 200, 1000 + g);
        expected.push_back(movesOf(core.game.record));
        std::string pdn = files::exportPdn(core, files::ResultCode::None).text;
        // A long comment, as annotated archives have.
        pdn.insert(pdn.find("\r\n\r\n") + 4, "{" + std::string(3600, 'c') + "}\r\n");
        text += pdn + "\r\n";
    }
    ASSERT_GT(text.size(), 1u << 20);
    const auto games = files::readTextGames(bytesOf(text));
    ASSERT_EQ(games.size(), 300u);
    for (std::size_t g : {std::size_t{0}, std::size_t{150}, std::size_t{299}}) {
        game::Core core;
        EXPECT_EQ(files::replayGame(core, games[g]).stop, files::ReplayStop::None);
        EXPECT_EQ(movesOf(core.game.record), expected[g]);
        EXPECT_NE(files::chooserLine(games[g], static_cast<int>(g) + 1).find(": W" + std::to_string(g) + " - ?"),
                  std::string::npos);
    }
}

TEST(TextImport, GarbageIsHarmless) {
    EXPECT_TRUE(files::readTextGames({}).empty());
    EXPECT_TRUE(files::parsePdnGames(bytesOf("[[[{((")).empty());
    const auto noise = files::readTextGames(bytesOf("\x01\x02-\xff\r\n...1.2.3.\r\n"));
    ASSERT_EQ(noise.size(), 1u);
    game::Core c;
    EXPECT_NE(files::replayGame(c, noise[0]).stop, files::ReplayStop::None);
}

}  // namespace

namespace {

// A whole game of Brazilian draughts, played by the engine against itself
// and written out by hand in PDN with our square numbers, read into its
// final position move by move.
TEST(PdnGolden, AWholeGameReachesItsFinalPosition) {
    std::ifstream in(std::string(TAVOLEX_SOURCE_DIR) + "/tests/data/engine_game.pdn", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    const auto games = files::parsePdnGames(bytesOf(text));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].halfMoves.size(), 66u);
    game::Core c;
    EXPECT_EQ(files::replayGame(c, games[0]).played, 66);  // every move legal where it stands
    EXPECT_EQ(rules::toFen(c.rules.gamePosition, c.game.sideToMove), "W:W12,13:B3,7,20,25");
    EXPECT_EQ(c.game.moveList.front(), " 1.c3-d4 h6-g5");
}

}  // namespace
