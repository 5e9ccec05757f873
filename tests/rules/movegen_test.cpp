#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "rules/fen.h"
#include "rules/movegen.h"
#include "rules/perft.h"
#include "support/reference_movegen.h"

namespace {

using testsupport::generatedMoves;
using testsupport::referenceMoves;

rules::Position load(const char* fen) {
    rules::FenResult r = rules::parseFen(fen);
    EXPECT_TRUE(r.position) << fen << ": " << r.error;
    return r.position.value_or(rules::Position{});
}

// A position and exactly the legal moves of the side to move.
struct MoveCase {
    const char* name;
    const char* fen;
    std::multiset<std::string> moves;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.fen; }

class GenerateMoves : public testing::TestWithParam<MoveCase> {};

TEST_P(GenerateMoves, ListsExactlyTheLegalMoves) {
    const MoveCase& c = GetParam();
    const rules::Position pos = load(c.fen);
    rules::RulesState r;
    r.board = pos.board;
    EXPECT_EQ(generatedMoves(r, pos.side), c.moves);
    EXPECT_EQ(r.board, pos.board) << "the board must be as it was";
    // The plain second statement of the rules agrees.
    EXPECT_EQ(referenceMoves(pos.board, pos.side), std::set<std::string>(c.moves.begin(), c.moves.end()));
}

const MoveCase kManCases[] = {
    {"BackwardCapture", "W:Wd4:Bc3", {"d4xb2 [c3]"}},
    {"BlackBackwardCapture", "B:Wc5:Bd4", {"d4xb6 [c5]"}},
    {"TwoFirstPiecesBothListed", "W:We3:Bd4,f4", {"e3xc5 [d4]", "e3xg5 [f4]"}},
    // The same four pieces taken in either order round a diamond, back onto
    // the start square: two moves.
    {"ClosedCircuitBothOrders", "W:Wc3:Bb4,d4,b6,d6", {"c3xc3 [b4,b6,d6,d4]", "c3xc3 [d4,d6,b6,b4]"}},
    // Touching the far row in mid-capture does not stop a man: it goes on
    // taking backwards, as a man.
    {"ThroughThePromotionRow", "W:Wb6:Bc7,e7", {"b6xf6 [c7,e7]"}},
    {"BlockedByTwoInARow", "W:Wa1:Bb2,c3", {}},
    {"NoPieces", "W:W:B1", {}},
    {"BlackMenMoveDown", "B:W1:B25", {"b2-a1", "b2-c1"}},
};
INSTANTIATE_TEST_SUITE_P(Men, GenerateMoves, testing::ValuesIn(kManCases),
                         [](const auto& test) { return std::string(test.param.name); });

const MoveCase kMajorityCases[] = {
    // Two men outweigh one king: kings count as one piece.
    {"TwoMenBeatOneKing", "W:Wa3,g3:Bb4,b6,Kf4", {"a3xa7 [b4,b6]"}},
    // A king takes with a choice of landing squares, three of them here.
    {"KingLandingChoices", "W:WKa1,g7:Bc3", {"a1xd4 [c3]", "a1xe5 [c3]", "a1xf6 [c3]"}},
    // Only from e5 can it go on, so it must land there.
    {"KingMustLandWhereItContinues", "W:WKa1,g7:Bc3,d6", {"a1xc7 [c3,d6]", "a1xb8 [c3,d6]"}},
    // Round the diamond either way; back on c3 the first piece taken blocks
    // the diagonal, so the king cannot take it again.
    {"KingCircuitTakenPieceBlocks",
     "W:WKc3:Bb4,d4,b6,d6",
     {"c3xc3 [b4,b6,d6,d4]", "c3xb2 [b4,b6,d6,d4]", "c3xa1 [b4,b6,d6,d4]", "c3xc3 [d4,d6,b6,b4]", "c3xd2 [d4,d6,b6,b4]",
      "c3xe1 [d4,d6,b6,b4]"}},
    // A man's capture of one beats a king's flying moves.
    {"CaptureIsCompulsory", "W:WKh8,c3:Bd4", {"c3xe5 [d4]"}},
};
INSTANTIATE_TEST_SUITE_P(Majority, GenerateMoves, testing::ValuesIn(kMajorityCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(GenerateMovesOrder, StartPositionInScanOrder) {
    rules::RulesState r;
    r.board = rules::startingPosition();
    EXPECT_EQ(testsupport::generatedMoveOrder(r, rules::White),
              (std::vector<std::string>{"g3-f4", "g3-h4", "e3-d4", "e3-f4", "c3-b4", "c3-d4", "a3-b4"}));
    EXPECT_EQ(r.captureCount, 0);
    // Black starts from its own back row, square 9 first.
    EXPECT_EQ(testsupport::generatedMoveOrder(r, rules::Black),
              (std::vector<std::string>{"b6-a5", "b6-c5", "d6-c5", "d6-e5", "f6-e5", "f6-g5", "h6-g5"}));
}

TEST(GenerateMovesOrder, KingSlidesDirectionByDirectionNearestFirst) {
    const rules::Position pos = load("W:WKd4:B1");
    rules::RulesState r;
    r.board = pos.board;
    EXPECT_EQ(testsupport::generatedMoveOrder(r, rules::White),
              (std::vector<std::string>{"d4-c5", "d4-b6", "d4-a7", "d4-e5", "d4-f6", "d4-g7", "d4-h8", "d4-c3", "d4-b2",
                                        "d4-a1", "d4-e3", "d4-f2", "d4-g1"}));
}

TEST(ApplyMove, PromotesOnlyWhenTheMoveEndsOnTheFarRow) {
    struct Case {
        const char* fen;
        const char* move;
        rules::Square square;
        rules::PieceCode code;
    } cases[] = {
        {"W:Wb6:Bc7,e7", "b6xf6 [c7,e7]", 11, rules::WhiteMan},
        {"W:Wb6:Bc7", "b6xd8 [c7]", 2, rules::WhiteKing},
        {"W:Wg7:B1", "g7-h8", 4, rules::WhiteKing},
        {"W:We7:B29", "e7-f8", 3, rules::WhiteKing},
        {"B:W4:Bb2", "b2-a1", 29, rules::BlackKing},
        {"B:W4:Bd4", "d4-c3", 22, rules::BlackMan},
    };
    for (const Case& c : cases) {
        const rules::Position pos = load(c.fen);
        rules::RulesState r;
        r.board = pos.board;
        const int n = rules::generateRootMoves(r, pos.side);
        bool found = false;
        for (int i = 0; i < n; ++i) {
            const rules::Move& m = r.rootList()[i];
            if (rules::moveText(m) != c.move) continue;
            found = true;
            rules::Board b = pos.board;
            rules::applyMove(b, m);
            EXPECT_EQ(b[c.square], c.code) << c.fen << " " << c.move;
            for (int k = 0; k < m.ncapt; ++k) EXPECT_EQ(b[m.captured[k]], rules::Empty);
        }
        EXPECT_TRUE(found) << c.fen << " " << c.move;
    }
}

// The most moves our searches of the board found: 66 simple moves of twelve
// kings, and 50 capture sequences of four kings. A list starting with tiny
// room must grow and still list every one of them.
struct CapacityCase {
    const char* fen;
    std::size_t atLeast;
};
const CapacityCase kCapacityCases[] = {
    {"W:WK2,K4,K5,K10,K12,K13,K20,K21,K29,K30,K31,K32:B3", 66},
    {"W:WK1,K5,K31,K32:B6,7,8,9,11,13,15,16,17,25,26,27", 50},
};

TEST(MoveListCapacity, ListsGrowAndNeverDropAMove) {
    for (const CapacityCase& c : kCapacityCases) {
        const rules::Position pos = load(c.fen);
        rules::RulesState roomy;
        roomy.board = pos.board;
        const auto expected = generatedMoves(roomy, pos.side);
        EXPECT_GE(expected.size(), c.atLeast) << c.fen;
        EXPECT_EQ(std::set<std::string>(expected.begin(), expected.end()), referenceMoves(pos.board, pos.side));

        rules::RulesState tiny(4);
        tiny.board = pos.board;
        EXPECT_EQ(generatedMoves(tiny, pos.side), expected) << c.fen;
        EXPECT_GE(tiny.rootList().capacity(), static_cast<int>(expected.size()));
        // Deeper plies grow on their own too, without disturbing each other.
        EXPECT_EQ(rules::perft(tiny, pos.side, 3), rules::perft(roomy, pos.side, 3)) << c.fen;
    }
}

}  // namespace
