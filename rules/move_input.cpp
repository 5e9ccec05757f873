#include "rules/move_input.h"

#include <algorithm>

namespace rules {

namespace {

constexpr std::uint8_t MarkLanding = 1;
constexpr std::uint8_t MarkFinal = 100;
constexpr int LandingHoldMs = 500;   // each intermediate landing shown at least this long
constexpr int FinalHoldMs = 500;     // with the landing's own, 1000 ms after the last landing
constexpr int BlinkMs = 10;
constexpr int Blinks = 10;

void op(ClickOutcome& out, ViewOp::Kind kind, Square s = 0, PieceCode code = 0, FrameColour colour = FrameColour::Red) {
    out.ops.push_back(ViewOp{kind, s, code, colour, 0});
}
void hold(std::vector<ViewOp>& ops, int ms) { ops.push_back(ViewOp{ViewOp::Kind::Hold, 0, 0, FrameColour::Red, ms}); }
void draw(std::vector<ViewOp>& ops, Square s, PieceCode c) {
    ops.push_back(ViewOp{ViewOp::Kind::DrawSquare, s, c, FrameColour::Red, 0});
}

bool routePrefixEquals(const LandingRoute& route, const MoveEntry& e, int length) {
    for (int k = 1; k <= length; ++k)
        if (k > route.length || route.squares[k - 1] != e.route[k]) return false;
    return true;
}

// Completion of a person's move on the working board: promotion decided by
// the final square alone; the captured pieces and every frame vanish only now,
// when the empty squares are redrawn.
void complete(RulesState& r, ClickOutcome& out, int index) {
    const Move& m = r.rootList()[index];
    const PieceCode code = static_cast<PieceCode>(r.entry.selectedCode);
    const PieceCode finalCode = promotedCode(code, m.to);
    r.board[m.to] = finalCode;
    op(out, ViewOp::Kind::DrawSquare, m.to, finalCode);
    op(out, ViewOp::Kind::RedrawEmptySquares);
    out.result = ClickOutcome::Result::Played;
    out.move = m;
    out.route = r.pieceRoutes[static_cast<std::size_t>(index)];
    clearMoveEntry(r);
}

void executeCapture(RulesState& r, ClickOutcome& out, bool decompose) {
    MoveEntry& e = r.entry;
    const int c = r.captureCount;
    const MoveList& list = r.rootList();
    int index = -1;
    for (int i = 0; i < list.size() && index < 0; ++i)
        if (routePrefixEquals(r.pieceRoutes[static_cast<std::size_t>(i)], e, c)) index = i;
    if (index < 0) return;  // cannot happen: the route was built from the piece's moves
    const Move& m = list[index];
    for (int i = 0; i < m.ncapt; ++i) r.board[m.captured[i]] = Empty;
    r.board[m.from] = Empty;
    if (decompose && c > 1) {
        const PieceCode code = static_cast<PieceCode>(e.selectedCode);
        draw(out.ops, m.from, Empty);
        for (int k = 1; k < c; ++k) {
            draw(out.ops, e.route[k], code);
            hold(out.ops, LandingHoldMs);
            draw(out.ops, e.route[k], Empty);
        }
        draw(out.ops, m.to, code);
        hold(out.ops, FinalHoldMs);
    }
    complete(r, out, index);
}

void enterCapture(RulesState& r, ClickOutcome& out, Square clicked, bool decompose) {
    MoveEntry& e = r.entry;
    const int c = r.captureCount;
    const MoveList& list = r.rootList();
    Square current = clicked;

    // Step 1. A marked square takes the next place in the route.
    if (e.marks[current]) {
        ++e.steps;
        if (e.steps < c && e.marks[current] < MarkFinal) {
            e.marks.fill(0);
            op(out, ViewOp::Kind::RedrawEmptySquares);
        }
        e.route[e.steps] = current;
    }

    // Steps 2 and 3. Extend the route while every candidate agrees.
    if (e.marks[current] != MarkFinal) {
        std::vector<int> candidates;
        for (int i = 0; i < list.size(); ++i)
            if (routePrefixEquals(r.pieceRoutes[static_cast<std::size_t>(i)], e, e.steps)) candidates.push_back(i);
        for (int k = e.steps + 1; k <= c; ++k) {
            bool agree = true;
            Square previous = 0;
            for (std::size_t j = 0; j < candidates.size(); ++j) {
                const Square landing = r.pieceRoutes[static_cast<std::size_t>(candidates[j])].squares[k - 1];
                e.marks[landing] = MarkLanding;
                if (j > 0 && landing != previous) agree = false;
                previous = landing;
            }
            if (candidates.empty()) return;
            if (agree) {
                ++e.steps;
                e.route[e.steps] = previous;
                current = previous;
                if (k != c) e.marks[current] = 0;
                continue;
            }
            // The candidates part here: the person chooses.
            e.ambiguous = 1;
            for (Square s = 1; s <= NumSquares; ++s)
                if (e.marks[s]) op(out, ViewOp::Kind::FrameSquare, s, 0, FrameColour::Blue);
            bool finalsDistinct = true;
            for (std::size_t a = 0; a < candidates.size() && finalsDistinct; ++a)
                for (std::size_t b = a + 1; b < candidates.size(); ++b)
                    if (list[candidates[a]].to == list[candidates[b]].to) finalsDistinct = false;
            if (finalsDistinct)
                for (int i : candidates) {
                    e.marks[list[i].to] = MarkFinal;
                    op(out, ViewOp::Kind::FrameSquare, list[i].to, 0, FrameColour::Magenta);
                }
            break;
        }
    }

    // Step 4. Execute when the route is complete, or the final square was
    // clicked directly (then the route is taken from the move ending there).
    if (e.steps >= c && e.marks[current]) {
        executeCapture(r, out, decompose);
    } else if (e.marks[current] == MarkFinal) {
        for (int i = 0; i < list.size(); ++i) {
            const LandingRoute& route = r.pieceRoutes[static_cast<std::size_t>(i)];
            if (list[i].to == current && routePrefixEquals(route, e, e.steps - 1)) {
                for (int k = 1; k <= c; ++k) e.route[k] = route.squares[k - 1];
                e.steps = static_cast<std::uint8_t>(c);
                executeCapture(r, out, decompose);
                return;
            }
        }
    }
    if (out.result != ClickOutcome::Result::Played) out.result = ClickOutcome::Result::Waiting;
}

void enterSimpleMove(RulesState& r, ClickOutcome& out, Square clicked) {
    MoveEntry& e = r.entry;
    const MoveList& list = r.rootList();
    Square current = clicked;
    if (e.steps == 0) {
        e.steps = 1;
        bool differ = false;
        for (int i = 0; i < list.size(); ++i) {
            e.marks[list[i].to] = MarkLanding;
            if (i > 0 && list[i].to != list[i - 1].to) differ = true;
        }
        if (differ) {
            for (int i = 0; i < list.size(); ++i)
                op(out, ViewOp::Kind::FrameSquare, list[i].to, 0, FrameColour::Magenta);
            out.result = ClickOutcome::Result::Waiting;
            return;
        }
        // A single move: the selecting click plays it.
        e.steps = 2;
        current = list[0].to;
    }
    if (!e.marks[current]) {
        out.result = ClickOutcome::Result::Waiting;
        return;
    }
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].to != current) continue;
        r.board[list[i].from] = Empty;
        complete(r, out, i);
        return;
    }
}

}  // namespace

