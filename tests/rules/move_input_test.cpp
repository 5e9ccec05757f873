#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "rules/fen.h"
#include "rules/move_input.h"
#include "rules/perft.h"

namespace {

using rules::ClickOutcome;
using rules::FrameColour;
using rules::ViewOp;
using Result = ClickOutcome::Result;

rules::Square sq(const char* name) { return *rules::parseSquareName(name); }

struct Entry {
    rules::RulesState r;
    rules::Side side = rules::White;
    bool decompose = false;

    explicit Entry(const char* fen) {
        const rules::Position pos = *rules::parseFen(fen).position;
        r.board = pos.board;
        side = pos.side;
    }
    ClickOutcome click(const char* square) { return rules::enterSquare(r, side, sq(square), decompose); }
};

std::set<rules::Square> framed(const ClickOutcome& o, FrameColour colour) {
    std::set<rules::Square> s;
    for (const ViewOp& op : o.ops)
        if (op.kind == ViewOp::Kind::FrameSquare && op.colour == colour) s.insert(op.square);
    return s;
}
std::set<rules::Square> squares(std::initializer_list<const char*> names) {
    std::set<rules::Square> s;
    for (const char* n : names) s.insert(sq(n));
    return s;
}
bool has(const ClickOutcome& o, ViewOp::Kind kind) {
    return std::any_of(o.ops.begin(), o.ops.end(), [&](const ViewOp& op) { return op.kind == kind; });
}

TEST(MoveEntry, ForcedCaptureIsPlayedByTheSelectingClick) {
    Entry e("W:Wb6:Bc7,e7");
    const ClickOutcome o = e.click("b6");
    ASSERT_EQ(o.result, Result::Played);
    EXPECT_EQ(rules::moveText(o.move), "b6xf6 [c7,e7]");
    EXPECT_EQ(framed(o, FrameColour::Red), squares({"b6"}));
    EXPECT_TRUE(has(o, ViewOp::Kind::ShowCaptureLabels));
    // It crossed d8 in mid-capture and stays a man.
    EXPECT_EQ(e.r.board[sq("f6")], rules::WhiteMan);
    EXPECT_EQ(e.r.board[sq("c7")], rules::Empty);
    EXPECT_EQ(e.r.board[sq("e7")], rules::Empty);
    EXPECT_EQ(e.r.board[sq("b6")], rules::Empty);
    EXPECT_EQ(e.r.entry.selectedCode, 0);
}

TEST(MoveEntry, KingLandingChoiceByFinalSquare) {
    Entry e("W:WKa1,g7:Bc3,d6");
    ClickOutcome o = e.click("a1");
    ASSERT_EQ(o.result, Result::Waiting);
    // e5 is forced; after d6 the king may stop on c7 or b8.
    EXPECT_EQ(framed(o, FrameColour::Blue), squares({"c7", "b8"}));
    EXPECT_EQ(framed(o, FrameColour::Magenta), squares({"c7", "b8"}));
    // Nothing is taken off before the move is complete.
    EXPECT_EQ(e.r.board[sq("c3")], rules::BlackMan);
    o = e.click("b8");
    ASSERT_EQ(o.result, Result::Played);
    EXPECT_EQ(rules::moveText(o.move), "a1xb8 [c3,d6]");
    EXPECT_EQ(o.route.length, 2);
    EXPECT_EQ(o.route.squares[0], sq("e5"));
    EXPECT_EQ(e.r.board[sq("b8")], rules::WhiteKing);
    EXPECT_EQ(e.r.board[sq("c3")], rules::Empty);
    EXPECT_EQ(e.r.board[sq("d6")], rules::Empty);
}

TEST(MoveEntry, FinalSquareClickedBeforeTheRoutesPart) {
    Entry e("W:We3:Bd4,b6,f4,f6");
    ClickOutcome o = e.click("e3");
    ASSERT_EQ(o.result, Result::Waiting);
    EXPECT_EQ(framed(o, FrameColour::Blue), squares({"c5", "g5"}));
    EXPECT_EQ(framed(o, FrameColour::Magenta), squares({"a7", "e7"}));
    e.decompose = true;
    o = e.click("e7");
    ASSERT_EQ(o.result, Result::Played);
    EXPECT_EQ(rules::moveText(o.move), "e3xe7 [f4,f6]");
    // Shown landing by landing: at least 500 ms on g5, then 1000 ms in all
    // before the move completes.
    const std::vector<ViewOp> expected = {
        {ViewOp::Kind::DrawSquare, sq("e3"), rules::Empty},    {ViewOp::Kind::DrawSquare, sq("g5"), rules::WhiteMan},
        {ViewOp::Kind::Hold, 0, 0, FrameColour::Red, 500},     {ViewOp::Kind::DrawSquare, sq("g5"), rules::Empty},
        {ViewOp::Kind::DrawSquare, sq("e7"), rules::WhiteMan}, {ViewOp::Kind::Hold, 0, 0, FrameColour::Red, 500},
        {ViewOp::Kind::DrawSquare, sq("e7"), rules::WhiteMan}, {ViewOp::Kind::RedrawEmptySquares},
    };
    EXPECT_EQ(o.ops, expected);
}

TEST(MoveEntry, SharedFinalSquareMustBeClickedStepByStep) {
    Entry e("W:WKc3:Bb4,d4,b6,d6");
    ClickOutcome o = e.click("c3");
    ASSERT_EQ(o.result, Result::Waiting);
    // Two ways round, both able to end on c3: no final-square shortcut yet.
    EXPECT_EQ(framed(o, FrameColour::Blue), squares({"a5", "e5"}));
    EXPECT_TRUE(framed(o, FrameColour::Magenta).empty());
    EXPECT_EQ(e.click("c7").result, Result::Ignored);  // not a landing square yet
    o = e.click("a5");
    ASSERT_EQ(o.result, Result::Waiting);
    EXPECT_TRUE(has(o, ViewOp::Kind::RedrawEmptySquares));
    // c7 and e5 follow by themselves; the last landing is the choice.
    EXPECT_EQ(framed(o, FrameColour::Blue), squares({"c3", "b2", "a1"}));
    EXPECT_EQ(framed(o, FrameColour::Magenta), squares({"c3", "b2", "a1"}));
    o = e.click("c3");
    ASSERT_EQ(o.result, Result::Played);
    EXPECT_EQ(rules::moveText(o.move), "c3xc3 [b4,b6,d6,d4]");
    EXPECT_EQ(e.r.board[sq("c3")], rules::WhiteKing);
    for (const char* taken : {"b4", "b6", "d6", "d4"}) EXPECT_EQ(e.r.board[sq(taken)], rules::Empty) << taken;
}

TEST(MoveEntry, SimpleMoves) {
    Entry one("W:Wa3:B1");
    ClickOutcome o = one.click("a3");
    EXPECT_EQ(o.result, Result::Played);
    EXPECT_EQ(rules::moveText(o.move), "a3-b4");

    Entry two("W:Wc3:B1");
    o = two.click("c3");
    ASSERT_EQ(o.result, Result::Waiting);
    EXPECT_EQ(framed(o, FrameColour::Magenta), squares({"b4", "d4"}));
    EXPECT_FALSE(has(o, ViewOp::Kind::ShowCaptureLabels));
    EXPECT_EQ(two.click("e5").result, Result::Ignored);
    o = two.click("d4");
    ASSERT_EQ(o.result, Result::Played);
    EXPECT_EQ(rules::moveText(o.move), "c3-d4");
    EXPECT_EQ(two.r.board[sq("d4")], rules::WhiteMan);
    EXPECT_EQ(two.r.board[sq("c3")], rules::Empty);

    Entry promote("W:Wg7:B1");
    promote.click("g7");
    EXPECT_EQ(promote.click("h8").result, Result::Played);
    EXPECT_EQ(promote.r.board[sq("h8")], rules::WhiteKing);
}

TEST(MoveEntry, ClickingTheSelectedPieceAgainCancels) {
    Entry e("W:Wc3:B1");
    ASSERT_EQ(e.click("c3").result, Result::Waiting);
    const ClickOutcome o = e.click("c3");
    EXPECT_EQ(o.result, Result::Deselected);
    EXPECT_EQ(o.ops, (std::vector<ViewOp>{{ViewOp::Kind::DrawSquare, sq("c3"), rules::WhiteMan},
                                          {ViewOp::Kind::RedrawEmptySquares}}));
    EXPECT_EQ(e.r.entry.selectedCode, 0);
    EXPECT_EQ(e.click("c3").result, Result::Waiting);  // and it can be chosen again
}

TEST(MoveEntry, AnotherOwnPieceTakesTheSelectionOver) {
    Entry e("W:W21-32:B1-12");
    ASSERT_EQ(e.click("c3").result, Result::Waiting);
    const ClickOutcome o = e.click("e3");
    EXPECT_EQ(o.result, Result::Waiting);
    EXPECT_EQ(e.r.entry.route[0], sq("e3"));
    // The old selection's frames go before the new one is framed.
    ASSERT_GE(o.ops.size(), 3u);
    EXPECT_EQ(o.ops[0], (ViewOp{ViewOp::Kind::DrawSquare, sq("c3"), rules::WhiteMan}));
    EXPECT_EQ(o.ops[1].kind, ViewOp::Kind::RedrawEmptySquares);
    EXPECT_EQ(o.ops[2], (ViewOp{ViewOp::Kind::FrameSquare, sq("e3"), 0, rules::FrameColour::Red}));
    EXPECT_EQ(e.click("f4").result, Result::Played);
    // A piece of one's own that cannot move leaves the selection alone.
    Entry blocked("W:W21-32:B1-12");
    blocked.click("c3");
    EXPECT_EQ(blocked.click("b2").result, Result::Ignored);
    EXPECT_EQ(blocked.r.entry.route[0], sq("c3"));
    EXPECT_EQ(blocked.click("d4").result, Result::Played);
}

TEST(MoveEntry, PiecesThatCannotMoveAreIgnored) {
    Entry start("W:W21-32:B1-12");
    EXPECT_EQ(start.click("a1").result, Result::Ignored);
    EXPECT_EQ(start.click("b6").result, Result::Ignored);  // Black's man, White to move
    // A capture is due: another man's move is ignored, and the labels show.
    Entry due("W:Wd4,a3:Bc3");
    const ClickOutcome o = due.click("a3");
    EXPECT_EQ(o.result, Result::Ignored);
    EXPECT_TRUE(has(o, ViewOp::Kind::ShowCaptureLabels));
    EXPECT_EQ(due.r.entry.selectedCode, 0);
}

TEST(ExecuteEngineMove, BoardEffectAndLandings) {
    Entry e("W:WKa1,g7:Bc3,d6");
    rules::generateRootMoves(e.r, rules::White);
    const rules::Move m = e.r.rootList()[0];
    ASSERT_EQ(rules::moveText(m), "a1xc7 [c3,d6]");
    const std::vector<ViewOp> ops = rules::executeEngineMove(e.r, m, true);
    EXPECT_EQ(e.r.board[sq("c7")], rules::WhiteKing);
    EXPECT_EQ(e.r.board[sq("a1")], rules::Empty);
    EXPECT_EQ(e.r.board[sq("c3")], rules::Empty);
    EXPECT_EQ(e.r.board[sq("d6")], rules::Empty);
    // The king shows itself on e5 on the way.
    const ViewOp onE5{ViewOp::Kind::DrawSquare, sq("e5"), rules::WhiteKing};
    EXPECT_NE(std::find(ops.begin(), ops.end(), onE5), ops.end());
    EXPECT_EQ(ops.back(), (ViewOp{ViewOp::Kind::DrawSquare, sq("c7"), rules::WhiteKing}));

    Entry plain("B:W4:Bb2");
    rules::generateRootMoves(plain.r, rules::Black);
    rules::executeEngineMove(plain.r, plain.r.rootList()[0], true);
    EXPECT_EQ(plain.r.board[sq("a1")], rules::BlackKing);
}

TEST(DecomposeCapture, FindsTheRouteOfTheTakenPieces) {
    Entry e("W:WKc3:Bb4,d4,b6,d6");
    const rules::Square way[] = {sq("d4"), sq("d6"), sq("b6"), sq("b4")};
    const rules::LandingRoute route = rules::decomposeCapture(e.r, sq("c3"), way);
    ASSERT_EQ(route.length, 4);
    EXPECT_EQ(route.squares[0], sq("e5"));
    EXPECT_EQ(route.squares[1], sq("c7"));
    EXPECT_EQ(route.squares[2], sq("a5"));
    const rules::Square none[] = {sq("d4"), sq("b4")};
    EXPECT_EQ(rules::decomposeCapture(e.r, sq("c3"), none).length, 0);
    EXPECT_EQ(rules::decomposeCapture(e.r, sq("h8"), way).length, 0);  // empty square
}

}  // namespace
