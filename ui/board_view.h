#pragma once
// What the window asks of a board, whichever style shows it: the flat
// board and the perspective board both draw squares, frames and whole
// positions, and both report the square a person pressed.
//
// A view is drawn in its own design pixels (the flat board's 520 x 520,
// the perspective picture's 700 x 522) and shown scaled to whatever room
// the window gives it, its proportions kept; presses are mapped back the
// same way, so the rest of the program only ever sees squares.

#include <QColor>

#include "rules/board.h"
#include "rules/move_input.h"

class QWidget;

namespace ui {

// The colour each kind of frame is drawn in.
inline QColor frameColour(rules::FrameColour c) {
    switch (c) {
        case rules::FrameColour::Red: return QColor(255, 0, 0);
        case rules::FrameColour::Blue: return QColor(0, 0, 255);
        case rules::FrameColour::Magenta: return QColor(255, 0, 255);
        case rules::FrameColour::Aqua: return QColor(0, 255, 255);
        case rules::FrameColour::Silver: return QColor(192, 192, 192);
    }
    return QColor(0, 0, 0);
}

class BoardView {
public:
    virtual ~BoardView() = default;

    virtual void setInverted(bool inverted) = 0;
    virtual void setNumbering(bool on) = 0;
    // One square as `code` shows it; the frame of a selection or a move.
    virtual void drawSquare(rules::Square s, rules::PieceCode code) = 0;
    virtual void frameSquare(rules::Square s, QColor colour) = 0;
    // The whole board from `position`.
    virtual void showPosition(const rules::Board& position) = 0;
    // Where square s is shown, in the widget's own pixels, as scaled now.
    virtual QRect squareArea(rules::Square s) const = 0;
    virtual QWidget* widget() = 0;
};

}  // namespace ui
