#pragma once
// A person's clicks matched to the legal moves. The person selects a piece,
// then clicks the squares it lands on; where the route of a capture is
// forced the entry advances by itself, and where only the final square tells
// the possible captures apart the final square may be clicked at once.
// This is the model alone: it changes the working board and the entry, and
// lists what the board view must draw, in order.

#include <cstdint>
#include <vector>

#include "rules/movegen.h"

namespace rules {

enum class FrameColour : std::uint8_t {
    Red,      // the selected piece
    Blue,     // selectable next landing squares
    Magenta,  // selectable destinations or final squares
    Aqua,     // final square of the engine's last move
    Silver,   // start square of the engine's last move
};

// One thing for the board view to do. The view performs them in order.
struct ViewOp {
    enum class Kind : std::uint8_t {
        DrawSquare,          // draw `code` on `square` (0 draws the empty square)
        RedrawEmptySquares,  // redraw every empty square, erasing their frames
        FrameSquare,         // a double outline inside `square` in `colour`
        ShowCaptureLabels,   // "Prise", "obligatoire", "majoritaire"
        Hold,                // keep the picture at least `ms` milliseconds, window events running
    };
    Kind kind;
    Square square = 0;
    PieceCode code = 0;
    FrameColour colour = FrameColour::Red;
    int ms = 0;

    bool operator==(const ViewOp&) const = default;
};

struct ClickOutcome {
    enum class Result : std::uint8_t {
        Ignored,     // nothing to do with this square
        Deselected,  // the selected piece was clicked again
        Waiting,     // a piece is selected and waits for a landing square
        Played,      // a whole move was made on the working board
    };
    Result result = Result::Ignored;
    std::vector<ViewOp> ops;
    Move move;                      // when Played
    LandingRoute route;             // when Played
};

// Handles one click on `square` for the side to move. With `decompose` a
// capture of several pieces is shown landing by landing. Clicking another of
// the side's pieces that can move moves the selection to it.
ClickOutcome enterSquare(RulesState& r, Side side, Square square, bool decompose);

// Forget the move being entered (a new position was installed).
void clearMoveEntry(RulesState& r);

// The board effect of the engine's move on the working board, with the
// animation the view plays: the piece blinks on its start square, shows its
// landings when `decompose` is on and it takes several pieces, then the taken
// pieces go and the piece, promoted if its move ends on its far row, stands
// on its final square.
std::vector<ViewOp> executeEngineMove(RulesState& r, const Move& move, bool decompose);

}  // namespace rules