void clearMoveEntry(RulesState& r) { r.entry = MoveEntry{}; }

ClickOutcome enterSquare(RulesState& r, Side side, Square square, bool decompose) {
    ClickOutcome out;
    if (square < 1 || square > NumSquares) return out;
    MoveEntry& e = r.entry;

    // Another of the side's pieces, clicked while one is selected, takes the
    // selection over when it has a legal move of its own.
    if (e.selectedCode != 0 && square != e.route[0] && !e.marks[square] && isPiece(r.board[square]) &&
        sideOf(r.board[square]) == side) {
        const int n = generateRootMoves(r, side);
        const MoveList& list = r.rootList();
        if (std::none_of(list.begin(), list.begin() + n, [&](const Move& m) { return m.from == square; })) {
            pieceMoves(r, e.route[0], side);  // the selected piece's moves again
            return out;
        }
        op(out, ViewOp::Kind::DrawSquare, e.route[0], static_cast<PieceCode>(e.selectedCode));
        op(out, ViewOp::Kind::RedrawEmptySquares);
        clearMoveEntry(r);
    }

    if (e.selectedCode == 0) {
        // Selecting: only a piece with a legal move.
        const int n = generateRootMoves(r, side);
        if (r.captureCount > 0) op(out, ViewOp::Kind::ShowCaptureLabels);
        const MoveList& list = r.rootList();
        if (std::none_of(list.begin(), list.begin() + n, [&](const Move& m) { return m.from == square; })) return out;
        pieceMoves(r, square, side);
        op(out, ViewOp::Kind::FrameSquare, square, 0, FrameColour::Red);
        e = MoveEntry{};
        e.route[0] = square;
        e.selectedCode = r.board[square];
    } else if (square == e.route[0] && !e.marks[square]) {
        op(out, ViewOp::Kind::DrawSquare, square, static_cast<PieceCode>(e.selectedCode));
        op(out, ViewOp::Kind::RedrawEmptySquares);
        clearMoveEntry(r);
        out.result = ClickOutcome::Result::Deselected;
        return out;
    } else if (!e.marks[square]) {
        return out;  // an unmarked square while a piece is selected
    }

    if (r.captureCount > 0)
        enterCapture(r, out, square, decompose);
    else
        enterSimpleMove(r, out, square);
    return out;
}

std::vector<ViewOp> executeEngineMove(RulesState& r, const Move& move, bool decompose) {
    std::vector<ViewOp> ops;
    const PieceCode code = r.board[move.from];
    LandingRoute route;
    if (move.ncapt > 1 && decompose) route = decomposeCapture(r, move.from, move.capturedSquares());

    r.board[move.from] = Empty;
    for (int i = 0; i < Blinks; ++i) {
        draw(ops, move.from, code);
        hold(ops, BlinkMs);
        draw(ops, move.from, Empty);
        hold(ops, BlinkMs);
    }
    draw(ops, move.from, Empty);
    if (route.length > 1) {
        for (int k = 0; k + 1 < route.length; ++k) {
            draw(ops, route.squares[k], code);
            hold(ops, LandingHoldMs);
            draw(ops, route.squares[k], Empty);
        }
        draw(ops, move.to, code);
        hold(ops, FinalHoldMs);
    }
    for (int i = 0; i < move.ncapt; ++i) {
        r.board[move.captured[i]] = Empty;
        draw(ops, move.captured[i], Empty);
    }
    const PieceCode finalCode = promotedCode(code, move.to);
    r.board[move.to] = finalCode;
    draw(ops, move.to, finalCode);
    return ops;
}

}  // namespace rules
