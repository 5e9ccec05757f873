// Games as text: the export, the printed layout, reading our own layout and
// PDN back into the same moves.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "files/setup.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "game/navigation.h"
#include "support/game_builder.h"

namespace {

using Lines = std::vector<std::string>;

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The moves of a record, ply by ply.
Lines movesOf(const game::GameRecord& rec) {
    Lines out;
    for (int k = 1; k <= rec.recordLength; ++k) {
        const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(k)];
        out.push_back(std::to_string(e.from) + (e.captureCount ? "x" : "-") + std::to_string(e.to));
    }
    return out;
}

TEST(TextExport, Layouts) {
    const Lines moves = {" 1.c3-d4 f6-g5", " 2.g3-h4 b6-a5", " 3.d4-c5 d6xb4", " 4.a3xc5 g7-f6", " 5.h4xf6 "};
    EXPECT_EQ(files::exportText("Ana", "Bia", files::ResultCode::None, 0, {}), "Ana-Bia \r\nTavolex144\r\n");
    // Shown at ply 9: four full moves; White's fifth is left out.
    EXPECT_EQ(files::exportText("Ana", "Bia", files::ResultCode::BlackWon, 9, moves),
              "Ana-Bia  0-2\r\nTavolex144\r\n 1.c3-d4 f6-g5   2.g3-h4 b6-a5   3.d4-c5 d6xb4   4.a3xc5 g7-f6  \r\n");
    EXPECT_EQ(files::exportText("A", "B", files::ResultCode::WhiteWon, 2, moves), "A-B  2-0\r\nTavolex144\r\n 1.c3-d4 f6-g5  \r\n");
    EXPECT_EQ(files::printedText("Ana", "Bia", 9, moves),
              (Lines{"AnaxBia ", " 1.c3-d4 f6-g5  2.g3-h4 b6-a5  3.d4-c5 d6xb4 ", " 4.a3xc5 g7-f6 "}));

    // Thirteen full moves: text lines of 4, 4, 4 and 1.
    Lines thirteen(13, " 1.c3-d4 f6-g5");
    const std::string text = files::exportText("A", "B", files::ResultCode::Draw, 26, thirteen);
    EXPECT_EQ(text.substr(0, 10), "A-B  1-1\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
    EXPECT_TRUE(text.ends_with("\r\n 1.c3-d4 f6-g5  \r\n"));

    const Lines report = files::printedAnalysisReport("Ana", "Bia", "+100 ganha uma pedra", {"x"});
    EXPECT_EQ(report[3], "Ana" + std::string(25, ' ') + "Bia");
    EXPECT_TRUE(report[4].starts_with("+100 ganha"));
    EXPECT_EQ(report.back(), "x");
}

class TextRoundTrip : public testing::Test {
protected:
    void SetUp() override {
        core.game.whiteName = game::makeName("Ana");
        core.game.blackName = game::makeName("Bia");
        files::resetToStartingPosition(core);
    }
    game::Core core;
};

TEST_F(TextRoundTrip, OurExportReadsBackIntoTheSameGame) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        files::resetToStartingPosition(core);
        const int plies = testsupport::playRandomMoves(core, 60, seed);
        const std::string text = files::exportText("Ana", "Bia", files::ResultCode::None, plies, core.game.moveList);
        ASSERT_EQ(files::listTextGames(bytesOf(text)), Lines{" 1:Ana"});
        const auto parsed = files::parseTextGame(bytesOf(text), 0);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->white, "Ana");
        EXPECT_EQ(parsed->black, "Bia");

        game::Core other;
        const int full = plies / 2 * 2;
        EXPECT_EQ(files::replayGame(other, *parsed), full) << "seed " << seed;
        Lines expected = movesOf(core.game.record);
        expected.resize(static_cast<std::size_t>(full));
        EXPECT_EQ(movesOf(other.game.record), expected);
        EXPECT_EQ(game::nameText(other.game.whiteName), "Ana");
    }
}

TEST_F(TextRoundTrip, CapitalsChainsAndSeveralGames) {
    // White's e3 takes d4 and f6 on its way to g7: written as a chain of legs
    // in capitals, or from and to alone with an "x".
    const std::string games =
        "Ana-Bia  2-0\r\nTavolex144\r\n 1.c3-d4 f6-g5  2.d4-e5 g7-f6\r\n\r\n"
        "Caio-Duda\r\n 1.C3-D4 F6-G5  2.G3-H4 B6-A5\r\n\r\n"
        "Eva-Fabio\r\n1.c3-b4 f6-e5 2.b4-a5 e5-f4 3.g3xe5 d6xf4 4.e3xg5 h6xf4\r\n\r\n";
    EXPECT_EQ(files::listTextGames(bytesOf(games)), (Lines{" 1:Ana", " 2:Caio", " 3:Eva"}));
    const auto third = files::parseTextGame(bytesOf(games), 2);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->white, "Eva");
    EXPECT_EQ(third->black, "Fabio");
    game::Core c;
    EXPECT_EQ(files::replayGame(c, *third), 8);
    EXPECT_EQ(c.game.moveList.back(), " 4.e3xg5 h6xf4");

    const auto second = files::parseTextGame(bytesOf(games), 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(files::replayGame(c, *second), 4);
    EXPECT_EQ(c.game.moveList, (Lines{" 1.c3-d4 f6-g5", " 2.g3-h4 b6-a5"}));
    EXPECT_FALSE(files::parseTextGame(bytesOf(games), 3));

    const std::string chain = "X-Y\r\n 1.E3-D4 H6-G5  2.B6-D4-F2 a1-a1\r\n";
    const auto legs = files::parseTextGame(bytesOf(chain), 0);
    ASSERT_TRUE(legs);
    ASSERT_EQ(legs->halfMoves.size(), 4u);
    EXPECT_EQ(legs->halfMoves[2].squares, (std::vector<rules::Square>{9, 18, 27}));
    EXPECT_EQ(legs->halfMoves[3].squares, (std::vector<rules::Square>{29, 29}));  // read, but never legal
}

