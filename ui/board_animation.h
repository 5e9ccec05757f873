#pragma once
// A move shown on the board step by step: the drawing steps the core
// reports (rules::ViewOp), with the picture held where they say so on a
// timer, then whatever was to follow. Nothing waits: the window's thread is
// free between the steps.

#include <QObject>

#include <functional>
#include <vector>

#include "rules/board.h"
#include "rules/move_input.h"

class QTimer;

namespace game {
struct Core;
}

namespace ui {

class BoardView;

class BoardAnimation : public QObject {
    Q_OBJECT
public:
    struct Views {
        std::function<std::vector<BoardView*>()> boards;  // every view that draws
        std::function<void()> showCaptureLabels;
        std::function<void()> repaintShown;  // the view shown, drawn now
    };
    BoardAnimation(QObject* parent, const game::Core& core, Views views);

    // Tests put their own function here: it is called at each pause
    // instead of the timer, and the animation goes straight on.
    void setHoldFunction(std::function<void(int)> hold) { m_hold = std::move(hold); }
    // Shows `ops`, then runs `then`. A move just played (`played`) is
    // already in the game; the board only catches up with it.
    void perform(const std::vector<rules::ViewOp>& ops, bool played, std::function<void()> then);
    // Whatever was left to show is shown at once, and what follows runs.
    void finish();
    bool running() const { return m_running; }
    void stop();

private:
    void go();

    const game::Core& m_core;
    Views m_views;
    std::function<void(int)> m_hold;
    bool m_running = false;
    std::vector<rules::ViewOp> m_ops;
    std::size_t m_next = 0;
    std::size_t m_lastRedraw = 0;
    bool m_played = false;
    rules::Board m_before{};
    std::function<void()> m_then;
    QTimer* m_timer;
};

}  // namespace ui
