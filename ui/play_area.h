#pragma once
// The main window's central area, laid out to fill the window whatever its
// size: the board (flat or perspective) as large as the height allows with
// its proportions kept, the row below it, and the side column beside it,
// which takes what width is left up to a comfortable reading width. What
// is left after that is shared out on both sides, so the whole stays
// together in the middle.
//
// The panels that ask something sit over the board: in its middle, or in
// the half away from the last move, or along its bottom edge.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace ui {

class DialogPanel;

class PlayArea : public QWidget {
    Q_OBJECT
public:
    explicit PlayArea(QWidget* parent = nullptr);

    // The board's place (a widget whose width over height is `aspect`), the
    // row below it, the side column, and the panel that covers everything.
    void setParts(QWidget* board, QWidget* belowBoard, QWidget* side, QWidget* cover);
    void setBoard(QWidget* board, double aspect);
    // Keeps `panel` over `target` (a widget anywhere inside this area).
    void keepOver(QWidget* panel, QWidget* target);
    // The squares of the last move, in this area's pixels, for the panels
    // that keep away from it.
    void setLastMoveArea(std::function<std::optional<QRect>()> area) { m_lastMove = std::move(area); }
    // Places a panel that is about to show.
    void placePanel(DialogPanel* panel);

    QRect boardArea() const { return m_boardArea; }
    // The width that shows the board at the whole of `height`, the side
    // column at its comfortable width beside it.
    QSize sizeFor(int height) const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrange();

    QWidget* m_board = nullptr;
    QWidget* m_below = nullptr;
    QWidget* m_side = nullptr;
    QWidget* m_cover = nullptr;
    double m_aspect = 1.0;
    QRect m_boardArea;
    std::vector<std::pair<QPointer<QWidget>, QPointer<QWidget>>> m_over;
    std::vector<QPointer<DialogPanel>> m_panels;
    std::function<std::optional<QRect>()> m_lastMove;
};

}  // namespace ui
