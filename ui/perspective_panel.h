#pragma once
// The perspective board's panel, "Panel10": the picture (Image5) and, in a
// margin beside it, a clock per side with its name and piece count, Black's
// at the top in the normal view as its pieces are.

#include <QFrame>

class QLabel;
class QVBoxLayout;

namespace ui {

class PerspectiveBoard;

class PerspectivePanel : public QFrame {
    Q_OBJECT
public:
    explicit PerspectivePanel(QWidget* parent = nullptr);

    // The clocks change places when the board is turned round.
    void placeClocks(bool inverted);
    // Width over height of the whole panel at the picture's proportions.
    double aspect() const;

    PerspectiveBoard* board;
    QFrame* blackClock;
    QFrame* whiteClock;
    QLabel* blackMinutes;
    QLabel* blackSeconds;
    QLabel* blackName;
    QLabel* blackCount;
    QLabel* whiteMinutes;
    QLabel* whiteSeconds;
    QLabel* whiteName;
    QLabel* whiteCount;

private:
    QVBoxLayout* m_clocks;
};

}  // namespace ui
