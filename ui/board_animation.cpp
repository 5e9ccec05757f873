#include "ui/board_animation.h"

#include <QTimer>

#include <algorithm>

#include "game/core.h"
#include "ui/board_view.h"

namespace ui {

BoardAnimation::BoardAnimation(QObject* parent, const game::Core& core, Views views)
    : QObject(parent), m_core(core), m_views(std::move(views)) {
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &BoardAnimation::go);
}

void BoardAnimation::perform(const std::vector<rules::ViewOp>& ops, bool played, std::function<void()> then) {
    finish();
    // A move just played is already on the working board. The frames that
    // go while it is being entered must not take the captured pieces with
    // them: those disappear only when the whole move is complete, so until
    // the last redraw the empty squares are those before the move.
    m_ops = ops;
    m_next = 0;
    m_lastRedraw = ops.size();
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (ops[i].kind == rules::ViewOp::Kind::RedrawEmptySquares) m_lastRedraw = i;
    m_played = played;
    m_before = rules::Board{};
    if (played) {
        const game::GameRecord& rec = m_core.game.record;
        const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(std::max(0, rec.plyCounter - 1))];
        for (int s = 1; s <= rules::NumSquares; ++s) m_before[s] = e.squares[s - 1];
    }
    m_then = std::move(then);
    m_running = true;
    go();
}

// Draws until the next pause, which the timer ends, or to the end.
void BoardAnimation::go() {
    const std::vector<BoardView*> views = m_views.boards();
    while (m_next < m_ops.size()) {
        const std::size_t i = m_next++;
        const rules::ViewOp& op = m_ops[i];
        switch (op.kind) {
            case rules::ViewOp::Kind::DrawSquare:
                for (BoardView* v : views) v->drawSquare(op.square, op.code);
                break;
            case rules::ViewOp::Kind::RedrawEmptySquares: {
                const rules::Board& board = m_played && i != m_lastRedraw ? m_before : m_core.rules.gamePosition;
                for (int s = 1; s <= rules::NumSquares; ++s)
                    if (board[s] == rules::Empty)
                        for (BoardView* v : views) v->drawSquare(static_cast<rules::Square>(s), rules::Empty);
                break;
            }
            case rules::ViewOp::Kind::FrameSquare:
                for (BoardView* v : views) v->frameSquare(op.square, frameColour(op.colour));
                break;
            case rules::ViewOp::Kind::ShowCaptureLabels: m_views.showCaptureLabels(); break;
            case rules::ViewOp::Kind::Hold:
                if (m_hold) {
                    m_views.repaintShown();
                    m_hold(op.ms);
                    break;
                }
                m_timer->start(op.ms);
                return;
        }
    }
    m_running = false;
    std::function<void()> then = std::move(m_then);
    m_then = {};
    if (then) then();
}

void BoardAnimation::finish() {
    if (!m_running) return;
    m_timer->stop();
    for (rules::ViewOp& op : m_ops)
        if (op.kind == rules::ViewOp::Kind::Hold) op.ms = 0;
    const auto hold = std::exchange(m_hold, [](int) {});
    go();
    m_hold = hold;
}

void BoardAnimation::stop() { m_timer->stop(); }

}  // namespace ui
