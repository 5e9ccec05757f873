#include "ui/engine_link.h"

#include <QPointer>

namespace ui {

EngineLink::EngineLink(Handlers handlers)
    : m_handlers(std::move(handlers)), m_worker(std::make_unique<engine::EngineWorker>()) {}

// The worker goes first: no report of it may arrive at a window being taken apart.
EngineLink::~EngineLink() { shutDown(); }

void EngineLink::ask(engine::SearchInput input) {
    if (!m_worker) return;  // the window is closing
    const std::uint64_t ticket = ++m_last;
    const QPointer<EngineLink> self(this);
    // Posted to this object's thread; run only while the request is awaited.
    const auto post = [self, ticket](std::function<void(EngineLink&)> call) {
        QMetaObject::invokeMethod(
            self,
            [self, ticket, call = std::move(call)] {
                if (self && self->m_awaited == ticket) call(*self);
            },
            Qt::QueuedConnection);
    };
    engine::SearchCallbacks callbacks;
    callbacks.thinking = [post](const engine::SearchStats& stats) {
        post([stats](EngineLink& link) { link.m_handlers.thinking(stats); });
    };
    callbacks.rootMovesCleared = [post] { post([](EngineLink& link) { link.m_handlers.rootMovesCleared(); }); };
    callbacks.rootMove = [post](const engine::RootMoveLine& line) {
        post([line](EngineLink& link) { link.m_handlers.rootMove(line); });
    };
    callbacks.done = [post](const engine::SearchOutput& out) {
        post([out](EngineLink& link) {
            link.m_awaited = 0;
            link.m_handlers.done(out);
        });
    };
    m_awaited = ticket;
    m_worker->think(std::move(input), std::move(callbacks));
}

void EngineLink::stop() {
    if (m_worker) m_worker->stop();
}

void EngineLink::abandon() {
    if (m_worker && m_awaited != 0) m_worker->stop(true);
    m_awaited = 0;
}

void EngineLink::shutDown() {
    m_awaited = 0;
    m_worker.reset();
}

}  // namespace ui
