#pragma once
// Panels that ask something over the board (the end of a game, a draw
// offer, a new player...) keep the window's look but answer the keyboard as
// dialogs do: Return presses the focused button or else the panel's OK,
// Escape its cancel (or its OK when it has none), and the first field takes
// the focus when the panel shows.
//
// They stay children of the main window rather than windows of their own,
// so the caption tables reach their texts like every other component's.

#include <QFrame>

class QKeyEvent;
class QPushButton;

namespace ui {

// Return and Escape for a panel with these buttons; true when the key was
// one of them and a button took it.
bool answerDialogKey(QWidget* panel, QKeyEvent* event, QPushButton* ok, QPushButton* cancel);
// The first widget of `panel` that takes typing or choosing (a line, a
// list, a choice), else `fallback`.
QWidget* firstField(QWidget* panel, QWidget* fallback);

class DialogPanel : public QFrame {
    Q_OBJECT
public:
    // Where the panel sits over the board: in the middle, in the half of
    // the board away from the last move shown, or along its bottom edge.
    enum class Placement { Centre, AwayFromLastMove, BottomOfBoard };

    // The panel's contents are laid out by a layout; `least` is the size it
    // never goes below.
    DialogPanel(QWidget* parent, const char* name, QSize least, Placement placement = Placement::Centre);

    void setButtons(QPushButton* ok, QPushButton* cancel) {
        m_ok = ok;
        m_cancel = cancel;
    }
    Placement placement() const { return m_placement; }
    // Shows the panel at the size its texts need, above everything else
    // beside it, the focus on its first field. The window places it.
    void open();

signals:
    void opened(DialogPanel* panel);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    Placement m_placement;
};

}  // namespace ui