TEST_F(TextRoundTrip, IllegalMovesAreSkippedForTheSameSide) {
    const std::string text = "A-B\r\n 1.c3-c5 c3-d4  2.f6-g5 g3-h4\r\n";
    const auto parsed = files::parseTextGame(bytesOf(text), 0);
    ASSERT_TRUE(parsed);
    game::Core c;
    // c3-c5 is no move; c3-d4 is then tried for White, and the rest follows.
    EXPECT_EQ(files::replayGame(c, *parsed), 3);
    EXPECT_EQ(c.game.moveList, (Lines{" 1.c3-d4 f6-g5", " 2.g3-h4 "}));
}

TEST_F(TextRoundTrip, GarbageAndHugeTextsAreHarmless) {
    std::string huge(70000, 'x');
    huge.replace(0, 12, "A-B\r\n 1.c3-d4");
    EXPECT_EQ(files::listTextGames(bytesOf(huge)).size(), 1u);
    const auto parsed = files::parseTextGame(bytesOf(huge), 0);
    ASSERT_TRUE(parsed);
    EXPECT_LE(parsed->halfMoves.size(), 2u * files::MaxImportedMoves);
    const std::string noise = "\x01\x02-\xff\r\n...1.2.3.\r\n";
    EXPECT_EQ(files::listTextGames(bytesOf(noise)).size(), 1u);
    EXPECT_TRUE(files::listTextGames({}).empty());
    EXPECT_TRUE(files::parsePdnGames(bytesOf("[[[{((")).empty());
}

TEST_F(TextRoundTrip, PdnWrittenAndReadBack) {
    for (unsigned seed : {5u, 6u}) {
        files::resetToStartingPosition(core);
        testsupport::playRandomMoves(core, 50, seed);
        const std::string pdn = files::exportPdn(core, files::ResultCode::Draw);
        EXPECT_NE(pdn.find("[GameType \"26\"]"), std::string::npos);
        EXPECT_EQ(pdn.find("[FEN"), std::string::npos);
        ASSERT_TRUE(files::looksLikePdn(bytesOf(pdn)));
        const auto games = files::parsePdnGames(bytesOf(pdn));
        ASSERT_EQ(games.size(), 1u);
        game::Core other;
        files::replayGame(other, games[0]);
        EXPECT_EQ(movesOf(other.game.record), movesOf(core.game.record));
        EXPECT_EQ(game::nameText(other.game.blackName), "Bia");
    }
}

TEST_F(TextRoundTrip, PdnFromASetUpPositionWithBlackToMove) {
    const rules::Position pos = *rules::parseFen("B:WK29,22:B9,10").position;
    game::installPosition(core, pos.board, pos.side);
    testsupport::playRandomMoves(core, 6, 8);
    const std::string pdn = files::exportPdn(core, files::ResultCode::None);
    EXPECT_NE(pdn.find("[FEN \"B:W22,K29:B9,10\"]"), std::string::npos);
    EXPECT_NE(pdn.find("1... "), std::string::npos);
    const auto games = files::parsePdnGames(bytesOf(pdn));
    ASSERT_EQ(games.size(), 1u);
    game::Core other;
    files::replayGame(other, games[0]);
    EXPECT_EQ(movesOf(other.game.record), movesOf(core.game.record));
}

TEST_F(TextRoundTrip, PdnOfOtherProgramsWithCommentsAndNumbering) {
    // Square 1 in the bottom-left corner (a1), numbers rising row by row:
    // 10-14 is c3-d4, 23-20 is f6-g5 here.
    const std::string pdn =
        "[Event \"Club\"]\n[White \"Gil\"]\n[Black \"Hugo\"]\n[GameType \"26,W,8,8,N0,0\"]\n\n"
        "1. 10-14 {a quiet start} 23-20 (1... 21-17 2. 13-17) 2. 12-16 $1 21-17! 1-1\n\n"
        "[White \"Ines\"]\n[Black \"Joao\"]\n1. c3-d4 f6-g5 *\n";
    const auto games = files::parsePdnGames(bytesOf(pdn));
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].white, "Gil");
    game::Core c;
    EXPECT_EQ(files::replayGame(c, games[0]), 4);
    EXPECT_EQ(c.game.moveList, (Lines{" 1.c3-d4 f6-g5", " 2.g3-h4 b6-a5"}));
    EXPECT_EQ(files::replayGame(c, games[1]), 2);
    EXPECT_EQ(game::nameText(c.game.whiteName), "Ines");
}

}  // namespace

namespace {

// A whole game of Brazilian draughts, played by the engine against itself
// and written out by hand in PDN (square 1 is b8), read into its final
// position move by move.
TEST(PdnGolden, AWholeGameReachesItsFinalPosition) {
    std::ifstream in(std::string(TAVOLEX_SOURCE_DIR) + "/tests/data/engine_game.pdn", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    const auto games = files::parsePdnGames(bytesOf(text));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].halfMoves.size(), 66u);
    game::Core c;
    EXPECT_EQ(files::replayGame(c, games[0]), 66);  // every move legal where it stands
    EXPECT_EQ(rules::toFen(c.rules.gamePosition, c.game.sideToMove), "W:W12,13:B3,7,20,25");
    EXPECT_EQ(c.game.moveList.front(), " 1.c3-d4 h6-g5");
}

}  // namespace
