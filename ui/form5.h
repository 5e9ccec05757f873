#pragma once
// TForm5, "Parameters": every evaluation parameter in an edit box of its
// own, 295 boxes in all. The eight man tables are drawn as small boards of
// 32 boxes each, the owner's back row at the bottom; above each board is
// its tempo weight; the phase thresholds run along the top and the
// condition squares of the two opening structures along the bottom.
//
// The window is not modal. Its OK and Cancel buttons are handled by the
// main window, which reads the boxes back on OK.

#include <QWidget>

#include <array>

#include "eval/parameters.h"

class QFrame;
class QLineEdit;
class QPushButton;

namespace ui {

class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // Each box shows its parameter in decimal: table entries 0..255, the
    // other values -128..127.
    void fillParameterEditor(const eval::EvalParameters& p);
    // Each box's text as the standard decimal conversion reads it, its low
    // eight bits stored: nothing is refused.
    void readParameterEditor(eval::EvalParameters& p) const;

    // Leading blanks, an optional sign, then digits up to the first other
    // character; no digits gives 0. Arithmetic wraps instead of overflowing:
    // only the low bits are kept anyway.
    static std::int32_t decimalValue(const QString& text);

    QLineEdit* tableBox(int table, int square) const { return m_tables[table][square]; }
    QLineEdit* thresholdBox(int i) const { return m_thresholds[i]; }
    QLineEdit* tempoBox(int i) const { return m_tempo[i]; }
    // variant 0 or 1, white or black, i = 0..6.
    QLineEdit* conditionBox(int variant, bool white, int i) const { return m_conditions[variant][white ? 0 : 1][i]; }
    int boxCount() const;

    QFrame* parametre0 = nullptr;
    QPushButton* parametreOK = nullptr;
    QPushButton* parametrecancel = nullptr;

private:
    std::array<std::array<QLineEdit*, 33>, eval::NumManTables> m_tables{};  // entry 0 has no box
    std::array<QLineEdit*, 3> m_thresholds{};
    std::array<QLineEdit*, eval::NumTempoWeights> m_tempo{};
    std::array<std::array<std::array<QLineEdit*, eval::NumConditionSquares>, 2>, 2> m_conditions{};
};

}  // namespace ui
