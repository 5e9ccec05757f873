#include "ui/play_area.h"

#include <QResizeEvent>

#include <algorithm>
#include <cmath>

#include "ui/dialog_panel.h"

namespace ui {

namespace {

constexpr int Gap = 6;
constexpr int SideWidest = 460;  // wider, the lists read badly
constexpr int SideNarrowest = 264;

int sideWidthFor(const QWidget* side) { return std::max(SideNarrowest, side ? side->minimumSizeHint().width() : 0); }

}  // namespace

PlayArea::PlayArea(QWidget* parent) : QWidget(parent) { setObjectName("Area"); }

void PlayArea::setParts(QWidget* board, QWidget* belowBoard, QWidget* side, QWidget* cover) {
    m_board = board;
    m_below = belowBoard;
    m_side = side;
    m_cover = cover;
    arrange();
}

void PlayArea::setBoard(QWidget* board, double aspect) {
    m_board = board;
    m_aspect = aspect;
    arrange();
}

void PlayArea::keepOver(QWidget* panel, QWidget* target) {
    m_over.emplace_back(panel, target);
    arrange();
}

QSize PlayArea::minimumSizeHint() const {
    const int below = m_below ? m_below->sizeHint().height() : 0;
    return {300 + Gap + sideWidthFor(m_side), 300 + below};
}

QSize PlayArea::sizeHint() const {
    const int below = m_below ? m_below->sizeHint().height() : 0;
    return {static_cast<int>(520 * m_aspect) + Gap + 300, 520 + below};
}

QSize PlayArea::sizeFor(int h) const {
    const int below = m_below ? m_below->sizeHint().height() : 0;
    const int boardW = static_cast<int>(std::lround(std::max(1, h - below) * m_aspect));
    const int sideW = std::max(sideWidthFor(m_side), SideWidest * 3 / 4);
    return {boardW + Gap + sideW, h};
}

void PlayArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

void PlayArea::arrange() {
    if (!m_board || !m_side) return;
    const int w = width(), h = height();
    const int below = m_below ? m_below->sizeHint().height() : 0;
    const int sideLeast = sideWidthFor(m_side);
    int sideW = std::clamp(w * 3 / 10, sideLeast, std::max(sideLeast, SideWidest));
    // The board as tall as the height allows; when that is too wide, the
    // side column gives up width down to its least, then the board narrows.
    int boardH = std::max(1, h - below);
    int boardW = static_cast<int>(std::lround(boardH * m_aspect));
    if (boardW > w - Gap - sideW) {
        sideW = std::max(sideLeast, w - Gap - boardW);
        if (boardW > w - Gap - sideW) {
            boardW = std::max(1, w - Gap - sideW);
            boardH = static_cast<int>(std::lround(boardW / m_aspect));
        }
    }
    // Width to spare goes to the side column up to its widest, then to both
    // sides; height to spare, above and below the board.
    int spare = std::max(0, w - boardW - Gap - sideW);
    sideW += std::min(spare, std::max(0, SideWidest - sideW));
    spare = std::max(0, w - boardW - Gap - sideW);
    const int left = spare / 2;
    const int top = std::max(0, (h - below - boardH) / 2);

    m_boardArea = QRect(left, top, boardW, boardH);
    m_board->setGeometry(m_boardArea);
    if (m_below) m_below->setGeometry(left, top + boardH, boardW, below);
    m_side->setGeometry(left + boardW + Gap, 0, sideW, h);
    if (m_cover) m_cover->setGeometry(rect());
    for (const auto& [panel, target] : m_over)
        if (panel && target) panel->setGeometry(QRect(target->mapTo(this, QPoint(0, 0)), target->size()));
    for (const QPointer<DialogPanel>& p : m_panels)
        if (p && p->isVisible()) placePanel(p);
}

void PlayArea::placePanel(DialogPanel* panel) {
    if (std::find(m_panels.begin(), m_panels.end(), panel) == m_panels.end()) m_panels.emplace_back(panel);
    const QRect board = m_boardArea;
    QSize size = panel->size().expandedTo(panel->minimumSizeHint());
    size = size.boundedTo(this->size());
    panel->resize(size);
    QRect r(QPoint(0, 0), size);
    r.moveCenter(board.center());
    switch (panel->placement()) {
        case DialogPanel::Placement::Centre: break;
        case DialogPanel::Placement::BottomOfBoard: r.moveBottom(board.bottom() - board.height() / 40); break;
        case DialogPanel::Placement::AwayFromLastMove:
            if (const std::optional<QRect> move = m_lastMove ? m_lastMove() : std::nullopt;
                move && r.intersects(*move)) {
                // The half of the board the move is not in.
                const bool moveAbove = move->center().y() < board.center().y();
                if (moveAbove)
                    r.moveBottom(board.bottom() - board.height() / 40);
                else
                    r.moveTop(board.top() + board.height() / 40);
            }
            break;
    }
    // Always wholly inside the area.
    r.moveLeft(std::clamp(r.left(), 0, std::max(0, width() - r.width())));
    r.moveTop(std::clamp(r.top(), 0, std::max(0, height() - r.height())));
    panel->setGeometry(r);
}

}  // namespace ui
