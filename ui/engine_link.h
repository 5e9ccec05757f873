#pragma once
// The window's line to the engine: the worker thinking on its own thread,
// and the requests sent to it. Each report comes back on the window's
// thread as a call to the handler; the reports of a request no longer
// awaited (abandoned, or replaced by another) are let go when they arrive.

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/worker.h"

namespace ui {

class EngineLink : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void(const engine::SearchStats&)> thinking;
        std::function<void()> rootMovesCleared;
        std::function<void(const engine::RootMoveLine&)> rootMove;
        std::function<void(const engine::SearchOutput&)> done;
    };
    explicit EngineLink(Handlers handlers);
    ~EngineLink() override;

    // Sends the search; its answer is the one awaited from now on.
    void ask(engine::SearchInput input);
    // The search ends with its best move so far, which is answered.
    void stop();
    // The search ends and nothing of it is answered any more.
    void abandon();
    // The worker stops at once and its thread ends; nothing more is asked.
    void shutDown();
    bool open() const { return m_worker != nullptr; }

private:
    Handlers m_handlers;
    std::unique_ptr<engine::EngineWorker> m_worker;
    std::uint64_t m_awaited = 0;  // the request whose reports are wanted (0: none)
    std::uint64_t m_last = 0;
};

}  // namespace ui
